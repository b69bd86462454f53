#include "catalog/error.h"
#include "intake/folderscan.h"
#include "print.h"
#include "support/rawfiles.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FolderScan : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_before = QDir::currentPath();
    }
    void TearDown() override { QDir::setCurrent(m_before); }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    void touch(const QString &name) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
    }
    void mkdir(const QString &name) const { ASSERT_TRUE(QDir(m_dir.path()).mkpath(name)); }
    QString canonical() const { return QDir(m_dir.path()).canonicalPath(); }

    QTemporaryDir m_dir;
    QString m_before;
};

TEST_F(FolderScan, ListsWhatTheBoxAsksFor) {
    for (const char *f : {"c.txt", "b.mkv", "a.AVI", ".hidden.Mp4", "noext", "mkv", "d.avi~", "e.mp4.part"})
        touch(QString::fromLatin1(f));
    mkdir(QStringLiteral("x"));
    mkdir(QStringLiteral("season.MKV"));

    struct Case {
        bool videoOnly;
        QStringList expected;
    };
    const Case cases[] = {
        {true,
         {QStringLiteral(".hidden.Mp4"), QStringLiteral("a.AVI"), QStringLiteral("b.mkv"),
          QStringLiteral("season.MKV")}},
        {false,
         {QStringLiteral(".hidden.Mp4"), QStringLiteral("a.AVI"), QStringLiteral("b.mkv"),
          QStringLiteral("c.txt"), QStringLiteral("d.avi~"), QStringLiteral("e.mp4.part"),
          QStringLiteral("mkv"), QStringLiteral("noext"), QStringLiteral("season.MKV"), QStringLiteral("x")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.videoOnly ? "box checked" : "box unchecked");
        QStringList got = vq::See(m_dir.path(), c.videoOnly);
        EXPECT_FALSE(got.contains(QStringLiteral(".")));
        EXPECT_FALSE(got.contains(QStringLiteral("..")));
        // The list order is the collator's; compare the set here and the order in its own test.
        QStringList sortedGot = got, sortedWant = c.expected;
        sortedGot.sort();
        sortedWant.sort();
        EXPECT_EQ(sortedGot, sortedWant);
        EXPECT_EQ(QDir::currentPath(), m_before); // dialogs and exports must not follow a scan
    }
}

TEST_F(FolderScan, EveryVideoExtensionInAnyCaseOnce) {
    QStringList made;
    int i = 0;
    for (const char *ext : vq::ExtensionList) {
        QString e = QString::fromLatin1(ext);
        if (i % 3 == 1)
            e = e.toUpper();
        else if (i % 3 == 2 && e.size() > 1)
            e = e.left(1).toUpper() + e.mid(1);
        const QString name = QStringLiteral("f%1.%2").arg(i++, 2, 10, QLatin1Char('0')).arg(e);
        touch(name);
        made << name;
    }
    touch(QStringLiteral("other.mpgx"));
    touch(QStringLiteral("other.rmv"));
    EXPECT_EQ(vq::See(m_dir.path(), true), made); // f00 .. f15 sort in the made order
}

TEST_F(FolderScan, SortsIgnoringLetterCase) {
    for (const char *f : {"b.avi", "C.avi", "Я.avi", "A.avi", "ё.avi", "a2.avi", "Е2.avi"})
        touch(QString::fromUtf8(f));
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QStringList got = vq::See(m_dir.path(), true);
    QLocale::setDefault(before);
    // In a Russian locale Ё is a kind of Е, not a letter after Я, and Cyrillic comes before Latin.
    EXPECT_EQ(got, (QStringList{QString::fromUtf8("ё.avi"), QString::fromUtf8("Е2.avi"),
                                QString::fromUtf8("Я.avi"), QStringLiteral("A.avi"), QStringLiteral("a2.avi"),
                                QStringLiteral("b.avi"), QStringLiteral("C.avi")}));
}

TEST_F(FolderScan, SkipsEntriesThatAreNeitherFilesNorFolders) {
    touch(QStringLiteral("real.avi"));
    mkdir(QStringLiteral("sub"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.avi"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("real.avi")), path(QStringLiteral("link.avi"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("sub")), path(QStringLiteral("linkdir.mkv"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("dangling.avi"))));
    EXPECT_EQ(
        vq::See(m_dir.path(), true),
        (QStringList{QStringLiteral("link.avi"), QStringLiteral("linkdir.mkv"), QStringLiteral("real.avi")}));
}

TEST_F(FolderScan, ListsAFileWhoseSizeLooksLikeTheOldNoSizeMark) {
    // 2^32 - 1 bytes: all bits of the low 32-bit size set.
    QFile f(path(QStringLiteral("big.mkv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(0xFFFFFFFFLL));
    f.close();
    EXPECT_EQ(vq::See(m_dir.path(), true), QStringList{QStringLiteral("big.mkv")});
}

TEST_F(FolderScan, NeverChangesTheCurrentDirectory) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    const QString start = QDir::currentPath();

    EXPECT_TRUE(vq::See(m_dir.path(), true).isEmpty()); // empty folder
    EXPECT_EQ(QDir::currentPath(), start);

    touch(QStringLiteral("c.txt"));
    EXPECT_TRUE(vq::See(m_dir.path(), true).isEmpty()); // nothing that matches
    EXPECT_EQ(QDir::currentPath(), start);

    EXPECT_TRUE(vq::See(path(QStringLiteral("missing")), false).isEmpty()); // cannot be read: no error
    EXPECT_TRUE(vq::See(QString(), false).isEmpty());
    EXPECT_EQ(QDir::currentPath(), start);

    EXPECT_EQ(vq::See(m_dir.path(), false), QStringList{QStringLiteral("c.txt")});
    EXPECT_EQ(QDir::currentPath(), start);
}

TEST_F(FolderScan, AFolderThatCannotBeEnteredIsAnError) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    mkdir(QStringLiteral("locked"));
    touch(QStringLiteral("locked/a.avi"));
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("locked"))).constData(), 0400), 0);
    const QString start = QDir::currentPath();
    EXPECT_THROW(vq::See(path(QStringLiteral("locked")), true), vq::Error);
    EXPECT_EQ(QDir::currentPath(), start);
    ::chmod(QFile::encodeName(path(QStringLiteral("locked"))).constData(), 0700);
}

