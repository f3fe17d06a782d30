// Whole games and board set-ups replayed through morvane-drive, checked on
// the widgets' state it dumps.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <QMetaEnum>
#include <QProcess>
#include <sys/resource.h>
#include <QRandomGenerator>
#include <QTest>

namespace {

// morvane-drive, or the driver MORVANE_DRIVE_PROGRAM names (the browser
// edition's morvane-web-drive speaks the same protocol and runs these too).
QString driver() {
    const QString other = qEnvironmentVariable("MORVANE_DRIVE_PROGRAM");
    return other.isEmpty() ? QStringLiteral(MORVANE_DRIVE) : other;
}

struct Run {
    int status = -1;
    QList<QJsonObject> dumps;
    QString errors;
};

// Runs the driver on `script`, with at most `address_space` bytes of
// address space when given.
Run drive(const QString& script, rlim_t address_space = RLIM_INFINITY) {
    QProcess process;
    process.setChildProcessModifier([address_space] {
        const rlimit limit{address_space, address_space};
        if (address_space != RLIM_INFINITY) setrlimit(RLIMIT_AS, &limit);
    });
    process.start(driver(), QStringList());
    process.write(script.toUtf8());
    process.closeWriteChannel();
    Run run;
    if (!process.waitForFinished(300000)) {  // a watchdog against a hang, not a time limit
        process.kill();
        return run;
    }
    run.status = process.exitCode();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty()) continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            qWarning("not a JSON object: %s", line.constData());
            return Run{};
        }
        run.dumps << document.object();
    }
    return run;
}

QJsonObject square(const QJsonObject& dump, int n) { return dump["Square"].toArray()[n].toObject(); }
QJsonObject code(const QJsonObject& dump, int i) { return dump["CODE"].toArray()[i].toObject(); }

QList<int> cells_where(const QJsonObject& dump, const std::function<bool(const QJsonObject&)>& test) {
    QList<int> cells;
    for (int n = 1; n <= 28; ++n)
        if (test(square(dump, n))) cells << n;
    return cells;
}
QList<int> targets(const QJsonObject& dump) {
    return cells_where(dump, [](const QJsonObject& s) { return s["pointer"].toInt() == 1; });
}
QList<int> removed(const QJsonObject& dump) {
    return cells_where(dump, [](const QJsonObject& s) { return !s["shown"].toBool(); });
}
QStringList strings(const QJsonValue& value) {
    QStringList list;
    for (const QJsonValue& v : value.toArray()) list << v.toString();
    return list;
}
QStringList message_texts(const QJsonObject& dump) {
    QStringList list;
    for (const QJsonValue& v : dump["messages"].toArray()) list << v.toObject()["text"].toString();
    return list;
}

// Types a board code in code entry and presses OK.
QString board(const QStringList& boxes) {
    QString script = QStringLiteral("click cinsert\n");
    for (int i = 0; i < boxes.size(); ++i)
        if (!boxes[i].isEmpty()) script += QStringLiteral("type CODE(%1) %2\n").arg(i).arg(boxes[i]);
    return script + QStringLiteral("click cinsert\n");
}
QString clicks(const QList<int>& cells) {
    QString script;
    for (int n : cells) script += QStringLiteral("click Square(%1)\n").arg(n);
    return script;
}

const QString kBadBox = QStringLiteral("Invalid Code.  Make sure the number in each box is below 29.");
const QString kBadYellow = QStringLiteral("Invalid Code.  Make sure each number in each box is below 29.");

// A path through every cell from cell 1, row by row, turning at the ends.
const QList<int> kSnake = {2,  3,  4,  5,  6,  7,  14, 13, 12, 11, 10, 9,  8, 15,
                           16, 17, 18, 19, 20, 21, 28, 27, 26, 25, 24, 23, 22};

}  // namespace

