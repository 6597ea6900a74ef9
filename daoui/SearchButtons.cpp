#include "daoui/SearchButtons.h"

#include "framework/ui/TApplication.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>

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

void ConnectSearchButtons(QDialog& dialog, QAbstractButton* doSearch, QAbstractButton* ok, QAbstractButton* cancel,
                          const std::function<void()>& search)
{
    QObject::connect(doSearch, &QAbstractButton::clicked, &dialog, [search] { Application->Run(search); });
    QObject::connect(ok, &QAbstractButton::clicked, &dialog, [search, &dialog] {
        Application->Run([&] {
            search();
            dialog.accept();
        });
    });
    QObject::connect(cancel, &QAbstractButton::clicked, &dialog, &QDialog::reject);
}

void SearchOnEnter(QWidget* widget, const std::function<void()>& search)
{
    widget->installEventFilter(new EnterKeyFilter(widget, [search] { Application->Run(search); }));
}
