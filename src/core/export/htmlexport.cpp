#include "export/htmlexport.h"

#include "export/savefile.h"

#include <algorithm>

namespace vq {

namespace {

// The locale's long time format names the time zone too; the page shows the clock time only.
QString withoutTimeZone(const QString &format) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't') {
            out += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == u't')
            ++i;
        while (out.endsWith(u' '))
            out.chop(1);
        while (i + 1 < format.size() && format[i + 1] == u' ')
            ++i;
        if (!out.isEmpty() && i + 1 < format.size())
            out += u' ';
    }
    return out.trimmed();
}

void appendEscaped(QString &out, QStringView text) {
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

QString alignmentWord(GridAlignment alignment) {
    switch (alignment) {
    case GridAlignment::Left:
        return QStringLiteral("Left");
    case GridAlignment::Right:
        return QStringLiteral("Right");
    case GridAlignment::Center:
        return QStringLiteral("Center");
    }
    return QStringLiteral("Left");
}

QString htmlTimestamp(const QDateTime &now, const QLocale &locale) {
    QString text = locale.toString(now.date(), QLocale::ShortFormat);
    const QTime t = now.time();
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0)
        text += u' ' + locale.toString(t, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return text;
}

int exportedColumnCount(const GridData &grid) {
    int n = 0;
    while (n < grid.ColumnCount() && grid.Column(n).Visible())
        ++n;
    return n;
}

QString htmlPage(const GridData &grid, const QDateTime &now, const QLocale &locale) {
    const int rowCount = grid.RowCount();
    const int columns = exportedColumnCount(grid);
    std::vector<QString> cellStart;
    for (int c = 0; c < columns; ++c) {
        const GridColumn &col = grid.Column(c);
        cellStart.push_back(QStringLiteral("<td align=\"%1\" width=\"%2\">")
                                .arg(alignmentWord(col.Alignment()))
                                .arg(col.Width()));
    }

    QString out;
    out.reserve(1024 + qsizetype(rowCount + 1) * (12 + columns * 64));
    const auto line = [&out](QStringView text) {
        out += text;
        out += u"\r\n";
    };
    line(u"<html>");
    line(u"<head>");
    line(u"<meta charset=\"utf-8\">");
    out += u"<title>Anime list - ";
    appendEscaped(out, htmlTimestamp(now, locale));
    line(u"</title>");
    line(u"<style>");
    line(u"td{background-color: #ffffff; color: #000000;  font-family: Verdana, Tahoma, Arial, Helvetica, "
         u"sans-serif; font-size: 10px}");
    line(u"</style>");
    line(u"</head>");
    line(u"<body>");
    line(u"<table width=\"100%\" cellspacing=\"0\" cellpading=\"1\" border=\"1\" style=\"border-collapse: "
         u"collapse; border: 1px solid #666666\">");

    line(u"<tr>");
    for (int c = 0; c < columns; ++c) {
        out += cellStart[size_t(c)];
        out += u" <b>";
        appendEscaped(out, grid.Column(c).Caption());
        line(u" </b> </td>");
    }
    line(u"</tr>");

    for (int r = 0; r < rowCount; ++r) {
        line(u"<tr>");
        for (int c = 0; c < columns; ++c) {
            out += cellStart[size_t(c)];
            appendEscaped(out, grid.GetCellText(c, r));
            line(u"</td>");
        }
        line(u"</tr>");
    }
    line(u"</table>");
    line(u"</body></html>");
    return out;
}

void GenerateHTML(const GridData &grid, const QString &path, const QDateTime &now, const QLocale &locale) {
    saveFileOrThrow(path, htmlPage(grid, now, locale).toUtf8());
}

// --- summary rows -------------------------------------------------------------------------------

SummaryHtmlRows::SummaryHtmlRows(GridData &grid, const ExportTotals &totals)
    : m_grid(grid), m_rowCount(grid.RowCount()) {
    try {
        grid.AddRows(1);
        grid.AddRows(1);
        const int last = grid.RowCount() - 1;
        grid.SetCellText(ExportTitleColumn, last, totalsLabel(totals.titles));
        grid.SetCellText(ExportEpisodesColumn, last, totals.files);
        grid.SetCellText(ExportSizeColumn, last, totals.size);
        grid.SetCellText(ExportDurationColumn, last, totals.duration);
    } catch (...) {
        remove();
        throw;
    }
}

void SummaryHtmlRows::remove() {
    if (!m_active)
        return;
    m_active = false;
    while (m_grid.RowCount() > m_rowCount)
        m_grid.DeleteRow(m_grid.RowCount() - 1);
}

// --- selection layout ---------------------------------------------------------------------------

SelectionHtmlLayout::SelectionHtmlLayout(GridData &grid, const ExportColumnChoice &choice,
                                         const ExportTotals &totals)
    : m_grid(grid), m_rowCount(grid.RowCount()) {
    const int count = grid.ColumnCount();
    for (int i = 0; i < count; ++i) {
        m_columnOrder.push_back(&grid.Column(i));
        m_displayOrder.push_back(&grid.ColumnAtPosition(i));
        m_visible.push_back(grid.Column(i).Visible());
    }
    try {
        const int movable = std::min(count, ExportColumnCount);
        ExportColumnChoice chosen{};
        for (int i = 0; i < movable; ++i)
            chosen[i] = choice[i];
        const auto target = packedColumnIndexes(chosen);
        const int k = chosenColumnCount(chosen);

        // Moving in ascending order never disturbs a column not yet moved: each goes to a place
        // at or before its own, past the ones already moved.
        for (int i = 0; i < movable; ++i) {
            if (chosen[i])
                grid.MoveColumnPosition(m_columnOrder[i]->Position(), target[i]);
        }
        for (int i = 0; i < movable; ++i) {
            if (chosen[i])
                grid.MoveColumnIndex(m_columnOrder[i]->Index(), target[i]);
        }
        for (int i = k; i < movable; ++i)
            grid.Column(i).SetVisible(false);

        grid.AddRows(1);
        grid.AddRows(1);
        const int last = grid.RowCount() - 1;
        if (chosen[ExportTitleColumn])
            grid.SetCellText(target[ExportTitleColumn], last, totalsLabel(totals.titles));
        if (chosen[ExportEpisodesColumn])
            grid.SetCellText(target[ExportEpisodesColumn], last, totals.files);
        if (chosen[ExportSizeColumn])
            grid.SetCellText(target[ExportSizeColumn], last, totals.size);
        if (chosen[ExportDurationColumn])
            grid.SetCellText(target[ExportDurationColumn], last, totals.duration);
    } catch (...) {
        restore();
        throw;
    }
}

void SelectionHtmlLayout::restore() {
    if (!m_active)
        return;
    m_active = false;
    while (m_grid.RowCount() > m_rowCount)
        m_grid.DeleteRow(m_grid.RowCount() - 1);
    // Columns rebuilt in the meantime are not ours to rearrange.
    if (m_grid.ColumnCount() != int(m_columnOrder.size()))
        return;
    for (size_t n = 0; n < m_columnOrder.size(); ++n) {
        if (m_columnOrder[n]->Index() < 0 || m_displayOrder[n]->Index() < 0)
            return;
    }
    for (size_t n = 0; n < m_columnOrder.size(); ++n)
        m_grid.MoveColumnIndex(m_columnOrder[n]->Index(), int(n));
    for (size_t n = 0; n < m_displayOrder.size(); ++n)
        m_grid.MoveColumnPosition(m_displayOrder[n]->Position(), int(n));
    for (size_t n = 0; n < m_columnOrder.size(); ++n)
        m_columnOrder[n]->SetVisible(m_visible[n]);
}

// --- whole exports ------------------------------------------------------------------------------

void exportSummaryHtml(GridData &grid, const QString &path, const ExportTotals &totals, const QDateTime &now,
                       const QLocale &locale) {
    SummaryHtmlRows rows(grid, totals);
    GenerateHTML(grid, path, now, locale);
    rows.remove();
}

void exportSelectionHtml(GridData &grid, const QString &path, const ExportColumnChoice &choice,
                         const ExportTotals &totals, const QDateTime &now, const QLocale &locale) {
    SelectionHtmlLayout layout(grid, choice, totals);
    GenerateHTML(grid, path, now, locale);
    layout.restore();
}

} // namespace vq
