// export-html and export-xlsx run in-process on a temporary catalog.
#include "catalog/settings.h"
#include "cli.h"
#include "support/temp_catalog.h"

// The spreadsheet reader of the export tests, built into this program too.
#include "core/export/xlsxreader.cpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

using namespace vq;

namespace {

struct ExportRun {
    int status;
    QString out, err;
};

ExportRun exportCli(const QStringList &args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = cli::run(args, o, e);
    return {status, out, err};
}

QString readText(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Data cells of a page, row by row; header cells carry <b> and are left out.
QList<QStringList> pageRows(const QString &page) {
    QList<QStringList> rows;
    for (const QString &tr : page.split(QStringLiteral("<tr>\r\n")).mid(1)) {
        if (tr.contains(QStringLiteral("<b>")))
            continue;
        QStringList cells;
        for (const QString &line : tr.split(QStringLiteral("\r\n"))) {
            if (!line.startsWith(QStringLiteral("<td")))
                continue;
            const int open = int(line.indexOf(QLatin1Char('>')));
            cells << line.mid(open + 1, line.size() - open - 1 - int(qstrlen("</td>")));
        }
        rows << cells;
    }
    return rows;
}

class ExportCli : public ::testing::Test {
protected:
    void SetUp() override {
        test::isolateSettings();
        cowboy =
            cat.addTitle(QStringLiteral("Cowboy"), QStringLiteral("26"), QStringLiteral("<b>жирный</b>"), 3);
        for (int e = 1; e <= 3; ++e)
            cat.addEpisode(cowboy, {.name = QStringLiteral("c%1.mkv").arg(e),
                                    .size = 536870912.0,
                                    .width = 640,
                                    .height = 480,
                                    .durationMs = 1440000});
        akira = cat.addTitle(QStringLiteral("Akira"), QStringLiteral("1"), QString(), 2);
        cat.addEpisode(akira, {.name = QStringLiteral("Akira.mkv"),
                               .size = 1073741824.0,
                               .width = 1920,
                               .height = 1080,
                               .durationMs = 7440000});
        empty = cat.addTitle(QStringLiteral("Берсерк"));
    }

    QStringList args(const QString &command, const QString &out, const QStringList &more = {}) const {
        return QStringList{QStringLiteral("--catalog"), cat.path(), command, out} + more;
    }
    QString outPath(const QString &name) const { return QDir(dir.path()).filePath(name); }

    test::TempCatalog cat;
    QTemporaryDir dir;
    qint64 cowboy = 0, akira = 0, empty = 0;
};

TEST_F(ExportCli, SummaryPageHasEveryTitleInNameOrderAndTheCatalogTotals) {
    const QString out = outPath(QStringLiteral("AnimeList.html"));
    const ExportRun r = exportCli(args(QStringLiteral("export-html"), out));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QFileInfo(out).absoluteFilePath() + QLatin1Char('\n'));

    const QString page = readText(out);
    EXPECT_TRUE(page.startsWith(QStringLiteral("<html>\r\n<head>\r\n")));
    EXPECT_TRUE(page.endsWith(QStringLiteral("</table>\r\n</body></html>\r\n")));
    EXPECT_EQ(page.count(QStringLiteral("<b>")), 10); // the ten columns, none of the hidden ones
    const QList<QStringList> rows = pageRows(page);
    ASSERT_EQ(rows.size(), 5); // three titles, the separator, the totals
    EXPECT_EQ(rows[0][0], QStringLiteral("Akira"));
    EXPECT_EQ(rows[1][0], QStringLiteral("Cowboy"));
    EXPECT_EQ(rows[1][9], QStringLiteral("&lt;b&gt;жирный&lt;/b&gt;"));
    EXPECT_EQ(rows[2][0], QStringLiteral("Берсерк"));
    EXPECT_EQ(rows[3], QStringList(10, QString()));
    EXPECT_EQ(rows[4][0], QStringLiteral("Всего:  3"));
    EXPECT_EQ(rows[4][2], QStringLiteral("4"));
    EXPECT_TRUE(rows[4][3].endsWith(QStringLiteral(" Gb"))) << rows[4][3].toStdString();
}

TEST_F(ExportCli, SelectionPageKeepsTheGivenOrderAndTheChosenColumns) {
    const QString out = outPath(QStringLiteral("SelAnime.html"));
    const ExportRun r =
        exportCli(args(QStringLiteral("export-html"), out,
                       {QStringLiteral("--selection"), QStringLiteral("%1,%2").arg(cowboy).arg(akira),
                        QStringLiteral("--columns"), QStringLiteral("9,2,0")}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString page = readText(out);
    EXPECT_TRUE(
        page.contains(QStringLiteral("<tr>\r\n<td align=\"Left\" width=\"262\"> <b>Название </b> </td>\r\n"
                                     "<td align=\"Center\" width=\"73\"> <b>Серии </b> </td>\r\n"
                                     "<td align=\"Left\" width=\"186\"> <b>Комментарий </b> </td>\r\n</tr>")))
        << page.toStdString();
    const QList<QStringList> rows = pageRows(page);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("Cowboy"), QStringLiteral("26"),
                                    QStringLiteral("&lt;b&gt;жирный&lt;/b&gt;")}));
    EXPECT_EQ(rows[1], (QStringList{QStringLiteral("Akira"), QStringLiteral("1"), QString()}));
    // The selection's sums: two titles with four files.
    EXPECT_EQ(rows[3], (QStringList{QStringLiteral("Всего:  2"), QStringLiteral("4"), QString()}));
}

