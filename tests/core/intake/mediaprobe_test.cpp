#include "catalog/error.h"
#include "catalog/messages.h"
#include "intake/folderscan.h"
#include "intake/mediaprobe.h"
#include "medialib/libraryprobe.h"
#include "print.h"
#include "support/media.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <sys/stat.h>

using vq::test::Sample;
using vq::test::testMedia;

namespace {

const QString kNa = QStringLiteral("n/a");

// What a probe of another file leaves behind, so that every field can be seen to change.
vq::TVVF previousProbe() {
    vq::TVVF e;
    e.TitleId = 7;
    e.FileName = QStringLiteral("before.avi");
    e.SizeBytes = 111;
    e.DurationMs = 222;
    e.Width = 640;
    e.Height = 480;
    e.SoundId = 3;
    e.SubInId = 4;
    e.SubExtId = 5;
    e.VideoCodec = e.AudioCodec = e.ContainerFormat = QStringLiteral("old");
    e.OverallBitrate = e.VideoBitrate = e.AudioBitrate = e.AudioHz = 999;
    e.AudioStreamCount = 9;
    return e;
}

class ProbeEverySample : public ::testing::TestWithParam<Sample> {};

TEST_P(ProbeEverySample, FieldsMatchWhatWasMade) {
    const vq::test::MediaSample &s = testMedia()[GetParam()];
    SCOPED_TRACE(s.name.toStdString());
    vq::TVVF e = previousProbe();
    vq::ProbePage page;
    vq::OpenAVI(s.name, e, page, s.folder);

    EXPECT_EQ(e.FileName, s.name);
    EXPECT_EQ(e.SizeBytes, s.sizeBytes);
    EXPECT_EQ(e.Width, s.width);
    EXPECT_EQ(e.Height, s.height);
    EXPECT_EQ(e.VideoCodec, s.videoCodec);
    EXPECT_EQ(e.AudioCodec, s.audioCodec);
    EXPECT_EQ(e.ContainerFormat, s.container);
    EXPECT_EQ(e.AudioHz, s.audioHz);
    EXPECT_EQ(e.AudioStreamCount, s.audioStreams);
    // A clip without sound keeps its play time: the library knows it.
    if (s.isMedia && s.durationMs > 0) {
        EXPECT_GE(e.DurationMs, s.durationMs);
        EXPECT_LE(e.DurationMs, s.durationMs + 150);
    } else {
        EXPECT_EQ(e.DurationMs, 0);
    }
    if (s.audioBitrateExact) {
        EXPECT_EQ(e.AudioBitrate, s.audioBitrate);
    } else if (s.audioBitrate > 0) {
        EXPECT_NEAR(e.AudioBitrate, s.audioBitrate, s.audioBitrate / 4);
    } else {
        EXPECT_EQ(e.AudioBitrate, 0);
    }

    const bool fitsIn32Bits = s.durationMs > 0 && s.sizeBytes * 8000 / s.durationMs < 0x7FFFFFFF;
    if (s.isMedia && fitsIn32Bits) {
        const qint64 fromSize = s.sizeBytes * 8000 / s.durationMs;
        EXPECT_NEAR(e.OverallBitrate, fromSize, fromSize / 5);
    } else {
        EXPECT_EQ(e.OverallBitrate, 0);
    }
    if (s.videoBitrateKnown) {
        EXPECT_GT(e.VideoBitrate, 0);
        EXPECT_LT(e.VideoBitrate, e.OverallBitrate);
    } else {
        EXPECT_EQ(e.VideoBitrate, 0);
    }

    // Chosen on the page, not probed.
    EXPECT_EQ(e.TitleId, 7);
    EXPECT_EQ(e.SoundId, 3);
    EXPECT_EQ(e.SubInId, 4);
    EXPECT_EQ(e.SubExtId, 5);

    EXPECT_EQ(page.EName, s.name);
    EXPECT_EQ(page.EWidth, QString::number(s.width));
    EXPECT_EQ(page.EHeigth, QString::number(s.height));
    EXPECT_EQ(page.ECodec, s.videoCodec + QStringLiteral(" || ") + s.audioCodec);
    EXPECT_EQ(page.LSCount, QString::number(s.audioStreams));
    EXPECT_TRUE(page.LRate.endsWith(QStringLiteral("Kbps @ %1KHz").arg(vq::samplingRateText(s.audioHz))))
        << page.LRate.toStdString();
}

std::string sampleName(const ::testing::TestParamInfo<Sample> &info) {
    static const char *const names[] = {"Mkv",      "Mp4",     "Avi",     "Mpg",   "Wmv",    "Mov", "Ogm",
                                        "TwoAudio", "NoAudio", "NoVideo", "Empty", "Random", "Huge"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Media, ProbeEverySample,
                         ::testing::Values(Sample::Mkv, Sample::Mp4, Sample::Avi, Sample::Mpg, Sample::Wmv,
                                           Sample::Mov, Sample::Ogm, Sample::TwoAudio, Sample::NoAudio,
                                           Sample::NoVideo, Sample::Empty, Sample::Random, Sample::Huge),
                         sampleName);

TEST(Probe, PageTexts) {
    const QLocale before;
    QLocale::setDefault(QLocale::c());
    struct Case {
        Sample id;
        QString ELong, EDSize, LRate; // empty: not checked
    };
    const Case cases[] = {
        // Matroska records no bit rates; the play time is the container's.
        {Sample::Mkv, {}, {}, QStringLiteral("0Kbps || 0Kbps @ 44.1KHz")},
        {Sample::NoAudio, QStringLiteral("00:00:01,000"), {}, QStringLiteral("Kbps || 0Kbps @ 0KHz")},
        {Sample::Empty, QStringLiteral("00:00:00,000"), QStringLiteral("  0 "),
         QStringLiteral("0Kbps || 0Kbps @ 0KHz")},
        {Sample::Mov, QStringLiteral("00:00:01,000"), {}, QStringLiteral("Kbps || 128Kbps @ 8KHz")},
        {Sample::Ogm, QStringLiteral("00:00:01,600"), {}, QStringLiteral("Kbps @ 22.1KHz")},
        {Sample::Huge, {}, QStringLiteral("  5 368 721 465 "), {}},
    };
    for (const Case &c : cases) {
        const vq::test::MediaSample &s = testMedia()[c.id];
        SCOPED_TRACE(s.name.toStdString());
        vq::TVVF e;
        vq::ProbePage page;
        vq::OpenAVI(s.name, e, page, s.folder);
        if (!c.ELong.isEmpty()) {
            EXPECT_EQ(page.ELong, c.ELong);
        }
        if (!c.EDSize.isEmpty()) {
            EXPECT_EQ(page.EDSize, c.EDSize);
        }
        if (!c.LRate.isEmpty()) {
            EXPECT_TRUE(page.LRate.endsWith(c.LRate)) << page.LRate.toStdString();
        }
    }
    QLocale::setDefault(before);
}

TEST(Probe, NoPictureMeansNoFrameSize) {
    // Probing a file without video after one with it must not keep the old frame size.
    vq::TVVF e;
    vq::ProbePage page;
    for (Sample id : {Sample::NoVideo, Sample::Empty, Sample::Random}) {
        const vq::test::MediaSample &video = testMedia()[Sample::Avi];
        vq::OpenAVI(video.name, e, page, video.folder);
        ASSERT_EQ(e.Width, 320);
        const vq::test::MediaSample &s = testMedia()[id];
        vq::OpenAVI(s.name, e, page, s.folder);
        EXPECT_EQ(e.Width, 0) << s.name.toStdString();
        EXPECT_EQ(e.Height, 0) << s.name.toStdString();
        EXPECT_EQ(e.VideoCodec, kNa);
        EXPECT_EQ(page.EWidth, QStringLiteral("0"));
    }
}

TEST(Probe, WhatIsNoReadableFileIsNamedWithItsReasonAndLeavesTheRest) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.avi")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.avi"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath(QStringLiteral("to folder.avi"))));
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("nowhere")), dir.filePath(QStringLiteral("dangling.avi"))));
    struct Case {
        const char *name;
        QString message;
    } const cases[] = {
        {"missing.avi", vq::msg::probeNoSuchFile(QStringLiteral("missing.avi"))},
        {"dangling.avi", vq::msg::probeNoSuchFile(QStringLiteral("dangling.avi"))},
        {"folder.avi", vq::msg::probeIsAFolder(QStringLiteral("folder.avi"))},
        {"to folder.avi", vq::msg::probeIsAFolder(QStringLiteral("to folder.avi"))},
        {"pipe.avi", vq::msg::probeNotARegularFile(QStringLiteral("pipe.avi"))},
    };

    const vq::test::MediaSample &s = testMedia()[Sample::Mp4];
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        vq::TVVF e;
        vq::ProbePage page;
        vq::OpenAVI(s.name, e, page, s.folder);
        const vq::TVVF before = e;
        const vq::ProbePage pageBefore = page;
        try {
            vq::OpenAVI(QString::fromUtf8(c.name), e, page, dir.path());
            ADD_FAILURE() << "no error";
        } catch (const vq::Error &err) {
            EXPECT_EQ(err.message(), c.message);
        }
        EXPECT_EQ(e.FileName, QString::fromUtf8(c.name));
        vq::TVVF rest = e;
        rest.FileName = before.FileName;
        EXPECT_EQ(rest, before);
        EXPECT_EQ(page, pageBefore);
    }
}

