#include "oldcatalog.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// mdbtools.h opens an extern "C" block around glib's headers, which C++ glib headers refuse;
// included first, their guards keep them out of that block.
#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>

namespace vq::convert {

namespace {

constexpr char kJetMagic[] = "Standard Jet DB";
constexpr char kAceMagic[] = "Standard ACE DB";
constexpr int kVersionOffset = 0x14;
// Days from Access's day 0 (1899-12-30) to 1970-01-01.
constexpr qint64 kJetEpochDays = 25569;
constexpr qint64 kDayMs = 86400000;

struct Header {
    bool access = false;
    int version = -1;
};

Header readHeader(const QString &path) {
    Header h;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return h;
    const QByteArray b = f.read(kVersionOffset + 1);
    if (b.size() <= kVersionOffset || b.at(0) != 0 || b.at(1) != 1 || b.at(2) != 0 || b.at(3) != 0)
        return h;
    const QByteArray magic = b.mid(4, 16);
    if (magic != QByteArray(kJetMagic, 16) && magic != QByteArray(kAceMagic, 16))
        return h;
    h.access = true;
    h.version = static_cast<unsigned char>(b.at(kVersionOffset));
    return h;
}

// Access keeps a date-time as days since 1899-12-30 with the time of day as the fraction; before
// that day the fraction still counts forward from midnight.
qint64 jetDateToNaiveMs(double v) {
    const double days = std::trunc(v);
    const double frac = std::fabs(v - days);
    return (qint64(days) - kJetEpochDays) * kDayMs + std::llround(frac * double(kDayMs));
}

// A Jet 4 text is UTF-16; "compressed" ones begin FF FE and then switch, at each zero byte,
// between one byte per character and two. Decoded here rather than through the library's
// iconv, which turns a character outside the BMP (a surrogate pair) into "??".
QString jet4Text(const unsigned char *p, int size) {
    QString out;
    out.reserve(size);
    int i = 0;
    bool compressed = false;
    if (size >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        compressed = true;
        i = 2;
    }
    while (i < size) {
        if (compressed && p[i] == 0) {
            compressed = false;
            ++i;
        } else if (compressed) {
            out += QChar(char16_t(p[i]));
            ++i;
        } else if (i + 1 < size) {
            const char16_t unit = char16_t(p[i] | (p[i + 1] << 8));
            i += 2;
            if (unit == 0 && size >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
                compressed = true;
                continue;
            }
            out += QChar(unit);
        } else {
            break;
        }
    }
    return out;
}

QString withPairsAsLibraryShowsThem(const QString &s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            out += QStringLiteral("??");
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool fixedSizeFits(int type, int size) {
    switch (type) {
    case MDB_BYTE:
        return size == 1;
    case MDB_INT:
        return size == 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
        return size == 4;
    case MDB_DOUBLE:
    case MDB_DATETIME:
    case MDB_MONEY:
        return size == 8;
    default:
        return true;
    }
}

bool supportedType(int type) {
    switch (type) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_DATETIME:
    case MDB_MONEY:
    case MDB_NUMERIC:
    case MDB_TEXT:
    case MDB_MEMO:
        return true;
    default:
        return false;
    }
}

} // namespace

struct OldCatalogFile::Handle {
    MdbHandle *mdb = nullptr;
    ~Handle() {
        if (mdb)
            mdb_close(mdb);
    }
};

LibraryQuiet::LibraryQuiet() {
    std::fflush(stderr);
    m_saved = ::dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (m_saved >= 0 && null >= 0)
        ::dup2(null, STDERR_FILENO);
    if (null >= 0)
        ::close(null);
}

LibraryQuiet::~LibraryQuiet() {
    std::fflush(stderr);
    if (m_saved >= 0) {
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }
}

bool looksLikeAccessFile(const QString &path) {
    return readHeader(path).access;
}

OldCatalogFile::OldCatalogFile(const QString &path) : m_path(path), m_h(std::make_unique<Handle>()) {
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists())
        throw Error(msg::mdbNoSuchFile(path));
    if (!fi.isFile())
        throw Error(msg::mdbNotAccessFile(path));
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw Error(msg::mdbCannotRead(path, f.errorString()));
    }
    const Header h = readHeader(path);
    if (!h.access)
        throw Error(msg::mdbNotAccessFile(path));
    if (h.version == MDB_VER_JET3)
        throw Error(msg::mdbJet3(path));
    if (h.version < MDB_VER_JET4 || h.version > MDB_VER_ACCDB_2019)
        throw Error(msg::mdbUnknownVersion(path, h.version));
    // Jet 4 and ACE pages are 4 KiB; a file that ends inside a page, or before the first table
    // pages, was cut short.
    if (fi.size() % MDB_PGSIZE != 0 || fi.size() < 3 * MDB_PGSIZE)
        throw Error(msg::mdbDamaged(path, msg::mdbDetailCutShort()));

    const QByteArray native = QFile::encodeName(path);
    m_h->mdb = mdb_open(native.constData(), MDB_NOFLAGS);
    if (!m_h->mdb)
        throw Error(msg::mdbDamaged(path, msg::mdbDetailNoCatalog()));
    if (!mdb_read_catalog(m_h->mdb, MDB_TABLE))
        throw Error(msg::mdbDamaged(path, msg::mdbDetailNoCatalog()));
    for (unsigned i = 0; i < m_h->mdb->num_catalog; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(m_h->mdb->catalog, i));
        if (e->object_type == MDB_TABLE && mdb_is_user_table(e))
            m_tables << QString::fromUtf8(e->object_name);
    }
}

