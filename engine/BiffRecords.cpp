#include "engine/BiffRecords.h"
#include "platform/CodePages.h"

#include <cstring>

namespace dao::isam::biff {
namespace {

struct Payload {
    QByteArray bytes;
    Payload& u8(unsigned v)
    {
        bytes.append(char(v & 0xFF));
        return *this;
    }
    Payload& u16(unsigned v) { return u8(v).u8(v >> 8); }
    Payload& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Payload& f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return u32(std::uint32_t(bits)).u32(std::uint32_t(bits >> 32));
    }
    Payload& raw(const QByteArray& b)
    {
        bytes.append(b);
        return *this;
    }
};

bool workbook(Version v) { return v == Version::Biff5 || v == Version::Biff8; }

// Byte string with a 1-byte length (BIFF3-5 names and formats).
QByteArray shortByteString(const QString& text)
{
    const QByteArray b = platform::toCp1252(text).left(255);
    return char(b.size()) + b;
}

// BIFF8 string with a 1- or 2-byte character count.
QByteArray unicodeString(const QString& text, bool shortCount)
{
    Payload p;
    const QString t = text.left(shortCount ? 255 : kMaxCellCharacters);
    if (shortCount)
        p.u8(unsigned(t.size()));
    else
        p.u16(unsigned(t.size()));
    const bool compressed = fitsCompressed(t);
    p.u8(compressed ? 0 : 1);
    appendCharacters(p.bytes, t, compressed);
    return p.bytes;
}

// The number formats in XF order: General, date, date and time, money.
// BIFF3/4 list every format they use; BIFF5/8 know General and "#,##0.00"
// (4) and number their own from 164.
const char* const kFormatCodes[] = {"General", "DD.MM.YYYY", "DD.MM.YYYY hh:mm:ss", "#,##0.00"};

int formatIndex(Version v, CellFormat f)
{
    if (!workbook(v))
        return int(f);
    switch (f) {
    case CellFormat::General: return 0;
    case CellFormat::Date: return 164;
    case CellFormat::DateTime: return 165;
    case CellFormat::Money: return 4;
    }
    return 0;
}

QByteArray font(Version v)
{
    Payload p;
    p.u16(200).u16(0).u16(0x7FFF); // 10 points, no options, automatic colour
    if (!workbook(v))
        return record(0x0231, p.raw(shortByteString(QStringLiteral("Arial"))).bytes);
    p.u16(400).u16(0).u8(0).u8(0).u8(0).u8(0); // weight, escapement, underline, family, charset, reserved
    p.raw(v == Version::Biff8 ? unicodeString(QStringLiteral("Arial"), true) : shortByteString(QStringLiteral("Arial")));
    return record(0x0031, p.bytes);
}

QByteArray format(Version v, int index, const QString& code)
{
    switch (v) {
    case Version::Biff3: return record(0x001E, shortByteString(code));
    case Version::Biff4: return record(0x041E, Payload().u16(0).raw(shortByteString(code)).bytes);
    case Version::Biff5: return record(0x041E, Payload().u16(unsigned(index)).raw(shortByteString(code)).bytes);
    case Version::Biff8: return record(0x041E, Payload().u16(unsigned(index)).raw(unicodeString(code, false)).bytes);
    }
    return {};
}

// One XF record. A style XF has no parent; a cell XF takes the Normal style
// (XF 0) as parent and uses its own number format.
QByteArray xf(Version v, int formatIdx, bool style)
{
    const unsigned typeProt = style ? 0x05 : 0x01; // locked; bit 2 marks a style XF
    const unsigned parent = style ? 0xFFF : 0;
    const unsigned used = style ? 0x00 : 0xFC;     // cell XFs use all their own attributes
    Payload p;
    switch (v) {
    case Version::Biff3:
        p.u8(0).u8(unsigned(formatIdx)).u8(typeProt).u8(used).u16(parent << 4).u16(0).u32(0);
        return record(0x0243, p.bytes);
    case Version::Biff4:
        p.u8(0).u8(unsigned(formatIdx)).u16(typeProt | (parent << 4)).u8(0x20).u8(used).u16(0).u32(0);
        return record(0x0443, p.bytes);
    case Version::Biff5:
        p.u16(0).u16(unsigned(formatIdx)).u16(typeProt | (parent << 4)).u8(0x20).u8(used).u32(0x20C0).u32(0);
        return record(0x00E0, p.bytes);
    case Version::Biff8:
        p.u16(0).u16(unsigned(formatIdx)).u16(typeProt | (parent << 4)).u8(0x20).u8(0).u8(0).u8(used);
        p.u32(0).u32(0).u16(0x20C0);
        return record(0x00E0, p.bytes);
    }
    return {};
}

// Fonts, formats, XFs and the Normal style shared by both file layouts.
QByteArray styles(Version v)
{
    QByteArray out = record(0x0022, Payload().u16(0).bytes); // DATEMODE: 1900 date system
    out += font(v);
    if (workbook(v)) {
        out += format(v, 164, QString::fromLatin1(kFormatCodes[1]));
        out += format(v, 165, QString::fromLatin1(kFormatCodes[2]));
    } else {
        for (int i = 0; i < 4; ++i)
            out += format(v, i, QString::fromLatin1(kFormatCodes[i]));
    }
    // BIFF5/8 files begin with the Normal style and the 14 outline styles.
    const int styleXfs = workbook(v) ? 15 : 1;
    for (int i = 0; i < styleXfs; ++i)
        out += xf(v, 0, true);
    for (CellFormat f : {CellFormat::General, CellFormat::Date, CellFormat::DateTime, CellFormat::Money})
        out += xf(v, formatIndex(v, f), false);
    out += record(0x0293, Payload().u16(0x8000).u8(0).u8(0xFF).bytes); // STYLE: built-in Normal on XF 0
    return out;
}

QByteArray bof(Version v, unsigned type)
{
    switch (v) {
    case Version::Biff3: return record(0x0209, Payload().u16(0).u16(type).u16(0).bytes);
    case Version::Biff4: return record(0x0409, Payload().u16(0).u16(type).u16(0).bytes);
    case Version::Biff5: return record(0x0809, Payload().u16(0x0500).u16(type).u16(2412).u16(1993).bytes); // Excel 5.0's build
    case Version::Biff8:
        return record(0x0809, Payload().u16(0x0600).u16(type).u16(0x0DBB).u16(0x07CC).u32(0).u32(6).bytes);
    }
    return {};
}

QByteArray codePage(Version v) { return record(0x0042, Payload().u16(v == Version::Biff8 ? 1200 : 1252).bytes); }

} // namespace

