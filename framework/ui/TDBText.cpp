#include "framework/ui/TDBText.h"

#include "framework/data/TField.h"

TDBText::TDBText(QWidget* parent) : QLabel(parent)
{
    link_.OnDataChange = [this](TFieldDataLink*) { Show(); };
    link_.OnActiveChange = [this](TFieldDataLink*) { Show(); };
}

void TDBText::Show()
{
    const TField* field = link_.Field();
    setText(field ? field->DisplayText() : QString());
}