class DriveTest : public QObject {
    Q_OBJECT

private slots:
    void initialStateOfEveryControl() {
        const Run run = drive(QStringLiteral("dump\n"));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.dumps.size(), 1);
        const QJsonObject& d = run.dumps[0];
        QCOMPARE(d["Square"].toArray().size(), 29);
        QCOMPARE(square(d, 0)["shown"].toBool(), false);
        for (int n = 0; n <= 28; ++n) {
            QCOMPARE(square(d, n)["picture"].toString(), QString());
            QCOMPARE(square(d, n)["caption"].toString(), QString());
            QCOMPARE(square(d, n)["pointer"].toInt(), 12);
            if (n > 0) QVERIFY(square(d, n)["shown"].toBool());
        }
        QCOMPARE(d["CODE"].toArray().size(), 7);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(code(d, i), (QJsonObject{{"text", ""}, {"locked", true}, {"shown", true}}));
        QCOMPARE(d["spot"].toObject(), (QJsonObject{{"text", "0"}, {"locked", true}, {"shown", false}}));
        QCOMPARE(d["score_box"].toObject(), (QJsonObject{{"text", "0"}, {"locked", true}}));
        QCOMPARE(d["cinsert"].toObject(), (QJsonObject{{"caption", "Code"}, {"shown", true}}));
        QCOMPARE(d["Randomizer_button"].toObject(), (QJsonObject{{"caption", "Randomizer"}, {"shown", true}}));
        QCOMPARE(d["Reset_button"].toObject(), (QJsonObject{{"caption", "Reset"}, {"shown", true}}));
        QCOMPARE(d["reseto"].toObject(), (QJsonObject{{"caption", "Start Over"}, {"shown", false}}));
        QCOMPARE(d["Frame1"].toObject(), (QJsonObject{{"caption", "Code"}, {"font_size", 12}}));
        for (const char* figure : {"Morvy", "YEL", "BLU", "NAV", "GRE", "RED", "ORA"})
            QCOMPARE(d["palette"].toObject()[figure].toBool(), false);
        for (const char* variable : {"moves_left", "score", "cell_count", "restore_mode"})
            QCOMPARE(d[variable].toInt(-1), 0);
        QVERIFY(d["focus"].isString());
        for (const char* list : {"cues", "messages", "help"}) QCOMPARE(d[list].toArray().size(), 0);
    }

    void helpKeyAndListsSinceTheLastDump() {
        const Run run = drive(QStringLiteral("key F1\ndump\ndump\n"));
        QCOMPARE(run.status, 0);
        QCOMPARE(strings(run.dumps[0]["help"]), QStringList{"Morvane.chm"});
        QCOMPARE(run.dumps[1]["help"].toArray().size(), 0);
    }

    void unparsableLinesStopTheScript_data() {
        QTest::addColumn<QString>("line");
        for (const char* line :
             {"jump", "click", "click Square(29)", "click CODE(7)", "click Nothing", "dblclick cinsert",
              "type cinsert 5", "drop YEL", "drop Frame1 3", "drop YEL 29", "seed x", "draws 0", "draws 29",
              "draws 5 x", "key", "key NoSuchKey", "key Ctrl", "key A,B", "dump now"})
            QTest::newRow(line) << QString::fromLatin1(line);
    }
    void unparsableLinesStopTheScript() {
        QFETCH(QString, line);
        const Run run = drive(QStringLiteral("# a comment\n\ndump\n%1\ndump\n").arg(line));
        QCOMPARE(run.status, 2);
        QCOMPARE(run.dumps.size(), 1);  // what came before stays printed
        QVERIFY2(run.errors.startsWith(QStringLiteral("line 4: ")), qPrintable(run.errors));
    }

    // A line longer than the driver reads is refused without being held
    // whole, also a 30 MB `type` line within 2 GB of address space (it
    // once made 2 GB of key events first); lines up to the limit type.
    void overlongLinesAreRefusedWithoutBeingHeld() {
        const QString text = QString(40 * 1024 * 1024, QLatin1Char('7'));
        // The bound is the desktop driver's: a browser's own address space
        // is far larger whatever the driver holds.
        const bool desktop = qEnvironmentVariableIsEmpty("MORVANE_DRIVE_PROGRAM");
        const Run run = drive(QStringLiteral("dump\ntype score_box ") + text + QStringLiteral("\ndump\n"),
                              desktop ? rlim_t(2) << 30 : RLIM_INFINITY);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.dumps.size(), 1);
        QVERIFY2(run.errors.startsWith(QStringLiteral("line 2: longer than 1048576 bytes")), qPrintable(run.errors));
        const Run typed = drive(QStringLiteral("click cinsert\ntype CODE(3) ") + QString(1000, QLatin1Char('4')) +
                                QStringLiteral("\ndump\n"));
        QCOMPARE(typed.status, 0);
        QCOMPARE(code(typed.dumps[0], 3)["text"].toString(), QStringLiteral("44"));
    }

    // Control characters that no key types are refused like any line the
    // driver cannot carry out (before, QTest's key table aborted the driver).
    void untypableCharactersAreRefused_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("character");
        for (const char* box : {"CODE(0)", "score_box"})
            for (int c : {0x00, 0x01, 0x07, 0x0c, 0x0e, 0x12, 0x14, 0x16, 0x1f, 0x7f})
                QTest::addRow("%s U+%04X", box, c) << QString::fromLatin1(box) << c;
    }
    void untypableCharactersAreRefused() {
        QFETCH(QString, box);
        QFETCH(int, character);
        const Run run = drive(QStringLiteral("dump\ntype %1 1%2\ndump\n").arg(box, QChar(character)));
        QCOMPARE(run.status, 2);
        QCOMPARE(run.dumps.size(), 1);
        const QString hex = QStringLiteral("%1").arg(character, 4, 16, QLatin1Char('0')).toUpper();
        QVERIFY2(run.errors.startsWith("line 2: type cannot type the control character U+" + hex),
                 qPrintable(run.errors));
    }

    // The control characters a key of its own types are typed with that key.
    void typableControlCharactersPressTheirKeys() {
        const Run run = drive(QStringLiteral("click cinsert\ntype CODE(1) 1\b2\ntype CODE(2) 3\t4\ndump\n"));
        QCOMPARE(run.status, 0);
        QCOMPARE(code(run.dumps[0], 1)["text"].toString(), QStringLiteral("2"));  // Backspace
        QCOMPARE(code(run.dumps[0], 2)["text"].toString(), QStringLiteral("3"));  // Tab moved on
    }

    // Every key Qt has a name for is pressed as on a keyboard, also keys that
    // type nothing or no ASCII character (before, `key Copy` or `key €`
    // aborted the driver); a character key types its character.
    void everyNamedKeyIsPressed() {
        QString script = QStringLiteral("click cinsert\nclick CODE(4)\n");
        const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
        int named = 0;
        for (int i = 0; i < keys.keyCount(); ++i) {
            const QString name = QKeySequence(keys.value(i)).toString(QKeySequence::PortableText);
            const QKeySequence back = QKeySequence::fromString(name, QKeySequence::PortableText);
            if (back.count() != 1 || back[0].key() != keys.value(i)) continue;                // no name of its own
            if (name.trimmed() != name || name.contains(QLatin1Char(' '))) continue;          // one word only
            if (name.endsWith(QLatin1String("Tab"))) continue;                                // keep the focus
            if (name == QLatin1String("Return") || name == QLatin1String("Enter")) continue;  // OK: ends code entry
            script += QStringLiteral("key %1\n").arg(name);
            ++named;
        }
        QVERIFY2(named > 200, qPrintable(QString::number(named)));
        script += QStringLiteral("key Undo\nkey Cancel\nkey Copy\nkey Paste\n"
                                 "type CODE(3) 5\nkey Ctrl+A\nkey Delete\nkey \u00e9\ndump\n");
        const Run run = drive(script);
        QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.dumps.size(), 1);
        QCOMPARE(code(run.dumps[0], 3)["text"].toString(), QStringLiteral("\u00e9"));
    }

    void hiddenControlsAreNotClicked() {
        // Square(0), spot and reseto are hidden at start; the palette too.
        const Run run =
            drive(QStringLiteral("click Square(0)\nclick spot\nclick reseto\ndrop YEL 5\ntype CODE(0) 5\ndump\n"));
        QCOMPARE(run.status, 0);
        const QJsonObject& d = run.dumps[0];
        QCOMPARE(strings(d["cues"]), QStringList());
        QCOMPARE(d["reseto"].toObject()["shown"].toBool(), false);
        QCOMPARE(code(d, 0)["text"].toString(), QString());  // locked
        QCOMPARE(d["focus"].toString(), QStringLiteral("CODE(0)"));
    }

    void typingKeepsTwoCharactersAndReplacesTheText() {
        const Run run = drive(QStringLiteral("click cinsert\ntype CODE(1) 123\ntype CODE(2) 7\ntype CODE(2) 05\n"
                                             "type CODE(3) a b\ntype CODE(4) 9\ntype CODE(4) \ndump\n"));
        const QJsonObject& d = run.dumps[0];
        QCOMPARE(code(d, 1)["text"].toString(), QStringLiteral("12"));
        QCOMPARE(code(d, 2)["text"].toString(), QStringLiteral("05"));
        QCOMPARE(code(d, 3)["text"].toString(), QStringLiteral("a "));
        QCOMPARE(code(d, 4)["text"].toString(), QString());
        QCOMPARE(d["focus"].toString(), QStringLiteral("CODE(4)"));
    }

    void randomizerDealsAndResetRestores() {
        const Run run = drive(QStringLiteral("draws 9 3 4 5 6 7 8\nclick Randomizer_button\ndump\n"
                                             "click Square(10)\nclick Reset_button\ndump\n"
                                             "seed 42\nclick Randomizer_button\ndump\n"
                                             "seed 42\nclick Randomizer_button\ndump\n"));
        QCOMPARE(run.status, 0);
        const QJsonObject& dealt = run.dumps[0];
        QStringList texts;
        for (int i = 0; i < 7; ++i) texts << code(dealt, i)["text"].toString();
        QCOMPARE(texts, (QStringList{"9", "3", "4", "5", "6", "7", "8"}));
        QCOMPARE(dealt["spot"].toObject()["text"].toString(), QStringLiteral("9"));
        QCOMPARE(dealt["spot"].toObject()["shown"].toBool(), true);
        QCOMPARE(code(dealt, 0)["shown"].toBool(), false);
        QCOMPARE(square(dealt, 9)["picture"].toString(), QStringLiteral("Morvy"));
        QCOMPARE(square(dealt, 3)["picture"].toString(), QStringLiteral("YEL"));
        QCOMPARE(square(dealt, 8)["picture"].toString(), QStringLiteral("ORA"));
        QCOMPARE(targets(dealt), (QList<int>{1, 2, 3, 8, 10, 15, 16, 17}));
        QCOMPARE(dealt["moves_left"].toInt(), 50);
        QCOMPARE(strings(dealt["cues"]), QStringList{"move.wav"});

        const QJsonObject& reset = run.dumps[1];
        QCOMPARE(removed(reset), QList<int>());
        QCOMPARE(square(reset, 9)["picture"].toString(), QStringLiteral("Morvy"));
        QCOMPARE(square(reset, 10)["picture"].toString(), QString());
        QCOMPARE(code(reset, 0)["text"].toString(), QStringLiteral("9"));
        QCOMPARE(targets(reset), (QList<int>{1, 2, 3, 8, 10, 15, 16, 17}));
        QCOMPARE(reset["moves_left"].toInt(), 50);

        QCOMPARE(run.dumps[2]["CODE"], run.dumps[3]["CODE"]);  // a seed repeats the deal
        for (int i = 0; i < 7; ++i) {
            const int cell = code(run.dumps[2], i)["text"].toString().toInt();
            QVERIFY(cell >= 1 && cell <= 28);
        }
    }

    void refusedCodesStopAtTheFirstBadBox() {
        const Run run = drive(board({"", "29"}) + QStringLiteral("dump\n") + board({"5", "3", "29"}) +
                              QStringLiteral("dump\n") + QStringLiteral("click Reset_button\ndump\n"));
        const QJsonObject& yellow = run.dumps[0];
        QCOMPARE(message_texts(yellow), QStringList{kBadYellow});
        QCOMPARE(yellow["messages"].toArray()[0].toObject()["title"].toString(), QStringLiteral("Morvane's Challenge"));
        QCOMPARE(yellow["messages"].toArray()[0].toObject()["icon"].toString(), QStringLiteral("warning"));
        QCOMPARE(yellow["cinsert"].toObject()["caption"].toString(), QStringLiteral("Code"));  // left anyway
        QCOMPARE(yellow["moves_left"].toInt(), 50);
        const QJsonObject& blue = run.dumps[1];
        QCOMPARE(message_texts(blue), QStringList{kBadBox});
        QCOMPARE(square(blue, 3)["picture"].toString(), QStringLiteral("YEL"));
        QCOMPARE(square(blue, 5)["picture"].toString(), QString());  // the player is not placed
        QCOMPARE(targets(blue), QList<int>());
        QCOMPARE(code(blue, 0)["shown"].toBool(), true);
        QCOMPARE(blue["spot"].toObject()["shown"].toBool(), false);
        QCOMPARE(strings(run.dumps[2]["cues"]), QStringList{"move.wav"});
        QCOMPARE(message_texts(run.dumps[2]), QStringList{kBadBox});
    }

    void accessCodeOpensTheScoreBox() {
        const Run run = drive(
            board({"", "", "", "87", "", "87"}) + QStringLiteral("dump\n") + board({"1"}) + clicks({2, 3}) +
            QStringLiteral("type score_box 2\ndblclick score_box\ndump\ntype score_box 5x\ndblclick score_box\n"
                           "type score_box 13.5\ndblclick score_box\ntype score_box 29\ndblclick score_box\ndump\n"));
        QCOMPARE(run.status, 0);
        QCOMPARE(message_texts(run.dumps[0]), QStringList{kBadBox});
        QCOMPARE(run.dumps[0]["restore_mode"].toInt(), 1);
        QCOMPARE(run.dumps[0]["score_box"].toObject()["locked"].toBool(), false);
        QCOMPARE(removed(run.dumps[1]), QList<int>{1});  // cell 2 is back
        QCOMPARE(run.dumps[1]["moves_left"].toInt(), 48);
        QCOMPARE(removed(run.dumps[1]), QList<int>{1});
        QCOMPARE(strings(run.dumps[2]["cues"]), QStringList());
    }

    void scoreBoxDoesNothingWithoutTheMode() {
        const Run run =
            drive(board({"1"}) + clicks({2}) + QStringLiteral("type score_box 1\ndblclick score_box\ndump\n"));
        QCOMPARE(removed(run.dumps[0]), QList<int>{1});
        QCOMPARE(run.dumps[0]["score_box"].toObject()["text"].toString(), QStringLiteral("0"));
    }

    void codeEntryShowsNumbersAndTheLongPrompt() {
        const Run run = drive(QStringLiteral("click Randomizer_button\nclick cinsert\ndump\n"));
        const QJsonObject& d = run.dumps[0];
        for (int n = 1; n <= 28; ++n) {
            QCOMPARE(square(d, n)["caption"].toString(), QStringLiteral(" %1").arg(n));
            QCOMPARE(square(d, n)["picture"].toString(), QString());
            QCOMPARE(square(d, n)["pointer"].toInt(), 12);
        }
        QCOMPARE(d["Frame1"].toObject()["caption"].toString(),
                 QStringLiteral("Enter Code or Drag objects to create playing board.  Press OK when finished."));
        QCOMPARE(d["Frame1"].toObject()["font_size"].toDouble(), 10.0);
        QCOMPARE(d["focus"].toString(), QStringLiteral("CODE(0)"));
        QCOMPARE(d["spot"].toObject(), (QJsonObject{{"text", "0"}, {"locked", true}, {"shown", false}}));
        for (int i = 0; i < 7; ++i)
            QCOMPARE(code(d, i), (QJsonObject{{"text", ""}, {"locked", false}, {"shown", true}}));
        QCOMPARE(d["cinsert"].toObject()["caption"].toString(), QStringLiteral("OK"));
        QCOMPARE(d["Randomizer_button"].toObject()["shown"].toBool(), false);
        QCOMPARE(d["reseto"].toObject()["shown"].toBool(), true);
        for (const char* figure : {"Morvy", "YEL", "BLU", "NAV", "GRE", "RED", "ORA"})
            QVERIFY(d["palette"].toObject()[figure].toBool());
    }

    void boardsBuiltByDragging() {
        const Run run =
            drive(QStringLiteral("click cinsert\ntype CODE(2) 4\ndrop YEL 9\ndump\n"
                                 "type CODE(3) 6\ndrop NAV 9\ndrop NAV 10\ndrop Morvy 3\nclick cinsert\ndump\n"
                                 "click cinsert\ndrop YEL 9\nclick reseto\ndump\n"));
        QCOMPARE(run.status, 0);
        const QJsonObject& first = run.dumps[0];
        QCOMPARE(square(first, 9)["picture"].toString(), QStringLiteral("YEL"));
        QCOMPARE(square(first, 9)["caption"].toString(), QString());
        QCOMPARE(code(first, 1)["text"].toString(), QStringLiteral("9"));
        QCOMPARE(first["palette"].toObject()["YEL"].toBool(), false);
        for (int i = 0; i < 7; ++i) QVERIFY(code(first, i)["locked"].toBool());
        QCOMPARE(first["Frame1"].toObject()["caption"].toString(),
                 QStringLiteral("Drag objects to create playing board."));
        QCOMPARE(strings(first["cues"]), (QStringList{"move.wav", "move.wav"}));

        const QJsonObject& played = run.dumps[1];
        QCOMPARE(square(played, 9)["picture"].toString(), QStringLiteral("NAV"));  // navy after yellow
        QCOMPARE(square(played, 4)["picture"].toString(), QStringLiteral("BLU"));  // typed before the drop
        QCOMPARE(square(played, 3)["picture"].toString(), QStringLiteral("Morvy"));
        QCOMPARE(code(played, 3)["text"].toString(), QStringLiteral("9"));  // typing was locked out
        QCOMPARE(message_texts(played), QStringList());

        const QJsonObject& again = run.dumps[2];
        QCOMPARE(square(again, 9)["caption"].toString(), QStringLiteral(" 9"));
        QCOMPARE(square(again, 9)["picture"].toString(), QString());
        QVERIFY(again["palette"].toObject()["YEL"].toBool());
        QCOMPARE(code(again, 1), (QJsonObject{{"text", ""}, {"locked", false}, {"shown", true}}));
    }

    void aWholeGameWonInTwentySevenMoves() {
        const Run run = drive(QStringLiteral("draws 1 2 3 4 5 6 7\n") + board({"1"}) + clicks(kSnake.mid(0, 26)) +
                              QStringLiteral("dump\n") + clicks({22}) + QStringLiteral("dump\n"));
        QCOMPARE(run.status, 0);
        const QJsonObject& before = run.dumps[0];
        QCOMPARE(before["moves_left"].toInt(), 24);
        QCOMPARE(before["cell_count"].toInt(), 1);  // one legal target left on the board
        const QJsonObject& won = run.dumps[1];
        QCOMPARE(strings(won["cues"]), (QStringList{"won.wav", "move.wav"}));
        QCOMPARE(won["messages"].toArray()[0].toObject(), (QJsonObject{{"text", "You have solved the puzzle!"},
                                                                       {"title", "Morvane's Challenge II"},
                                                                       {"icon", "information"}}));
        QCOMPARE(won["score"].toInt(), 33);
        QCOMPARE(won["score_box"].toObject()["text"].toString(), QStringLiteral("33"));
        QCOMPARE(won["moves_left"].toInt(), 50);
        QCOMPARE(code(won, 6)["text"].toString(), QStringLiteral("7"));  // the queued deal
        QCOMPARE(won["spot"].toObject()["text"].toString(), QStringLiteral("1"));
    }

    void landingOnAPieceAfterAReset() {
        // Orange on 2: landing there takes the row below (8 9 10).
        const Run run = drive(board({"1", "", "", "", "", "", "2"}) + clicks({9, 16}) +
                              QStringLiteral("click Reset_button\ndump\nclick Square(2)\ndump\n"));
        QCOMPARE(run.status, 0);
        QCOMPARE(removed(run.dumps[0]), QList<int>());
        const QJsonObject& landed = run.dumps[1];
        QCOMPARE(strings(landed["cues"]), QStringList{"green.wav"});
        QCOMPARE(removed(landed), (QList<int>{1, 8, 9, 10}));
        QCOMPARE(square(landed, 2)["picture"].toString(), QStringLiteral("Morvy"));
        QCOMPARE(code(landed, 0)["text"].toString(), QStringLiteral("2"));
        QCOMPARE(code(landed, 6)["text"].toString(), QStringLiteral("2"));
        QCOMPARE(landed["moves_left"].toInt(), 49);
        QCOMPARE(targets(landed), (QList<int>{1, 3, 8, 9, 10}));
        QCOMPARE(landed["cell_count"].toInt(), 1);  // only 3 is still on the board
    }

    void removedAndFarCellsCannotBeMovedTo() {
        // Blue on 6: from 5, landing there takes 7 and 14 (the column to the
        // right). A removed cell cannot be clicked; a far one is refused.
        const Run run =
            drive(board({"5", "", "6"}) + QStringLiteral("dump\n") + clicks({6, 7, 1}) + QStringLiteral("dump\n"));
        QCOMPARE(run.status, 0);
        const QJsonObject& d = run.dumps[1];
        QCOMPARE(strings(d["cues"]), (QStringList{"Yellow.wav", "no.wav"}));
        QCOMPARE(removed(d), (QList<int>{5, 7, 14}));
        QCOMPARE(d["moves_left"].toInt(), 49);
    }

    void strandedPlayerLosesAndTheBoardComesBack() {
        // Orange on 1: from 2, landing there takes 8 and 9, and 2 is left
        // behind, so the player has no neighbour left on the board.
        const Run run = drive(board({"2", "", "", "", "", "", "1"}) + QStringLiteral("dump\nclick Square(1)\ndump\n"));
        QCOMPARE(run.status, 0);
        const QJsonObject& d = run.dumps[1];
        QCOMPARE(strings(d["cues"]), (QStringList{"green.wav", "lose.wav", "move.wav"}));
        QCOMPARE(d["messages"].toArray()[0].toObject(), (QJsonObject{{"text", "Sorry, you have no more moves."},
                                                                     {"title", "Morvane's Challenge II"},
                                                                     {"icon", "warning"}}));
        QCOMPARE(d["score"].toInt(), 0);
        QCOMPARE(d["score_box"].toObject()["text"].toString(), QStringLiteral("0"));
        QCOMPARE(removed(d), QList<int>());  // the same board again
        QCOMPARE(square(d, 2)["picture"].toString(), QStringLiteral("Morvy"));
        QCOMPARE(square(d, 1)["picture"].toString(), QStringLiteral("ORA"));
        QCOMPARE(code(d, 0)["text"].toString(), QStringLiteral("2"));
        QCOMPARE(d["moves_left"].toInt(), 50);
        QCOMPARE(d["cell_count"].toInt(), 0);
    }

    void scoreAddsUpOverGames() {
        // Win in 27 (33), then lose after one move with 49 left: 33 - 59 -> 0.
        const Run run = drive(QStringLiteral("draws 2 3 4 5 6 7 1\n") + board({"1"}) + clicks(kSnake) +
                              QStringLiteral("dump\nclick Square(1)\ndump\n"));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.dumps[0]["score"].toInt(), 33);
        // The board dealt after the win: player 2, orange on 1; the move to 1
        // strands the player.
        QCOMPARE(message_texts(run.dumps[1]), QStringList{"Sorry, you have no more moves."});
        QCOMPARE(run.dumps[1]["score"].toInt(), 0);
    }

    void solverSolutionsReplayToAWin() {
        // Dealt boards, and boards typed with empty and oddly written boxes.
        QStringList codes = {"5,05,,x,.5,2.,28", "1,,,,,,", "12,3,,9,,,", "20,.6,2.,09,x,,13", "6,1,2,1,21,26,1"};
        QRandomGenerator random(7);
        for (int board = 0; board < 40; ++board) {
            QStringList cells;
            for (int box = 0; box < 7; ++box) cells << QString::number(random.bounded(1, 29));
            codes << cells.join(QLatin1Char(','));
        }
        QProcess solve;
        solve.start(QStringLiteral(MORVANE_SOLVE), QStringList());
        solve.write(codes.join(QLatin1Char('\n')).toUtf8() + '\n');
        solve.closeWriteChannel();
        QVERIFY(solve.waitForFinished(30000));
        const QStringList answers =
            QString::fromUtf8(solve.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(answers.size(), codes.size());

        QString script;
        int replayed = 0;
        for (int i = 0; i < codes.size(); ++i) {
            if (answers[i] == QLatin1String("unsolvable")) continue;
            QList<int> moves;
            for (const QString& cell : answers[i].split(QLatin1Char(' '))) moves << cell.toInt();
            script += board(codes[i].split(QLatin1Char(','))) + clicks(moves) + QStringLiteral("dump\n");
            ++replayed;
        }
        QVERIFY(replayed >= 35);
        QCOMPARE(answers[4], QStringLiteral("unsolvable"));
        const Run run = drive(script);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.dumps.size(), replayed);
        for (const QJsonObject& dump : run.dumps)
            QCOMPARE(message_texts(dump), QStringList{"You have solved the puzzle!"});
    }
};

QTEST_GUILESS_MAIN(DriveTest)
#include "drive_test.moc"
