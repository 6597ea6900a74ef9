#pragma once
// The framework's own refusal texts (German, as the framework shows them).
// %1, %2, ... are filled with QString::arg.

namespace DbConsts {

inline constexpr const char* SDataSetClosed = "Operation bei geschlossener Datenmenge nicht ausführbar";
inline constexpr const char* SDataSetOpen = "Operation bei geöffneter Datenmenge nicht ausführbar";
inline constexpr const char* SDataSetEmpty = "Operation bei leerer Datenmenge nicht ausführbar";
inline constexpr const char* SNotEditing = "Datenmenge nicht im Bearbeitungs- oder Einfügemodus";
inline constexpr const char* SDataSetReadOnly = "Schreibgeschützte Datenmenge kann nicht geändert werden";
inline constexpr const char* SDataSetUnidirectional = "Operation in unidirektionaler Datenmenge nicht erlaubt";
inline constexpr const char* SRecordNotFound = "Datensatz nicht gefunden";
inline constexpr const char* SBookmarkNotFound = "Lesezeichen nicht gefunden";
inline constexpr const char* SCircularDataLink = "Zirkuläre Datenverknüpfungen sind nicht erlaubt";
inline constexpr const char* SDataSourceChange = "DataSource kann nicht geändert werden";

inline constexpr const char* SFieldNotFound = "Feld '%1' nicht gefunden";
inline constexpr const char* SFieldRequired = "Feld '%1' muss einen Wert haben";
inline constexpr const char* SFieldReadOnly = "Feld '%1' kann nicht geändert werden";
inline constexpr const char* SDuplicateFieldName = "Doppelter Feldname '%1'";
inline constexpr const char* SFieldNameMissing = "Feldname fehlt";
inline constexpr const char* SFieldIndexError = "Feldindex außerhalb des gültigen Bereichs";
inline constexpr const char* SDataSetMissing = "Feld '%1' hat keine Datenmenge";
inline constexpr const char* SFieldAccessError = "Zugriff auf Feld '%1' als Typ %2 nicht möglich";
inline constexpr const char* SFieldTypeMismatch = "Typ für Feld '%1' stimmt nicht überein. Erwartet: %2, tatsächlich: %3";
inline constexpr const char* SFieldRangeError = "%1 ist kein gültiger Wert für Feld '%2'. Der erlaubte Bereich ist %3 bis %4";
inline constexpr const char* SLookupInfoError = "Lookup-Informationen für Feld '%1' sind unvollständig";
inline constexpr const char* SUnknownFieldType = "Feld '%1' hat einen unbekannten Typ";
inline constexpr const char* SFieldDefNotFound = "Felddefinition '%1' nicht gefunden";

inline constexpr const char* SInvalidInteger = "'%1' ist kein gültiger Integerwert";
inline constexpr const char* SInvalidFloat = "'%1' ist kein gültiger Gleitkommawert";
inline constexpr const char* SInvalidDate = "'%1' ist kein gültiges Datum";
inline constexpr const char* SInvalidTime = "'%1' ist keine gültige Zeit";
inline constexpr const char* SInvalidDateTime = "'%1' ist kein gültiges Datum und Zeit";
inline constexpr const char* SInvalidBoolValue = "'%1' ist kein gültiger boolescher Wert für Feld '%2'";
inline constexpr const char* SInvalidGuid = "'%1' ist kein gültiger GUID-Wert";

} // namespace DbConsts
