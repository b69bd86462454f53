#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "gridview/griddata.h"
#include "import/listimport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vq;

namespace {

// A stand-in for the summary grid: ten columns of distinct widths (the test links no browser).
void setupSummary(GridData &summary) {
    summary.ClearColumns();
    for (int c = 0; c < 10; ++c)
        summary.AddTextColumn(QString::number(c)).SetWidth(50 + 10 * c);
}

struct Title {
    QString name;
    qint64 type;
    QString episodes;
    QString comment;
    bool episodesNull;
};

// A starter catalog in a temporary folder with its session open.
class ImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("list.vdq"));
        Catalog::createStarter(m_path);
        m_session.open(m_path);
        setupSummary(m_summary);
    }

    ImportResult import(const QStringList &lines, const WizardChecks &checks, int firstRow = 0) {
        buildPreview(m_preview, checks, m_summary, lines);
        return importPreviewRows(m_session, m_preview, checks, firstRow);
    }

    // Titles in the order they were added.
    std::vector<Title> titles() {
        std::vector<Title> out;
        DataSet &n = m_session.Name;
        n.setFiltered(false);
        n.setSort(QString());
        for (int r = 1; r <= n.recordCount(); ++r) {
            n.setRecNo(r);
            out.push_back({n.asString(QStringLiteral("Название")), n.asInteger(QStringLiteral("NType")),
                           n.asString(QStringLiteral("Количество серий")),
                           n.asString(QStringLiteral("Комментарий")),
                           n.isNull(QStringLiteral("Количество серий"))});
        }
        n.setSort(CatalogSession::titleSort());
        return out;
    }

    QStringList row(int r) const {
        QStringList cells;
        for (int c = 0; c < m_preview.ColumnCount(); ++c)
            cells << m_preview.GetCellText(c, r);
        return cells;
    }

    QTemporaryDir m_dir;
    QString m_path;
    CatalogSession m_session;
    GridData m_summary;
    GridData m_preview;
};

WizardChecks checksOf(std::initializer_list<int> items) {
    WizardChecks c{};
    for (int i : items)
        c[size_t(i)] = true;
    return c;
}

const QString kTab = QStringLiteral("\t");

} // namespace

TEST(ListImportRules, TypeAndEpisodesCell) {
    struct Case {
        const char *cell;
        int type;
        const char *episodes;
    } const cases[] = {
        {"TV26", 3, "26"},
        {"OVA", 1, "1"},
        {"Movie", 2, "1"},
        {"TV 26", 3, " 26"},
        {"Special 3", 4, "Special 3"},
        {"", 4, ""},
        {"O", 1, "1"},
        {"OVA2", 1, "2"},
        {"Movie 3", 2, " 3"},
        {"tv12", 4, "tv12"},
        {"Т12", 4, "Т12"}, // Cyrillic Т is no T
    };
    for (const Case &c : cases) {
        const TypeAndEpisodes te = splitTypeAndEpisodes(QString::fromUtf8(c.cell));
        EXPECT_EQ(te.type, c.type) << c.cell;
        EXPECT_EQ(te.episodes, QString::fromUtf8(c.episodes)) << c.cell;
    }
}

TEST(ListImportRules, TypeByFirstLetter) {
    EXPECT_EQ(typeFromText(QStringLiteral("Movie")), 2);
    EXPECT_EQ(typeFromText(QStringLiteral("OVA")), 1);
    EXPECT_EQ(typeFromText(QStringLiteral("TV")), 3);
    EXPECT_EQ(typeFromText(QStringLiteral("ova")), 4);
    EXPECT_EQ(typeFromText(QStringLiteral(" TV")), 4);
    EXPECT_FALSE(typeFromText(QString()).has_value());
}

TEST(ListImportRules, CheckRuleAndDefaults) {
    EXPECT_EQ(defaultWizardChecks(), checksOf({0, 1, 2, 4}));
    WizardChecks c = checksOf({0, 1, 2, 3, 4});
    applyCheckRule(c);
    EXPECT_EQ(c, checksOf({0, 3, 4}));
    c = checksOf({1, 2});
    applyCheckRule(c);
    EXPECT_EQ(c, checksOf({1, 2}));
    EXPECT_EQ(wizardItemTexts().size(), 5);
    EXPECT_EQ(wizardItemTexts().at(3), QStringLiteral("Тип и Серии (если в одном поле)"));
}

