#include "app/window_drag.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

namespace morvane {

namespace {

class Drag : public QObject {
public:
    Drag(QWidget* source, std::unique_ptr<QMimeData> data, const QPixmap& picture, QPoint hot_spot)
        : source_(source), window_(source->window()), data_(std::move(data)), hot_spot_(hot_spot) {
        picture_ = new QLabel(window_);
        picture_->setObjectName(QStringLiteral("drag_picture"));
        picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
        picture_->setPixmap(picture);
        picture_->resize(picture.deviceIndependentSize().toSize());
        picture_->hide();
    }
    ~Drag() override {
        delete picture_;
        if (cursor_set_) QApplication::restoreOverrideCursor();
    }

    Qt::DropAction run() {
        qApp->installEventFilter(this);
        loop_.exec();
        qApp->removeEventFilter(this);
        return result_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Input reaches the window's platform window first, and then the
        // widget it is for; it is taken at the widget, whose coordinates
        // its position is in.
        if (!watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        switch (event->type()) {
            case QEvent::MouseMove: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (!(mouse->buttons() & Qt::LeftButton)) return finish(false), true;
                follow(place_of(widget, mouse));
                return true;
            }
            case QEvent::MouseButtonRelease:
                follow(place_of(widget, static_cast<QMouseEvent*>(event)));
                finish(true);
                return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride: return true;
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) finish(false);
                return true;
            default: return false;
        }
    }

private:
    // The pointer in the window's coordinates.
    QPoint place_of(QWidget* receiver, const QMouseEvent* mouse) const {
        if (!window_ || receiver->window() != window_) return {-1, -1};
        return receiver->mapTo(window_, mouse->position().toPoint());
    }

    // The widget under `place` that takes drops, as the toolkit's own drag
    // looks for it: the innermost one there, or its nearest parent that does.
    QWidget* target_at(QPoint place) const {
        QWidget* widget = window_->rect().contains(place) ? window_->childAt(place) : nullptr;
        if (!widget && window_->rect().contains(place)) widget = window_;
        while (widget && !widget->acceptDrops()) widget = widget->isWindow() ? nullptr : widget->parentWidget();
        return widget;
    }

    void follow(QPoint place) {
        if (!window_) return;
        picture_->move(place - hot_spot_);
        picture_->raise();
        picture_->show();
        QWidget* target = target_at(place);
        if (target != target_) {
            if (target_ && accepted_) {
                QDragLeaveEvent leave;
                QApplication::sendEvent(target_, &leave);
            }
            target_ = target;
            accepted_ = false;
            if (target_) {
                QDragEnterEvent enter(target_->mapFrom(window_, place), Qt::MoveAction, data_.get(), Qt::LeftButton,
                                      QApplication::keyboardModifiers());
                QApplication::sendEvent(target_, &enter);
                accepted_ = enter.isAccepted();
            }
        }
        if (target_ && accepted_) {
            QDragMoveEvent move(target_->mapFrom(window_, place), Qt::MoveAction, data_.get(), Qt::LeftButton,
                                QApplication::keyboardModifiers());
            QApplication::sendEvent(target_, &move);
            accepted_ = move.isAccepted();
            action_ = move.dropAction();
            drop_place_ = target_->mapFrom(window_, place);
        }
        // The pointer tells whether letting go here drops the figure.
        const Qt::CursorShape shape = accepted_ ? Qt::DragMoveCursor : Qt::ForbiddenCursor;
        if (!cursor_set_)
            QApplication::setOverrideCursor(shape);
        else
            QApplication::changeOverrideCursor(shape);
        cursor_set_ = true;
    }

    void finish(bool drop) {
        if (target_ && accepted_) {
            if (drop) {
                QDropEvent event(drop_place_, Qt::MoveAction, data_.get(), Qt::NoButton,
                                 QApplication::keyboardModifiers());
                QApplication::sendEvent(target_, &event);
                if (event.isAccepted()) result_ = event.dropAction() == Qt::IgnoreAction ? action_ : event.dropAction();
            } else {
                QDragLeaveEvent leave;
                QApplication::sendEvent(target_, &leave);
            }
        }
        target_ = nullptr;
        loop_.quit();
    }

    QPointer<QWidget> source_;
    QPointer<QWidget> window_;
    std::unique_ptr<QMimeData> data_;
    QPoint hot_spot_;
    QLabel* picture_ = nullptr;
    QPointer<QWidget> target_;
    bool accepted_ = false;
    Qt::DropAction action_ = Qt::IgnoreAction;
    QPoint drop_place_;
    Qt::DropAction result_ = Qt::IgnoreAction;
    bool cursor_set_ = false;
    QEventLoop loop_;
};

}  // namespace

Qt::DropAction drag_in_window(QWidget* source, std::unique_ptr<QMimeData> data, const QPixmap& picture,
                              QPoint hot_spot) {
    Drag drag(source, std::move(data), picture, hot_spot);
    return drag.run();
}

}  // namespace morvane
