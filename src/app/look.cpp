#include "app/look.h"

#include <QFile>
#include <QPaintEvent>
#include <QPainter>

namespace morvane {

QPalette game_palette() {
    // Active and inactive alike; disabled controls grey their text.
    struct Role {
        QPalette::ColorRole role;
        QRgb normal, disabled;
    };
    const Role roles[] = {
        {QPalette::Window, 0xc0c0c0, 0xc0c0c0},
        {QPalette::WindowText, 0x000000, 0xbebebe},
        {QPalette::Button, 0xc0c0c0, 0xc0c0c0},
        {QPalette::ButtonText, 0x000000, 0xbebebe},
        {QPalette::Base, 0xffffff, 0xefefef},
        {QPalette::AlternateBase, 0xf7f7f7, 0xf7f7f7},
        {QPalette::Text, 0x000000, 0xbebebe},
        {QPalette::BrightText, 0xffffff, 0xffffff},
        {QPalette::Light, 0xffffff, 0xffffff},
        {QPalette::Midlight, 0xcacaca, 0xcacaca},
        {QPalette::Mid, 0xb8b8b8, 0xb8b8b8},
        {QPalette::Dark, 0x9f9f9f, 0xbebebe},
        {QPalette::Shadow, 0x767676, 0xb1b1b1},
        {QPalette::Highlight, 0x308cc6, 0x919191},
        {QPalette::HighlightedText, 0xffffff, 0xffffff},
        {QPalette::Link, 0x0000ff, 0x0000ff},
        {QPalette::LinkVisited, 0xff00ff, 0xff00ff},
        {QPalette::ToolTipBase, 0xffffdc, 0xffffdc},
        {QPalette::ToolTipText, 0x000000, 0x000000},
        {QPalette::NoRole, 0x000000, 0x000000},
    };
    QPalette palette;
    for (const Role& r : roles) {
        palette.setColor(QPalette::Active, r.role, QColor::fromRgb(r.normal));
        palette.setColor(QPalette::Inactive, r.role, QColor::fromRgb(r.normal));
        palette.setColor(QPalette::Disabled, r.role, QColor::fromRgb(r.disabled));
    }
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));  // every group
    return palette;
}

QIcon picture_icon(const QString& name) {
    QIcon icon;
    for (const char* density : {"", "@2x", "@3x"}) {
        // A file named @Nx is read with a device pixel ratio of N.
        const QPixmap pixmap(QStringLiteral(":/pictures/%1%2.png").arg(name, QLatin1String(density)));
        if (!pixmap.isNull()) icon.addPixmap(pixmap);
    }
    return icon;
}

namespace {
bool marks_on = false;
}  // namespace

bool marks_shown() { return marks_on; }
void show_marks(bool on) { marks_on = on; }

GamePicture::GamePicture(const QString& name)
    : name_(name), plain_(QStringLiteral(":/pictures/%1.png").arg(name)), plain_icon_(plain_) {}

bool GamePicture::marked() const {
    if (!marks_on || name_.endsWith(QStringLiteral("-marks"))) return false;
    if (!marked_looked_for_) {
        marked_looked_for_ = true;
        const QString name = name_ + QStringLiteral("-marks");
        if (QFile::exists(QStringLiteral(":/pictures/%1.png").arg(name))) marked_ = std::make_unique<GamePicture>(name);
    }
    return marked_ != nullptr;
}

const QIcon& GamePicture::icon_for(QSize size, qreal ratio) const {
    if (marked()) return marked_->icon_for(size, ratio);
    // Up to 1x, an icon draws from the smallest version that covers the
    // size asked for; the plain version is the smallest of all.
    if (ratio <= 1 && size.width() <= plain_.width() && size.height() <= plain_.height()) return plain_icon_;
    if (all_.isNull()) all_ = picture_icon(name_);
    return all_;
}

int CaptionFrame::line_y() const { return fontMetrics().height() / 2; }

void CaptionFrame::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int top = line_y();
    // An etched line: a shadow line, with a light one just below and to the
    // right of it.
    auto outline = [&](const QRect& r, const QColor& colour) {
        painter.fillRect(r.left(), r.top(), r.width(), 1, colour);
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, colour);
        painter.fillRect(r.left(), r.top(), 1, r.height(), colour);
        painter.fillRect(r.right(), r.top(), 1, r.height(), colour);
    };
    const QRect frame(0, top, width() - 1, height() - top - 1);
    outline(frame.translated(1, 1), Qt::white);
    outline(frame, QColor(0x80, 0x80, 0x80));
    // Most repaints are for the controls inside, below the caption: laying
    // its text out again would draw nothing there.
    if (title().isEmpty() || !event->region().intersects(QRect(0, 0, width(), metrics.height()))) return;
    // The caption on the window's face, a blank's width in from the corner.
    const int left = metrics.height() / 2;
    const int pad = metrics.horizontalAdvance(QLatin1Char(' ')) / 2 + 1;
    const QRect caption(left, 0, metrics.horizontalAdvance(title()) + 2 * pad, metrics.height());
    painter.fillRect(caption, palette().color(backgroundRole()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}

PictureLabel::PictureLabel(const QString& name, QWidget* parent) : QLabel(parent), picture_(name) {
    setPixmap(picture_.plain());
}

QPixmap PictureLabel::screen_pixmap() const { return picture_.pixmap(picture_.size(), devicePixelRatioF()); }

void PictureLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), screen_pixmap());
}

}  // namespace morvane
