#include "engine/MdbFile.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/MdbMessages.h"
#include "engine/MdbProbe.h"

#include <glib.h>
extern "C" {
#include <mdbtools.h>
}

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <strings.h>
#include <sys/stat.h>

namespace dao {

namespace {

constexpr size_t kBindSize = 1 << 20; // memo text up to 1 MiB of UTF-8
constexpr int kOffsetMask = 0x1fff;
constexpr int kDeletedRow = 0x4000;

int jetType(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL: return dbBoolean;
    case MDB_BYTE: return dbByte;
    case MDB_INT: return dbInteger;
    case MDB_LONGINT: return dbLong;
    case MDB_MONEY: return dbCurrency;
    case MDB_FLOAT: return dbSingle;
    case MDB_DOUBLE: return dbDouble;
    case MDB_DATETIME: return dbDate;
    case MDB_BINARY: return dbBinary;
    case MDB_TEXT: return dbText;
    case MDB_OLE: return dbLongBinary;
    case MDB_MEMO: return dbMemo;
    case MDB_REPID: return dbGUID;
    case MDB_NUMERIC: return dbDecimal;
    case MDB_COMPLEX: return dbLong;
    default: return dbBinary;
    }
}

template <typename T> T readRaw(const unsigned char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v); // the file is little-endian, as is the host
    return v;
}

bool propIsYes(const char* v) { return v && (strcasecmp(v, "yes") == 0 || strcasecmp(v, "true") == 0); }

struct TableHandle {
    MdbTableDef* def = nullptr;
    ~TableHandle()
    {
        if (def)
            mdb_free_tabledef(def);
    }
};

} // namespace

struct MdbFile::Impl {
    MdbHandle* mdb = nullptr;
    std::string path;
    long pageCount = 0;
    int pageSize = 0;
    std::map<std::string, MdbCatalogEntry*> entries; // by stored name
    ~Impl()
    {
        if (mdb)
            mdb_close(mdb);
    }
    MdbCatalogEntry* entry(const std::string& name) const
    {
        for (const auto& [n, e] : entries)
            if (strcasecmp(n.c_str(), name.c_str()) == 0)
                return e;
        return nullptr;
    }
    void openTable(TableHandle& h, const std::string& name) const
    {
        MdbCatalogEntry* e = entry(name);
        if (!e)
            throw jet::inputTableNotFound(name);
        h.def = mdb_read_table(e);
        if (!h.def || !mdb_read_columns(h.def) || h.def->num_cols > kMaxColumns
            || (h.def->num_cols > 0 && (!h.def->columns || h.def->columns->len < h.def->num_cols)))
            throw jet::unrecognizedFormat(path);
    }
    // The table's pages as its usage map names them; 3343 when the map names a page
    // the file does not have (the file was cut short or the map is damaged).
    std::vector<long> mapPages(MdbTableDef* t) const
    {
        if (!t->usage_map || mdb_map_find_next(mdb, t->usage_map, t->map_sz, 0) < 0)
            throw jet::unrecognizedFormat(path);
        std::vector<long> pages;
        for (int pg = mdb_map_find_next(mdb, t->usage_map, t->map_sz, 0); pg > 0;
             pg = mdb_map_find_next(mdb, t->usage_map, t->map_sz, static_cast<guint32>(pg))) {
            if (pg >= pageCount || (!pages.empty() && pg <= pages.back()))
                throw jet::unrecognizedFormat(path);
            pages.push_back(pg);
        }
        return pages;
    }
    static constexpr unsigned kMaxColumns = 255; // Jet's limit
};

MdbFile::MdbFile(const std::string& path) : impl_(std::make_unique<Impl>()), path_(path)
{
    impl_->path = path;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !mdbStructureReadable(path, st.st_size))
        throw jet::unrecognizedFormat(path);
    MdbMessages messages;
    impl_->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!impl_->mdb || !impl_->mdb->fmt || impl_->mdb->fmt->pg_size <= 0)
        throw jet::unrecognizedFormat(path);
    impl_->pageSize = static_cast<int>(impl_->mdb->fmt->pg_size);
    impl_->pageCount = static_cast<long>(st.st_size / impl_->pageSize);
    mdb_set_bind_size(impl_->mdb, kBindSize);
    const bool catalogue = mdb_read_catalog(impl_->mdb, MDB_TABLE) != nullptr;
    messages.report(path, "catalogue");
    if (!catalogue)
        throw jet::unrecognizedFormat(path);
    for (unsigned i = 0; i < impl_->mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(impl_->mdb->catalog, i));
        if (e->object_type != MDB_TABLE)
            continue;
        impl_->entries[e->object_name] = e;
        tables_.push_back({e->object_name, mdb_is_system_table(e) != 0});
    }
}

