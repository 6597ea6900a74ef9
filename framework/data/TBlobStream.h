#pragma once
// A random-access stream over a field's value in the current record. Read
// mode reads the value; write mode starts empty, read-write starts with the
// value; a written stream stores its bytes into the field when it is closed
// or destroyed (empty bytes store null).
#include "framework/data/DbTypes.h"

#include <QByteArray>
#include <QIODevice>

class TField;

class TBlobStream : public QIODevice {
public:
    // Writing needs the dataset in edit or insert state and a writable field.
    TBlobStream(TField* field, TBlobStreamMode mode);
    ~TBlobStream() override;

    void close() override;
    qint64 size() const override { return m_data.size(); }
    bool isSequential() const override { return false; }
    // Cuts the stream at the current position.
    void Truncate();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    void Commit();

    TField* m_field;
    QByteArray m_data;
    bool m_modified = false;
};
