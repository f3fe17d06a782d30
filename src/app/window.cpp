#include "app/window.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

#include "app/look.h"
#include "app/window_drag.h"
#include "game/figures.h"
#include "game/layout.h"
#include "game/responses.h"
#include "help/help_window.h"
#include "solve/hint.h"

namespace morvane {

namespace {

// A place of the layout table, in pixels at 96 DPI.
QRect pixels(const layout::Place& place) {
    constexpr int k = layout::kTwipsPerPixel;
    return {place.left / k, place.top / k, place.width / k, place.height / k};
}

QFont arial(double points, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A flat grey face with a raised bevel, so that the pictures' grey ground
// melts into the cell.
const QString kCellStyle = QStringLiteral("QPushButton { background-color: #c0c0c0; color: black; border: 2px solid;"
                                          " border-color: #ffffff #808080 #808080 #ffffff; }"
                                          "QPushButton:pressed { border-color: #808080 #ffffff #ffffff #808080; }"
                                          "QPushButton:focus { outline: none; }");

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The palette figure of code box `box`, by name ("Morvy", "YEL", ...).
QString figure_name(int box) {
    return QString::fromLatin1(kFigures[box].name.data(), static_cast<qsizetype>(kFigures[box].name.size()));
}

int figure_in(const QMimeData* data) {
    if (!data || !data->hasFormat(kFigureMimeType)) return -1;
    bool ok = false;
    const int figure = data->data(kFigureMimeType).toInt(&ok);
    return ok && figure >= 0 && figure < kBoxes ? figure : -1;
}

}  // namespace

QMimeData* figure_mime_data(int figure) {
    auto* data = new QMimeData;
    data->setData(kFigureMimeType, QByteArray::number(figure));
    return data;
}

// How a cell looks: a flat grey face, a raised bevel (sunken while pressed)
// and the cell's picture or caption, as the style sheet kCellStyle dresses a
// push button. A look is kept as a picture per state (picture, caption,
// pressed, pixel ratio), so that a cell's repaint is one copy of pixels.
//
// On whole-number pixel ratios the look is painted here, pixel for pixel as
// the style sheet paints it (the look test holds the two side by side), so
// that the style-sheet machinery is never loaded; on other ratios, where
// the style sheet scales the pictures its own way, one hidden button
// dressed with the style sheet draws it. A cell's picture is drawn from the
// version for the screen's density.
class CellLook {
public:
    using Art = std::array<const GamePicture*, kBoxes + 1>;  // by Picture; [0] is none
    CellLook(QWidget* window, const Art& art) : window_(window), art_(art) {}

    // `cell` shows `picture`, its icon being that picture's.
    void draw(QPainter& painter, const QPushButton& cell, Picture picture) {
        const qreal ratio = cell.devicePixelRatio();
        const Key key{cell.icon().cacheKey(), cell.isDown(), ratio, cell.text(), cell.size(), marks_shown()};
        auto it = looks_.constFind(key);
        if (it == looks_.cend()) {
            if (looks_.size() > 256) looks_.clear();
            QPixmap look(cell.size() * ratio);
            look.setDevicePixelRatio(ratio);
            look.fill(Qt::transparent);
            const GamePicture* art = art_[static_cast<int>(picture)];
            const QIcon icon = art ? art->icon_for(kIconSize, ratio) : QIcon();
            if (ratio == std::floor(ratio))
                paint(look, cell, icon);
            else
                render(look, cell, icon);
            it = looks_.insert(key, look);
        }
        painter.drawPixmap(0, 0, *it);
    }

private:
    // A look's state: picture, pressed, pixel ratio, caption, size, marks.
    struct Key {
        qint64 picture;
        bool down;
        qreal ratio;
        QString caption;
        QSize size;
        bool marks;  // the pieces' marks shown
        bool operator==(const Key&) const = default;
        friend size_t qHash(const Key& key, size_t seed = 0) {
            return qHashMulti(seed, key.picture, key.down, key.ratio, key.caption, key.size.width(), key.size.height(),
                              key.marks);
        }
    };

    static constexpr QSize kIconSize{36, 36};