// A title named twice is listed once, as the totals count it.
TEST_F(ExportCli, RepeatedSelectionIdsListEachTitleOnce) {
    const QStringList more = {QStringLiteral("--selection"),
                              QStringLiteral("%1,%1,%2").arg(akira).arg(cowboy), QStringLiteral("--columns"),
                              QStringLiteral("0")};
    const QStringList want = {QStringLiteral("Akira"), QStringLiteral("Cowboy"), QStringLiteral("Всего:  2")};
    const QString html = outPath(QStringLiteral("SelAnime.html"));
    ASSERT_EQ(exportCli(args(QStringLiteral("export-html"), html, more)).status, 0);
    QStringList got;
    for (const QStringList &row : pageRows(readText(html)))
        got << row.value(0);
    got.removeAll(QString());
    EXPECT_EQ(got.join('|').toStdString(), want.join('|').toStdString());

    const QString xlsx = outPath(QStringLiteral("sel.xlsx"));
    ASSERT_EQ(exportCli(args(QStringLiteral("export-xlsx"), xlsx, more)).status, 0);
    vqtest::XlsxBook book(xlsx);
    EXPECT_EQ((QStringList{book.text(2, 1), book.text(3, 1), book.text(4, 1)}).join('|').toStdString(),
              want.join('|').toStdString());
}

TEST_F(ExportCli, SelectionWithoutColumnsUsesTheWindowsSavedChoice) {
    {
        const auto s = openSettings();
        for (int n = 0; n < 10; ++n)
            writeBoolSetting(*s, QStringLiteral("SelForm/sl%1").arg(n), n == 0 || n == 4);
    }
    const QString out = outPath(QStringLiteral("SelAnime.html"));
    const ExportRun r = exportCli(
        args(QStringLiteral("export-html"), out, {QStringLiteral("--selection"), QString::number(akira)}));
    {
        const auto s = openSettings();
        s->remove(QStringLiteral("SelForm"));
    }
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QStringList> rows = pageRows(readText(out));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("Akira"), QStringLiteral("02:04:00,000")}));
    EXPECT_EQ(rows[2][1], QStringLiteral("02:04:00,000"));
}

TEST_F(ExportCli, SummarySpreadsheet) {
    const QString out = outPath(QStringLiteral("all.xlsx"));
    const ExportRun r = exportCli(args(QStringLiteral("export-xlsx"), out));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    vqtest::XlsxBook book(out);
    EXPECT_EQ(book.sheetNames(), QStringList{QStringLiteral("Anime List")});
    EXPECT_EQ(book.text(1, 1), QStringLiteral("Название"));
    EXPECT_EQ(book.text(1, 10), QStringLiteral("Комментарий"));
    EXPECT_EQ(int(book.column(1).width), 35); // the file adds the cell padding to the width
    EXPECT_EQ(book.text(2, 1), QStringLiteral("Akira"));
    EXPECT_EQ(book.text(2, 3), QStringLiteral(" 1"));
    EXPECT_EQ(book.text(3, 10), QStringLiteral("<b>жирный</b>"));
    EXPECT_EQ(book.text(4, 3), QStringLiteral(" ")); // no episode count: a single blank
    EXPECT_FALSE(book.hasCell(5, 1) && !book.text(5, 1).isEmpty());
    EXPECT_EQ(book.text(6, 1), QStringLiteral("Всего:  3"));
    EXPECT_EQ(book.text(6, 3), QStringLiteral("4"));
    EXPECT_EQ(book.font(book.rowStyle(6)).rgb, QStringLiteral("800080"));
}

