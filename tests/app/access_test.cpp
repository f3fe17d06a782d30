// The window's keyboard and screen-reader side under the offscreen
// platform: board codes placed, copied and pasted, the tab order, what the
// status says, and the cursor following the player.

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/board_cursor.h"
#include "app/start.h"
#include "app/window.h"

using namespace morvane;

namespace {

class TestWindow : public GameWindow {
public:
    using GameWindow::GameWindow;
    QStringList messages;
    void message(std::string_view text, std::string_view, Icon) override {
        messages << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    void play_cue(std::string_view) override {}
};

const QString kBadBox = QStringLiteral("Invalid Code.  Make sure the number in each box is below 29.");
const QString kBadYellow = QStringLiteral("Invalid Code.  Make sure each number in each box is below 29.");

}  // namespace

class AccessTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        window = std::make_unique<TestWindow>(QCoreApplication::applicationDirPath());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void codesArePlacedAsTyped_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("copied");   // "" when no board is placed
        QTest::addColumn<QString>("message");  // "" for none
        QTest::newRow("a whole code") << "9,23,28,21,15,4,27" << "9,23,28,21,15,4,27" << "";
        QTest::newRow("the player alone") << "9" << "9,,,,,," << "";
        QTest::newRow("three characters keep two") << "123,5" << "12,5,,,,," << "";
        QTest::newRow("blanks count, as typed") << "5,05, 7" << "5,05, 7,,,," << "";
        QTest::newRow("an eighth box is dropped") << "1,2,3,4,5,6,7,8" << "1,2,3,4,5,6,7" << "";
        QTest::newRow("player too far") << "29,1" << "" << kBadBox;
        QTest::newRow("no player") << ",1,2" << "" << kBadBox;
        QTest::newRow("yellow too far") << "5,40" << "" << kBadYellow;
        QTest::newRow("orange too far") << "5,1,2,3,4,6,30" << "" << kBadBox;
        QTest::newRow("a piece below 0") << "5,-3" << "" << kBadYellow;
    }
    void codesArePlacedAsTyped() {
        QFETCH(QString, code);
        QFETCH(QString, copied);
        QFETCH(QString, message);
        window->place_code(code);
        QCOMPARE(window->messages, message.isEmpty() ? QStringList() : QStringList{message});
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QCOMPARE(window->copy_code(), !copied.isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), copied.isEmpty() ? QStringLiteral("before") : copied);
        if (!copied.isEmpty()) {
            QVERIFY(window->status()->accessibleName().startsWith(QStringLiteral("Board code ")));
            QCOMPARE(window->board_cursor()->cell(), copied.section(QLatin1Char(','), 0, 0).toInt());
        }
    }

    void pastingACodeFillsTheSevenBoxes() {
        QTest::mouseClick(window->cinsert_button(), Qt::LeftButton);
        QLineEdit* box = window->code_box(3);
        box->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("21,11,25,1,21,9,142\nmore"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        const QStringList expected = {"21", "11", "25", "1", "21", "9", "14"};
        for (int i = 0; i < 7; ++i) QCOMPARE(window->code_box(i)->text(), expected[i]);
        // Without commas a paste is an ordinary one, into the box alone.
        QGuiApplication::clipboard()->setText(QStringLiteral("7"));
        window->code_box(2)->selectAll();
        QTest::keyClick(window->code_box(2), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window->code_box(2)->text(), QStringLiteral("7"));
        QCOMPARE(window->code_box(3)->text(), QStringLiteral("1"));
        QCOMPARE(window->game().CODE[2].text, std::string("7"));
        // Enter in a box is OK.
        QTest::keyClick(window->code_box(2), Qt::Key_Return);
        QVERIFY(!window->game().code_entry_on());
        QVERIFY(window->copy_code());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("21,11,7,1,21,9,14"));
        QCOMPARE(window->focusWidget(), window->board_cursor());
        // In play the locked boxes take no paste.
        QGuiApplication::clipboard()->setText(QStringLiteral("1,2,3"));
        QTest::keyClick(window->code_box(4), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window->code_box(1)->text(), QStringLiteral("11"));
    }

    void tabOrderFollowsCodeEntry() {
        auto order = [this](int stops) {
            QStringList names;
            for (int i = 0; i < stops; ++i) {
                QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
                names << window->focusWidget()->objectName();
            }
            return names;
        };
        window->board_cursor()->setFocus();
        QCOMPARE(order(5), (QStringList{"cinsert", "Randomizer_button", "Reset_button", "score_box", "board"}));
        QTest::keyClick(window->focusWidget(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(window->focusWidget(), window->code_box(0));
        QCOMPARE(order(11), (QStringList{"CODE(1)", "CODE(2)", "CODE(3)", "CODE(4)", "CODE(5)", "CODE(6)", "cinsert",
                                         "reseto", "board", "score_box", "CODE(0)"}));
    }

    void statusTellsEachMove() {
        window->place_code(QStringLiteral("9,,,,10,,"));
        QCOMPARE(window->status()->accessibleName(),
                 QStringLiteral("New board. Player on cell 9; green piece on cell 10. 50 moves left."));
        QCOMPARE(window->board_cursor()->cell(), 9);
        QCOMPARE(window->board_cursor()->accessibleName(), QStringLiteral("Cell 9, player, not a legal move"));
        QCOMPARE(window->cell(10)->accessibleDescription(), QStringLiteral("legal move"));
        QTest::mouseClick(window->cell(20), Qt::LeftButton);
        QCOMPARE(window->status()->accessibleName(), QStringLiteral("Not a legal move."));
        QTest::mouseClick(window->cell(10), Qt::LeftButton);
        QCOMPARE(window->status()->accessibleName(),
                 QStringLiteral("Moved to cell 10. Green piece took off cells 2 and 16. "
                                "25 cells on the board, 49 moves left."));
        QCOMPARE(window->cell(9)->accessibleName(), QStringLiteral("Cell 9, off the board"));
        QCOMPARE(window->cell(10)->accessibleName(), QStringLiteral("Cell 10, player"));
        QCOMPARE(window->board_cursor()->cell(), 10);
        QTest::keyClick(window->windowHandle(), Qt::Key_F5);
        QCOMPARE(window->status()->accessibleName(),
                 QStringLiteral("Same board again. Player on cell 9; green piece on cell 10. 50 moves left."));
        QTest::keyClick(window->windowHandle(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(window->status()->accessibleName().startsWith(QStringLiteral("Entering a code")));
        window->board_cursor()->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_O);
        QCOMPARE(window->status()->accessibleName(), QStringLiteral("Orange piece put on cell 9."));
        QTest::keyClick(window->windowHandle(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(window->status()->accessibleName(), QStringLiteral("Sound off."));
        QVERIFY(!window->sound_on());
    }

private:
    std::unique_ptr<TestWindow> window;
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepare_environment();
    QApplication app(argc, argv);
    prepare_application(app);
    AccessTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "access_test.moc"