MdbFile::~MdbFile() = default;

bool MdbFile::isJet3() const { return impl_->mdb->f->jet_version == MDB_VER_JET3; }

std::string MdbFile::findTable(const std::string& name) const
{
    for (const auto& t : tables_)
        if (strcasecmp(t.name.c_str(), name.c_str()) == 0)
            return t.name;
    return {};
}

size_t MdbFile::rowCount(const std::string& table)
{
    MdbMessages messages;
    TableHandle h;
    impl_->openTable(h, table);
    // No more rows than the table's pages can hold, whatever its definition says.
    size_t smallestRow = 2 + (isJet3() ? 1 : 2) + (h.def->num_cols + 7) / 8; // offset entry, column count, null mask
    for (unsigned i = 0; i < h.def->num_cols; ++i) {
        const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(h.def->columns, i));
        if (col->is_fixed && col->col_size > 0)
            smallestRow += static_cast<size_t>(col->col_size);
    }
    const size_t pages = impl_->mapPages(h.def).size();
    return std::min<size_t>(h.def->num_rows, pages * (static_cast<size_t>(impl_->pageSize) / smallestRow + 1));
}

TableSchema MdbFile::schema(const std::string& table)
{
    MdbMessages messages;
    TableHandle h;
    impl_->openTable(h, table);
    TableSchema s;
    s.name = h.def->name;
    MdbCatalogEntry* e = impl_->entry(table);
    if (e && mdb_is_system_table(e))
        s.attributes = dbSystemObject;
    const bool jet3 = isJet3();
    for (unsigned i = 0; i < h.def->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(h.def->columns, i));
        ColumnSchema c;
        c.name = col->name;
        c.type = jetType(col->col_type);
        if (col->col_type == MDB_TEXT)
            c.size = jet3 ? col->col_size : col->col_size / 2;
        else if (col->col_type == MDB_BINARY)
            c.size = col->col_size;
        else if (col->col_type == MDB_NUMERIC)
            c.size = 16;
        else
            c.size = fixedSizeOf(c.type);
        c.attributes = col->is_fixed ? dbFixedField : dbVariableField;
        if (col->is_long_auto)
            c.attributes |= dbAutoIncrField;
        c.required = propIsYes(mdb_col_get_prop(col, "Required"));
        const char* azl = mdb_col_get_prop(col, "AllowZeroLength");
        c.allowZeroLength = isTextType(c.type) ? (azl ? propIsYes(azl) : false) : false;
        if (const char* dv = mdb_col_get_prop(col, "DefaultValue"))
            c.defaultValue = dv;
        if (col->is_uuid_auto && c.defaultValue.empty())
            c.defaultValue = "GenGUID()";
        for (const char* key : {"Format", "Caption", "Description", "InputMask", "DecimalPlaces"})
            if (const char* v = mdb_col_get_prop(col, key))
                c.properties[key] = v;
        s.columns.push_back(std::move(c));
    }
    mdb_read_indices(h.def); // fills h.def->indices; its return value is not a success flag
    if (h.def->indices) {
        for (unsigned i = 0; i < h.def->num_idxs; ++i) {
            auto* idx = static_cast<MdbIndex*>(g_ptr_array_index(h.def->indices, i));
            IndexSchema x;
            x.name = idx->name;
            x.primary = idx->index_type == 1;
            x.foreign = idx->index_type == 2;
            x.unique = x.primary || (idx->flags & MDB_IDX_UNIQUE);
            x.ignoreNulls = idx->flags & MDB_IDX_IGNORENULLS;
            x.required = x.primary || (idx->flags & MDB_IDX_REQUIRED);
            for (unsigned k = 0; k < idx->num_keys && k < MDB_MAX_IDX_COLS; ++k) {
                int colNum = idx->key_col_num[k] - 1;
                if (colNum < 0 || colNum >= static_cast<int>(s.columns.size()))
                    continue;
                x.fields.emplace_back(s.columns[colNum].name, idx->key_col_order[k] == MDB_DESC);
            }
            if (!x.fields.empty())
                s.indexes.push_back(std::move(x));
        }
    }
    messages.report(path_, "table " + s.name);
    readObjectDates(s);
    return s;
}