TEST_F(ExportCli, SelectionSpreadsheetWithNoColumnChosenIsEmpty) {
    const QString out = outPath(QStringLiteral("sel.xlsx"));
    const ExportRun r = exportCli(args(
        QStringLiteral("export-xlsx"), out,
        {QStringLiteral("--selection"), QString::number(empty), QStringLiteral("--columns"), QString()}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    vqtest::XlsxBook book(out);
    EXPECT_TRUE(book.filledCells().empty());
}

TEST_F(ExportCli, BadArgumentsAndFailures) {
    QFile blocker(outPath(QStringLiteral("plain-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QDir().mkpath(outPath(QStringLiteral("folder.html")));
    const QString ok = outPath(QStringLiteral("x.html"));
    const QString id = QString::number(akira);
    const struct {
        QStringList args;
        int status;
    } cases[] = {
        {{QStringLiteral("--catalog"), cat.path(), QStringLiteral("export-html")}, 2},
        {args(QStringLiteral("export-html"), ok, {QStringLiteral("second")}), 2},
        {args(QStringLiteral("export-html"), ok, {QStringLiteral("--selection")}), 2},
        {args(QStringLiteral("export-html"), ok, {QStringLiteral("--selection"), QStringLiteral("1,x")}), 2},
        {args(QStringLiteral("export-html"), ok, {QStringLiteral("--selection"), QString()}), 2},
        {args(QStringLiteral("export-xlsx"), ok,
              {QStringLiteral("--selection"), id, QStringLiteral("--columns"), QStringLiteral("10")}),
         2},
        {args(QStringLiteral("export-xlsx"), ok,
              {QStringLiteral("--selection"), id, QStringLiteral("--columns"), QStringLiteral("-1")}),
         2},
        {args(QStringLiteral("export-html"), ok, {QStringLiteral("--columns"), QStringLiteral("1")}), 2},
        {args(QStringLiteral("export-html"), ok, {QStringLiteral("--bogus")}), 2},
        {args(QStringLiteral("export-html"), ok,
              {QStringLiteral("--selection"), QStringLiteral("%1,999").arg(id)}),
         1},
        {args(QStringLiteral("export-html"), outPath(QStringLiteral("plain-file/out.html"))), 1},
        {args(QStringLiteral("export-html"), outPath(QStringLiteral("folder.html"))), 1},
        {args(QStringLiteral("export-xlsx"), outPath(QStringLiteral("plain-file/out.xlsx"))), 1},
        {args(QStringLiteral("export-xlsx"), outPath(QStringLiteral("folder.html")),
              {QStringLiteral("--selection"), id}),
         1},
        {args(QStringLiteral("export-xlsx"), ok,
              {QStringLiteral("--catalog"), outPath(QStringLiteral("none.vdq"))})
             .mid(2),
         1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ExportRun r = exportCli(c.args);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("vidoteq-cli: "))) << r.err.toStdString();
        if (c.status == 1) {
            EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(ok)); // nothing written by a refused call
    const ExportRun blocked =
        exportCli(args(QStringLiteral("export-html"), outPath(QStringLiteral("folder.html"))));
    EXPECT_TRUE(blocked.err.startsWith(QStringLiteral("vidoteq-cli: Не удаётся создать файл \"%1\". ")
                                           .arg(outPath(QStringLiteral("folder.html")))))
        << blocked.err.toStdString();
    EXPECT_TRUE(QFileInfo(outPath(QStringLiteral("folder.html"))).isDir());
}

TEST_F(ExportCli, PagesUseTheWidthsSavedInTheWindow) {
    {
        const auto st = openSettings();
        st->setValue(QStringLiteral("gvsv/s0"), 400);
        st->setValue(QStringLiteral("gv3/s0"), 333);
        st->sync();
    }
    struct Case {
        QStringList more;
        const char *width;
    };
    for (const Case &c :
         {Case{{}, "400"}, Case{{QStringLiteral("--selection"), QString::number(akira)}, "333"}}) {
        const QString out = outPath(QStringLiteral("w.html"));
        const ExportRun r = exportCli(args(QStringLiteral("export-html"), out, c.more));
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QString head =
            QStringLiteral("<td align=\"Left\" width=\"%1\"> <b>Название </b>").arg(QLatin1String(c.width));
        EXPECT_TRUE(readText(out).contains(head)) << c.width;
    }
    const auto st = openSettings();
    st->remove(QStringLiteral("gvsv"));
    st->remove(QStringLiteral("gv3"));
}

} // namespace
