#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

namespace vq {

// One font property as set through the automation surface. `order` says when it was set (0: never),
// so that a cell in a formatted row and a formatted column takes whichever was set last.
template <typename T> struct FontSetting {
    T value{};
    std::uint64_t order = 0;
    bool isSet() const { return order != 0; }
};

struct FontModel {
    FontSetting<bool> bold;
    FontSetting<int> size;
    FontSetting<int> color; // TColor, 0xBBGGRR
    bool isSet() const { return bold.isSet() || size.isSet() || color.isSet(); }
};

// Settings of the later of two fonts win, property by property.
FontModel mergeFonts(const FontModel &a, const FontModel &b);

struct SheetModel {
    QString name;
    std::map<int, double> columnWidths; // 1-based column -> width in character units
    std::map<int, FontModel> columnFonts;
    std::map<int, FontModel> rowFonts;
    std::map<std::uint64_t, QString> cells; // cellKey(row, col) -> text; rows and columns 1-based
    std::uint64_t lastOrder = 0;

    static std::uint64_t cellKey(int row, int column) {
        return (std::uint64_t(std::uint32_t(row)) << 32) | std::uint32_t(column);
    }
    static int keyRow(std::uint64_t key) { return int(key >> 32); }
    static int keyColumn(std::uint64_t key) { return int(key & 0xffffffffu); }

    // What the cell holds (empty when never written) and the font it shows with.
    QString cell(int row, int column) const;
    bool hasCell(int row, int column) const;
    FontModel effectiveFont(int row, int column) const;
};

struct WorkbookModel {
    std::vector<SheetModel> sheets;
};

// Limits of a sheet; an address outside them fails like the automation call would.
inline constexpr int SheetMaxRows = 1048576;
inline constexpr int SheetMaxColumns = 16384;
// The template value of Workbooks.Add for a workbook of one worksheet.
inline constexpr std::int16_t WorkbookOneSheet = -4167;

class SpreadsheetApplication;

class SpreadsheetFont {
public:
    void setBold(bool bold);
    void setSize(int size);
    void setColor(int color);

private:
    friend class SpreadsheetRange;
    SpreadsheetFont(SpreadsheetApplication *app, int book, int sheet, bool isRow, int index)
        : m_app(app), m_book(book), m_sheet(sheet), m_isRow(isRow), m_index(index) {}
    FontModel &font() const;
    QString describe() const;
    SpreadsheetApplication *m_app;
    int m_book, m_sheet;
    bool m_isRow;
    int m_index;
};

// One whole column or row of a sheet.
class SpreadsheetRange {
public:
    void setColumnWidth(double width);
    SpreadsheetFont Font() const;

private:
    friend class SpreadsheetRanges;
    SpreadsheetRange(SpreadsheetApplication *app, int book, int sheet, bool isRow, int index)
        : m_app(app), m_book(book), m_sheet(sheet), m_isRow(isRow), m_index(index) {}
    SpreadsheetApplication *m_app;
    int m_book, m_sheet;
    bool m_isRow;
    int m_index;
};

// The Columns or Rows collection of a sheet; indexing it gives one column or row (1-based).
class SpreadsheetRanges {
public:
    SpreadsheetRange operator()(int index) const;

private:
    friend class SpreadsheetSheet;
    SpreadsheetRanges(SpreadsheetApplication *app, int book, int sheet, bool isRow)
        : m_app(app), m_book(book), m_sheet(sheet), m_isRow(isRow) {}
    SpreadsheetApplication *m_app;
    int m_book, m_sheet;
    bool m_isRow;
};

class SpreadsheetSheet {
public:
    void setName(const QString &name);
    QString Name() const;
    SpreadsheetRanges Columns() const;
    SpreadsheetRange Columns(int index) const { return Columns()(index); }
    SpreadsheetRanges Rows() const;
    SpreadsheetRange Rows(int index) const { return Rows()(index); }
    // The "cells" property put: the value is stored as text, whatever it looks like.
    void setCells(int row, int column, const QString &value);

private:
    friend class SpreadsheetWorkbook;
    SpreadsheetSheet(SpreadsheetApplication *app, int book, int sheet)
        : m_app(app), m_book(book), m_sheet(sheet) {}
    SheetModel &model() const;
    SpreadsheetApplication *m_app;
    int m_book, m_sheet;
};

class SpreadsheetWorkbook {
public:
    SpreadsheetSheet WorkSheets(int index) const; // 1-based
    SpreadsheetSheet WorkSheets(const QString &name) const;

private:
    friend class SpreadsheetWorkbooks;
    friend class SpreadsheetApplication;
    SpreadsheetWorkbook(SpreadsheetApplication *app, int book) : m_app(app), m_book(book) {}
    SpreadsheetApplication *m_app;
    int m_book;
};

class SpreadsheetWorkbooks {
public:
    SpreadsheetWorkbook Add(std::int16_t templateKind);
    int Count() const;

private:
    friend class SpreadsheetApplication;
    explicit SpreadsheetWorkbooks(SpreadsheetApplication *app) : m_app(app) {}
    SpreadsheetApplication *m_app;
};

// An in-process stand-in for a spreadsheet program driven by automation: the same calls, recorded
// into workbook models that writeXlsx turns into files. A call the real program would refuse (an
// address out of range, a missing sheet, a bad value) throws vq::Error.
class SpreadsheetApplication {
public:
    void setVisible(bool visible);
    bool Visible() const { return m_visible; }
    SpreadsheetWorkbooks Workbooks() { return SpreadsheetWorkbooks(this); }
    SpreadsheetWorkbook Workbooks(int index); // 1-based

    const WorkbookModel &workbook(int index) const; // 1-based
    int workbookCount() const { return int(m_books.size()); }

    // When set, every call is also appended to log as one line (for checking the call order).
    void setCallLog(QStringList *log) { m_log = log; }

private:
    friend class SpreadsheetWorkbooks;
    friend class SpreadsheetWorkbook;
    friend class SpreadsheetSheet;
    friend class SpreadsheetRange;
    friend class SpreadsheetFont;

    void log(const QString &line) {
        if (m_log)
            m_log->append(line);
    }
    bool logging() const { return m_log != nullptr; }
    SheetModel &sheet(int book, int sheet) { return m_books[book].sheets[sheet]; }

    bool m_visible = false;
    std::deque<WorkbookModel> m_books;
    QStringList *m_log = nullptr;
};

} // namespace vq
