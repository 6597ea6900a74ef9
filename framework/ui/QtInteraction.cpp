#include "framework/ui/QtInteraction.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <optional>

namespace {

// Takes the keys typed into a message box as a scan: digits collect,
// Backspace takes the last one back, and Enter after digits stores them and
// closes the box with its first button.
class ScanIntoBox : public QObject {
public:
    ScanIntoBox(QMessageBox& box, QAbstractButton* first, QString& scan) : box_(box), first_(first), scan_(scan)
    {
        scan_.clear();
        qApp->installEventFilter(this);
    }
    ~ScanIntoBox() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()
            || (watched != &box_ && !box_.isAncestorOf(static_cast<QWidget*>(watched))))
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9')) {
            typed_ += text;
            return true;
        }
        if (key->key() == Qt::Key_Backspace && !typed_.isEmpty()) {
            typed_.chop(1);
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !typed_.isEmpty()) {
            scan_ = typed_;
            first_->click();
            return true;
        }
        return false;
    }

private:
    QMessageBox& box_;
    QAbstractButton* first_;
    QString& scan_;
    QString typed_;
};

} // namespace

int QtInteraction::message(const MessageRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.caption);
    QString text = request.text;
    box.setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (request.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    QList<QAbstractButton*> buttons;
    for (int i = 0; i < request.buttons.size(); ++i) {
        const auto role = i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        buttons << box.addButton(request.buttons[i], role);
    }
    if (request.buttons.size() == 1)
        box.setEscapeButton(buttons.front());
    std::optional<ScanIntoBox> scan;
    if (request.scanMeanwhile)
        scan.emplace(box, buttons.front(), *request.scanMeanwhile);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

QStringList QtInteraction::qtFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p.trimmed() == "*.*")
                p = "*";
        // A description that names its patterns already ("Text files(*.txt)")
        // gets them once, in the form Qt reads.
        static const QRegularExpression named(QStringLiteral("\\s*\\([^()]*[*?][^()]*\\)\\s*$"));
        QString description = parts[i];
        description.remove(named);
        result << QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
    }
    return result;
}

std::optional<FileDialogResult> QtInteraction::fileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialDir);
    dialog.setAcceptMode(request.kind == FileDialogRequest::Kind::Open ? QFileDialog::AcceptOpen
                                                                       : QFileDialog::AcceptSave);
    dialog.setFileMode(request.kind == FileDialogRequest::Kind::Open ? QFileDialog::ExistingFile
                                                                     : QFileDialog::AnyFile);
    const QStringList filters = qtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(request.filterIndex, 1, int(filters.size())) - 1;
        dialog.selectNameFilter(filters[index]);
    }
    if (request.kind == FileDialogRequest::Kind::Save && !request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
        // A proposed name is for the user to complete: the cursor goes to its
        // end instead of selecting it, so that typing does not replace it.
        if (request.kind == FileDialogRequest::Kind::Save)
            if (auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                QTimer::singleShot(0, edit, [edit] { edit->end(false); });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileDialogResult result;
    result.fileName = dialog.selectedFiles().front();
    result.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (result.filterIndex <= 0)
        result.filterIndex = request.filterIndex;
    return result;
}

int QtInteraction::execDialog(QDialog& dialog) { return dialog.exec(); }

void QtInteraction::beep(BeepKind kind)
{
    QApplication::beep();
    if (kind == BeepKind::Attention)
        QTimer::singleShot(250, qApp, [] { QApplication::beep(); });
    if (kind == BeepKind::Notice)
        for (int delay : {120, 240})
            QTimer::singleShot(delay, qApp, [] { QApplication::beep(); });
}

void QtInteraction::openDocument(const QString& file) { platform::shellOpen(file); }

QAction* QtInteraction::popupMenu(QMenu& menu, const QPoint& globalPos) { return menu.exec(globalPos); }
