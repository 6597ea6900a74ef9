#include "stocktaking/TfFehlendeBuecher.h"
#include "ui_TfFehlendeBuecher.h"

TfFehlendeBuecher* fFehlendeBuecher = nullptr;

TfFehlendeBuecher::TfFehlendeBuecher(QWidget* parent)
    : QWidget(parent, Qt::Dialog), ui(std::make_unique<Ui::TfFehlendeBuecher>())
{
    ui->setupUi(this);
    setObjectName("fFehlendeBuecher");
    setFixedSize(529, 456);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    setFont(font);
    ui->VoDaoDBGrid1->setVisible(false);
}

TfFehlendeBuecher::~TfFehlendeBuecher() = default;
