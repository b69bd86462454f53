#include "catalog/messages.h"
#include "catalog/settings.h"
#include "intake/mediaprobe.h"
#include "intake/probepool.h"
#include "intake/probewire.h"
#include "medialib/libraryprobe.h"
#include "print.h"
#include "support/media.h"
#include "support/rawfiles.h"
#include "support/temp_catalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

using vq::ProbeResult;
using vq::ProbeStatus;
using vq::test::Sample;
using vq::test::testMedia;

namespace {

QString doubleProgram() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vq_probe_double"));
}

// Probes every path through `pool` and waits for all the answers.
QList<ProbeResult> probeAll(vq::ProbePool &pool, const QList<QByteArray> &paths, int timeoutMs = 60000) {
    QList<ProbeResult> results(paths.size());
    int left = int(paths.size());
    QEventLoop loop;
    for (int i = 0; i < paths.size(); ++i)
        pool.probe(paths[i], [&, i](const ProbeResult &r) {
            results[i] = r;
            if (--left == 0)
                loop.quit();
        });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (left > 0)
        loop.exec();
    EXPECT_EQ(left, 0) << "answers missing";
    return results;
}

QByteArray native(const QString &path) {
    return QFile::encodeName(path);
}

// QFile would turn a name that is not UTF-8 into another name.
bool copyRaw(const QString &from, const QByteArray &to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    FILE *out = std::fopen(to.constData(), "wb");
    if (!out)
        return false;
    const bool ok = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) == size_t(bytes.size());
    return std::fclose(out) == 0 && ok;
}

TEST(ProbeWorkers, AnswerAsTheProbeInThisProcessOnEveryFile) {
    vq::ProbePool pool;
    EXPECT_GE(pool.workerCount(), 2);
    QList<QByteArray> paths;
    for (const vq::test::MediaSample &s : testMedia().samples)
        paths << native(s.path);
    const QList<ProbeResult> results = probeAll(pool, paths);
    for (int i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(testMedia().samples[i].name.toStdString());
        const ProbeResult here = vq::probeMedia(paths[i]);
        EXPECT_TRUE(here.ok());
        EXPECT_EQ(results[i], here);
    }
}

TEST(ProbeWorkers, TheWireKeepsEveryField) {
    ProbeResult r;
    r.media.SizeBytes = (qint64(1) << 60) + 3; // more than a JSON number keeps exactly
    r.media.DurationMs = 359999999;
    r.media.Width = 1920;
    r.media.Height = 1080;
    r.media.VideoCodec = QStringLiteral("V_MPEG4/ISO/AVC");
    r.media.AudioCodec = QStringLiteral("Vorbis\n\t\"");
    r.media.ContainerFormat = QStringLiteral("Matroska");
    r.media.OverallBitrate = -1;
    r.media.VideoBitrate = 2147483647;
    r.media.AudioBitrate = 128000;
    r.media.AudioHz = 44100;
    r.media.AudioStreamCount = 255;
    r.detail = QStringLiteral("причина");
    const QByteArray line = vq::encodeProbeAnswer(r);
    EXPECT_EQ(line.count('\n'), 1);
    EXPECT_EQ(vq::decodeProbeAnswer(line.trimmed()), r);
    EXPECT_FALSE(vq::decodeProbeAnswer("{\"status\": 99}").has_value());
    EXPECT_FALSE(vq::decodeProbeAnswer("not json").has_value());
    // Any byte of a name survives the trip, a line break too.
    const QByteArray odd("/tmp/a\nb\xE9\xFF.mkv");
    const QByteArray request = vq::encodeProbeRequest(odd);
    EXPECT_EQ(request.count('\n'), 1);
    EXPECT_EQ(vq::decodeProbeRequest(request), odd);
}

