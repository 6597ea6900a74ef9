#pragma once
// Shared helpers of the dataset framework tests: a filled in-memory dataset,
// an event log and a data link that records its notifications.
#include "tests/support/MemoryDataSet.h"
#include "tests/support/QtPrinters.h"

#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataLink.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"

#include <QDate>
#include <QStringList>
#include <memory>
#include <ostream>
#include <string>

// Books: ID (Integer, required), TITLE (String 30), PRICE (Float),
// LENT (Boolean), ADDED (Date); rows with ID 1..count, TITLE "Book <n>".
inline std::unique_ptr<TMemoryDataSet> MakeBooks(int count = 5)
{
    auto books = std::make_unique<TMemoryDataSet>();
    books->SetName(QStringLiteral("TB_Books"));
    books->AddColumn(QStringLiteral("ID"), ftInteger, 0, true);
    books->AddColumn(QStringLiteral("TITLE"), ftString, 30);
    books->AddColumn(QStringLiteral("PRICE"), ftFloat);
    books->AddColumn(QStringLiteral("LENT"), ftBoolean);
    books->AddColumn(QStringLiteral("ADDED"), ftDate);
    for (int i = 1; i <= count; ++i)
        books->AddRow({i, QStringLiteral("Book %1").arg(i), i * 1.5, i % 2 == 0, QDate(2004, 3, i)});
    return books;
}

// Collects every dataset event by name, in order.
struct EventLog {
    QStringList entries;
    TDataSet* attached = nullptr;

    EventLog() = default;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    // Detaches from the dataset, which may outlive the log.
    ~EventLog()
    {
        if (!attached)
            return;
        for (auto event : {&TDataSet::BeforeOpen, &TDataSet::AfterOpen, &TDataSet::BeforeClose,
                            &TDataSet::AfterClose, &TDataSet::BeforeInsert, &TDataSet::AfterInsert,
                            &TDataSet::BeforeEdit, &TDataSet::AfterEdit, &TDataSet::BeforePost,
                            &TDataSet::AfterPost, &TDataSet::BeforeCancel, &TDataSet::AfterCancel,
                            &TDataSet::BeforeDelete, &TDataSet::AfterDelete, &TDataSet::BeforeScroll,
                            &TDataSet::AfterScroll, &TDataSet::OnNewRecord})
            attached->*event = nullptr;
    }

    void Attach(TDataSet& ds)
    {
        attached = &ds;
        auto log = [this](const char* name) {
            return [this, name](TDataSet* d) { entries << QString::fromLatin1(name) + StateSuffix(d); };
        };
        ds.BeforeOpen = log("BeforeOpen");
        ds.AfterOpen = log("AfterOpen");
        ds.BeforeClose = log("BeforeClose");
        ds.AfterClose = log("AfterClose");
        ds.BeforeInsert = log("BeforeInsert");
        ds.AfterInsert = log("AfterInsert");
        ds.BeforeEdit = log("BeforeEdit");
        ds.AfterEdit = log("AfterEdit");
        ds.BeforePost = log("BeforePost");
        ds.AfterPost = log("AfterPost");
        ds.BeforeCancel = log("BeforeCancel");
        ds.AfterCancel = log("AfterCancel");
        ds.BeforeDelete = log("BeforeDelete");
        ds.AfterDelete = log("AfterDelete");
        ds.BeforeScroll = log("BeforeScroll");
        ds.AfterScroll = log("AfterScroll");
        ds.OnNewRecord = log("OnNewRecord");
    }
    static QString StateSuffix(TDataSet* d)
    {
        switch (d->State()) {
        case dsInsert: return QStringLiteral("(insert)");
        case dsEdit: return QStringLiteral("(edit)");
        default: return QString();
        }
    }
    QString Joined() const { return entries.join(QLatin1Char(' ')); }
};

// A data link that writes each notification it gets into a log.
class RecordingLink : public TDataLink {
public:
    QStringList log;
    QString Joined() const { return log.join(QLatin1Char(' ')); }

protected:
    void ActiveChanged() override { log << (Active() ? QStringLiteral("active") : QStringLiteral("inactive")); }
    void DataSetChanged() override { log << QStringLiteral("changed"); }
    void DataSetScrolled(int distance) override { log << QStringLiteral("scrolled:%1").arg(distance); }
    void RecordChanged(TField* field) override
    {
        log << QStringLiteral("record:%1").arg(field ? field->FieldName() : QStringLiteral("*"));
    }
    void EditingChanged() override { log << (Editing() ? QStringLiteral("editing") : QStringLiteral("browsing")); }
    void LayoutChanged() override { log << QStringLiteral("layout"); }
};

// The text of the database error an expression raises (empty when none).
template <class F>
QString ErrorText(F&& f)
{
    try {
        f();
    } catch (const EDatabaseError& e) {
        return e.message();
    }
    return QString();
}
