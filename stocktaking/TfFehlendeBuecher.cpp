#include "stocktaking/TfFehlendeBuecher.h"

TfFehlendeBuecher* fFehlendeBuecher = nullptr;

TfFehlendeBuecher::TfFehlendeBuecher(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("fFehlendeBuecher");
    setWindowTitle(QStringLiteral("fehlende Bücher"));
    resize(640, 480);
}
