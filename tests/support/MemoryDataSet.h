#pragma once
// A small in-memory dataset for the tests: rows of native values, 4-byte
// bookmarks (row ids), an optional master data source, and hooks that let a
// test make the store refuse a post or a delete.
#include "framework/data/TDataSet.h"

#include <QVariantList>
#include <functional>
#include <vector>

class TMemoryDataSet : public TDataSet {
public:
    struct Column {
        QString name;
        TFieldType type;
        int size;
        bool required;
    };

    TMemoryDataSet() = default;
    ~TMemoryDataSet() override { Close(); }

    void AddColumn(const QString& name, TFieldType type, int size = 0, bool required = false)
    {
        m_columns.push_back({name, type, size, required});
    }
    // Adds a stored row (values in column order).
    void AddRow(const QVariantList& values);
    int StoredRows() const { return static_cast<int>(m_rows.size()); }
    QVariantList StoredRow(int index) const { return m_rows[static_cast<size_t>(index)].values; }

    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    void SetMasterSource(TDataSource* source) { m_master = source; }
    TDataSource* GetDataSource() const override { return m_master; }

    // Called before the store writes a post / a delete; may raise.
    std::function<void()> OnStorePost;
    std::function<void()> OnStoreDelete;
    int PostsWritten = 0;

    int RecordCount() const override;
    int RecNo() const override;
    // Reads the stored rows by position (the rows OnFilterRecord accepts while
    // filtered); none when switched off, as a forward-only dataset has none.
    std::unique_ptr<TRowReader> CreateRowReader() override;
    bool OffersRowReader = true;
    // Rows handed out by readers so far.
    int RowsReadByReaders = 0;

    // Exposes the buffer window for tests of the window itself.
    int WindowSize() const { return BufferCount(); }
    int WindowRecords() const { return BufferedRecords(); }
    int WindowActive() const { return ActiveRecord(); }

protected:
    struct Buffer : TRecordBuffer {
        QVariantList values;
    };
    struct Row {
        quint32 id;
        QVariantList values;
    };

    std::unique_ptr<TRecordBuffer> AllocRecordBuffer() override { return std::make_unique<Buffer>(); }
    void InternalInitRecord(TRecordBuffer* buffer) override;
    TGetResult GetRecord(TRecordBuffer* buffer, TGetMode mode, bool doCheck) override;
    void InternalFirst() override { m_pos = -1; }
    void InternalLast() override { m_pos = static_cast<int>(m_rows.size()); }
    void InternalOpen() override { m_open = true; m_pos = -1; }
    void InternalClose() override { m_open = false; }
    bool IsCursorOpen() const override { return m_open; }
    void InternalInitFieldDefs() override;
    void InternalEdit() override;
    void InternalPost() override;
    void InternalDelete() override;
    void InternalGotoBookmark(const TBookmark& bookmark) override;
    bool GetFieldData(const TField* field, const TRecordBuffer* buffer, QVariant& value) const override;
    void SetFieldData(TField* field, TRecordBuffer* buffer, const QVariant& value) override;
    bool GetCanModify() const override { return !m_readOnly; }
    const TRecordBuffer* GetOldRecordBuffer() const override { return &m_old; }

private:
    class Reader;
    void Fill(Buffer* buffer, int pos) const;
    static TBookmark MakeBookmark(quint32 id);

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    quint32 m_nextId = 1;
    int m_pos = -1; // -1: before the first row; size: after the last
    bool m_open = false;
    bool m_readOnly = false;
    TDataSource* m_master = nullptr;
    Buffer m_old;
};
