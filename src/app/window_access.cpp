// Playing without the mouse and without seeing the window: the board as one
// keyboard stop with a cursor, the shortcuts, the tab order, the names and
// the live status a screen reader reads, and board codes through the
// clipboard and the command line.
//
// Every key leads to the handler the matching click reaches, and only
// where that click could happen: the button is shown, the cell is on the
// board, the figure is still in the palette.

#include <algorithm>

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>

#include "app/board_cursor.h"
#include "app/button_keys.h"
#include "app/keypad.h"
#include "app/look.h"
#include "game/code_reading.h"
#include "app/window.h"
#include "game/board_code.h"
#include "game/figures.h"
#include "game/geometry.h"
#include "game/narration.h"

namespace morvane {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QLatin1String latin1(std::string_view text) { return QLatin1String(text.data(), static_cast<qsizetype>(text.size())); }

// The keys of the buttons and the window (shown in tooltips and the help).
const QKeySequence kNewKey(Qt::CTRL | Qt::Key_N);   // Randomizer: a new game
const QKeySequence kRestartKey(Qt::Key_F5);         // Reset, or Start Over in code entry
const QKeySequence kCodeKey(Qt::CTRL | Qt::Key_E);  // Code, and OK in code entry
const QKeySequence kQuitKey(Qt::CTRL | Qt::Key_Q);
const QKeySequence kSoundKey(Qt::CTRL | Qt::Key_M);
const QKeySequence kCopyKey(Qt::CTRL | Qt::Key_C);
const QKeySequence kMarksKey(Qt::Key_M);  // the pieces' marks on and off

bool is(const QKeyEvent* event, const QKeySequence& key) { return QKeySequence(event->keyCombination()) == key; }

constexpr char kLegend[] =
    "What landing on each piece takes off the board, of the cells around the player: yellow the "
    "three above, green the three to the left, blue the three to the right, red the three below, "
    "navy the three on each side, orange the three above and the three below.";

}  // namespace