TEST(Probe, FindsTheListedNameInTheScannedFolder) {
    const QString start = QDir::currentPath();
    const vq::test::MediaSet &media = testMedia();
    const QStringList listed = vq::See(media.mediaFolder, true);
    ASSERT_EQ(listed.size(), media.inFolder(media.mediaFolder).size());
    for (const QString &name : listed) {
        vq::TVVF e;
        vq::ProbePage page;
        EXPECT_NO_THROW(vq::OpenAVI(name, e, page, media.mediaFolder)) << name.toStdString();
        EXPECT_NE(e.ContainerFormat, kNa) << name.toStdString();
    }
    EXPECT_EQ(QDir::currentPath(), start); // the scan named the folder; it did not go there
}

TEST(ParsePlayTime, FixedPositions) {
    struct Case {
        const char *text;
        std::optional<qint32> ms;
    };
    const Case cases[] = {
        {"00:23:40.123", 1420123},
        {"01:02:03.004", 3723004},
        {"00:00:00.000", 0},
        {"99:59:59.999", 359999999},
        {"00x23y40z123", 1420123},      // separators are not looked at
        {"00:00:02.023 (extra)", 2023}, // nor anything after the milliseconds
        {"", std::nullopt},
        {"00:00:02.02", std::nullopt},
        {"0a:00:02.023", std::nullopt},
        {" 1:00:02.023", std::nullopt},
        {"+1:00:02.023", std::nullopt},
        {"00:00:02.-23", std::nullopt},
        {"100:00:00.000", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(vq::ParsePlayTime(QString::fromLatin1(c.text)), c.ms) << c.text;
}

TEST(IntegerText, WholeDecimalNumbersOnly) {
    struct Case {
        const char *text;
        std::optional<qint64> as64;
        std::optional<qint32> as32;
    };
    const Case cases[] = {
        {"44100", 44100, 44100},
        {"-5", -5, -5},
        {"+7", 7, 7},
        {"2147483647", 2147483647, 2147483647},
        {"-2147483648", -2147483648LL, std::numeric_limits<qint32>::min()},
        {"2147483648", 2147483648LL, std::nullopt},
        {"21230683618", 21230683618LL, std::nullopt},
        {"9223372036854775807", std::numeric_limits<qint64>::max(), std::nullopt},
        {"9223372036854775808", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {" 1", std::nullopt, std::nullopt},
        {"1 ", std::nullopt, std::nullopt},
        {"128 kb/s", std::nullopt, std::nullopt},
        {"1.5", std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(vq::parseInt64(QString::fromLatin1(c.text)), c.as64) << c.text;
        EXPECT_EQ(vq::parseInt32(QString::fromLatin1(c.text)), c.as32) << c.text;
    }
}

TEST(RateText, DivisorsAndSamplingRate) {
    const QLocale before;
    QLocale::setDefault(QLocale::c());
    struct Case {
        qint32 video, audio, hz;
        const char *text;
    };
    const Case cases[] = {
        {1500000, 128000, 44100, "1464Kbps || 128Kbps @ 44.1KHz"},
        {1500000, 128000, 48000, "1464Kbps || 128Kbps @ 48KHz"},
        {0, 0, 0, "0Kbps || 0Kbps @ 0KHz"},
        {1023, 999, 8000, "0Kbps || 0Kbps @ 8KHz"},
        {2048, 1999, 22050, "2Kbps || 1Kbps @ 22.1KHz"},
        {0, 0, 11025, "0Kbps || 0Kbps @ 11KHz"},
        {0, 0, 12250, "0Kbps || 0Kbps @ 12.3KHz"},
        {0, 0, 12249, "0Kbps || 0Kbps @ 12.2KHz"},
        {0, 0, 192000, "0Kbps || 0Kbps @ 192KHz"},
        {0, 0, 1999999, "0Kbps || 0Kbps @ 2000KHz"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(vq::rateText(c.video, c.audio, c.hz), QString::fromLatin1(c.text));

    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(vq::samplingRateText(44100), QStringLiteral("44,1"));
    EXPECT_EQ(vq::samplingRateText(8000), QStringLiteral("8"));
    QLocale::setDefault(before);
}

} // namespace
