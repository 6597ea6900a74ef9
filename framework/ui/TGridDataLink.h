#pragma once
// The data link of a grid: passes the dataset's notifications on as calls of
// plain functions (the grid's model sets them).
#include "framework/data/TDataLink.h"

#include <functional>

class TGridDataLink : public TDataLink {
public:
    std::function<void()> OnActiveChanged;
    std::function<void()> OnDataSetChanged;
    std::function<void(int distance)> OnDataSetScrolled;
    std::function<void(TField* field)> OnRecordChanged;
    std::function<void()> OnEditingChanged;
    std::function<void()> OnLayoutChanged;
    // The dataset asks for the pending change of an open cell editor.
    std::function<void()> OnUpdateData;
    std::function<void(TField** field)> OnFocusControl;

protected:
    void ActiveChanged() override { Call(OnActiveChanged); }
    void DataSetChanged() override { Call(OnDataSetChanged); }
    void DataSetScrolled(int distance) override
    {
        if (OnDataSetScrolled)
            OnDataSetScrolled(distance);
    }
    void RecordChanged(TField* field) override
    {
        if (OnRecordChanged)
            OnRecordChanged(field);
    }
    void EditingChanged() override { Call(OnEditingChanged); }
    void LayoutChanged() override { Call(OnLayoutChanged); }
    void UpdateData() override { Call(OnUpdateData); }
    void FocusControl(TField** field) override
    {
        if (OnFocusControl)
            OnFocusControl(field);
    }

private:
    static void Call(const std::function<void()>& f)
    {
        if (f)
            f();
    }
};
