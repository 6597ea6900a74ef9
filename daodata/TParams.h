#pragma once
// Parameters of SQL text: ":name" placeholders found in the text, each with a
// type and a value that are put into the text when the dataset opens.
#include "framework/data/DbTypes.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class TParam {
public:
    QString Name;
    TFieldType DataType = ftUnknown;
    QVariant Value; // null QVariant: the parameter is null

    bool IsNull() const { return Value.isNull() || !Value.isValid(); }
    void Clear() { Value = QVariant(); }
    void SetAsString(const QString& v) { DataType = ftString, Value = v; }
    void SetAsInteger(int v) { DataType = ftInteger, Value = v; }
    void SetAsFloat(double v) { DataType = ftFloat, Value = v; }
    void SetAsDateTime(double jetDays) { DataType = ftDateTime, Value = jetDays; }
};

class TParams {
public:
    int Count() const { return int(items_.size()); }
    TParam& operator[](int index) { return items_.at(index); }
    const TParam& operator[](int index) const { return items_.at(index); }
    TParam* FindParam(const QString& name);
    // Raises "Parameter '<name>' nicht gefunden" for an unknown name.
    TParam& ParamByName(const QString& name);
    void Clear() { items_.clear(); }

    // Re-reads the parameters of sql in order of first appearance, keeping type
    // and value of parameters whose names stay.
    void ParseSQL(const QString& sql);

    // The names of ":name" placeholders outside quoted strings, bracketed names
    // and #date# literals, each once, in order of first appearance.
    static QStringList NamesIn(const QString& sql);

private:
    std::vector<TParam> items_;
};
