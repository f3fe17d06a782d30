// The keyboard and the screen reader on the real window (offscreen): keys
// as each desktop delivers them, the board cursor, the buttons and what the
// status tells.

#include <QAccessible>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/board_code.h"
#include "app/board_cursor.h"
#include "app/start.h"
#include "app/window.h"

using namespace morvane;

namespace {

// A window whose message boxes do not block.
class QuietWindow : public GameWindow {
public:
    using GameWindow::GameWindow;
    QStringList messages;
    void message(std::string_view text, std::string_view, Icon) override {
        messages << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    void open_help(std::string_view) override {}
    void play_cue(std::string_view) override {}
};

// A key as the desktop delivers it: `sym` is its X keysym, which both X11
// and Wayland give as the native virtual key.
void press(QWidget* to, int key, Qt::KeyboardModifiers modifiers, quint32 sym, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers, 0, sym, 0, text);
    QApplication::sendEvent(to, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, 0, sym, 0, text);
    QApplication::sendEvent(to, &up);
}

}  // namespace

class AccessTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        window = std::make_unique<QuietWindow>(QCoreApplication::applicationDirPath());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    // Wayland gives the keypad's keys without the keypad modifier: the
    // keysym tells them from the digits and the arrows.
    void keypadMovesWithoutItsModifier_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<uint>("sym");
        QTest::addColumn<int>("player");  // where the player from cell 9 ends
        QTest::addColumn<int>("cursor");  // and the cursor
        QTest::newRow("X11's keypad 6") << int(Qt::Key_6) << int(Qt::KeypadModifier) << 0xffb6u << 10 << 10;
        QTest::newRow("Wayland's keypad 6") << int(Qt::Key_6) << int(Qt::NoModifier) << 0xffb6u << 10 << 10;
        QTest::newRow("Wayland's keypad 3") << int(Qt::Key_3) << int(Qt::NoModifier) << 0xffb3u << 17 << 17;
        QTest::newRow("Wayland's keypad Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << 0xff99u << 16 << 16;
        QTest::newRow("Wayland's keypad Home") << int(Qt::Key_Home) << int(Qt::NoModifier) << 0xff95u << 1 << 1;
        QTest::newRow("the row's 6") << int(Qt::Key_6) << int(Qt::NoModifier) << 0x36u << 9 << 9;
        QTest::newRow("the arrow Down moves the cursor") << int(Qt::Key_Down) << int(Qt::NoModifier) << 0xff54u << 9 << 16;
    }
    void keypadMovesWithoutItsModifier() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(uint, sym);
        QFETCH(int, player);
        QFETCH(int, cursor);
        window->place_code(QStringLiteral("9"));
        QCOMPARE(player_cell(window->game()), 9);
        window->board_cursor()->setFocus();
        press(window->board_cursor(), key, Qt::KeyboardModifiers(modifiers), sym);
        QCOMPARE(player_cell(window->game()), player);
        QCOMPARE(window->board_cursor()->cell(), cursor);
    }

    // A code pasted into a box in code entry is read as a person means it;
    // a text that is no code changes nothing; one number is pasted as typed.
    void pasteReadsCodesWithBlanks_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("blanks after commas") << "9, 16, 17, 18, 19, 20, 21"
                                             << QStringList{"9", "16", "17", "18", "19", "20", "21"};
        QTest::newRow("blanks alone") << " 9 16 17 18 19 20 21\n" << QStringList{"9", "16", "17", "18", "19", "20", "21"};
        QTest::newRow("pieces left off") << "1,9,,,,,28" << QStringList{"1", "9", "", "", "", "", "28"};
        QTest::newRow("no code") << "9, 16, many" << QStringList{"", "", "", "", "", "", ""};
        QTest::newRow("one number") << "12" << QStringList{"12", "", "", "", "", "", ""};
    }
    void pasteReadsCodesWithBlanks() {
        QFETCH(QString, clipboard);
        QFETCH(QStringList, boxes);
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);  // code entry, CODE(0) focused
        QVERIFY(window->game().code_entry_on());
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(window->code_box(0), Qt::Key_V, Qt::ControlModifier);
        QStringList shown;
        for (int i = 0; i < kBoxes; ++i) shown << window->code_box(i)->text();
        QCOMPARE(shown, boxes);
    }

private:
    std::unique_ptr<QuietWindow> window;
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
