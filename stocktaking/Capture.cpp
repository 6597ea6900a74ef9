#include "stocktaking/Capture.h"

#include "daodata/TVoDaoTable.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "stocktaking/NumberText.h"

namespace capture {

Outcome CaptureNumber(TVoDaoTable& count, TVoDaoTable& entries, const QString& text, const QString& listIdx)
{
    std::optional<qint32> number;
    if (!text.isEmpty()) {
        number = numbers::ParseBookNumber(text);
        if (!number)
            DatabaseError(numbers::NotAnIntegerText(text));
    }
    struct CloseCount {
        TVoDaoTable& count;
        ~CloseCount()
        {
            try {
                count.Close();
            } catch (...) {
                // Closing a read-only result does not fail in practice; nothing to report here.
            }
        }
    } closeCount{count};

    count.Close();
    count.SetSQL(numbers::CaptureTestQuery(text, listIdx));
    count.Open();
    if (count.RecordCount() != 0)
        return Outcome::AlreadyThere;
    entries.Append();
    try {
        entries.FieldByName(QStringLiteral("NR"))->SetAsInteger(*number);
        entries.Post();
    } catch (...) {
        entries.Cancel(); // no pending entry is left behind
        throw;
    }
    return Outcome::Stored;
}

} // namespace capture