void MdbFile::readObjectDates(TableSchema& s)
{
    if (!impl_->entry("MSysObjects"))
        return;
    TableSchema sys;
    std::vector<std::string> names;
    int nameCol = -1, createCol = -1, updateCol = -1;
    {
        TableHandle h;
        impl_->openTable(h, "MSysObjects");
        for (unsigned i = 0; i < h.def->num_cols; ++i) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(h.def->columns, i));
            if (strcasecmp(col->name, "Name") == 0)
                nameCol = static_cast<int>(i);
            else if (strcasecmp(col->name, "DateCreate") == 0)
                createCol = static_cast<int>(i);
            else if (strcasecmp(col->name, "DateUpdate") == 0)
                updateCol = static_cast<int>(i);
        }
    }
    if (nameCol < 0)
        return;
    readRows("MSysObjects", [&](std::vector<Variant>& row) {
        if (strcasecmp(row[nameCol].toText().c_str(), s.name.c_str()) != 0)
            return;
        if (createCol >= 0 && !row[createCol].isNull())
            s.dateCreated = row[createCol].toDouble();
        if (updateCol >= 0 && !row[updateCol].isNull())
            s.lastUpdated = row[updateCol].toDouble();
    });
}

namespace {

// The bytes a fixed-size value of the column type needs; 0 for the others.
int fixedBytes(int mdbType)
{
    switch (mdbType) {
    case MDB_BYTE: return 1;
    case MDB_INT: return 2;
    case MDB_LONGINT: case MDB_COMPLEX: case MDB_FLOAT: return 4;
    case MDB_MONEY: case MDB_DOUBLE: case MDB_DATETIME: return 8;
    case MDB_REPID: case MDB_NUMERIC: return 16;
    default: return 0;
    }
}

// A memo or OLE value: kept in the row (flag 0x80), in one row of another
// page (0x40), or in a chain of rows on other pages, each starting with the
// page and row of the next. The value's length in its header bounds the
// chain, so a chain that loops ends; a damaged one gives what was read.
std::string readLongValue(MdbHandle* mdb, int start, int size, size_t limit)
{
    if (size < MDB_MEMO_OVERHEAD)
        return {};
    const unsigned char* header = mdb->pg_buf + start;
    const guint32 word = readRaw<guint32>(header);
    const size_t length = std::min<size_t>(word & 0x3fffffff, limit);
    if (word & 0x80000000)
        return std::string(reinterpret_cast<const char*>(header + MDB_MEMO_OVERHEAD),
                           std::min<size_t>(length, static_cast<size_t>(size - MDB_MEMO_OVERHEAD)));
    const bool single = word & 0x40000000;
    if (!single && (word & 0xff000000))
        return {};
    const int pageSize = static_cast<int>(mdb->fmt->pg_size);
    std::string value;
    int pgRow = readRaw<gint32>(header + 4);
    for (int hops = 0; pgRow != 0 && value.size() < length; ++hops) {
        void* buffer = nullptr;
        int offset = 0;
        size_t rowLength = 0;
        if (hops > pageSize || mdb_find_pg_row(mdb, pgRow, &buffer, &offset, &rowLength) != 0 || !buffer)
            break;
        offset &= kOffsetMask;
        if (offset + rowLength > static_cast<size_t>(pageSize))
            break;
        const auto* row = static_cast<const unsigned char*>(buffer) + offset;
        if (single) {
            value.append(reinterpret_cast<const char*>(row), std::min(rowLength, length));
            break;
        }
        if (rowLength < 4)
            break;
        pgRow = readRaw<gint32>(row);
        value.append(reinterpret_cast<const char*>(row + 4), std::min(rowLength - 4, length - value.size()));
    }
    return value;
}

// Jet 4 text as UTF-8 without a converter: UCS-2 little-endian, or after the
// marker FF FE "compressed", where a zero byte switches between one byte per
// character (the high byte zero) and two. Writes at most 3 bytes per stored
// byte to out and gives their count; -1 for what only the converter handles
// alike: surrogates, zero characters, a character cut in half.
long jet4TextOf(const unsigned char* p, size_t size, char* out)
{
    char* o = out;
    const bool marked = size >= 2 && p[0] == 0xff && p[1] == 0xfe;
    bool oneByte = marked;
    for (size_t i = marked ? 2 : 0; i < size;) {
        if (marked && p[i] == 0) {
            oneByte = !oneByte;
            ++i;
            continue;
        }
        unsigned unit = p[i++];
        if (!oneByte) {
            if (i >= size)
                return -1;
            unit |= static_cast<unsigned>(p[i++]) << 8;
        }
        if (unit == 0 || (unit >= 0xd800 && unit <= 0xdfff))
            return -1;
        if (unit < 0x80) {
            *o++ = static_cast<char>(unit);
        } else if (unit < 0x800) {
            *o++ = static_cast<char>(0xc0 | (unit >> 6));
            *o++ = static_cast<char>(0x80 | (unit & 0x3f));
        } else {
            *o++ = static_cast<char>(0xe0 | (unit >> 12));
            *o++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3f));
            *o++ = static_cast<char>(0x80 | (unit & 0x3f));
        }
    }
    return o - out;
}

