#pragma once
#include <QString>

// What a connection needs of a dataset opened on it: its name, being closed
// when the connection disconnects, and following the connection's read-only
// mode.
class TVoDaoDatasetLink {
public:
    virtual ~TVoDaoDatasetLink() = default;
    virtual QString DatasetName() const = 0;
    // The connection is going away: mark the dataset closed by its database and close it.
    virtual void CloseByDatabase() = 0;
    virtual void SetReadOnlyByDatabase(bool readOnly) = 0;
};
