// The game's keys replayed through morvane-drive: each does exactly what
// its click does, and nothing where that click could not happen.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

// morvane-drive, or the driver MORVANE_DRIVE_PROGRAM names (the browser
// edition's morvane-web-drive speaks the same protocol and runs these too).
QString driver() {
    const QString other = qEnvironmentVariable("MORVANE_DRIVE_PROGRAM");
    return other.isEmpty() ? QStringLiteral(MORVANE_DRIVE) : other;
}

QList<QJsonObject> dumps(const QString& script) {
    QProcess process;
    process.start(driver(), QStringList());
    process.write(script.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(300000) || process.exitCode() != 0) {  // a watchdog, not a time limit
        qWarning("morvane-drive failed: %s", process.readAllStandardError().constData());
        return {};
    }
    QList<QJsonObject> list;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n'))
        if (!line.isEmpty()) list << QJsonDocument::fromJson(line).object();
    return list;
}

// Types a board code in code entry and presses OK, with the mouse.
QString board(const QString& code) {
    QString script = QStringLiteral("click cinsert\n");
    const QStringList boxes = code.split(QLatin1Char(','));
    for (int i = 0; i < boxes.size(); ++i) script += QStringLiteral("type CODE(%1) %2\n").arg(i).arg(boxes[i]);
    return script + QStringLiteral("click cinsert\n");
}

// The keyboard reaches the board from OK (play) or from CODE(0) (code entry)
// by going backwards through the tab order.
const QString kToBoardFromOk = QStringLiteral("key Backtab\n");
const QString kToBoardFromCode0 = QStringLiteral("key Backtab\nkey Backtab\n");

QJsonObject without(QJsonObject dump, std::initializer_list<const char*> keys) {
    for (const char* key : keys) dump.remove(QLatin1String(key));
    return dump;
}

}  // namespace

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    // KEYS after SETUP leave the same dump as CLICKS after it; with no
    // CLICKS, the state after SETUP, with no cue, message or help.
    // clang-format off
    void keysDoWhatTheirClicksDoAndNothingElse_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("clicks");
        const QString entry = QStringLiteral("click cinsert\n") + kToBoardFromCode0;
        QTest::newRow("Ctrl+N deals") << "draws 9 3 4 5 6 7 8\n" << "key Ctrl+N" << "click Randomizer_button";
        QTest::newRow("F5 resets") << board("1") + "click Square(2)\n" << "key F5" << "click Reset_button";
        QTest::newRow("Ctrl+E enters a code") << board("9,2") << "key Ctrl+E" << "click cinsert";
        QTest::newRow("Ctrl+E is OK") << "click cinsert\ntype CODE(0) 9\ntype CODE(1) 2\n" << "key Ctrl+E"
                                     << "click cinsert";
        QTest::newRow("F5 starts over") << "click cinsert\ntype CODE(0) 9\n" << "key F5" << "click reseto";
        QTest::newRow("keypad 9 steps up right") << board("9,2") << "key Num+9" << "click Square(3)";
        QTest::newRow("keypad 2 steps down") << board("9,2") << "key Num+2" << "click Square(16)";
        QTest::newRow("Enter on the cursor") << board("9,2") + kToBoardFromOk << "key Right\nkey Return"
                                             << "click Square(10)";
        QTest::newRow("Space on a refused cell") << board("9,2") + kToBoardFromOk << "key Right\nkey Right\nkey Space"
                                                 << "click Square(11)";
        QTest::newRow("Y drops yellow") << entry << "key Down\nkey Y" << "drop YEL 8";
        QTest::newRow("P drops the player") << entry << "key P" << "drop Morvy 1";
        QTest::newRow("Ctrl+N in code entry") << "click cinsert\n" << "key Ctrl+N" << "";
        QTest::newRow("keypad off the edge") << board("1") << "key Num+7\nkey Num+8\nkey Num+4\nkey Num+1" << "";
        QTest::newRow("keypad onto a removed cell") << board("1") + "click Square(2)\n" << "key Num+4\nkey Num+7" << "";
        QTest::newRow("keypad without a player") << entry << "key Num+6" << "";
        QTest::newRow("Enter on a removed cell") << board("1") + "click Square(2)\n" + kToBoardFromOk
                                                 << "key Left\nkey Return\nkey Space" << "";
        QTest::newRow("a figure already placed") << entry + "key P\nkey Right\n" << "key P" << "";
        QTest::newRow("a figure key in play") << board("9") + kToBoardFromOk << "key Y\nkey O" << "";
        QTest::newRow("Enter clicks the focused button") << "draws 9 2 3 4 5 6 7\nclick Randomizer_button\nclick Square(10)\nkey Tab\n"
                                                         << "key Return" << "click Reset_button";
        QTest::newRow("keypad Enter clicks it too") << "draws 9 2 3 4 5 6 7\nclick Randomizer_button\nkey Tab\n" << "key Enter" << "click Reset_button";
        QTest::newRow("Ctrl+C changes nothing") << board("9,2") << "key Ctrl+C" << "";
    }
    // clang-format on
    void keysDoWhatTheirClicksDoAndNothingElse() {
        QFETCH(QString, setup);
        QFETCH(QString, keys);
        QFETCH(QString, clicks);
        const auto by_keys = dumps(setup + "dump\n" + keys + "\ndump\n");
        const auto by_clicks = dumps(setup + "dump\n" + (clicks.isEmpty() ? QString() : clicks + "\n") + "dump\n");
        QCOMPARE(by_keys.size(), 2);
        QCOMPARE(by_clicks.size(), 2);
        // The focus may differ: a click focuses the button clicked.
        QCOMPARE(without(by_keys[1], {"focus"}), without(by_clicks[1], {"focus"}));
    }

    void soundKeySilencesTheCuesUntilPressedAgain() {
        const auto list =
            dumps(board("9") + "dump\nkey Ctrl+M\nclick Square(20)\ndump\nkey Ctrl+M\nclick Square(20)\ndump\n");
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[1]["cues"].toArray().size(), 0);
        QCOMPARE(list[2]["cues"].toArray(), QJsonArray{QStringLiteral("no.wav")});
    }
};

QTEST_GUILESS_MAIN(KeysTest)
#include "keys_test.moc"
