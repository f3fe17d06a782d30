#pragma once
// The game's window: builds the controls at their places, forwards every
// user event to the game's handler and shows the game's state after it.
// It decides nothing itself.

#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cue_player.h"
#include "app/hint_worker.h"
#include "game/board_code.h"
#include "game/events.h"
#include "game/morvane1.h"
#include "game/narration.h"
#include "solve/hint_model.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;

namespace morvane {

class BoardCursor;
class CellButton;
class CellLook;
class FigureLabel;
class GamePicture;

// The mime type of a palette figure being dragged; its data is the figure's
// palette index, so only our own figures are taken by the cells.
inline constexpr char kFigureMimeType[] = "application/x-morvane-figure";
QMimeData* figure_mime_data(int figure);

class GameWindow : public QWidget, public GameEvents {
    Q_OBJECT

public:
    // `program_folder` holds the cues and the help file.
    explicit GameWindow(QString program_folder, QWidget* parent = nullptr);
    ~GameWindow() override;

    Morvane1& game() { return game_; }
    const Morvane1& game() const { return game_; }

    // Shows the game's state in the controls.
    void render();

    // The controls, by the game's own names (for the scripted driver).
    QPushButton* cell(int n) const;
    QLineEdit* code_box(int i) const;
    QLineEdit* spot_box() const { return spot_; }
    QLineEdit* score_edit() const { return score_box_; }
    QPushButton* cinsert_button() const { return cinsert_; }
    QPushButton* randomizer_button() const { return randomizer_; }
    QPushButton* reseto_button() const { return reseto_; }
    QPushButton* reset_button() const { return reset_; }
    QGroupBox* frame1() const { return frame1_; }
    QLabel* figure(int i) const;
    // The picture a cell shows, as a palette picture (None for none).
    Picture picture_shown(int n) const;

    // The hint (key H): marks the next cell of a winning sequence for a
    // moment, or says in the window that none is left. It changes nothing
    // the game keeps. The search runs on a thread of its own, started
    // whenever the board in play changes; H shows its answer at once when
    // it is ready, else as soon as it is (unless the board changed first).
    void show_hint();
    // H was pressed and its answer is still being worked out.
    bool hint_pending() const { return hint_model_.waiting(); }
    // Whether the hint's search was ever started (by a board in play).
    bool hint_started() const { return hints_.started(); }
    // How the hint is searched for (tests slow it down); the next board
    // asks with it.
    void set_hint_search(HintWorker::Search search) { hints_.set_search(std::move(search)); }
    QWidget* hint_mark() const { return hint_mark_; }
    QLabel* hint_note() const { return hint_note_; }
    const CuePlayer& cue_player() const { return cues_; }

    // What the game tells, as it happens: played, shown and opened as the
    // game's response table says, and noted for the screen reader.
    void happened(const Event& event) override;

    // How the window plays a cue, shows a message box and opens a help
    // file for the game (the driver and the tests record them instead).
    virtual void play_cue(std::string_view file);
    virtual void message(std::string_view text, std::string_view title, Icon icon);
    virtual void open_help(std::string_view file);
    // Makes the program's folder the current directory.
    void enter_program_folder();

    // --- Keyboard, screen reader and board codes (window_access.cpp) -----
    // Places board code `code` ("9,23,28,21,15,4,27"), exactly as typing its
    // boxes in code entry and pressing OK would; a bad code gets the game's
    // message box.
    void place_code(const CodeBoxes& boxes);
    // Copies the placed board's code to the clipboard; false when no board
    // is placed.
    bool copy_code();
    // The sound, on at start; off lasts until it is switched on again or
    // the window closes.
    bool sound_on() const { return sound_on_; }
    void toggle_sound();
    // The pieces' marks (key M), off at start unless --marks.
    void toggle_marks();
    // The board's keyboard stop and its cursor cell.
    BoardCursor* board_cursor() const { return cursor_; }
    // The live status a screen reader hears: its accessible name says what
    // the last action did.
    QLabel* status() const { return status_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    // Runs a handler of the game for a user event, then shows and tells
    // what it did.
    void forward(const std::function<void()>& handler);
    void note(const QString& text);
    void clear_hint();
    void hint_found(std::uint64_t ticket, const solver::Hint& hint);
    void present(const solver::HintShown& hint);
    void focus_code_box(int box);

    // Keys, screen reader and board codes (window_access.cpp).
    void build_access();
    void render_access();
    void announce(const QString& text);  // the status's new name
    QString since(Seen& told);           // what the events heard since `told` did; `told` becomes now
    bool keypad_move(const QKeyEvent* event);
    void press(QPushButton* button);  // a click, when the button is shown
    // Code entry ended from a box (`was`, the focus before, a box or
    // none): the board takes the keys again.
    void leave_code_box(QWidget* was);
    bool code_box_event(QLineEdit* box, QEvent* event);
    bool paste_code(QLineEdit* box);

    void open_cues();
    void close_cues();

    QString program_folder_;
    Morvane1 game_{*this};
    CuePlayer cues_;
    // The cues open once, after the first frame or at the first cue, and
    // stay shut once the window has closed.
    enum class CuesState { NotYet, Open, Closed } cues_state_ = CuesState::NotYet;
    bool cues_timer_started_ = false;
    // During a user action (forward()), whether the program's folder has
    // been entered: nothing the game does within one action leaves it, so
    // it is entered once per action however many cues follow.
    bool in_action_ = false;
    bool folder_entered_ = false;
    bool centred_ = false;

    std::unique_ptr<CellLook> look_;
    std::array<CellButton*, kCells + 1> cells_{};
    std::array<QLineEdit*, kBoxes> code_{};
    std::array<FigureLabel*, kBoxes> figures_{};
    // The figures' pictures, by Picture ([0] is no picture): as a cell's
    // icon, which names the picture it shows, and as drawn.
    std::array<QIcon, kBoxes + 1> pictures_;
    std::array<const GamePicture*, kBoxes + 1> art_{};
    QLineEdit* spot_ = nullptr;
    QLineEdit* score_box_ = nullptr;
    QPushButton* cinsert_ = nullptr;
    QPushButton* randomizer_ = nullptr;
    QPushButton* reseto_ = nullptr;
    QPushButton* reset_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QWidget* hint_mark_ = nullptr;
    QLabel* hint_note_ = nullptr;
    QTimer hint_timer_;
    HintWorker hints_{[this](std::uint64_t ticket, solver::Hint hint) {
        QMetaObject::invokeMethod(
            this, [this, ticket, hint] { hint_found(ticket, hint); }, Qt::QueuedConnection);
    }};
    solver::HintModel hint_model_{hints_};

    BoardCursor* cursor_ = nullptr;
    QLabel* status_ = nullptr;
    bool sound_on_ = true;
    int last_player_ = 0;  // the player's cell at the last render
    int tab_order_ = -1;   // the tab order set up last: 1 code entry, 0 play
    // What each cell showed when its screen-reader words were last set.
    struct ToldCell {
        bool shown = false;
        Picture picture = Picture::None;
        int pointer = -1;
        bool operator==(const ToldCell&) const = default;
    };
    std::array<ToldCell, kCells + 1> told_cells_{};
    Seen told_;                 // the game as last told in the status
    std::vector<Event> heard_;  // what the game told since then
};

}  // namespace morvane
