#pragma once
// The game's window: builds the controls at their places, forwards every
// user event to the game's handler and shows the game's state after it.
// It decides nothing itself.

#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "app/cue_player.h"
#include "core/morvane1.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;

namespace morvane {

class CellButton;
class CellLook;
class FigureLabel;

// The mime type of a palette figure being dragged; its data is the figure's
// palette index, so only our own figures are taken by the cells.
inline constexpr char kFigureMimeType[] = "application/x-morvane-figure";
QMimeData* figure_mime_data(int figure);

class GameWindow : public QWidget, public Outside {
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
    // the game keeps.
    void show_hint();
    QWidget* hint_mark() const { return hint_mark_; }
    QLabel* hint_note() const { return hint_note_; }
    const CuePlayer& cue_player() const { return cues_; }

    // What leaves the game.
    void enter_program_folder() override;
    void play_cue(std::string_view file) override;
    void message(std::string_view text, std::string_view title, Icon icon) override;
    void focus_code_box(int box) override;
    void open_help(std::string_view file) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    template <typename Handler>
    void forward(Handler handler);
    void note(const QString& text);
    void clear_hint();
    void open_cues();
    void close_cues();

    QString program_folder_;
    Morvane1 game_{*this};
    CuePlayer cues_;
    // The cues open once, after the first frame or at the first cue, and
    // stay shut once the window has closed.
    enum class CuesState { NotYet, Open, Closed } cues_state_ = CuesState::NotYet;
    bool cues_timer_started_ = false;
    bool centred_ = false;

    std::unique_ptr<CellLook> look_;
    std::array<CellButton*, kCells + 1> cells_{};
    std::array<QLineEdit*, kBoxes> code_{};
    std::array<FigureLabel*, kBoxes> figures_{};
    std::array<QIcon, kBoxes + 1> pictures_;  // by Picture; [0] is no picture
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
};

}  // namespace morvane
