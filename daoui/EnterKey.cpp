#include "daoui/EnterKey.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

class EnterKeyFilter : public QObject {
public:
    EnterKeyFilter(QWidget* widget, std::function<void()> action) : QObject(widget), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return QObject::eventFilter(watched, event);
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};

} // namespace

void OnEnterKey(QWidget* widget, std::function<void()> action)
{
    widget->installEventFilter(new EnterKeyFilter(widget, std::move(action)));
}
