#pragma once
// The location an inventory list counts: every copy of the catalogue (the
// default, "(alle)"), the copies of one location (EXEMPLAR.STANDORT), or the
// copies that have none ("(ohne Standort)"). Which copies belong where is
// always decided by the database engine, so that the report, the progress
// line and the scan feedback compare locations the same way Jet does.
#include <QString>

namespace lists {

class Location {
public:
    enum class Kind { All, Named, Without };

    Location() = default; // every copy
    static Location Named(const QString& name);
    static Location Without();

    Kind kind() const { return kind_; }
    const QString& Name() const { return name_; }
    bool IsAll() const { return kind_ == Kind::All; }
    bool operator==(const Location&) const = default;

    // As the choice "Standort:" lists it: "(alle)", the location, "(ohne Standort)".
    QString Text() const;
    // " AND <the copy stands here>" for the WHERE clause of a catalogue
    // query over EXEMPLAR; empty for every copy.
    QString Condition() const;
    // " AND <the copy stands elsewhere>", copies without a location being
    // elsewhere for a named location; empty for every copy.
    QString ElsewhereCondition() const;
    // A report's caption naming the location ("fehlende Bücher (Standort:
    // Magazin)", "fehlende Bücher (ohne Standort)"); the caption alone for
    // every copy.
    QString Caption(const QString& caption) const;

private:
    Kind kind_ = Kind::All;
    QString name_;
};

} // namespace lists
