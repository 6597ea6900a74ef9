#pragma once
// What one scan found: the value the tab "Inventur" shows after a number was
// captured or refused. Computed here from the catalogue, shown by the tab,
// which gives each finding its colour and sound.
#include "stocktaking/Capture.h"

#include <QString>
#include <functional>

namespace capture {

class CatalogueLookup;

enum class Finding {
    Found,        // a copy of the catalogue, stored in the active list
    Unknown,      // no copy of the catalogue has the number; stored all the same
    AlreadyThere, // the active list holds the number already; nothing stored
    Misplaced,    // a copy of the catalogue that stands elsewhere than the location counted; stored all the same
};

struct ScanResult {
    qint32 number = 0;
    Finding finding = Finding::Unknown;
    QString title;    // main title of the copy, empty when it has none or is unknown
    QString author;   // main entry (the author)
    QString location; // where the copy stands by the catalogue (EXEMPLAR.STANDORT), empty when nowhere
};

// Looks the number up in the catalogue and tells what the capture's outcome
// means for it. standsHere tells whether a copy of that number stands at the
// location the list counts; without it every location counts.
ScanResult DescribeScan(CatalogueLookup& catalogue, qint32 number, Outcome outcome,
                        const std::function<bool(qint32)>& standsHere = {});

} // namespace capture
