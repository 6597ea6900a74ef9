// Starts the main window offscreen on a program folder, captures one book
// number through the capture field as a user would, reports "stored" and
// then waits to be killed: the durability test kills it right there.
#include "app/TfCopyDlg.h"
#include "app/TfMain.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "ui_TfMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <thread>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    if (argc != 3)
        return 2;
    TApplication app(std::make_unique<RecordingInteraction>());
    TfCopyDlg copy;
    fCopyDlg = &copy;
    TfMain window(QString::fromLocal8Bit(argv[1]));
    window.show();
    if (window.TB_Master.IsEmpty())
        window.ui->Button1->click();
    QTest::keyClicks(window.ui->ed_BuchNr, QString::fromLocal8Bit(argv[2]));
    QTest::keyClick(window.ui->ed_BuchNr, Qt::Key_Return);
    std::printf("stored %s\n", window.ui->gb_Erfassung->title().toUtf8().constData());
    std::fflush(stdout);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}
