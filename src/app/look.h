#pragma once
// The window's own look, the same on every desktop: its colours, its
// captioned frames and its pictures, sharp at any screen scale.

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <memory>

namespace morvane {

// Every colour of every role and state the window's controls use: the light
// grey face of the game with black text, whatever the desktop's palette.
QPalette game_palette();

// A picture of the game's resources (":/pictures/NAME.png") with its
// versions for denser screens (NAME@2x.png, NAME@3x.png), so that whatever
// paints it takes the one drawn for the screen instead of stretching one.
QIcon picture_icon(const QString& name);

// Whether the pieces carry their marks (a small shape each, besides the
// colour) in the discs, the legend and the dragged figure. Off unless the
// player asks; whatever draws a game picture next draws it so.
bool marks_shown();
void show_marks(bool on);

// One of the game's pictures with its versions for denser screens, as
// picture_icon() gives them, but read from the resources only when first
// drawn at a density that takes them: a plain screen never holds the
// larger versions in memory.
class GamePicture {
public:
    explicit GamePicture(const QString& name);

    // The plain version and its size (with the piece's mark where marks
    // are shown and the picture has one).
    const QPixmap& plain() const { return marked() ? marked_->plain_ : plain_; }
    QSize size() const { return plain_.size(); }
    // An icon that draws `size` at `ratio` exactly as picture_icon() would:
    // the plain version alone where that is the version chosen, all of them
    // otherwise.
    const QIcon& icon_for(QSize size, qreal ratio) const;
    QPixmap pixmap(QSize size, qreal ratio) const { return icon_for(size, ratio).pixmap(size, ratio); }
    // Whether the denser versions have been read.
    bool denser_read() const { return !all_.isNull(); }

private:
    bool marked() const;

    QString name_;
    mutable std::unique_ptr<GamePicture> marked_;  // NAME-marks, read when first shown
    mutable bool marked_looked_for_ = false;
    QPixmap plain_;
    QIcon plain_icon_;
    mutable QIcon all_;  // every version, once needed
};

// A frame with a caption on its top edge: the etched line runs through the
// middle of the caption, the caption standing on the window's face.
class CaptionFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;
    // Where the top line runs, from the frame's top.
    int line_y() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A label showing one of the game's pictures at its plain size, painted
// from the version that fits the screen's density. pixmap() is the plain
// version.
class PictureLabel : public QLabel {
public:
    PictureLabel(const QString& name, QWidget* parent);
    const GamePicture& picture() const { return picture_; }
    QSize picture_size() const { return picture_.size(); }
    // The picture as the screen shows it, in device pixels.
    QPixmap screen_pixmap() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GamePicture picture_;
};

}  // namespace morvane