int maxPayload(Version v) { return v == Version::Biff8 ? 8224 : 2080; }

// Excel 97 sheets hold 65,536 rows; Excel 3.0 to 5.0/95 sheets 16,384.
int maxRows(Version v) { return v == Version::Biff8 ? 65536 : 16384; }

int xfIndex(Version v, CellFormat f) { return (workbook(v) ? 15 : 1) + int(f); }

QByteArray record(std::uint16_t id, const QByteArray& payload)
{
    Payload p;
    p.u16(id).u16(unsigned(payload.size())).raw(payload);
    return p.bytes;
}

QByteArray worksheetFilePrologue(Version v) { return bof(v, 0x0010) + codePage(v) + styles(v); }

QByteArray globalsPrologue(Version v)
{
    QByteArray out = bof(v, 0x0005) + codePage(v);
    // WINDOW1: position and size of the workbook window, first sheet active.
    out += record(0x003D, Payload().u16(0x0168).u16(0x001E).u16(0x3A8C).u16(0x2000).u16(0x0038).u16(0).u16(0).u16(1)
                              .u16(0x0258).bytes);
    return out + styles(v);
}

QByteArray boundSheet(Version v, const QString& name, std::uint32_t sheetOffset)
{
    Payload p;
    p.u32(sheetOffset).u8(0).u8(0); // visible worksheet
    p.raw(v == Version::Biff8 ? unicodeString(name, true) : shortByteString(name));
    return record(0x0085, p.bytes);
}

QByteArray sheetBof(Version v) { return bof(v, 0x0010); }

QByteArray dimensions(Version v, int rows, int columns)
{
    Payload p;
    if (v == Version::Biff8)
        p.u32(0).u32(std::uint32_t(rows));
    else
        p.u16(0).u16(unsigned(rows));
    p.u16(0).u16(unsigned(columns)).u16(0);
    return record(0x0200, p.bytes);
}

QByteArray window2(Version v, bool selected)
{
    // Grid lines, headings, zero values and outline symbols shown, automatic
    // grid colour; the first sheet selected and shown.
    Payload p;
    p.u16(selected ? 0x06B6 : 0x00B6).u16(0).u16(0);
    if (v == Version::Biff8)
        p.u16(64).u16(0).u16(0).u16(0).u32(0);
    else
        p.u32(0);
    return record(0x023E, p.bytes);
}

QByteArray eof() { return record(0x000A, {}); }

QByteArray numberCell(int row, int column, int xf, double value)
{
    return record(0x0203, Payload().u16(unsigned(row)).u16(unsigned(column)).u16(unsigned(xf)).f64(value).bytes);
}

QByteArray booleanCell(Version v, int row, int column, bool value)
{
    return record(0x0205, Payload().u16(unsigned(row)).u16(unsigned(column)).u16(unsigned(xfIndex(v, CellFormat::General)))
                              .u8(value ? 1 : 0).u8(0).bytes);
}

QByteArray labelCell(Version v, int row, int column, const QString& text)
{
    Payload p;
    p.u16(unsigned(row)).u16(unsigned(column)).u16(unsigned(xfIndex(v, CellFormat::General)));
    if (v == Version::Biff8) {
        const bool compressed = fitsCompressed(text);
        const int room = (maxPayload(v) - 9) / (compressed ? 1 : 2);
        const QString t = text.left(room);
        p.u16(unsigned(t.size())).u8(compressed ? 0 : 1);
        appendCharacters(p.bytes, t, compressed);
    } else {
        const QByteArray b = platform::toCp1252(text).left(maxPayload(v) - 8);
        p.u16(unsigned(b.size())).raw(b);
    }
    return record(0x0204, p.bytes);
}

QByteArray labelSstCell(int row, int column, std::uint32_t index)
{
    return record(0x00FD, Payload().u16(unsigned(row)).u16(unsigned(column))
                              .u16(unsigned(xfIndex(Version::Biff8, CellFormat::General))).u32(index).bytes);
}

bool fitsCompressed(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

void appendCharacters(QByteArray& out, const QString& text, bool compressed)
{
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        if (!compressed)
            out.append(char(c.unicode() >> 8));
    }
}

} // namespace dao::isam::biff