TEST(FolderPath, OnlyFileSystemPathsAreScanned) {
    EXPECT_TRUE(vq::isScannableFolder(QStringLiteral("/")));
    EXPECT_TRUE(vq::isScannableFolder(QStringLiteral("/home/user/Видео")));
    EXPECT_FALSE(vq::isScannableFolder(QString()));
    EXPECT_FALSE(vq::isScannableFolder(QStringLiteral("Computer")));
    EXPECT_FALSE(vq::isScannableFolder(QStringLiteral("smb://server/share")));
}

} // namespace

namespace {

// QFile would turn a name that is not UTF-8 into another name.
void touchRaw(const QByteArray &path) {
    FILE *f = std::fopen(path.constData(), "wb");
    ASSERT_NE(f, nullptr) << path.toStdString();
    std::fclose(f);
}

// Names from old Windows discs read as Windows-1251; no two names of a folder become one text, not
// even a Windows-1251 name and the UTF-8 name it reads as.
TEST_F(FolderScan, NamesThatAreNotUtf8AreListedAndFoundAgain) {
    const QByteArray root = QFile::encodeName(m_dir.path());
    const struct {
        QByteArray name;
        QString shown;
    } cases[] = {
        {"caf\xE9.avi", QStringLiteral("cafй.avi")},
        {"\xD4\xE8\xED\xE0\xEB 01.mkv", QStringLiteral("Финал 01.mkv")},
        {"\xD1\xE5\xF0\xE8\xFF 01.mkv", QStringLiteral("\\xD1\\xE5\\xF0\\xE8\\xFF 01.mkv")},
        {"Серия 01.mkv", QStringLiteral("Серия 01.mkv")},
        {"\x98\\.avi", QStringLiteral("\u0098\\.avi")},
        {"ok.mkv", QStringLiteral("ok.mkv")},
    };
    std::vector<std::unique_ptr<vq::test::RawFileGuard>> guards;
    for (const auto &c : cases) {
        touchRaw(root + '/' + c.name);
        guards.push_back(std::make_unique<vq::test::RawFileGuard>(root + '/' + c.name));
    }
    QMap<QByteArray, QString> shown;
    for (const vq::ListedFile &f : vq::scanFolder(m_dir.path(), true))
        shown.insert(f.path, f.shown);
    ASSERT_EQ(shown.size(), int(std::size(cases)));
    for (const auto &c : cases)
        EXPECT_EQ(shown.value(root + '/' + c.name).toStdString(), c.shown.toStdString());
    // The text as shown, or as Qt shows it when that is one name only, leads back to the file.
    EXPECT_EQ(vq::findNativePath(m_dir.filePath(QStringLiteral("Финал 01.mkv"))), root + "/" + cases[1].name);
    EXPECT_EQ(vq::findNativePath(m_dir.filePath(QStringLiteral("caf\uFFFD.avi"))),
              root + "/" + cases[0].name);
    EXPECT_TRUE(vq::findNativePath(m_dir.filePath(QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD 01.mkv")))
                    .isEmpty());
    EXPECT_TRUE(vq::findNativePath(m_dir.filePath(QStringLiteral("nothing.mkv"))).isEmpty());
}

TEST_F(FolderScan, SubfoldersFollowTheirFolderInListOrder) {
    for (const char *f :
         {"b.mkv", "A.mkv", "s2/x.mkv", "s1/z.avi", "s1/deep/y.mkv", "s1/note.txt", "S0.mkv/in.mkv"}) {
        const QString name = QString::fromLatin1(f);
        if (name.contains(u'/'))
            mkdir(name.section(u'/', 0, -2));
        touch(name);
    }
    // A link back up the tree is not followed round for ever.
    ASSERT_TRUE(QFile::link(m_dir.path(), path(QStringLiteral("s2/loop"))));
    const QList<vq::ListedFile> listed = vq::scanFolder(m_dir.path(), true, true);
    QStringList shown;
    for (const vq::ListedFile &f : listed) {
        shown << f.shown;
        EXPECT_EQ(f.path, QFile::encodeName(path(f.shown)));
    }
    EXPECT_EQ(shown, (QStringList{"A.mkv", "b.mkv", "S0.mkv", "S0.mkv/in.mkv", "s1/z.avi", "s1/deep/y.mkv",
                                  "s2/x.mkv"}));
    // Without the box every entry, folders too, each followed by what it holds.
    const QList<vq::ListedFile> all = vq::scanFolder(path(QStringLiteral("s1")), false, true);
    QStringList allShown;
    for (const vq::ListedFile &f : all)
        allShown << f.shown;
    EXPECT_EQ(allShown, (QStringList{"deep", "note.txt", "z.avi", "deep/y.mkv"}));
}

} // namespace
