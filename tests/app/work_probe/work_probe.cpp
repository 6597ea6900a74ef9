// Starts the main window offscreen on a program folder, as a user would,
// and then works until it is killed, telling on standard output what has
// returned: the kill test stops it at random moments and checks the folder.
//   work_probe FOLDER capture SEED   numbers typed and Enter pressed, "stored LIST NUMBER" after each
//   work_probe FOLDER import FILE    the file imported through "Importieren", "imported" at the end
//   work_probe FOLDER delete         the active list deleted, "deleted LIST" after each, until none is left
//   work_probe FOLDER start          only the start with its backup copy, "started"
// The progress window of the backup copy says "copy shown" and "copy hidden".
#include "app/TfCopyDlg.h"
#include "app/TfMain.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "ui_TfMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// Tells when the progress window of the backup copy appears and goes.
class CopyWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            say(QStringLiteral("copy shown"));
        else if (event->type() == QEvent::Hide)
            say(QStringLiteral("copy hidden"));
        return QObject::eventFilter(watched, event);
    }
};

int activeList(TfMain& w)
{
    return w.TB_Master.Active() && !w.TB_Master.IsEmpty() ? w.TB_Master.FieldByName("IDX")->AsInteger() : 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    if (argc < 3)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[2]);
    auto* interaction = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(interaction)};
    TfCopyDlg copy;
    fCopyDlg = &copy;
    CopyWatch watch;
    copy.installEventFilter(&watch);
    TfMain window(QString::fromLocal8Bit(argv[1]));
    window.show();
    say(QStringLiteral("started"));
    if (mode == "capture") {
        if (window.TB_Master.IsEmpty())
            window.ui->Button1->click();
        window.ui->PageControl1->setCurrentWidget(window.ui->TabSheet2);
        QRandomGenerator rng(argc > 3 ? QString(argv[3]).toUInt() : 1);
        for (;;) {
            const QString number = QString::number(rng.bounded(1, 2000000000));
            const QString before = window.ui->gb_Erfassung->title();
            QTest::keyClicks(window.ui->ed_BuchNr, number);
            QTest::keyClick(window.ui->ed_BuchNr, Qt::Key_Return);
            if (window.ui->gb_Erfassung->title() != before)
                say(QStringLiteral("stored %1 %2").arg(activeList(window)).arg(number));
            window.ui->ed_BuchNr->clear();
        }
    }
    if (mode == "import" && argc > 3) {
        interaction->fileAnswers.push_back(FileDialogResult{QString::fromLocal8Bit(argv[3]), 3});
        window.ui->Button3->click();
        say(QStringLiteral("imported"));
    }
    if (mode == "delete") {
        while (activeList(window)) {
            const int list = activeList(window);
            interaction->messageAnswers.push_back(0); // "&Ja"
            window.ui->Button2->click();
            if (activeList(window) == list)
                break; // not deleted: an error was shown
            say(QStringLiteral("deleted %1").arg(list));
        }
    }
    for (const auto& shown : interaction->messageTexts())
        say(QStringLiteral("message ") + shown);
    say(QStringLiteral("done"));
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}
