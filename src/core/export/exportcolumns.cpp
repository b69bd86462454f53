#include "export/exportcolumns.h"

#include "browser/summary.h"

#include <QCoreApplication>

namespace vq {

namespace {

struct ColumnSpec {
    const char *caption; // translated on use: an export speaks the window's language
    int spreadsheetWidth;
};

constexpr ColumnSpec Columns[ExportColumnCount] = {
    {QT_TRANSLATE_NOOP("Export", "Название"), 35},     {QT_TRANSLATE_NOOP("Export", "Тип"), 8},
    {QT_TRANSLATE_NOOP("Export", "Серии"), 8},         {QT_TRANSLATE_NOOP("Export", "Объём"), 8},
    {QT_TRANSLATE_NOOP("Export", "Длительность"), 15}, {QT_TRANSLATE_NOOP("Export", "Качество"), 10},
    {QT_TRANSLATE_NOOP("Export", "Звук"), 10},         {QT_TRANSLATE_NOOP("Export", "Sub In"), 8},
    {QT_TRANSLATE_NOOP("Export", "Sub Ext"), 8},       {QT_TRANSLATE_NOOP("Export", "Комментарий"), 30},
};

} // namespace

QString exportColumnCaption(int column) {
    Q_ASSERT(column >= 0 && column < ExportColumnCount);
    return QCoreApplication::translate("Export", Columns[column].caption);
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
    return QCoreApplication::translate("Export", "Всего:  ") + titleCount;
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