TEST(ProbeWorkers, AHangOrACrashCostsOneFileAndTheWorkerComesBack) {
    QTemporaryDir dir;
    const vq::test::MediaSample &clip = testMedia()[Sample::Mkv];
    auto copy = [&](const QString &name) {
        EXPECT_TRUE(QFile::copy(clip.path, dir.filePath(name)));
        return native(dir.filePath(name));
    };
    const QList<QByteArray> paths = {copy(QStringLiteral("a.mkv")),      copy(QStringLiteral("hang.mkv")),
                                     copy(QStringLiteral("b.mkv")),      copy(QStringLiteral("crash.mkv")),
                                     copy(QStringLiteral("garble.mkv")), copy(QStringLiteral("c.mkv"))};
    // One worker: every file after a bad one is answered by a restarted worker.
    vq::ProbePool pool(vq::ProbePool::Options{doubleProgram(), 1, 1000});
    QElapsedTimer t;
    t.start();
    const QList<ProbeResult> r = probeAll(pool, paths);
    EXPECT_GE(t.elapsed(), 1000);
    const ProbeResult good = vq::probeMedia(paths[0]);
    EXPECT_EQ(r[0], good);
    EXPECT_EQ(r[1].status, ProbeStatus::TimeLimit);
    EXPECT_EQ(vq::probeFailureMessage(QStringLiteral("hang.mkv"), r[1]),
              vq::msg::probeTimeLimit(QStringLiteral("hang.mkv"), 1));
    EXPECT_EQ(r[2], good);
    EXPECT_EQ(r[3].status, ProbeStatus::Crashed);
    EXPECT_TRUE(
        vq::probeFailureMessage(QStringLiteral("crash.mkv"), r[3]).startsWith(QStringLiteral("crash.mkv: ")));
    EXPECT_EQ(r[4].status, ProbeStatus::Crashed);
    EXPECT_EQ(r[5], good);
    EXPECT_EQ(pool.pending(), 0);
}

TEST(ProbeWorkers, AWorkerLostWithManyFilesInHandGivesThemBack) {
    // Quick answers give each worker many files ahead; the ones behind a file that hangs or crashes
    // are probed again by the restarted worker, each answered once.
    QTemporaryDir dir;
    const vq::test::MediaSample &clip = testMedia()[Sample::Mkv];
    struct Case {
        const char *bad;
        ProbeStatus status;
    };
    for (const Case &c :
         {Case{"crash.mkv", ProbeStatus::Crashed}, Case{"hang.mkv", ProbeStatus::TimeLimit}}) {
        SCOPED_TRACE(c.bad);
        QList<QByteArray> paths;
        for (int i = 0; i < 60; ++i) {
            const QString name = i == 30 ? QString::fromLatin1(c.bad) : QStringLiteral("%1.mkv").arg(i);
            if (!QFileInfo::exists(dir.filePath(name))) {
                ASSERT_TRUE(QFile::copy(clip.path, dir.filePath(name)));
            }
            paths << native(dir.filePath(name));
        }
        vq::ProbePool pool(vq::ProbePool::Options{doubleProgram(), 1, 1000});
        QList<int> calls(paths.size(), 0);
        QList<ProbeResult> results(paths.size());
        int left = int(paths.size());
        QEventLoop loop;
        for (int i = 0; i < paths.size(); ++i)
            pool.probe(paths[i], [&, i](const ProbeResult &r) {
                ++calls[i];
                results[i] = r;
                if (--left == 0)
                    QTimer::singleShot(300, &loop, &QEventLoop::quit); // room for an answer too many
            });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_EQ(calls, QList<int>(paths.size(), 1));
        const ProbeResult good = vq::probeMedia(paths[0]);
        for (int i = 0; i < paths.size(); ++i) {
            if (i == 30)
                EXPECT_EQ(results[i].status, c.status);
            else
                EXPECT_EQ(results[i], good) << i;
        }
        EXPECT_EQ(pool.pending(), 0);
    }
}

TEST(ProbeWorkers, AClickedFileWaitsForFewOfTheFilesQueuedBeforeIt) {
    QTemporaryDir dir;
    const vq::test::MediaSample &clip = testMedia()[Sample::Mkv];
    ASSERT_TRUE(QFile::copy(clip.path, dir.filePath(QStringLiteral("a.mkv"))));
    const QByteArray path = native(dir.filePath(QStringLiteral("a.mkv")));
    vq::ProbePool pool(vq::ProbePool::Options{QString(), 2, 30000});
    constexpr int kQueued = 400;
    int answered = 0, beforeClick = -1, atClick = -1;
    QEventLoop loop;
    for (int i = 0; i < kQueued; ++i)
        pool.probe(path, [&](const ProbeResult &) {
            if (++answered == 40) {
                // The workers have their pace by now and hold files ahead: the click goes first in
                // the queue and waits only for those.
                atClick = answered;
                pool.probe(
                    path, [&](const ProbeResult &) { beforeClick = answered; }, /*urgent=*/true);
            }
            if (answered == kQueued)
                loop.quit();
        });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_GE(beforeClick, atClick);
    // Two workers hold at most 16 files each, and while the one given the click works through its
    // own the other goes on answering: how many that is depends on the machine's pace. A click that
    // queued behind the rest would wait for all 360.
    EXPECT_LE(beforeClick - atClick, (kQueued - atClick) / 4);
    EXPECT_EQ(answered, kQueued);
}

