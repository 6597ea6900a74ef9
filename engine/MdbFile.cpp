#include "engine/MdbFile.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"

#include <glib.h>
extern "C" {
#include <mdbtools.h>
}

#include <algorithm>
#include <cstring>
#include <map>
#include <strings.h>
#include <sys/stat.h>

namespace dao {

namespace {

constexpr size_t kBindSize = 1 << 20;    // memo text up to 1 MiB of UTF-8
constexpr size_t kOleBufferSize = (16384 * 64) + 4096; // libmdb copies OLE chunks of this size into the bind buffer
constexpr int kOffsetMask = 0x1fff;

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
        if (!h.def || !mdb_read_columns(h.def))
            throw jet::unrecognizedFormat(path);
    }
};

MdbFile::MdbFile(const std::string& path) : impl_(std::make_unique<Impl>()), path_(path)
{
    impl_->path = path;
    impl_->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!impl_->mdb)
        throw jet::unrecognizedFormat(path);
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && impl_->mdb->fmt->pg_size > 0)
        impl_->pageCount = static_cast<long>(st.st_size / impl_->mdb->fmt->pg_size);
    mdb_set_bind_size(impl_->mdb, kBindSize);
    if (!mdb_read_catalog(impl_->mdb, MDB_TABLE))
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
    TableHandle h;
    impl_->openTable(h, table);
    return std::min<size_t>(h.def->num_rows, 50'000'000);
}

TableSchema MdbFile::schema(const std::string& table)
{
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

// One cracked field of the row in mdb->pg_buf as a Variant of its Jet type.
Variant decodeField(MdbHandle* mdb, MdbColumn* col, const MdbField& f, std::string& text)
{
    if (col->col_type == MDB_BOOL)
        return Variant(!f.is_null); // Jet keeps a boolean in the null bit
    if (f.is_null)
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
    case MDB_TEXT: {
        if (f.siz == 0)
            return Variant(std::string());
        const int got = mdb_unicode2ascii(mdb, reinterpret_cast<const char*>(p), f.siz, text.data(), text.size());
        return Variant(std::string(text.data(), got > 0 ? static_cast<size_t>(got) : 0));
    }
    case MDB_MEMO: {
        char* s = mdb_col_to_string(mdb, mdb->pg_buf, f.start, MDB_MEMO, f.siz);
        Variant v(std::string(s ? s : ""));
        g_free(s);
        return v;
    }
    case MDB_OLE: {
        if (f.siz < MDB_MEMO_OVERHEAD)
            return Variant::binary({});
        // What mdb_fetch_row would have left for libmdb's OLE reader.
        col->cur_value_start = f.start;
        col->cur_value_len = f.siz;
        std::memcpy(col->bind_ptr, mdb->pg_buf + f.start, MDB_MEMO_OVERHEAD);
        size_t size = 0;
        void* data = mdb_ole_read_full(mdb, col, &size);
        Variant v = Variant::binary(std::string(static_cast<const char*>(data), size));
        free(data);
        return v;
    }
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
    TableHandle h;
    impl_->openTable(h, table);
    MdbHandle* mdb = impl_->mdb;
    MdbTableDef* t = h.def;
    const unsigned n = t->num_cols;
    std::vector<MdbColumn*> cols(n);
    std::vector<std::unique_ptr<char[]>> oleBuffers;
    for (unsigned i = 0; i < n; ++i) {
        cols[i] = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        if (cols[i]->col_type == MDB_OLE) {
            oleBuffers.push_back(std::make_unique<char[]>(kOleBufferSize));
            mdb_bind_column(t, static_cast<int>(i) + 1, oleBuffers.back().get(), nullptr);
        }
    }
    // A usage map that cannot be read or names pages past the end of the file: the file was cut short.
    if (!t->usage_map || mdb_map_find_next(mdb, t->usage_map, t->map_sz, 0) < 0)
        throw jet::unrecognizedFormat(impl_->path);
    for (int pg = mdb_map_find_next(mdb, t->usage_map, t->map_sz, 0); pg > 0;
         pg = mdb_map_find_next(mdb, t->usage_map, t->map_sz, static_cast<guint32>(pg)))
        if (pg >= impl_->pageCount)
            throw jet::unrecognizedFormat(impl_->path);
    std::vector<MdbField> fields(n + 1);
    std::vector<Variant> row(n);
    std::string text(4 * 4096, '\0');
    // Walks the data pages as mdb_fetch_row does, but cracks each row only once:
    // the cracked fields tell null from empty text, which bound lengths cannot.
    mdb_rewind_table(t);
    while (mdb_read_next_dpg(t)) {
        const int rowCount = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int r = 0; r < rowCount; ++r) {
            int start = 0;
            size_t len = 0;
            if (mdb_find_row(mdb, r, &start, &len) != 0 || len == 0 || (start & 0x4000)) // 0x4000: deleted
                continue;
            start &= kOffsetMask;
            if (mdb_crack_row(t, start, len, fields.data()) < 0)
                continue;
            if (row.size() != n)
                row.assign(n, Variant());
            for (unsigned i = 0; i < n; ++i) {
                const MdbField& f = fields[i];
                if (f.colnum >= 0 && f.colnum < static_cast<int>(n))
                    row[f.colnum] = decodeField(mdb, cols[f.colnum], f, text);
            }
            sink(row);
        }
    }
}

} // namespace dao