TEST(ListImportText, LineSplitting) {
    struct Case {
        const char *text;
        QStringList lines;
    } const cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\n", {"one"}},
        {"\n", {""}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\nb\r\n\r\n", {"a", "", "b", ""}},
        {"a\n\rb", {"a", "", "b"}}, // LF then CR are two breaks
        {"a\r\r\nb", {"a", "", "b"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(splitListLines(QString::fromUtf8(c.text)), c.lines) << c.text;
}

TEST(ListImportText, Decoding) {
    const QString russian = QStringLiteral("Ёлка\tTV12");
    // UTF-8, UTF-8 with a byte-order mark, and the same text in Windows-1251.
    EXPECT_EQ(decodeListText(russian.toUtf8()), russian);
    EXPECT_EQ(decodeListText("\xEF\xBB\xBF" + russian.toUtf8()), russian);
    const QByteArray cp1251("\xA8\xEB\xEA\xE0\tTV12");
    EXPECT_EQ(decodeListText(cp1251), russian);
    EXPECT_EQ(decodeListText(QByteArray("\xC0\xED\xE8\xEC\xE5")), QStringLiteral("Аниме"));
    EXPECT_EQ(decodeListText(QByteArray()), QString());
}

TEST(ListImportText, EveryEncodingOfAList) {
    const QString one = QStringLiteral("Ёлка\tTV12"), two = QStringLiteral("Берсерк\tOVA");
    auto utf16 = [](const QString &text, bool bigEndian) {
        QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
        for (QChar ch : text) {
            const char hi = char(ch.unicode() >> 8), lo = char(ch.unicode() & 0xFF);
            out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
        }
        return out;
    };
    const QString text = one + QStringLiteral("\r\n") + two + QStringLiteral("\r\n");
    struct Case {
        const char *what;
        QByteArray bytes;
        QStringList lines;
    } const cases[] = {
        {"UTF-16 LE", utf16(text, false), {one, two}},
        {"UTF-16 BE", utf16(text, true), {one, two}},
        {"UTF-8 and Windows-1251 lines", one.toUtf8() + "\n\xC1\xE5\xF0\xF1\xE5\xF0\xEA\tOVA\n", {one, two}},
        {"Windows-1251 throughout",
         "\xA8\xEB\xEA\xE0\tTV12\r\n\xC1\xE5\xF0\xF1\xE5\xF0\xEA\tOVA",
         {one, two}},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text.toUtf8(), {one, two}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(decodeListLines(c.bytes), c.lines);
    }
    EXPECT_EQ(decodeListText(utf16(one, false)), one);

    // What no encoding makes a title of is refused, naming the line.
    struct Refused {
        const char *what;
        QByteArray bytes;
        QString message;
    } const refused[] = {
        {"a NUL byte", QByteArray("A\tTV\nB\0\tTV\n", 11), vq::msg::listNulByte(2)},
        {"UTF-16 without its mark", utf16(one, false).mid(2), vq::msg::listNulByte(1)},
        {"a NUL character in UTF-16", utf16(QStringLiteral("A\nB") + QChar(u'\0'), true),
         vq::msg::listNulByte(2)},
        {"a byte Windows-1251 does not have", "A\n\xC0\x98\n", vq::msg::listUndecodableLine(2)},
        {"UTF-16 cut in half", utf16(one, false) + "x", vq::msg::listOddUtf16Length()},
    };
    for (const Refused &r : refused) {
        SCOPED_TRACE(r.what);
        try {
            decodeListLines(r.bytes);
            ADD_FAILURE() << "decoded";
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), r.message);
        }
    }
}

TEST(ListImportText, ReadingFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xC1\xE5\xF0\xF1\xE5\xF0\xEA\tTV25\r\n\xCC\xEE\xED\xF1\xF2\xF0\tTV74\r\n");
    f.close();
    EXPECT_EQ(readListFile(path),
              (QStringList{QStringLiteral("Берсерк\tTV25"), QStringLiteral("Монстр\tTV74")}));
    try {
        readListFile(dir.filePath(QStringLiteral("missing.txt")));
        FAIL() << "a missing file was read";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("missing.txt")));
    }
}

