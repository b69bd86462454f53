#include "export/exportcolumns.h"

#include "browser/summary.h"

namespace vq {

namespace {

struct ColumnSpec {
    const char16_t *caption;
    int spreadsheetWidth;
};

constexpr ColumnSpec Columns[ExportColumnCount] = {
    {u"Название", 35}, {u"Тип", 8},   {u"Серии", 8},  {u"Объём", 8},   {u"Длительность", 15},
    {u"Качество", 10}, {u"Звук", 10}, {u"Sub In", 8}, {u"Sub Ext", 8}, {u"Комментарий", 30},
};

} // namespace

QString exportColumnCaption(int column) {
    Q_ASSERT(column >= 0 && column < ExportColumnCount);
    return QString::fromUtf16(Columns[column].caption);
}

int exportSpreadsheetWidth(int column) {
    Q_ASSERT(column >= 0 && column < ExportColumnCount);
    return Columns[column].spreadsheetWidth;
}

QString exportText(const TExportList &title, int column) {
    return title.field(column);
}

ExportTotals catalogTotals(const CatalogStats &stats) {
    return {stats.LCount, stats.LCE, stats.LSize, stats.LTime};
}

ExportTotals selectionTotals(const SelTotals &totals) {
    return {totals.LVAni(), totals.LVFile(), totals.LVSize(), totals.LVtime()};
}

QString totalsLabel(const QString &titleCount) {
    return QStringLiteral("Всего:  ") + titleCount;
}

std::array<int, ExportColumnCount> packedColumnIndexes(const ExportColumnChoice &choice) {
    std::array<int, ExportColumnCount> target{};
    int chosenBefore = 0;
    for (int i = 0; i < ExportColumnCount; ++i) {
        target[i] = chosenBefore;
        if (choice[i])
            ++chosenBefore;
    }
    return target;
}

int chosenColumnCount(const ExportColumnChoice &choice) {
    int count = 0;
    for (bool chosen : choice)
        count += chosen ? 1 : 0;
    return count;
}

} // namespace vq
