#include "summary.h"

#include "catalog/catalogsession.h"
#include "catalog/formats.h"
#include "catalog/tabledata.h"
#include "gridview/griddata.h"

#include <cmath>
#include <limits>

namespace vq {

namespace {

struct ColumnSpec {
    const char *caption;
    GridAlignment align;
    int width;
};

const ColumnSpec kSummaryColumns[10] = {
    {"Название", GridAlignment::Left, 262},       {"Тип", GridAlignment::Center, 73},
    {"Серии", GridAlignment::Center, 73},         {"Объём", GridAlignment::Right, 67},
    {"Длительность", GridAlignment::Center, 108}, {"Качество", GridAlignment::Center, 80},
    {"Звук", GridAlignment::Center, 80},          {"Sub In", GridAlignment::Center, 54},
    {"Sub Ext", GridAlignment::Center, 62},       {"Комментарий", GridAlignment::Left, 186},
};

void addTextColumns(GridData &grid) {
    for (const ColumnSpec &c : kSummaryColumns) {
        GridColumn &col = grid.AddTextColumn(QString::fromUtf8(c.caption));
        col.SetAlignment(c.align);
        col.SetWidth(c.width);
        col.SetDefaultWidth(c.width);
        col.SetOptions(col.Options() & ~coEditing);
        col.SetSortType(SortType::Alphabetic);
    }
}

} // namespace

void setupSummaryGrid(GridData &grid) {
    grid.ClearRows();
    grid.ClearColumns();
    grid.SetOptions(goDissableColumnMoving | goGrid | goHeader | goSelectFullRow);
    grid.SetRowSize(16);
    grid.SetColor(clSilver);
    addTextColumns(grid);
    GridColumn &sel = grid.AddColumn(ColumnKind::CheckBox, QStringLiteral("Выбрано"));
    sel.SetDefaultValue(QStringLiteral("false"));
    sel.SetWidth(80);
    sel.SetVisible(false);
    sel.SetSortType(SortType::Boolean);
    GridColumn &id = grid.AddColumn(ColumnKind::Numeric, QStringLiteral("ID"));
    id.SetDefaultValue(QStringLiteral("0"));
    id.SetWidth(80);
    id.SetVisible(false);
    id.SetSortType(SortType::Numeric);
    for (int c = 0; c < grid.ColumnCount(); ++c)
        grid.Column(c).SetColor(clSilver);
}

void setupTitleGrid(GridData &grid) {
    grid.ClearRows();
    grid.ClearColumns();
    grid.SetOptions(goDissableColumnMoving | goGrid | goIndicator);
    grid.SetRowSize(16);
    GridColumn &id = grid.AddColumn(ColumnKind::Numeric, QStringLiteral("ID"));
    id.SetDefaultValue(QStringLiteral("0"));
    id.SetWidth(80);
    id.SetVisible(false);
    GridColumn &title = grid.AddTextColumn(QStringLiteral("Название"));
    title.SetWidth(262);
    title.SetOptions(title.Options() & ~coEditing);
}

void setupSelectionGrid(GridData &grid) {
    grid.ClearRows();
    grid.ClearColumns();
    grid.SetOptions(goDissableColumnMoving | goGrid | goHeader | goSelectFullRow);
    grid.SetRowSize(16);
    grid.SetColor(clWindow);
    addTextColumns(grid);
    GridColumn &id = grid.AddTextColumn(QStringLiteral("ID"));
    id.SetWidth(80);
    id.SetVisible(false);
    for (int c = 0; c < grid.ColumnCount(); ++c)
        grid.Column(c).SetName(QStringLiteral("n%1").arg(c));
    grid.Column(gv3::CommentColumn).AddOption(coEditing);
}

void GetExtParam(CatalogSession &s, int recNo, TExportList &out) {
    DataSet &name = s.Name;
    name.setRecNo(recNo);
    out.Title = name.asString(1);
    out.TypeText = name.asString(2);
    out.EpisodeCount = name.asString(3);
    const qint64 id = name.asInteger(0);

    s.RJk.setFilter(Filter::equals(QStringLiteral("ID"), id));
    s.RJk.setFiltered(true);
    s.RJk.first();
    out.SizeText = megabyteText(s.RJk.asFloat(1));
    // Summed and shown in 64 bits: a long series runs past the 596 hours of 32-bit milliseconds.
    out.DurationText = FormatPlayTime(roundHalfEven(s.RJk.asFloat(2)));

    DataSet &ext = s.Ext;
    ext.setFilter(Filter::equals(QStringLiteral("ID"), id));
    ext.setFiltered(true);
    ext.first();
    // The field layout of Ext is fixed: look the positions up once.
    static const int kRZm = ext.fieldIndex(QStringLiteral("RZm")),
                     kSound = ext.fieldIndex(QStringLiteral("Sound")),
                     kSubIn = ext.fieldIndex(QStringLiteral("Sub_IN")),
                     kSubExt = ext.fieldIndex(QStringLiteral("Sub_Ext"));
    out.QualityText = ext.asString(kRZm);
    out.SoundText = ext.asString(kSound);
    out.SubInText = ext.asString(kSubIn);
    out.SubExtText = ext.asString(kSubExt);
    out.CommentText = name.asString(4);

    const int n = ext.recordCount();
    bool differs[4] = {false, false, false, false};
    for (int r = 2; r <= n; ++r) {
        ext.setRecNo(r);
        differs[0] = differs[0] || ext.asString(kRZm) != out.QualityText;
        differs[1] = differs[1] || ext.asString(kSound) != out.SoundText;
        differs[2] = differs[2] || ext.asString(kSubIn) != out.SubInText;
        differs[3] = differs[3] || ext.asString(kSubExt) != out.SubExtText;
    }
    QString *marked[4] = {&out.QualityText, &out.SoundText, &out.SubInText, &out.SubExtText};
    for (int i = 0; i < 4; ++i)
        if (differs[i])
            marked[i]->prepend(QStringLiteral("! "));
}

bool updatedRecently(const QDateTime &maxUpdate, const QDateTime &now) {
    if (!maxUpdate.isValid())
        return false;
    const double spanDays =
        std::fabs(double(naiveMsFromDateTime(now) - naiveMsFromDateTime(maxUpdate))) / 86400000.0;
    return spanDays < double(kRecentDays);
}

bool updatedRecently(std::optional<qint64> maxUpdate, qint64 now) {
    return maxUpdate && std::fabs(double(now - *maxUpdate)) / 86400000.0 < double(kRecentDays);
}

void LoadGvSv(CatalogSession &s, GridData &gvsv, TExportList &exportList, const QSet<qint64> &selected,
              const QDateTime &now) {
    gvsv.ClearRows();
    const qint64 nowMs = naiveMsFromDateTime(now);
    s.UpTime.open();
    s.Name.first();
    const int n = s.Name.recordCount();
    for (int recNo = 1; recNo <= n; ++recNo) {
        GetExtParam(s, recNo, exportList);
        gvsv.AddRows(1);
        const int r = gvsv.RowCount() - 1;
        for (int c = 0; c < TExportList::FieldCount; ++c)
            gvsv.SetCellText(c, r, exportList.field(c));
        const qint64 id = s.Name.asInteger(0);
        gvsv.CellAt(gvsv::Id, r).SetAsInteger(int(id));
        s.UpTime.setFilter(Filter::equals(QStringLiteral("ID"), id));
        s.UpTime.setFiltered(true);
        GridColor color = clSilver;
        bool paint = false;
        if (updatedRecently(s.UpTime.asNaiveMs(1), nowMs)) {
            color = clSkyBlue;
            paint = true;
        }
        if (selected.contains(id)) {
            gvsv.CellAt(gvsv::Selected, r).SetAsBoolean(true);
            color = clAqua;
            paint = true;
        }
        if (paint)
            for (int c = 0; c < gvsv.ColumnCount(); ++c)
                gvsv.CellAt(c, r).SetColor(color);
    }
    s.Name.first();
    s.UpTime.close();
}

void LoadName(CatalogSession &s, GridData &gv, GridData *gv4, const QDateTime &now) {
    gv.ClearRows();
    if (gv4)
        gv4->ClearRows();
    s.Name.first();
    s.UpTime.open();
    const qint64 nowMs = naiveMsFromDateTime(now);
    const int n = s.Name.recordCount();
    for (int recNo = 1; recNo <= n; ++recNo) {
        s.Name.setRecNo(recNo);
        const qint64 id = s.Name.asInteger(0);
        s.UpTime.setFilter(Filter::equals(QStringLiteral("ID"), id));
        s.UpTime.setFiltered(true);
        gv.AddRows(1);
        const int r = gv.RowCount() - 1;
        gv.CellAt(0, r).SetAsInteger(int(id));
        gv.SetCellText(1, r, s.Name.asString(1));
        if (updatedRecently(s.UpTime.asNaiveMs(1), nowMs))
            gv.CellAt(1, r).SetColor(clSkyBlue);
        if (gv4) {
            gv4->AddRows(1);
            gv4->CellAt(0, r).SetAsInteger(gv.CellAt(0, r).AsInteger());
            gv4->SetCellText(1, r, gv.GetCellText(1, r));
        }
    }
    s.Name.first();
    s.UpTime.close();
}

CatalogStats UpStat(CatalogSession &s) {
    s.ADS.close();
    s.RJk.close();
    s.Ext.close();
    s.ADS.open();
    s.RJk.open();
    s.Ext.open();
    CatalogStats st;
    // All titles, counted without putting them in order.
    st.titles = s.catalog().table(QStringLiteral("Список"))->aliveRows();
    // Counted from the sums the file keeps, not by reading every episode.
    st.files = int(std::min<qint64>(s.catalog().episodeCount(), std::numeric_limits<int>::max()));
    st.durationMs = s.ADS.asFloat(0);
    st.sizeBytes = s.ADS.asFloat(1);
    st.LCount = QString::number(st.titles);
    st.LCE = QString::number(st.files);
    st.LSize = gigabyteText(st.sizeBytes);
    st.LTime = FormatPlayTime(roundHalfEven(st.durationMs));
    return st;
}

QString SelTotals::LVAni() const {
    return QString::number(TitleCount);
}
QString SelTotals::LVFile() const {
    return QString::number(FileCount);
}
QString SelTotals::LVSize() const {
    return gigabyteText(SizeBytes);
}
QString SelTotals::LVtime() const {
    return FormatPlayTime(roundHalfEven(DurationSum));
}

TitleAmounts currentTitleAmounts(CatalogSession &s) {
    TitleAmounts a;
    a.files = s.Series.recordCount();
    a.sizeBytes = s.RJk.asFloat(1);
    a.durationMs = s.RJk.asFloat(2);
    return a;
}

} // namespace vq