// Text as libmdb stores it (Jet 4: UCS-2, maybe compressed; Jet 3: the code page) as UTF-8.
std::string textOf(MdbHandle* mdb, const char* bytes, size_t size, std::string& buffer)
{
    if (size == 0)
        return {};
    // libmdb converts to UTF-8 unless MDBICONV names another encoding.
    static const bool utf8 = [] {
        const char* target = std::getenv("MDBICONV");
        return !target || !*target || strcasecmp(target, "UTF-8") == 0;
    }();
    if (buffer.size() < 3 * size + 1)
        buffer.resize(3 * size + 1);
    if (utf8 && IS_JET4(mdb))
        if (const long got = jet4TextOf(reinterpret_cast<const unsigned char*>(bytes), size, buffer.data()); got >= 0)
            return std::string(buffer.data(), static_cast<size_t>(got));
    const int got = mdb_unicode2ascii(mdb, bytes, size, buffer.data(), buffer.size());
    return std::string(buffer.data(), got > 0 ? std::min(static_cast<size_t>(got), buffer.size()) : 0);
}

// One cracked field of the row in mdb->pg_buf as a Variant of its Jet type.
// The field's place was checked to lie inside the row.
Variant decodeField(MdbHandle* mdb, MdbColumn* col, const MdbField& f, std::string& text)
{
    if (col->col_type == MDB_BOOL)
        return Variant(!f.is_null); // Jet keeps a boolean in the null bit
    if (f.is_null || f.siz < fixedBytes(col->col_type))
        return {};
    const unsigned char* p = mdb->pg_buf + f.start;
    switch (col->col_type) {
    case MDB_BYTE: return Variant::byte(p[0]);
    case MDB_INT: return Variant::integer(readRaw<std::int16_t>(p));
    case MDB_LONGINT:
    case MDB_COMPLEX: return Variant::longValue(readRaw<std::int32_t>(p));
    case MDB_MONEY: return Variant::currency(static_cast<double>(readRaw<std::int64_t>(p)) / 10000.0);
    case MDB_FLOAT: return Variant::single(readRaw<float>(p));
    case MDB_DOUBLE: return Variant(readRaw<double>(p));
    case MDB_DATETIME: return Variant::date(readRaw<double>(p));
    case MDB_REPID: return Variant::guid(std::string(reinterpret_cast<const char*>(p), 16));
    case MDB_BINARY: return Variant::binary(std::string(reinterpret_cast<const char*>(p), f.siz));
    case MDB_TEXT: return Variant(textOf(mdb, reinterpret_cast<const char*>(p), f.siz, text));
    case MDB_MEMO: {
        // Compressed Jet 4 text takes fewer bytes than its characters; the limit is on the stored bytes.
        const std::string stored = readLongValue(mdb, f.start, f.siz, 2 * kBindSize);
        std::string value = textOf(mdb, stored.data(), stored.size(), text);
        if (value.size() > kBindSize)
            value.resize(kBindSize);
        return Variant(std::move(value));
    }
    case MDB_OLE: return Variant::binary(readLongValue(mdb, f.start, f.siz, static_cast<size_t>(1) << 30));
    case MDB_NUMERIC: {
        char* s = mdb_numeric_to_string(mdb, f.start, col->col_scale, col->col_prec);
        Variant v(std::strtod(s ? s : "0", nullptr));
        g_free(s);
        return v;
    }
    default:
        return {};
    }
}

} // namespace