TEST(ProbeWorkers, AbandonedProbesAreNeverAnswered) {
    QTemporaryDir dir;
    for (const char *name : {"hang 1.mkv", "hang 2.mkv", "ok.mkv"})
        ASSERT_TRUE(QFile::copy(testMedia()[Sample::Mkv].path, dir.filePath(QString::fromUtf8(name))));
    vq::ProbePool pool(vq::ProbePool::Options{doubleProgram(), 2, 60000});
    int answered = 0;
    std::vector<quint64> tickets;
    for (const char *name : {"hang 1.mkv", "hang 2.mkv", "ok.mkv"})
        tickets.push_back(pool.probe(native(dir.filePath(QString::fromUtf8(name))),
                                     [&](const ProbeResult &) { ++answered; }));
    QTest::qWait(300); // both workers are in hand with a hang, the third file queued
    EXPECT_EQ(pool.pending(), 3);
    pool.abandon(tickets);
    EXPECT_EQ(pool.pending(), 0);
    // The workers are free again at once.
    const QList<ProbeResult> after = probeAll(pool, {native(dir.filePath(QStringLiteral("ok.mkv")))}, 10000);
    EXPECT_TRUE(after[0].ok());
    EXPECT_EQ(answered, 0);
}

TEST(ProbeWorkers, AMissingProgramIsOneClearAnswer) {
    vq::ProbePool pool(vq::ProbePool::Options{QStringLiteral("/nonexistent/vidoteq-probe"), 2, 5000});
    const QList<ProbeResult> r = probeAll(pool, {native(testMedia()[Sample::Mkv].path)}, 10000);
    EXPECT_EQ(r[0].status, ProbeStatus::WorkerMissing);
    EXPECT_TRUE(r[0].detail.contains(QStringLiteral("/nonexistent/vidoteq-probe")))
        << r[0].detail.toStdString();
}

// The setting in seconds becomes milliseconds of an int: a value that would overflow them is taken as
// the longest limit, and the pool says so.
TEST(ProbeWorkers, TheTimeLimitSettingIsClamped) {
    vq::test::isolateSettings();
    const struct {
        const char *written;
        int seconds;
        bool noted;
    } cases[] = {
        {"45", 45, false},        {"0", 1, true},           {"-5", 1, true},
        {"2147484", 86400, true}, {"4294968", 86400, true}, {"99999999999999999999", 86400, true},
        {"soon", 30, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.written);
        vq::openSettings()->setValue(QStringLiteral("Intake/ProbeTimeLimit"), QString::fromUtf8(c.written));
        const vq::ProbePool pool;
        EXPECT_EQ(pool.timeLimitMs(), c.seconds * 1000);
        EXPECT_EQ(pool.timeLimitNote().contains(QString::fromUtf8(c.written)), c.noted)
            << pool.timeLimitNote().toStdString();
    }
    vq::openSettings()->remove(QStringLiteral("Intake/ProbeTimeLimit"));
}

TEST(ParseDepth, TheChosenDepthAnswersAsTheDefaultOnEveryContainer) {
    const QStringList keep = vq::containersAtDefaultDepth();
    for (const vq::test::MediaSample &s : testMedia().samples) {
        SCOPED_TRACE(s.name.toStdString());
        const QByteArray path = native(s.path);
        // Each depth twice, interleaved: the setting must not leak from one probe into the next.
        const ProbeResult byDefault = vq::probeMedia(path, vq::ParseDepth::LibraryDefault);
        const ProbeResult fastest = vq::probeMedia(path, vq::ParseDepth::Fastest);
        const ProbeResult chosen = vq::probeMedia(path, vq::ParseDepth::Chosen);
        EXPECT_EQ(vq::probeMedia(path, vq::ParseDepth::LibraryDefault), byDefault);
        EXPECT_EQ(chosen, byDefault);
        // A container made here that reads differently at the least depth belongs on the list.
        if (!keep.contains(byDefault.media.ContainerFormat)) {
            EXPECT_EQ(fastest, byDefault) << "add " << byDefault.media.ContainerFormat.toStdString()
                                          << " to the containers read at the default depth";
        }
    }
}

TEST(ProbeFiles, NamesThatAreNotUtf8AreProbed) {
    QTemporaryDir dir;
    const QByteArray folder = native(dir.path());
    const vq::test::MediaSample &clip = testMedia()[Sample::Avi];
    // Latin-1 "café" and Windows-1251 "Аниме".
    for (const QByteArray &name : {QByteArray("caf\xE9.avi"), QByteArray("\xC0\xED\xE8\xEC\xE5.avi")}) {
        const QByteArray path = folder + '/' + name;
        const vq::test::RawFileGuard gone(path);
        ASSERT_TRUE(copyRaw(clip.path, path));
        const ProbeResult r = vq::probeMedia(path);
        EXPECT_TRUE(r.ok());
        EXPECT_EQ(r.media, vq::probeMedia(native(clip.path)).media);
    }
}

} // namespace
