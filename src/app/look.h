#pragma once
// The window's own look, the same on every desktop: its colours, its
// captioned frames and its pictures, sharp at any screen scale.

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPalette>

namespace morvane {

// Every colour of every role and state the window's controls use: the light
// grey face of the game with black text, whatever the desktop's palette.
QPalette game_palette();

// A picture of the game's resources (":/pictures/NAME.png") with its
// versions for denser screens (NAME@2x.png, NAME@3x.png), so that whatever
// paints it takes the one drawn for the screen instead of stretching one.
QIcon picture_icon(const QString& name);

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
    const QIcon& picture() const { return picture_; }
    QSize picture_size() const { return size_; }
    // The picture as the screen shows it, in device pixels.
    QPixmap screen_pixmap() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QIcon picture_;
    QSize size_;
};

}  // namespace morvane
