#pragma once
// The fields of a dataset, in display order. The list owns its fields.
#include <QString>
#include <vector>

class TDataSet;
class TField;

class TFields {
public:
    explicit TFields(TDataSet* dataSet) : m_dataSet(dataSet) {}
    ~TFields(); // destroys the fields
    TFields(const TFields&) = delete;
    TFields& operator=(const TFields&) = delete;

    int Count() const { return static_cast<int>(m_fields.size()); }
    // Raises "Feldindex außerhalb des gültigen Bereichs".
    TField* Fields(int index) const;
    TField* operator[](int index) const { return Fields(index); }
    // Case-insensitive name lookup; nullptr when absent.
    TField* FindField(const QString& name) const;
    TField* FieldByNumber(int fieldNo) const;
    int IndexOf(const TField* field) const;
    std::vector<TField*>::const_iterator begin() const { return m_fields.begin(); }
    std::vector<TField*>::const_iterator end() const { return m_fields.end(); }

private:
    friend class TField;
    friend class TDataSet;
    void Add(TField* field);
    void Insert(int index, TField* field);
    void Remove(TField* field);
    void Move(int from, int to);
    void DeleteAll();

    TDataSet* m_dataSet;
    std::vector<TField*> m_fields;
};