OldCatalogFile::~OldCatalogFile() = default;

bool OldCatalogFile::hasTable(const QString &name) const {
    return m_tables.contains(name, Qt::CaseInsensitive);
}

std::unique_ptr<OldTable> OldCatalogFile::open(const QString &table, const QStringList &columns) {
    MdbCatalogEntry *entry = nullptr;
    for (unsigned i = 0; i < m_h->mdb->num_catalog && !entry; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(m_h->mdb->catalog, i));
        if (e->object_type == MDB_TABLE &&
            QString::fromUtf8(e->object_name).compare(table, Qt::CaseInsensitive) == 0)
            entry = e;
    }
    if (!entry)
        throw Error(msg::mdbNotOurCatalog(m_path, table));
    MdbTableDef *def = mdb_read_table(entry);
    // Without its page map the library would read through a null pointer.
    if (!def || !def->usage_map || def->map_sz < 1) {
        if (def)
            mdb_free_tabledef(def);
        throw Error(msg::mdbDamaged(m_path, msg::mdbDetailBadRow(table)));
    }
    std::unique_ptr<OldTable> t(new OldTable(*this, def, table));
    if (def->num_cols > MDB_MAX_COLS || !mdb_read_columns(def) || !def->columns ||
        def->columns->len != def->num_cols)
        throw Error(msg::mdbDamaged(m_path, msg::mdbDetailBadRow(table)));
    t->m_rowCount = def->num_rows;
    t->m_cols.resize(size_t(columns.size()));
    t->m_values.resize(size_t(columns.size()));
    for (int i = 0; i < columns.size(); ++i) {
        for (unsigned c = 0; c < def->num_cols; ++c) {
            auto *col = static_cast<MdbColumn *>(g_ptr_array_index(def->columns, c));
            if (QString::fromUtf8(col->name).compare(columns[i], Qt::CaseInsensitive) != 0)
                continue;
            if (!supportedType(col->col_type))
                throw Error(msg::mdbUnexpectedType(m_path, table, columns[i]));
            t->m_cols[size_t(i)] = {int(c), col->col_type};
            break;
        }
    }
    mdb_rewind_table(def);
    return t;
}

OldTable::OldTable(OldCatalogFile &file, void *def, QString name)
    : m_file(file), m_def(def), m_name(std::move(name)) {}

OldTable::~OldTable() {
    mdb_free_tabledef(static_cast<MdbTableDef *>(m_def));
}