TEST(ListImportPreview, ColumnsAndWidths) {
    GridData summary, preview;
    setupSummary(summary);
    summary.Column(0).SetWidth(200);
    summary.Column(1).SetWidth(40);
    summary.Column(2).SetWidth(30);
    summary.Column(9).SetWidth(150);
    buildPreview(preview, checksOf({0, 1, 2, 4}), summary, {});
    ASSERT_EQ(preview.ColumnCount(), 4);
    const int widths4[] = {200, 40, 30, 150};
    const char *captions4[] = {"Название", "Тип", "Серии", "Комментарий"};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(preview.Column(c).Width(), widths4[c]);
        EXPECT_EQ(preview.Column(c).Caption(), QString::fromUtf8(captions4[c]));
    }
    buildPreview(preview, checksOf({0, 3, 4}), summary, {});
    ASSERT_EQ(preview.ColumnCount(), 3);
    EXPECT_EQ(preview.Column(1).Caption(), QStringLiteral("Тип и Серии"));
    EXPECT_EQ(preview.Column(1).Width(), 70);
}

TEST_F(ImportTest, PreviewFillCases) {
    struct Case {
        const char *name;
        WizardChecks checks;
        QStringList lines;
        std::vector<QStringList> rows;
    } const cases[] = {
        {"one line", checksOf({0, 1, 2, 4}), {"A\tTV\t12\tnote"}, {{"A", "TV", "12", "note"}}},
        {"empty file", checksOf({0, 1, 2, 4}), {}, {}},
        {"short second line",
         checksOf({0, 1, 2}),
         {"A\tTV\t12", "B\tOVA"},
         {{"A", "TV", "12"}, {"B", "OVA", ""}}},
        {"first line without a tab",
         checksOf({0, 4}),
         {"Solo", "B\tnote", "C\tx\ty"},
         {{"Solo", ""}, {"B", ""}, {"C", ""}}},
        {"fields beyond the columns", checksOf({0}), {"A\tB", "C\tD\tE"}, {{"A"}, {"C"}}},
        {"spaces and quotes kept", checksOf({0, 4}), {" \"A\" \t b ", "\t"}, {{" \"A\" ", " b "}, {"", ""}}},
        {"no item checked", checksOf({}), {"A\tB", "C"}, {{}, {}}},
        {"empty lines kept", checksOf({0, 1}), {"A\tTV", "", "B"}, {{"A", "TV"}, {"", ""}, {"B", ""}}},
    };
    for (const Case &c : cases) {
        buildPreview(m_preview, c.checks, m_summary, c.lines);
        ASSERT_EQ(m_preview.RowCount(), int(c.rows.size())) << c.name;
        for (size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(row(int(r)), c.rows[r]) << c.name << " row " << r;
    }
}

TEST_F(ImportTest, RebuildStartsEmpty) {
    const QStringList lines = {QStringLiteral("A\tTV\t12"), QStringLiteral("B\tOVA\t2")};
    buildPreview(m_preview, defaultWizardChecks(), m_summary, lines);
    buildPreview(m_preview, defaultWizardChecks(), m_summary, lines);
    EXPECT_EQ(m_preview.RowCount(), 2);
    const ImportResult r = importPreviewRows(m_session, m_preview, defaultWizardChecks());
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(titles().size(), 2u);
}

TEST_F(ImportTest, WrittenFields) {
    struct Case {
        const char *name;
        WizardChecks checks;
        QStringList lines;
        std::vector<Title> expected;
    } const cases[] = {
        {"title, type, episodes, comment",
         checksOf({0, 1, 2, 4}),
         {"A\tTV\t12\tfine", "B\tOVA", "C\tMovie\t1", "D\tSpecial\t3\tx"},
         {{"A", 3, "12", "fine", false},
          {"B", 1, "", "", false},
          {"C", 2, "1", "", false},
          {"D", 4, "3", "x", false}}},
        {"empty type leaves NType unset", checksOf({0, 1, 2}), {"A\t\t5"}, {{"A", 0, "5", "", false}}},
        {"no item checked: a title of type 4 per line",
         checksOf({}),
         {"A\tB", "C"},
         {{"", 4, "", "", false}, {"", 4, "", "", false}}},
        {"type unchecked gives 4", checksOf({0, 2}), {"A\t5"}, {{"A", 4, "5", "", false}}},
        {"type and episodes in one field",
         checksOf({0, 3, 4}),
         {"X\tMovie\tnote", "Y\tTV26", "Z", "W\tTV 26"},
         {{"X", 2, "1", "note", false},
          {"Y", 3, "26", "", false},
          {"Z", 4, "", "", false},
          {"W", 3, " 26", "", false}}},
        {"an empty line is a title too",
         checksOf({0, 1, 2, 4}),
         {"A\tTV\t1", ""},
         {{"A", 3, "1", "", false}, {"", 0, "", "", false}}},
    };
    for (const Case &c : cases) {
        m_session.catalog().deleteAllTitles();
        const ImportResult r = import(c.lines, c.checks);
        ASSERT_TRUE(r.ok()) << c.name << ": " << r.error.toStdString();
        EXPECT_EQ(r.imported, int(c.lines.size())) << c.name;
        const std::vector<Title> got = titles();
        ASSERT_EQ(got.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].name, c.expected[i].name) << c.name << " #" << i;
            EXPECT_EQ(got[i].type, c.expected[i].type) << c.name << " #" << i;
            EXPECT_EQ(got[i].episodes, c.expected[i].episodes) << c.name << " #" << i;
            EXPECT_EQ(got[i].comment, c.expected[i].comment) << c.name << " #" << i;
        }
    }
}

