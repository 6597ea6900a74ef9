#pragma once
// The date and time texts of the search dialogs: the pattern put into an
// edit for a date or time field, and the text the picker writes. Both use
// the locale's separators and its order of day, month and year, so that the
// dataset reads the text back as the date meant. No widgets.
#include "framework/data/DbTypes.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

enum class TPickerKind { None, Date, Time };

// Date and date-time fields pick a date, time fields a time.
TPickerKind PickerKindOf(TFieldType type);

// "dd.mm.yyyy" (German), "mm/dd/yyyy" (US), "yyyy-mm-dd" (Swedish); a
// locale whose short date has no separator between its parts gets the ISO form.
QString DatePattern(const QLocale& locale = QLocale());
// "hh:mm:ss" with the locale's time separator.
QString TimePattern(const QLocale& locale = QLocale());
// The picker's texts in the same forms: "24.12.2024", "07:05:09".
QString PickerDateText(const QDate& date, const QLocale& locale = QLocale());
QString PickerTimeText(const QTime& time, const QLocale& locale = QLocale());