void MdbFile::readRows(const std::string& table, const RowSink& sink)
{
    MdbMessages messages;
    TableHandle h;
    impl_->openTable(h, table);
    MdbHandle* mdb = impl_->mdb;
    MdbTableDef* t = h.def;
    const unsigned n = t->num_cols;
    std::vector<MdbColumn*> cols(n);
    for (unsigned i = 0; i < n; ++i)
        cols[i] = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
    const std::vector<long> pages = impl_->mapPages(t);
    const int pageSize = impl_->pageSize;
    const int rowCountOffset = mdb->fmt->row_count_offset;
    // A page holds no more row entries than fit between its header and its end.
    const int maxRows = (pageSize - rowCountOffset - 2) / 2;
    std::vector<MdbField> fields(n + 1);
    std::vector<Variant> row(n);
    std::string text(4 * 4096, '\0');
    long damaged = 0;
    // Walks the data pages as mdb_fetch_row does, but cracks each row only once:
    // the cracked fields tell null from empty text, which bound lengths cannot.
    // Every place libmdb hands back is checked against the page before use.
    for (const long pg : pages) {
        if (mdb_read_pg(mdb, pg) != pageSize || mdb->pg_buf[0] != 0x01
            || readRaw<guint32>(mdb->pg_buf + 4) != t->entry->table_pg)
            continue; // a map page or a page of another table: not this table's rows
        const int rowCount = mdb_get_int16(mdb->pg_buf, rowCountOffset);
        if (rowCount < 0 || rowCount > maxRows) {
            ++damaged;
            continue;
        }
        const int rowsStart = rowCountOffset + 2 + 2 * rowCount;
        for (int r = 0; r < rowCount; ++r) {
            int start = 0;
            size_t len = 0;
            if (mdb_find_row(mdb, r, &start, &len) != 0 || len == 0 || (start & kDeletedRow))
                continue;
            start &= kOffsetMask;
            if (start < rowsStart || start + len > static_cast<size_t>(pageSize)) {
                ++damaged;
                continue;
            }
            if (mdb_crack_row(t, start, len, fields.data()) < 0) {
                ++damaged;
                continue;
            }
            bool inside = true;
            for (unsigned i = 0; i < n && inside; ++i) {
                const MdbField& f = fields[i];
                inside = f.colnum >= 0 && f.colnum < static_cast<int>(n)
                         && (f.is_null || (f.siz >= 0 && f.start >= start
                                           && static_cast<size_t>(f.start) + static_cast<size_t>(f.siz)
                                                  <= start + len));
            }
            if (!inside) {
                ++damaged;
                continue;
            }
            if (row.size() != n)
                row.assign(n, Variant());
            for (unsigned i = 0; i < n; ++i) {
                const MdbField& f = fields[i];
                row[f.colnum] = decodeField(mdb, cols[f.colnum], f, text);
            }
            sink(row);
        }
    }
    std::string what = "table " + std::string(t->name);
    if (damaged > 0) {
        what += ": " + std::to_string(damaged) + " damaged rows";
        if (messages.firstLine().empty())
            std::fputs("rows whose place on their page is impossible\n", stderr); // said once, with libmdb's words if any
    }
    messages.report(path_, what);
    // A table read with rows missing would be a wrong catalogue: every copy left
    // out would be neither counted nor reported missing. Refuse the file instead.
    if (damaged > 0)
        throw jet::unrecognizedFormat(path_);
}

} // namespace dao