void GameWindow::build_access() {
    // The board is one keyboard stop; its cells take no focus of their own.
    cursor_ = new BoardCursor([this](int n) { return cell(n)->geometry(); }, this);
    cursor_->raise();
    hint_mark_->raise();
    for (int n = 0; n <= kCells; ++n) cell(n)->setFocusPolicy(Qt::NoFocus);
    cursor_->pressed = [this](int n) {
        if (!cell(n)->isHidden()) cell(n)->click();
    };
    cursor_->figure_key = [this](int n, int f) {
        if (figure(f)->isHidden() || cell(n)->isHidden()) return;
        forward([&] { game_.Square_DragDrop(n, f); });
    };
    cursor_->moved = [this](int) { render_access(); };
    cursor_->setAccessibleDescription(
        QStringLiteral("The board. The arrow keys move the cursor, Enter or Space clicks the cell under it, "
                       "the keypad's 1 to 9 move the player; while entering a code, P, Y, B, N, G, R and O "
                       "put the player or a piece on the cell."));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setGeometry(hint_note_->geometry());
    status_->setAttribute(Qt::WA_TransparentForMouseEvents);
    status_->lower();
    status_->setAccessibleDescription(QStringLiteral("What the last move or button did"));
    announce(QStringLiteral("No board yet. Ctrl+N deals a board, Ctrl+E enters a code."));

    for (int i = 0; i < kBoxes; ++i) {
        code_[i]->setAccessibleName(QStringLiteral("Code: %1").arg(latin1(kFigures[i].words)));
        code_[i]->setAccessibleDescription(
            QStringLiteral("The cell of the %1 in the board code").arg(latin1(kFigures[i].words)));
        code_[i]->installEventFilter(this);
        connect(code_[i], &QLineEdit::returnPressed, this, [this, i] {
            if (game_.code_entry_on()) press(cinsert_);
            leave_code_box(code_[i]);
        });
        figure(i)->setAccessibleName(latin1(kFigures[i].palette_words));
        figure(i)->setAccessibleDescription(
            QStringLiteral("Drag it onto a cell, or press %1 with the board cursor on the cell")
                .arg(QLatin1Char(kFigures[i].key)));
    }
    spot_->setFocusPolicy(Qt::ClickFocus);
    spot_->installEventFilter(this);
    spot_->setAccessibleName(QStringLiteral("Start cell"));
    spot_->setAccessibleDescription(QStringLiteral("The cell the player started this board on"));
    score_box_->setAccessibleName(QStringLiteral("Score"));
    if (auto* legend = findChild<QLabel*>(QStringLiteral("Image1"))) {
        legend->setAccessibleName(QStringLiteral("Legend"));
        legend->setAccessibleDescription(QLatin1String(kLegend));
    }
    randomizer_->setToolTip(
        QStringLiteral("Deal a new random board (%1)").arg(kNewKey.toString(QKeySequence::NativeText)));
    reset_->setToolTip(QStringLiteral("Play this board again from the start (%1)")
                           .arg(kRestartKey.toString(QKeySequence::NativeText)));
    reseto_->setToolTip(
        QStringLiteral("Clear the code and start again (%1)").arg(kRestartKey.toString(QKeySequence::NativeText)));

    auto shortcut = [this](const QKeySequence& key, auto action) {
        auto* s = new QShortcut(key, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(kNewKey, [this] { press(randomizer_); });
    shortcut(kRestartKey, [this] { press(reset_->isHidden() ? reseto_ : reset_); });
    shortcut(kCodeKey, [this] {
        QWidget* was = focusWidget();
        press(cinsert_);
        leave_code_box(was);
    });
    shortcut(kQuitKey, [this] { close(); });
    shortcut(kSoundKey, [this] { toggle_sound(); });
    shortcut(kCopyKey, [this] { copy_code(); });
    shortcut(kMarksKey, [this] { toggle_marks(); });
    for (QPushButton* button : {cinsert_, randomizer_, reseto_, reset_}) let_enter_click(button);

    cursor_->setFocus(Qt::OtherFocusReason);
}

void GameWindow::render_access() {
    for (int n = 0; n <= kCells; ++n) {
        // A cell's words follow from what it shows and its pointer alone.
        const Cell& state = game_.Square[n];
        const ToldCell now{state.shown, state.picture, state.pointer};
        if (told_cells_[n] == now) continue;
        told_cells_[n] = now;
        const QString name = qs(cell_name(game_, n));
        if (cell(n)->accessibleName() != name) cell(n)->setAccessibleName(name);
        const QString description = qs(cell_description(game_, n));
        if (cell(n)->accessibleDescription() != description) cell(n)->setAccessibleDescription(description);
    }
    // The cursor follows the player whenever the player's cell changes (a
    // move, a new board, a player put on the board), and starts on the
    // player whenever a board is placed.
    const bool placed_now = std::any_of(heard_.begin(), heard_.end(),
                                        [](const Event& event) { return event.kind == EventKind::BoardPlaced; });
    if (const int player = player_cell(game_); player != last_player_ || (placed_now && player != 0)) {
        last_player_ = player;
        if (player != 0) cursor_->set_cell(player);
    }
    const int n = cursor_->cell();
    cursor_->set_legal(game_.Square[n].shown && game_.Square[n].pointer == kPointerArrow);
    const QString here = QStringLiteral("%1, %2").arg(cell(n)->accessibleName(), cell(n)->accessibleDescription());
    if (cursor_->accessibleName() != here) cursor_->setAccessibleName(here);

    // Locked code boxes are left out of the tab order (a click still
    // focuses them); the order itself follows code entry.
    for (int i = 0; i < kBoxes; ++i) code_[i]->setFocusPolicy(game_.CODE[i].locked ? Qt::ClickFocus : Qt::StrongFocus);
    const int entry = game_.code_entry_on() ? 1 : 0;
    if (entry != tab_order_) {
        tab_order_ = entry;
        cinsert_->setToolTip(
            entry ? QStringLiteral("Place the board (%1, or Enter in a code box)")
                        .arg(kCodeKey.toString(QKeySequence::NativeText))
                  : QStringLiteral("Enter a board code (%1)").arg(kCodeKey.toString(QKeySequence::NativeText)));
        std::vector<QWidget*> chain;
        if (entry) {
            chain.assign(code_.begin(), code_.end());
            chain.insert(chain.end(), {cinsert_, reseto_, cursor_, score_box_, randomizer_, reset_});
        } else {
            chain = {cursor_, cinsert_, randomizer_, reset_, score_box_, reseto_};
            chain.insert(chain.end(), code_.begin(), code_.end());
        }
        for (std::size_t i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);
    }
}

void GameWindow::announce(const QString& text) {
    // The name changes, and AT-SPI clients are told once: the toolkit tells
    // them of every new name, also when the same words come again (two
    // refused moves in a row).
    status_->setAccessibleName(text);
}

QString GameWindow::since(Seen& told) {
    Seen now = seen(game_);
    const std::string said = narrate(heard_, told, now);
    told = std::move(now);
    heard_.clear();
    return qs(said);
}

bool GameWindow::keypad_move(const QKeyEvent* event) {
    int rows = 0, columns = 0;
    if ((event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) != Qt::NoModifier ||
        !keypad_step(event, rows, columns))
        return false;
    // The same as clicking that neighbour of the player, when there is one on the board.
    if (const int player = player_cell(game_))
        if (const int n = cell_at(row_of(player) + rows, column_of(player) + columns); n != 0 && !cell(n)->isHidden())
            cell(n)->click();
    return true;
}

void GameWindow::press(QPushButton* button) {
    if (!button->isHidden() && button->isEnabled()) button->click();
}

void GameWindow::leave_code_box(QWidget* was) {
    // Code entry ended from a code box: the board takes the keys again. (A
    // hidden box has handed the focus on by now, to the next button.)
    if (game_.code_entry_on()) return;
    auto in_a_box = [this](QWidget* widget) {
        return !widget || widget == spot_ || std::find(code_.begin(), code_.end(), widget) != code_.end() ||
               widget->isHidden();
    };
    if (in_a_box(was) || in_a_box(focusWidget())) cursor_->setFocus(Qt::ShortcutFocusReason);
}

void GameWindow::toggle_sound() {
    sound_on_ = !sound_on_;
    note(sound_on_ ? QStringLiteral("Sound on.") : QStringLiteral("Sound off."));
}

void GameWindow::toggle_marks() {
    show_marks(!marks_shown());
    // Every picture anew; the cells, which paint every pixel themselves,
    // are not repainted with the window behind them.
    for (QWidget* widget : findChildren<QWidget*>()) widget->update();
    note(marks_shown() ? QStringLiteral("Piece marks on.") : QStringLiteral("Piece marks off."));
}

bool GameWindow::copy_code() {
    if (!board_placed(game_)) return false;
    const QString code = qs(board_code(game_));
    QGuiApplication::clipboard()->setText(code);
    note(QStringLiteral("Board code %1 copied.").arg(code));
    return true;
}

void GameWindow::place_code(const CodeBoxes& boxes) {
    QWidget* was = focusWidget();
    forward([&] { morvane::place_code(game_, boxes); });
    leave_code_box(was);
}

bool GameWindow::paste_code(QLineEdit* box) {
    if (!game_.code_entry_on() || box->isReadOnly()) return false;
    const QString text = QGuiApplication::clipboard()->text().trimmed();
    if (const auto boxes = read_code(text.toStdString())) {
        forward([&] { type_code(game_, *boxes); });
        return true;
    }
    // One number goes into the box as typed; anything more that is no
    // code changes nothing, rather than filling a box with a piece of it.
    return text.contains(QRegularExpression(QStringLiteral("[,\\s]")));
}

bool GameWindow::code_box_event(QLineEdit* box, QEvent* event) {
    if (box != spot_ && box != score_box_ && std::find(code_.begin(), code_.end(), box) == code_.end()) return false;
    const bool code = box != spot_ && box != score_box_;
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            // A box would take Ctrl+E (end of line) and Ctrl+C without a
            // selection for itself; here they are the window's.
            auto* key = static_cast<QKeyEvent*>(event);
            if (is(key, kCodeKey) || (is(key, kCopyKey) && !box->hasSelectedText()) ||
                (is(key, kMarksKey) && box->isReadOnly())) {
                event->ignore();
                return true;
            }
            return false;
        }
        case QEvent::KeyPress:
            return code && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) && paste_code(box);
        case QEvent::ContextMenu: {
            if (!code) return false;
            // The menu's Paste fills the seven boxes from a code, too.
            QMenu* menu = box->createStandardContextMenu();
            for (QAction* action : menu->actions())
                if (action->objectName() == QLatin1String("edit-paste")) {
                    disconnect(action, &QAction::triggered, nullptr, nullptr);
                    connect(action, &QAction::triggered, this, [this, box] {
                        if (!paste_code(box)) box->paste();
                    });
                }
            menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
            delete menu;
            return true;
        }
        default: return false;
    }
}

}  // namespace morvane
