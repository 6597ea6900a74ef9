#pragma once
// The records of Excel's binary file format (BIFF) that a worksheet of plain
// values needs, for the four versions Excel 3.0 (BIFF3), 4.0 (BIFF4), 5.0
// (BIFF5) and 8.0/97 (BIFF8). Each function gives one whole record: the
// 2-byte id, the 2-byte length and the payload, little-endian.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace dao::isam::biff {

enum class Version { Biff3 = 3, Biff4 = 4, Biff5 = 5, Biff8 = 8 };

// Payload limits: longer records must be split into CONTINUE records.
int maxPayload(Version v);
// Rows a worksheet holds (the header row included).
int maxRows(Version v);
constexpr int kMaxColumns = 256;

// The cell formats every file defines, as indexes of its XF records.
enum class CellFormat { General, Date, DateTime, Money };
int xfIndex(Version v, CellFormat f);

// BIFF3/BIFF4: one worksheet per file, its formats inside the sheet. BIFF5/8:
// the workbook globals, then the worksheets.
QByteArray worksheetFilePrologue(Version v); // BIFF3/4: BOF up to the styles
QByteArray globalsPrologue(Version v);       // BIFF5/8: BOF up to the styles
QByteArray boundSheet(Version v, const QString& name, std::uint32_t sheetOffset);
QByteArray sheetBof(Version v);
QByteArray dimensions(Version v, int rows, int columns);
QByteArray window2(Version v, bool selected);
QByteArray eof();

// Cells. Text of BIFF3-5 is Windows-1252 and cut to what one record holds.
QByteArray numberCell(int row, int column, int xf, double value);
QByteArray booleanCell(Version v, int row, int column, bool value);
QByteArray labelCell(Version v, int row, int column, const QString& text);
QByteArray labelSstCell(int row, int column, std::uint32_t index);

// A record from its id and payload.
QByteArray record(std::uint16_t id, const QByteArray& payload);

// BIFF8 strings (the SST, names): 2-byte count, option byte, characters;
// compressed (one byte each) when every character is below U+0100.
constexpr int kMaxCellCharacters = 32767;
bool fitsCompressed(const QString& text);
void appendCharacters(QByteArray& out, const QString& text, bool compressed);

} // namespace dao::isam::biff