bool OldTable::next() {
    auto *def = static_cast<MdbTableDef *>(m_def);
    MdbHandle *mdb = m_file.m_h->mdb;
    const QString &path = m_file.m_path;
    if (!mdb_fetch_row(def)) {
        // The library stops quietly at a page it cannot read; the definition's count tells.
        if (m_read != m_rowCount)
            throw Error(msg::mdbDamaged(path, msg::mdbDetailRowsMissing(m_name, m_rowCount, m_read)));
        return false;
    }
    ++m_read;
    if (m_read > m_rowCount)
        throw Error(msg::mdbDamaged(path, msg::mdbDetailRowsMissing(m_name, m_rowCount, m_read)));
    // The bound values cannot tell an empty text from NULL; the row's null mask can, so the row
    // just fetched is cracked again here.
    int start = 0;
    size_t len = 0;
    const auto pageSize = size_t(mdb->fmt->pg_size);
    if (def->cur_row == 0 || mdb_find_row(mdb, int(def->cur_row) - 1, &start, &len) != 0 || start < 0 ||
        size_t(start) + len > pageSize)
        throw Error(msg::mdbDamaged(path, msg::mdbDetailBadRow(m_name)));
    MdbField fields[MDB_MAX_COLS];
    const int n = mdb_crack_row(def, start, len, fields);
    if (n != int(def->num_cols))
        throw Error(msg::mdbDamaged(path, msg::mdbDetailBadRow(m_name)));
    for (size_t i = 0; i < m_cols.size(); ++i) {
        const Col &c = m_cols[i];
        OldValue &v = m_values[i];
        v.kind = OldValue::Null;
        if (c.index < 0)
            continue;
        const MdbField &f = fields[c.index];
        if (f.is_null)
            continue;
        if (f.start < 0 || f.siz < 0 || size_t(f.start) + size_t(f.siz) > pageSize ||
            !fixedSizeFits(c.type, f.siz))
            throw Error(msg::mdbDamaged(path, msg::mdbDetailBadRow(m_name)));
        decode(int(i), &f);
    }
    return true;
}

void OldTable::decode(int i, const void *field) {
    const MdbField &f = *static_cast<const MdbField *>(field);
    MdbHandle *mdb = m_file.m_h->mdb;
    const unsigned char *p = mdb->pg_buf + f.start;
    OldValue &v = m_values[size_t(i)];
    auto le = [p](int bytes) {
        quint64 x = 0;
        for (int k = bytes - 1; k >= 0; --k)
            x = (x << 8) | p[k];
        return x;
    };
    auto real = [&] {
        const quint64 bits = le(8);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    };
    switch (m_cols[size_t(i)].type) {
    case MDB_BYTE:
        v.kind = OldValue::Int;
        v.i = p[0];
        break;
    case MDB_INT:
        v.kind = OldValue::Int;
        v.i = qint16(quint16(le(2)));
        break;
    case MDB_LONGINT:
        v.kind = OldValue::Int;
        v.i = qint32(quint32(le(4)));
        break;
    case MDB_FLOAT: {
        const quint32 bits = quint32(le(4));
        float fl;
        std::memcpy(&fl, &bits, sizeof fl);
        v.kind = OldValue::Real;
        v.d = fl;
        break;
    }
    case MDB_DOUBLE:
        v.kind = OldValue::Real;
        v.d = real();
        break;
    case MDB_MONEY:
        v.kind = OldValue::Real;
        v.d = double(qint64(le(8))) / 10000.0;
        break;
    case MDB_DATETIME: {
        const double d = real();
        // Access's own range (years 100 to 9999); anything else is not a date it wrote.
        if (!std::isfinite(d) || d < -657434.0 || d > 2958466.0)
            throw Error(msg::mdbDamaged(m_file.m_path, msg::mdbDetailBadRow(m_name)));
        v.kind = OldValue::Time;
        v.i = jetDateToNaiveMs(d);
        break;
    }
    case MDB_TEXT: {
        v.kind = OldValue::Text;
        v.s = jet4Text(p, f.siz);
        if (f.siz >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
            // Compressed runs are the library's to define: its reading wins unless the two
            // differ only where it gave "??" for a pair.
            char *s = mdb_col_to_string(mdb, mdb->pg_buf, f.start, MDB_TEXT, f.siz);
            const QString lib = QString::fromUtf8(s ? s : "");
            g_free(s);
            if (lib != v.s && lib != withPairsAsLibraryShowsThem(v.s))
                v.s = lib;
        }
        break;
    }
    default: { // memo, numeric: the library's own conversion, in UTF-8
        char *s = mdb_col_to_string(mdb, mdb->pg_buf, f.start, m_cols[size_t(i)].type, f.siz);
        const QString text = QString::fromUtf8(s ? s : "");
        g_free(s);
        if (m_cols[size_t(i)].type == MDB_NUMERIC) {
            bool ok = false;
            v.d = text.toDouble(&ok);
            v.kind = ok ? OldValue::Real : OldValue::Null;
        } else {
            v.kind = OldValue::Text;
            v.s = text;
        }
        break;
    }
    }
}

} // namespace vq::convert
