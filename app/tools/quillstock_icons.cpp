// quillstock-icons FOLDER SIZE...: renders the program icon into
// FOLDER/<size>x<size>/apps/quillstock.png for each size, the layout of the
// desktop's hicolor icon theme. Used by the build for the desktop entry.
#include "app/ProgramIcon.h"

#include <QDir>
#include <QString>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: quillstock-icons FOLDER SIZE...\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (size <= 0 || !QDir().mkpath(dir) || !programIconImage(size).save(dir + "/quillstock.png", "PNG")) {
            std::cerr << "quillstock-icons: cannot write the icon of size " << argv[i] << "\n";
            return 1;
        }
    }
    return 0;
}
