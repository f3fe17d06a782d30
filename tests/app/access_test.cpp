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
#include <QTextBrowser>
#include <QTreeWidget>
#include <cmath>
#include <memory>

#include "game/board_code.h"
#include "app/board_cursor.h"
#include "app/look.h"
#include "app/start.h"
#include "app/window.h"
#include "help/help_window.h"

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
        QTest::newRow("Wayland's keypad 3") << int(Qt::Key_3) << int(Qt::NoModifier) << 0xffb3u << 17 << 17;
        QTest::newRow("Wayland's keypad Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << 0xff99u << 16 << 16;
        QTest::newRow("the row's 6") << int(Qt::Key_6) << int(Qt::NoModifier) << 0x36u << 9 << 9;
        QTest::newRow("the arrow Down moves the cursor")
            << int(Qt::Key_Down) << int(Qt::NoModifier) << 0xff54u << 9 << 16;
    }
    void keypadMovesWithoutItsModifier() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(uint, sym);
        QFETCH(int, player);
        QFETCH(int, cursor);
        window->place_code(code_boxes("9"));
        QCOMPARE(player_cell(window->game()), 9);
        QCOMPARE(QApplication::focusWidget(), window->board_cursor());  // a placed board takes the keys
        press(window->board_cursor(), key, Qt::KeyboardModifiers(modifiers), sym);
        QCOMPARE(player_cell(window->game()), player);
        QCOMPARE(window->board_cursor()->cell(), cursor);
    }

    // A code pasted into a box in code entry is read as a person means it;
    // a text that is no code changes nothing; one number is pasted as typed.
    void pasteReadsCodesWithBlanks_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("blanks after commas")
            << "9, 16, 17, 18, 19, 20, 21" << QStringList{"9", "16", "17", "18", "19", "20", "21"};
        QTest::newRow("blanks alone") << " 9 16 17 18 19 20 21\n"
                                      << QStringList{"9", "16", "17", "18", "19", "20", "21"};
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

    // Enter on a focused button clicks it, as Space does.
    void enterClicksAFocusedButton_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void enterClicksAFocusedButton() {
        QFETCH(int, key);
        window->cinsert_button()->setFocus();
        QTest::keyClick(window->cinsert_button(), Qt::Key(key));
        QVERIFY(window->game().code_entry_on());
        window->reseto_button()->setFocus();
        QTest::keyClick(window->reseto_button(), Qt::Key(key));  // Start Over: still in code entry
        QVERIFY(window->game().code_entry_on());
    }

    // The cursor's frame is whole on a legal move and broken elsewhere; to a
    // screen reader it is a cell, saying which.
    void cursorShowsWhetherItsCellIsALegalMove() {
        window->place_code(code_boxes("9"));
        BoardCursor* cursor = window->board_cursor();
        cursor->setFocus();
        auto bright_on_top = [cursor] {
            const QImage frame = cursor->grab().toImage();
            int bright = 0;
            for (int x = 3; x < frame.width() - 3; ++x) bright += frame.pixelColor(x, 3) == QColor(0xff, 0xff, 0x40);
            return bright;
        };
        QCOMPARE(cursor->cell(), 9);
        QVERIFY(!cursor->legal());  // the player's own cell
        const int broken = bright_on_top();
        QTest::keyClick(cursor, Qt::Key_Right);
        QVERIFY(cursor->legal());
        const int whole = bright_on_top();
        QCOMPARE(whole, cursor->width() - 6);
        QVERIFY2(broken < whole * 3 / 4, qPrintable(QStringLiteral("%1 of %2 bright").arg(broken).arg(whole)));
        QAccessibleInterface* told = QAccessible::queryAccessibleInterface(cursor);
        QCOMPARE(told->role(), QAccessible::Cell);
        QCOMPARE(told->text(QAccessible::Name), QStringLiteral("Cell 10, empty, legal move"));
    }

    // A board placed from code entry puts the cursor on the player, not on
    // the cell where the last figure was put.
    void placedBoardPutsTheCursorOnThePlayer() {
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
        BoardCursor* cursor = window->board_cursor();
        cursor->setFocus();
        cursor->set_cell(5);
        QTest::keyClick(cursor, Qt::Key_P);  // the player on cell 5
        QTest::keyClick(cursor, Qt::Key_Down);
        QTest::keyClick(cursor, Qt::Key_Y);  // yellow on cell 12
        QCOMPARE(cursor->cell(), 12);
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);  // OK
        QVERIFY(!window->game().code_entry_on());
        QCOMPARE(player_cell(window->game()), 5);
        QCOMPARE(cursor->cell(), 5);
        // Reset puts it back on the player too.
        QTest::keyClick(cursor, Qt::Key_Left);
        QTest::keyClick(window.get(), Qt::Key_F5);
        QCOMPARE(cursor->cell(), 5);
    }

    // The help window: Tab leads from the page to the contents, and its links
    // stand out from the page (4.5:1 at least) on a light and a dark desktop.
    void helpContentsAndLinksAreForEveryone_data() {
        QTest::addColumn<QPalette>("desktop");
        QTest::newRow("light") << QApplication::palette();
        QPalette dark(QColor(0x30, 0x30, 0x30), QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Link, QColor(0x30, 0x8c, 0xc6));
        dark.setColor(QPalette::LinkVisited, QColor(0xa0, 0x70, 0xd0));
        QTest::newRow("dark") << dark;
    }
    void helpContentsAndLinksAreForEveryone() {
        QFETCH(QPalette, desktop);
        const QPalette before = QApplication::palette();
        QApplication::setPalette(desktop);
        show_help(window.get(), QCoreApplication::applicationDirPath() + QStringLiteral("/Morvane.chm"));
        HelpWindow* help = help_window_of(window.get());
        QVERIFY(help);
        help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        help->browser()->setFocus();
        bool reached = false;
        for (int i = 0; i < 80 && !reached; ++i) {
            QTest::keyClick(help->focusWidget(), Qt::Key_Tab);
            reached = help->focusWidget() == help->contents();
        }
        QVERIFY2(reached, "Tab never reached the contents");
        // The page is white (its style sheet says so); links against it.
        const QPalette page = help->browser()->palette();
        QCOMPARE(page.color(QPalette::Base), QColor(Qt::white));
        for (const QPalette::ColorRole role : {QPalette::Link, QPalette::LinkVisited}) {
            const double ratio = contrast(page.color(role), Qt::white);
            QVERIFY2(ratio >= 4.5,
                     qPrintable(QStringLiteral("%1 on white: %2").arg(page.color(role).name()).arg(ratio)));
        }
        help->close();
        QApplication::setPalette(before);
    }

    // M shows the pieces' marks on the cells (and everywhere), and takes
    // them off again; from a locked code box too.
    void marksKeySwitchesThePieceMarks() {
        window->place_code(code_boxes("9,10"));  // yellow on cell 10
        QVERIFY(!marks_shown());
        const QImage plain = window->cell(10)->grab().toImage();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_M);
        QVERIFY(marks_shown());
        QVERIFY(window->cell(10)->grab().toImage() != plain);
        window->code_box(3)->setFocus();
        QTest::keyClick(window->code_box(3), Qt::Key_M);
        QVERIFY(!marks_shown());
        QCOMPARE(window->cell(10)->grab().toImage(), plain);
    }

private:
    // WCAG's contrast ratio of two colours.
    static double contrast(const QColor& a, const QColor& b) {
        auto luminance = [](const QColor& c) {
            auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
        };
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }

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
