#pragma once
// Makes the field object for a field type (used for default fields).
#include "framework/data/DbTypes.h"

class TField;

// A new, unowned field of the class that serves the type; types without a
// class of their own get a plain TField whose values pass through unchanged.
TField* CreateFieldForType(TFieldType type, int size);
