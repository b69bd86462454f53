#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "ops/intakesession.h"
#include "ops/titleops.h"
#include "support/temp_catalog.h"

#include <functional>
#include <gtest/gtest.h>

using namespace vq;
using vq::test::TempCatalog;

namespace {

class IntakeSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        vq::test::isolateSettings();
        akira = cat.addTitle(QStringLiteral("Akira"));
        s.open(cat.path());
        choice.soundId = 0;
        choice.subInId = 1;
        choice.subExtId = 2;
    }
    TVVF probed(const QString &name) {
        TVVF e;
        e.FileName = name;
        e.SizeBytes = 1000;
        e.VideoCodec = QStringLiteral("AVC");
        e.AudioCodec = QStringLiteral("AAC");
        e.ContainerFormat = QStringLiteral("Matroska");
        return e;
    }
    QString episodes() {
        return cat.scalar(
            QStringLiteral("SELECT group_concat(\"Название\" || '|' || \"Серия\") FROM \"Серии\""));
    }

    TempCatalog cat;
    CatalogSession s;
    StoreChoice choice;
    qint64 akira = 0;
};

TEST_F(IntakeSessionTest, StoreOneRefusesWithoutATitleOrAFile) {
    struct Case {
        const char *name;
        std::function<void(ops::IntakeSession &)> setUp;
        QString message;
    } const cases[] = {
        {"no title chosen", [&](ops::IntakeSession &in) { in.record() = probed(QStringLiteral("a.mkv")); },
         msg::intakeNoTitleChosen()},
        {"the chosen title was deleted",
         [&](ops::IntakeSession &in) {
             const qint64 gone = ops::addTitle(s, QStringLiteral("Gone"));
             in.record() = probed(QStringLiteral("a.mkv"));
             in.chooseTitle(gone);
             ops::deleteTitle(s, gone);
         },
         msg::intakeNoTitleChosen()},
        {"another catalog since",
         [&](ops::IntakeSession &in) {
             in.record() = probed(QStringLiteral("a.mkv"));
             in.chooseTitle(akira);
             in.catalogChanged();
         },
         msg::intakeNoTitleChosen()},
        {"no file probed", [&](ops::IntakeSession &in) { in.chooseTitle(akira); }, msg::intakeNoFileProbed()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ops::IntakeSession in(s);
        c.setUp(in);
        try {
            in.storeOne(choice);
            ADD_FAILURE() << "stored";
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(episodes(), QString());
    }
    // The sound case: the probed file goes to the chosen title, and the session forgets both when
    // another catalog comes.
    ops::IntakeSession in(s);
    in.record() = probed(QStringLiteral("a.mkv"));
    in.chooseTitle(akira);
    in.storeOne(choice);
    EXPECT_EQ(episodes(), QStringLiteral("%1|a.mkv").arg(akira));
    in.catalogChanged();
    EXPECT_EQ(in.chosenTitle(), 0);
    EXPECT_FALSE(in.hasRecord());
}

} // namespace
