#include "export/xlsxfile.h"

#include "catalog/error.h"
#include "catalog/messages.h"
#include "export/savefile.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <map>
#include <set>
#include <tuple>

namespace vq {

std::uint32_t tcolorToRgb(int color) {
    const std::uint32_t c = std::uint32_t(color) & 0xFFFFFFu;
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

namespace {

// Formats are shared by every cell with the same font; the workbook owns them.
class FormatCache {
public:
    explicit FormatCache(lxw_workbook *book) : m_book(book) {}

    lxw_format *get(const FontModel &font) {
        if (!font.isSet())
            return nullptr;
        const Key key{font.bold.isSet() ? int(font.bold.value) : -1, font.size.isSet() ? font.size.value : -1,
                      font.color.isSet() ? font.color.value : -1};
        auto it = m_formats.find(key);
        if (it != m_formats.end())
            return it->second;
        lxw_format *format = workbook_add_format(m_book);
        if (font.bold.isSet() && font.bold.value)
            format_set_bold(format);
        if (font.size.isSet())
            format_set_font_size(format, font.size.value);
        if (font.color.isSet())
            format_set_font_color(format, tcolorToRgb(font.color.value));
        m_formats.emplace(key, format);
        return format;
    }

private:
    using Key = std::tuple<int, int, int>;
    lxw_workbook *m_book;
    std::map<Key, lxw_format *> m_formats;
};

// The file format reads "_x0041_" in a text as an escaped character; a text that holds such a
// sequence literally gets its underscore escaped so that it reads back unchanged.
QByteArray cellBytes(const QString &text) {
    if (!text.contains(QLatin1String("_x"), Qt::CaseInsensitive))
        return text.toUtf8();
    static const QRegularExpression literal(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString escaped = text;
    escaped.replace(literal, QStringLiteral("_x005F_"));
    return escaped.toUtf8();
}

void check(lxw_error err, const QString &path) {
    if (err != LXW_NO_ERROR)
        throw Error(cannotCreateFileMessage(path, QString::fromUtf8(lxw_strerror(err))));
}

void writeSheet(lxw_worksheet *ws, const SheetModel &sheet, FormatCache &formats, const QString &path) {
    std::set<int> columns;
    for (const auto &[c, w] : sheet.columnWidths)
        columns.insert(c);
    for (const auto &[c, f] : sheet.columnFonts)
        columns.insert(c);
    for (int c : columns) {
        auto w = sheet.columnWidths.find(c);
        auto f = sheet.columnFonts.find(c);
        const double width = w != sheet.columnWidths.end() ? w->second : LXW_DEF_COL_WIDTH;
        lxw_format *format = f != sheet.columnFonts.end() ? formats.get(f->second) : nullptr;
        check(worksheet_set_column(ws, lxw_col_t(c - 1), lxw_col_t(c - 1), width, format), path);
    }
    for (const auto &[r, font] : sheet.rowFonts)
        check(worksheet_set_row(ws, lxw_row_t(r - 1), LXW_DEF_ROW_HEIGHT, formats.get(font)), path);

    // Where a formatted row crosses a formatted column the cell carries both fonts even when empty,
    // as it would after formatting the whole row and column in the spreadsheet program.
    for (const auto &[r, rowFont] : sheet.rowFonts) {
        for (const auto &[c, columnFont] : sheet.columnFonts) {
            if (!sheet.hasCell(r, c))
                check(worksheet_write_blank(ws, lxw_row_t(r - 1), lxw_col_t(c - 1),
                                            formats.get(mergeFonts(rowFont, columnFont))),
                      path);
        }
    }

    QByteArray utf8;
    for (const auto &[key, text] : sheet.cells) {
        const int r = SheetModel::keyRow(key), c = SheetModel::keyColumn(key);
        utf8 = cellBytes(text);
        check(worksheet_write_string(ws, lxw_row_t(r - 1), lxw_col_t(c - 1), utf8.constData(),
                                     formats.get(sheet.effectiveFont(r, c))),
              path);
    }
}

} // namespace

void writeXlsx(const WorkbookModel &model, const QString &path) {
    QTemporaryDir tmp;
    if (!tmp.isValid())
        throw Error(cannotCreateFileMessage(path, tmp.errorString()));
    const QString tmpFile = tmp.filePath(QStringLiteral("book.xlsx"));
    QByteArray tmpDir = QFile::encodeName(tmp.path());
    lxw_workbook_options options{};
    options.tmpdir = tmpDir.data();
    lxw_workbook *book = workbook_new_opt(QFile::encodeName(tmpFile).constData(), &options);
    if (!book)
        throw Error(cannotCreateFileMessage(path, msg::outOfMemory()));

    bool closed = false;
    try {
        FormatCache formats(book);
        for (const SheetModel &sheet : model.sheets) {
            lxw_worksheet *ws = workbook_add_worksheet(book, sheet.name.toUtf8().constData());
            if (!ws)
                throw Error(cannotCreateFileMessage(
                    path, QStringLiteral("Invalid worksheet name \"%1\".").arg(sheet.name)));
            writeSheet(ws, sheet, formats, path);
        }
        closed = true;
        check(workbook_close(book), path);
    } catch (...) {
        if (!closed)
            lxw_workbook_free(book);
        throw;
    }

    QFile written(tmpFile);
    if (!written.open(QIODevice::ReadOnly))
        throw Error(cannotCreateFileMessage(path, written.errorString()));
    saveFileOrThrow(path, written.readAll());
}

} // namespace vq