TEST_F(ImportTest, RefusedRowKeepsTheRowsBeforeIt) {
    const QString tooLong(300, u'x');
    const QStringList lines = {QStringLiteral("A\tTV\t1"), QStringLiteral("B\tTV\t2"),
                               tooLong + kTab + "TV\t3", QStringLiteral("D\tTV\t4")};
    int progressCalls = 0;
    buildPreview(m_preview, defaultWizardChecks(), m_summary, lines);
    const ImportResult r =
        importPreviewRows(m_session, m_preview, defaultWizardChecks(), 0, [&](int, int) { ++progressCalls; });
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failedRow, 2);
    EXPECT_EQ(r.imported, 2);
    EXPECT_EQ(progressCalls, 2);
    EXPECT_TRUE(r.error.contains(QStringLiteral("Название"))) << r.error.toStdString();
    const QString message = refusedRowMessage(r.failedRow + 1, r.imported, r.error);
    EXPECT_TRUE(message.contains(QStringLiteral("Строку 3"))) << message.toStdString();

    // The rows before the refused one are in the file, not only in memory.
    {
        CatalogSession other;
        other.open(m_path);
        EXPECT_EQ(other.Name.recordCount(), 2);
    }
    // The rest, the refused row mended, goes in after them; nothing comes twice.
    m_preview.SetCellText(0, 2, QStringLiteral("C"));
    const ImportResult rest = importPreviewRows(m_session, m_preview, defaultWizardChecks(), r.failedRow);
    EXPECT_TRUE(rest.ok());
    EXPECT_EQ(rest.imported, 2);
    QStringList names;
    for (const Title &t : titles())
        names << t.name;
    EXPECT_EQ(names, (QStringList{"A", "B", "C", "D"}));
}

TEST_F(ImportTest, VeryLongLineIsRefusedClearly) {
    const QString line = QString(100000, u'я') + kTab + QStringLiteral("TV");
    const ImportResult r = import({line}, checksOf({0, 1}));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failedRow, 0);
    EXPECT_TRUE(r.error.contains(QStringLiteral("255")));
    EXPECT_TRUE(titles().empty());
    EXPECT_EQ(m_preview.GetCellText(0, 0).size(), 100000);
    // A long comment-free line within the limit goes in whole.
    const ImportResult ok = import({QString(255, u'я')}, checksOf({0}));
    EXPECT_TRUE(ok.ok());
    ASSERT_EQ(titles().size(), 1u);
    EXPECT_EQ(titles()[0].name.size(), 255);
}

TEST_F(ImportTest, RandomBytesNeverCrash) {
    QRandomGenerator rng(12345);
    for (int round = 0; round < 20; ++round) {
        QByteArray bytes(int(rng.bounded(1, 4000)), '\0');
        for (char &b : bytes)
            b = char(rng.bounded(256));
        const QStringList lines = splitListLines(decodeListText(bytes));
        buildPreview(m_preview, defaultWizardChecks(), m_summary, lines);
        EXPECT_EQ(m_preview.RowCount(), lines.size());
        const int before = int(titles().size());
        const ImportResult r = importPreviewRows(m_session, m_preview, defaultWizardChecks());
        // Either every row went in or the import stopped at a named row with the rows before it kept.
        EXPECT_EQ(int(titles().size()), before + r.imported);
        EXPECT_EQ(r.ok(), r.error.isEmpty());
    }
}

TEST_F(ImportTest, EmptyPreviewWritesNothing) {
    const ImportResult r = import({}, defaultWizardChecks());
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.imported, 0);
    EXPECT_TRUE(titles().empty());
}
