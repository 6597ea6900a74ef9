#pragma once
// GUID field: the value is the GUID text "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include "framework/data/TStringField.h"

class TGuidField : public TStringField {
public:
    TGuidField();

protected:
    // Accepts GUID text with or without braces; stores it upper-case in braces.
    void AssignString(const QString& value) override;
};