    // The face, the bevel (its edges meeting on the diagonal, the lit ones
    // over the shaded ones), then the picture and caption as the window's
    // style centres them.
    void paint(QPixmap& look, const QPushButton& cell, const QIcon& icon) const {
        QPainter painter(&look);
        const QColor white(0xff, 0xff, 0xff), grey(0x80, 0x80, 0x80), face(0xc0, 0xc0, 0xc0);
        const QColor lit = cell.isDown() ? grey : white, shaded = cell.isDown() ? white : grey;
        painter.fillRect(cell.rect(), face);
        const qreal w = cell.width(), h = cell.height(), b = kBevel;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        auto edge = [&](const QColor& colour, const QPolygonF& corners) {
            painter.setBrush(colour);
            painter.drawConvexPolygon(corners);
        };
        edge(shaded, QPolygonF({{0, h}, {b, h - b}, {w, h - b}, {w, h}}));  // bottom
        edge(shaded, QPolygonF({{w - b, b}, {w - b, h}, {w, h}, {w, 0}}));  // right
        edge(lit, QPolygonF({{0, 0}, {0, h}, {b, h - b}, {b, 0}}));         // left
        edge(lit, QPolygonF({{0, 0}, {0, b}, {w - b, b}, {w, 0}}));         // top
        painter.setRenderHint(QPainter::Antialiasing, false);

        QStyleOptionButton label;
        label.rect = cell.rect().adjusted(kBevel, kBevel, -kBevel, -kBevel);
        label.state = QStyle::State_Enabled;
        label.direction = Qt::LeftToRight;
        label.palette = window_->palette();
        label.palette.setColor(QPalette::ButtonText, Qt::black);
        label.icon = icon;
        label.iconSize = kIconSize;
        label.text = cell.text();
        painter.setFont(cell.font());
        label.fontMetrics = painter.fontMetrics();
        window_->style()->drawControl(QStyle::CE_PushButtonLabel, &label, &painter, nullptr);
    }

    // The look as the style sheet draws it, on a hidden button made at the
    // first need.
    void render(QPixmap& look, const QPushButton& cell, const QIcon& icon) {
        if (!model_) {
            model_ = new QPushButton(window_);
            model_->hide();
            model_->setObjectName(QStringLiteral("cell_look"));
            model_->setFont(arial(14.25));
            model_->setIconSize(kIconSize);
            model_->setStyleSheet(kCellStyle);
        }
        model_->resize(cell.size());
        if (model_->text() != cell.text()) model_->setText(cell.text());
        if (model_->icon().cacheKey() != icon.cacheKey()) model_->setIcon(icon);
        model_->setDown(cell.isDown());
        model_->render(&look, QPoint(), QRegion(), QWidget::DrawChildren);
    }

    static constexpr int kBevel = 2;  // the style sheet's border width
    QWidget* window_;
    const Art& art_;
    QPushButton* model_ = nullptr;  // owned by the window
    QHash<Key, QPixmap> looks_;
};

// A board cell: a graphical button that takes dropped palette figures.
//
// Cells stand 48 pixels apart and are 49 wide, so each overlaps its
// neighbours by a pixel. A cell paints every one of its pixels and says so
// (WA_OpaquePaintEvent): a repaint of one cell then touches neither the
// board behind it nor the neighbours it overlaps. Hover and focus change
// nothing a cell shows, so they repaint nothing either.
class CellButton : public QPushButton {
public:
    CellButton(int index, CellLook& look, QWidget* parent) : QPushButton(parent), index_(index), look_(look) {
        setAcceptDrops(true);
    }
    std::function<void(int index, int figure)> dropped;
    Picture picture = Picture::None;

protected:
    bool event(QEvent* event) override {
        const bool done = QPushButton::event(event);
        if (event->type() == QEvent::Polish) {
            // After the style's own polish, which turns hover on and
            // opaque painting off for every button.
            setAttribute(Qt::WA_Hover, false);
            setAttribute(Qt::WA_OpaquePaintEvent);
        }
        return done;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        look_.draw(painter, *this, picture);
    }
    // A release on a cell the player can move to moves the player there: the
    // button repaints itself as released, and the move changes it again at
    // once. It is painted once instead, as the move leaves it.
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (cursor().shape() != Qt::ArrowCursor) {
            QPushButton::mouseReleaseEvent(event);
            return;
        }
        setUpdatesEnabled(false);
        QPushButton::mouseReleaseEvent(event);
        setUpdatesEnabled(true);  // repaints it as it now stands
    }
    void focusInEvent(QFocusEvent* event) override {
        if (autoDefault()) QPushButton::focusInEvent(event);  // only ever in a dialog
    }
    void focusOutEvent(QFocusEvent* event) override {
        // A button losing the focus while held down lets go of it.
        if (isDown() || autoDefault()) QPushButton::focusOutEvent(event);
    }
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (figure_in(event->mimeData()) >= 0) event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (figure_in(event->mimeData()) >= 0) event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override {
        const int figure = figure_in(event->mimeData());
        if (figure < 0) return;
        event->acceptProposedAction();
        if (dropped) dropped(index_, figure);
    }

private:
    int index_;
    CellLook& look_;
};

// A palette figure: pressing and moving the mouse on it drags it.
class FigureLabel : public PictureLabel {
public:
    FigureLabel(int figure, QWidget* parent) : PictureLabel(figure_name(figure), parent), figure_(figure) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) press_ = event->position().toPoint();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton)) return;
        if ((event->position().toPoint() - press_).manhattanLength() < QApplication::startDragDistance()) return;
        // Within the window, which keeps the keyboard (see window_drag.h).
        drag_in_window(this, std::unique_ptr<QMimeData>(figure_mime_data(figure_)), screen_pixmap(),
                       QPoint(picture_size().width() / 2, picture_size().height() / 2));
    }

