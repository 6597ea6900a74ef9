#pragma once
// Data link of a control that shows one field: follows the field by name,
// reports data, editing and activity changes through its events and writes
// the control's pending change through OnUpdateData.
#include "framework/data/TDataLink.h"

#include <QString>
#include <functional>

class TFieldDataLink : public TDataLink {
public:
    using TNotifyEvent = std::function<void(TFieldDataLink* sender)>;

    const QString& FieldName() const { return m_fieldName; }
    void SetFieldName(const QString& name);
    // The field of that name in the open dataset; nullptr otherwise.
    TField* Field() const { return m_field; }
    // Whether the control may change the field now.
    bool CanModify() const;
    bool Editing() const { return m_editing; }
    // The control's text changed: its value is written at the next UpdateRecord.
    void Modified() { m_modified = true; }
    // Shows the field's value again, dropping the control's pending change.
    void Reset() { RecordChanged(nullptr); }
    // Edit through the data source when the field can be modified.
    bool Edit();

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;
    // Asked to take the focus for the field.
    TNotifyEvent OnFocusControl;

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void EditingChanged() override;
    void FocusControl(TField** field) override;
    void UpdateData() override;

private:
    void UpdateField();
    void SetField(TField* field);
    void UpdateEditing();

    QString m_fieldName;
    TField* m_field = nullptr;
    bool m_editing = false;
    bool m_modified = false;
};
