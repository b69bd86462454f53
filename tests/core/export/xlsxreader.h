#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

// Reads back what a test needs from an .xlsx file (a zip of XML parts), through the unzip tool.
namespace vqtest {

struct XlsxFont {
    bool bold = false;
    double size = 0;
    QString rgb; // "RRGGBB", empty when the font has no colour of its own
};

struct XlsxCell {
    QString text;
    QString type; // the cell's t attribute: "s" for a shared text, "" for a blank
    bool hasFormula = false;
    int style = 0;
};

struct XlsxColumn {
    double width = 0;
    int style = 0;
};

class XlsxBook {
public:
    // Throws std::runtime_error when the file cannot be read.
    explicit XlsxBook(const QString &path);

    QStringList sheetNames() const { return m_sheetNames; }

    // Sheet 1 only: the exports write one sheet.
    bool hasCell(int row, int column) const { return m_cells.count({row, column}) != 0; }
    XlsxCell cell(int row, int column) const;
    QString text(int row, int column) const { return cell(row, column).text; }
    // Rows and columns that hold a non-blank cell.
    std::vector<std::pair<int, int>> filledCells() const;

    bool hasColumn(int column) const { return m_columns.count(column) != 0; }
    XlsxColumn column(int column) const;
    bool hasRowStyle(int row) const { return m_rowStyles.count(row) != 0; }
    int rowStyle(int row) const;

    XlsxFont font(int style) const; // font of a cell style index
    XlsxFont cellFont(int row, int column) const { return font(cell(row, column).style); }

    QString sheetXml() const { return m_sheetXml; }

private:
    QStringList m_sheetNames;
    std::map<std::pair<int, int>, XlsxCell> m_cells;
    std::map<int, XlsxColumn> m_columns;
    std::map<int, int> m_rowStyles;
    std::vector<int> m_styleFont;
    std::vector<XlsxFont> m_fonts;
    QString m_sheetXml;
};

// Reads one member of a zip archive; empty when it is missing.
QByteArray unzipMember(const QString &zip, const QString &member);

} // namespace vqtest