private:
    int figure_;
    QPoint press_;
};

// The window places every control itself. A window without a layout is
// sent a layout request each time one of its controls is shown or hidden
// (a cell leaving the board on every move) only to lay nothing out; this
// layout, which is never active, takes those requests instead.
class NoLayout : public QLayout {
public:
    explicit NoLayout(QWidget* window) : QLayout(window) { setEnabled(false); }
    void addItem(QLayoutItem*) override {}
    int count() const override { return 0; }
    QLayoutItem* itemAt(int) const override { return nullptr; }
    QLayoutItem* takeAt(int) override { return nullptr; }
    QSize sizeHint() const override { return {}; }
};

GameWindow::GameWindow(QString program_folder, QWidget* parent)
    : QWidget(parent), program_folder_(std::move(program_folder)), cues_(program_folder_) {
    build();
    render();
    // The window has loaded; its cues are opened once its first frame is on
    // the screen (see paintEvent), or at the first cue asked for before.
}

GameWindow::~GameWindow() {
    hints_.cancel();  // its thread is joined with the members
    close_cues();
}

void GameWindow::open_cues() {
    if (cues_state_ != CuesState::NotYet) return;
    cues_state_ = CuesState::Open;
    cues_.open();
}

void GameWindow::close_cues() {
    cues_state_ = CuesState::Closed;
    cues_.close();
}

