#include "export/spreadsheet.h"

#include "catalog/error.h"
#include "catalog/messages.h"

namespace vq {

namespace {

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Names the spreadsheet program refuses; refusing them here keeps the written file valid.
void checkSheetName(const QString &name) {
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    bool bad = name.isEmpty() || name.size() > 31 || name.startsWith(u'\'') || name.endsWith(u'\'');
    for (QChar c : name)
        bad = bad || forbidden.contains(c);
    if (bad)
        throw Error(msg::badSheetName(name));
}

} // namespace

FontModel mergeFonts(const FontModel &a, const FontModel &b) {
    FontModel m;
    m.bold = a.bold.order >= b.bold.order ? a.bold : b.bold;
    m.size = a.size.order >= b.size.order ? a.size : b.size;
    m.color = a.color.order >= b.color.order ? a.color : b.color;
    return m;
}

QString SheetModel::cell(int row, int column) const {
    auto it = cells.find(cellKey(row, column));
    return it == cells.end() ? QString() : it->second;
}

bool SheetModel::hasCell(int row, int column) const {
    return cells.count(cellKey(row, column)) != 0;
}

FontModel SheetModel::effectiveFont(int row, int column) const {
    FontModel rowFont, columnFont;
    if (auto it = rowFonts.find(row); it != rowFonts.end())
        rowFont = it->second;
    if (auto it = columnFonts.find(column); it != columnFonts.end())
        columnFont = it->second;
    return mergeFonts(rowFont, columnFont);
}

// --- font -------------------------------------------------------------------------------------

FontModel &SpreadsheetFont::font() const {
    SheetModel &s = m_app->sheet(m_book, m_sheet);
    return m_isRow ? s.rowFonts[m_index] : s.columnFonts[m_index];
}

QString SpreadsheetFont::describe() const {
    return QStringLiteral("%1(%2).Font.")
        .arg(m_isRow ? QStringLiteral("Rows") : QStringLiteral("Columns"))
        .arg(m_index);
}

void SpreadsheetFont::setBold(bool bold) {
    if (m_app->logging())
        m_app->log(describe() + QStringLiteral("Bold=") + boolText(bold));
    FontModel &f = font();
    f.bold = {bold, ++m_app->sheet(m_book, m_sheet).lastOrder};
}

void SpreadsheetFont::setSize(int size) {
    if (m_app->logging())
        m_app->log(describe() + QStringLiteral("Size=") + QString::number(size));
    if (size < 1 || size > 409)
        throw Error(msg::badFontSize(size));
    FontModel &f = font();
    f.size = {size, ++m_app->sheet(m_book, m_sheet).lastOrder};
}

void SpreadsheetFont::setColor(int color) {
    if (m_app->logging())
        m_app->log(describe() + QStringLiteral("Color=") + QString::number(color));
    if (color < 0 || color > 0xFFFFFF)
        throw Error(msg::badFontColour(color));
    FontModel &f = font();
    f.color = {color, ++m_app->sheet(m_book, m_sheet).lastOrder};
}

// --- ranges -----------------------------------------------------------------------------------

void SpreadsheetRange::setColumnWidth(double width) {
    if (m_app->logging())
        m_app->log(QStringLiteral("%1(%2).ColumnWidth=%3")
                       .arg(m_isRow ? QStringLiteral("Rows") : QStringLiteral("Columns"))
                       .arg(m_index)
                       .arg(width));
    if (m_isRow)
        throw Error(msg::widthOnRow(m_index));
    if (!(width >= 0 && width <= 255))
        throw Error(msg::badColumnWidth(width));
    m_app->sheet(m_book, m_sheet).columnWidths[m_index] = width;
}

SpreadsheetFont SpreadsheetRange::Font() const {
    return SpreadsheetFont(m_app, m_book, m_sheet, m_isRow, m_index);
}

SpreadsheetRange SpreadsheetRanges::operator()(int index) const {
    const int limit = m_isRow ? SheetMaxRows : SheetMaxColumns;
    if (index < 1 || index > limit)
        throw Error(msg::rangeOutsideSheet(m_isRow, index));
    return SpreadsheetRange(m_app, m_book, m_sheet, m_isRow, index);
}

// --- sheet ------------------------------------------------------------------------------------

SheetModel &SpreadsheetSheet::model() const {
    return m_app->sheet(m_book, m_sheet);
}

void SpreadsheetSheet::setName(const QString &name) {
    m_app->log(QStringLiteral("Name=") + name);
    checkSheetName(name);
    const auto &sheets = m_app->m_books[m_book].sheets;
    for (int i = 0; i < int(sheets.size()); ++i) {
        if (i != m_sheet && sheets[i].name.compare(name, Qt::CaseInsensitive) == 0)
            throw Error(msg::sheetExists(name));
    }
    model().name = name;
}

QString SpreadsheetSheet::Name() const {
    return model().name;
}

SpreadsheetRanges SpreadsheetSheet::Columns() const {
    m_app->log(QStringLiteral("Columns"));
    return SpreadsheetRanges(m_app, m_book, m_sheet, false);
}

SpreadsheetRanges SpreadsheetSheet::Rows() const {
    m_app->log(QStringLiteral("Rows"));
    return SpreadsheetRanges(m_app, m_book, m_sheet, true);
}

void SpreadsheetSheet::setCells(int row, int column, const QString &value) {
    if (m_app->logging())
        m_app->log(QStringLiteral("cells(%1,%2)=%3").arg(row).arg(column).arg(value));
    if (row < 1 || row > SheetMaxRows || column < 1 || column > SheetMaxColumns)
        throw Error(msg::cellOutsideSheet(row, column));
    // The most a cell holds; a longer text would be cut by the spreadsheet program.
    if (value.size() > 32767)
        throw Error(msg::cellTextTooLong(row, column));
    SheetModel &s = model();
    if (value.isEmpty())
        s.cells.erase(SheetModel::cellKey(row, column));
    else
        s.cells.insert_or_assign(SheetModel::cellKey(row, column), value);
}

// --- workbooks --------------------------------------------------------------------------------

SpreadsheetSheet SpreadsheetWorkbook::WorkSheets(int index) const {
    m_app->log(QStringLiteral("WorkSheets(%1)").arg(index));
    const auto &sheets = m_app->m_books[m_book].sheets;
    if (index < 1 || index > int(sheets.size()))
        throw Error(msg::noSheet(QString::number(index)));
    return SpreadsheetSheet(m_app, m_book, index - 1);
}

SpreadsheetSheet SpreadsheetWorkbook::WorkSheets(const QString &name) const {
    m_app->log(QStringLiteral("WorkSheets(\"%1\")").arg(name));
    const auto &sheets = m_app->m_books[m_book].sheets;
    for (int i = 0; i < int(sheets.size()); ++i) {
        if (sheets[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return SpreadsheetSheet(m_app, m_book, i);
    }
    throw Error(msg::noSheet(u'"' + name + u'"'));
}

SpreadsheetWorkbook SpreadsheetWorkbooks::Add(std::int16_t templateKind) {
    m_app->log(QStringLiteral("Workbooks.Add(%1)").arg(templateKind));
    if (templateKind != WorkbookOneSheet)
        throw Error(msg::badTemplate(templateKind));
    WorkbookModel book;
    book.sheets.emplace_back();
    book.sheets.back().name = QStringLiteral("Sheet1");
    m_app->m_books.push_back(std::move(book));
    return SpreadsheetWorkbook(m_app, int(m_app->m_books.size()) - 1);
}

int SpreadsheetWorkbooks::Count() const {
    return m_app->workbookCount();
}

void SpreadsheetApplication::setVisible(bool visible) {
    log(QStringLiteral("Visible=") + boolText(visible));
    m_visible = visible;
}

SpreadsheetWorkbook SpreadsheetApplication::Workbooks(int index) {
    log(QStringLiteral("Workbooks(%1)").arg(index));
    if (index < 1 || index > workbookCount())
        throw Error(msg::noWorkbook(index));
    return SpreadsheetWorkbook(this, index - 1);
}

const WorkbookModel &SpreadsheetApplication::workbook(int index) const {
    if (index < 1 || index > workbookCount())
        throw Error(msg::noWorkbook(index));
    return m_books[index - 1];
}

} // namespace vq
