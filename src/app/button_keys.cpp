#include "app/button_keys.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace morvane {

namespace {

class EnterClicks : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = static_cast<QAbstractButton*>(watched);
        if (button->isVisible() && button->isEnabled()) button->click();
        return true;
    }
};

}  // namespace

void let_enter_click(QAbstractButton* button) { button->installEventFilter(new EnterClicks(button)); }

}  // namespace morvane