void GameWindow::build() {
    setWindowTitle(qs(kTitle));
    setWindowIcon(picture_icon(QStringLiteral("icon")));
    setFixedSize(pixels(layout::kWindow).size());
    setPalette(game_palette());  // every colour, so that no desktop theme shows through
    setAutoFillBackground(true);
    setFont(arial(8.25));
    new NoLayout(this);

    // The white border behind the board.
    auto* frame2 = new QFrame(this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(pixels(layout::kBoardBorder));
    QPalette white = frame2->palette();
    white.setColor(QPalette::Window, Qt::white);
    frame2->setPalette(white);
    frame2->setAutoFillBackground(true);

    look_ = std::make_unique<CellLook>(this, art_);
    for (int n = 0; n <= kCells; ++n) {
        auto* cell = new CellButton(n, *look_, this);
        cell->setObjectName(QStringLiteral("Square(%1)").arg(n));
        cell->setGeometry(pixels(layout::cell(n)));
        cell->setFont(arial(14.25));
        cell->setIconSize(QSize(36, 36));
        cell->dropped = [this](int index, int figure) { forward([&] { game_.Square_DragDrop(index, figure); }); };
        connect(cell, &QPushButton::clicked, this, [this, n] { forward([&] { game_.Square_Click(n); }); });
        cells_[n] = cell;
    }

    frame1_ = new CaptionFrame(QStringLiteral("Code"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(pixels(layout::kCodeFrame));
    frame1_->setFont(arial(12, true));
    for (int i = 0; i < kBoxes; ++i) {
        auto* box = new QLineEdit(frame1_);
        box->setObjectName(QStringLiteral("CODE(%1)").arg(i));
        box->setGeometry(pixels(layout::code_box(i)));
        box->setFont(arial(14.25));
        box->setMaxLength(2);
        QPalette colours = box->palette();
        colours.setColor(QPalette::Base, QColor::fromRgb(kFigures[i].box_colour));
        colours.setColor(QPalette::Text, kFigures[i].light_text ? Qt::white : Qt::black);
        box->setPalette(colours);
        connect(box, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { forward([&] { game_.CODE_Change(i, text.toStdString()); }); });
        code_[i] = box;
    }
    auto button = [this](QWidget* parent, const char* name, QRect place, auto handler) {
        auto* b = new QPushButton(parent);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(place);
        b->setFont(arial(8.25));
        connect(b, &QPushButton::clicked, this, [this, handler] { forward([&] { (game_.*handler)(); }); });
        return b;
    };
    cinsert_ = button(frame1_, "cinsert", pixels(layout::kCinsert), &Morvane1::cinsert_Click);
    randomizer_ = button(frame1_, "Randomizer_button", pixels(layout::kRandomizer), &Morvane1::Randomizer_button_Click);
    reseto_ = button(frame1_, "reseto", pixels(layout::kReseto), &Morvane1::reseto_Click);
    reset_ = button(frame1_, "Reset_button", pixels(layout::kReset), &Morvane1::Reset_button_Click);

    auto* scorer = new CaptionFrame(QStringLiteral("Score"), this);
    scorer->setObjectName(QStringLiteral("Scorer"));
    scorer->setGeometry(pixels(layout::kScoreFrame));
    scorer->setFont(arial(12, true));
    score_box_ = new QLineEdit(scorer);
    score_box_->setObjectName(QStringLiteral("score_box"));
    score_box_->setGeometry(pixels(layout::kScoreBox));
    score_box_->setFont(arial(12, true));
    score_box_->installEventFilter(this);
    connect(score_box_, &QLineEdit::textEdited, this,
            [this](const QString& text) { forward([&] { game_.score_box_Change(text.toStdString()); }); });

    // The start-cell box lies on the window, over CODE(0).
    spot_ = new QLineEdit(this);
    spot_->setObjectName(QStringLiteral("spot"));
    spot_->setGeometry(pixels(layout::kSpot));
    spot_->setFont(arial(14.25));
    spot_->raise();

    for (int i = 0; i < kBoxes; ++i) {
        auto* figure = new FigureLabel(i, this);
        figure->setObjectName(figure_name(i));
        figure->setGeometry(pixels(layout::figure(i)));
        art_[i + 1] = &figure->picture();  // what a cell shows of this figure
        pictures_[i + 1] = QIcon(figure->picture().plain());
        figure->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        figures_[i] = figure;
    }

    auto* legend = new PictureLabel(QStringLiteral("legend"), this);
    legend->setObjectName(QStringLiteral("Image1"));
    legend->setGeometry(pixels(layout::kLegend));

    auto* label1 = new QLabel(QStringLiteral("Press F1 for Help"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(pixels(layout::kHelpLabel));
    label1->setFont(arial(9.75, true));
    label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* label2 = new QLabel(QStringLiteral("Version 1.0"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(pixels(layout::kVersionLabel));
    label2->setFont(arial(8.25));
    label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The hint's mark over a cell and its note below the board (placed when
    // shown); neither takes a click.
    hint_mark_ = new QWidget(this);
    hint_mark_->setObjectName(QStringLiteral("hint_mark"));
    hint_mark_->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint_mark_->setAttribute(Qt::WA_StyledBackground);
    hint_mark_->hide();
    hint_note_ = new QLabel(this);
    hint_note_->setObjectName(QStringLiteral("hint_note"));
    hint_note_->setAlignment(Qt::AlignCenter);
    hint_note_->setWordWrap(true);
    hint_note_->setFont(arial(9.75, true));
    hint_note_->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint_note_->hide();
    hint_timer_.setSingleShot(true);
    connect(&hint_timer_, &QTimer::timeout, this, &GameWindow::clear_hint);

    build_access();  // keys, the board cursor, names for screen readers
}

void GameWindow::forward(const std::function<void()>& handler) {
    clear_hint();  // whatever the player does next makes an old hint stale
    told_ = seen(game_);
    heard_.clear();
    const bool outer = std::exchange(in_action_, true);
    folder_entered_ = false;
    handler();
    in_action_ = outer;
    folder_entered_ = false;
    render();
    if (const QString said = since(told_); !said.isEmpty()) announce(said);
}

void GameWindow::show_hint() {
    clear_hint();
    if (const auto shown = hint_model_.press(game_)) present(*shown);  // else shown by hint_found()
}

void GameWindow::hint_found(std::uint64_t ticket, const solver::Hint& hint) {
    if (const auto shown = hint_model_.found(ticket, hint, game_)) present(*shown);
}

void GameWindow::present(const solver::HintShown& hint) {
    if (hint.kind == solver::HintShown::Kind::Note) {
        note(QString::fromStdString(hint.text));
        return;
    }
    // Dressed at its first showing: the style-sheet machinery is loaded
    // only once a hint is asked for.
    if (hint_mark_->styleSheet().isEmpty())
        hint_mark_->setStyleSheet(QStringLiteral("#hint_mark { border: 4px solid #ffd000; border-radius: 4px; }"));
    hint_mark_->setGeometry(cells_[hint.cell]->geometry());
    hint_mark_->raise();
    hint_mark_->show();
    hint_timer_.start(1500);
    announce(QString::fromStdString(hint.text));
}

void GameWindow::note(const QString& text) {
    // Below the board, where the palette stands in code entry: out of it the
    // note has the palette's room and wraps; in it, the strip below the
    // palette, between the score frame and the version label.
    hint_note_->setGeometry(pixels(game_.code_entry_on() ? layout::kNoteInEntry : layout::kNoteInPlay));
    hint_model_.shown_for(game_);
    hint_note_->setText(text);
    hint_note_->raise();
    hint_note_->show();
    hint_timer_.start(4000);
    announce(text);
}

void GameWindow::clear_hint() {
    hint_model_.stop_waiting();
    hint_timer_.stop();
    hint_mark_->hide();
    hint_note_->hide();
}

void GameWindow::render() {
    // A hint is about the board it was given for.
    if ((hint_note_->isVisibleTo(this) || hint_mark_->isVisibleTo(this)) && !hint_model_.still_about(game_))
        clear_hint();
    for (int n = 0; n <= kCells; ++n) {
        const Cell& state = game_.Square[n];
        CellButton* cell = cells_[n];
        cell->setHidden(!state.shown);
        if (cell->picture != state.picture) {
            cell->picture = state.picture;
            cell->setIcon(pictures_[static_cast<int>(state.picture)]);
        }
        const QString caption = QString::fromStdString(state.caption);
        if (cell->text() != caption) cell->setText(caption);
        const Qt::CursorShape shape = state.pointer == kPointerArrow ? Qt::ArrowCursor : Qt::ForbiddenCursor;
        if (cell->cursor().shape() != shape) cell->setCursor(shape);
    }
    auto show_box = [](QLineEdit* edit, const TextBox& state) {
        const QString text = QString::fromStdString(state.text);
        if (edit->text() != text) edit->setText(text);
        edit->setReadOnly(state.locked);
        edit->setHidden(!state.shown);
    };
    for (int i = 0; i < kBoxes; ++i) show_box(code_[i], game_.CODE[i]);
    show_box(spot_, game_.spot);
    show_box(score_box_, game_.score_box);
    auto show_button = [](QPushButton* button, const Button& state) {
        const QString caption = QString::fromStdString(state.caption);
        if (button->text() != caption) button->setText(caption);
        button->setHidden(!state.shown);
    };
    show_button(cinsert_, game_.cinsert);
    show_button(randomizer_, game_.Randomizer_button);
    show_button(reseto_, game_.reseto);
    show_button(reset_, game_.Reset_button);
    const QString caption = QString::fromStdString(game_.Frame1.caption);
    if (frame1_->title() != caption) frame1_->setTitle(caption);
    QFont font = frame1_->font();
    if (font.pointSizeF() != game_.Frame1.font_size || font.bold() != game_.Frame1.bold) {
        font.setPointSizeF(game_.Frame1.font_size);
        font.setBold(game_.Frame1.bold);
        frame1_->setFont(font);
    }
    for (int i = 0; i < kBoxes; ++i) figures_[i]->setHidden(!game_.palette[i].shown);
    render_access();
    if (isVisible()) hint_model_.think_ahead(game_);  // the hint of the board in play, ahead of H
}

QPushButton* GameWindow::cell(int n) const { return n >= 0 && n <= kCells ? cells_[n] : nullptr; }
QLineEdit* GameWindow::code_box(int i) const { return i >= 0 && i < kBoxes ? code_[i] : nullptr; }
QLabel* GameWindow::figure(int i) const { return i >= 0 && i < kBoxes ? figures_[i] : nullptr; }

Picture GameWindow::picture_shown(int n) const {
    const QIcon icon = cells_[n]->icon();
    if (icon.isNull()) return Picture::None;
    for (int p = 1; p <= kBoxes; ++p)
        if (icon.cacheKey() == pictures_[p].cacheKey()) return static_cast<Picture>(p);
    return Picture::None;
}

void GameWindow::enter_program_folder() {
    if (in_action_ && folder_entered_) return;
    QDir::setCurrent(program_folder_);
    folder_entered_ = in_action_;
}

void GameWindow::happened(const Event& event) {
    heard_.push_back(event);  // for the screen reader's words
    if (event.kind == EventKind::ProgramFolder) enter_program_folder();
    if (event.kind == EventKind::FocusBox) focus_code_box(event.box);
    const Response& response = response_to(event);
    if (!response.cue.empty()) {
        if (sound_on_)
            play_cue(response.cue);
        else
            enter_program_folder();  // as playing would
    }
    if (!response.text.empty()) {
        // The clicked cell is seen behind the box as the click left it,
        // though its repaint waits for the click's end (see CellButton).
        for (int n = 0; n <= kCells; ++n) cell(n)->setUpdatesEnabled(true);
        // The player hears what led here (the winning move, say) and then
        // the message, as the box comes up.
        QString said = since(told_);
        if (!said.isEmpty()) said += QLatin1Char(' ');
        announce(said + qs(response.text));
        message(response.text, response.title, response.icon);
    }
    if (!response.help_file.empty()) open_help(response.help_file);
}

void GameWindow::play_cue(std::string_view file) {
    open_cues();  // a click may come before the first frame
    enter_program_folder();
    cues_.play_here(qs(file));
}

void GameWindow::message(std::string_view text, std::string_view title, Icon icon) {
    render();  // the board as it stands is seen behind the box
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Information, qs(title), qs(text),
                    QMessageBox::Ok, this);
    box.exec();
    folder_entered_ = false;  // whatever ran meanwhile may have left it
}

void GameWindow::focus_code_box(int box) {
    render();  // the box may only now be shown
    if (QLineEdit* edit = code_box(box)) edit->setFocus(Qt::OtherFocusReason);
}

void GameWindow::open_help(std::string_view file) {
    show_help(this, QDir(program_folder_).filePath(qs(file)));
    folder_entered_ = false;
}

void GameWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        forward([&] { game_.Form_KeyF1(); });
        return;
    }
    if (event->key() == Qt::Key_H && (event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier) {
        show_hint();
        return;
    }
    if (keypad_move(event)) return;
    QWidget::keyPressEvent(event);
}

bool GameWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == score_box_ && event->type() == QEvent::MouseButtonDblClick)
        forward([&] { game_.score_box_DblClick(); });
    if (auto* box = qobject_cast<QLineEdit*>(watched); box && code_box_event(box, event)) return true;
    return QWidget::eventFilter(watched, event);
}

void GameWindow::showEvent(QShowEvent* event) {
    if (!centred_ && !parentWidget()) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            QRect place(QPoint(), frameGeometry().size());
            place.moveCenter(screen->availableGeometry().center());
            move(place.topLeft());
        }
    }
    QWidget::showEvent(event);
}

void GameWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Opening the cues reaches for the sound server and loads every cue:
    // done just after the first frame, so that it never holds that up.
    if (cues_state_ == CuesState::NotYet && !cues_timer_started_) {
        cues_timer_started_ = true;
        QTimer::singleShot(0, this, &GameWindow::open_cues);
    }
}

void GameWindow::closeEvent(QCloseEvent* event) {
    close_cues();  // the window unloads; unloading is never cancelled
    hint_model_.forget();
    event->accept();
}

}  // namespace morvane
