#pragma once
// Reading records by their position without moving a dataset's cursor: what
// a grid needs to show rows that are not in the dataset's buffer window.
// Moving the cursor would fire scroll events and make detail datasets
// follow; a row reader works on a cursor of its own.
#include <functional>

struct TRecordBuffer;

class TRowReader {
public:
    virtual ~TRowReader() = default;
    TRowReader() = default;
    TRowReader(const TRowReader&) = delete;
    TRowReader& operator=(const TRowReader&) = delete;

    // Reads the records at the 0-based positions first, first + 1, … in the
    // dataset's order, at most count of them, each into buffer (its values and
    // its bookmark), calling rowRead(position) after each. Stops after the
    // last record; returns how many were read.
    virtual int ReadRows(int first, int count, TRecordBuffer& buffer,
                         const std::function<void(int position)>& rowRead) = 0;
};
