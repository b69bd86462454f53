#include "media.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>

namespace vq::test {

namespace {

struct Recipe {
    MediaSample sample;
    QStringList codecArgs; // after the inputs
    int videoMs = 0;       // 0: no video input
    int audioMs = 0;
    QList<int> audioRates; // one sine input per audio stream
};

QStringList inputs(const Recipe &r) {
    QStringList args;
    if (r.videoMs > 0)
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("testsrc=size=%1x%2:rate=25:duration=%3")
                    .arg(r.sample.width)
                    .arg(r.sample.height)
                    .arg(r.videoMs / 1000.0);
    for (int hz : r.audioRates)
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2")
                    .arg(hz)
                    .arg(r.audioMs / 1000.0);
    if (r.audioRates.size() + (r.videoMs > 0 ? 1 : 0) > 1)
        for (int i = 0; i < r.audioRates.size() + (r.videoMs > 0 ? 1 : 0); ++i)
            args << QStringLiteral("-map") << QString::number(i);
    return args;
}

MediaSample clip(Sample id, const char *name, int width, int height, qint64 durationMs, int audioHz,
                 int audioBitrate, bool videoBitrateKnown, const char *video, const char *audio,
                 const char *container) {
    MediaSample s;
    s.id = id;
    s.name = QString::fromUtf8(name);
    s.isMedia = true;
    s.width = width;
    s.height = height;
    s.durationMs = durationMs;
    s.audioHz = audioHz;
    s.audioStreams = audioHz > 0 ? 1 : 0;
    s.audioBitrate = audioBitrate;
    // MP2, MP3, WMA and PCM are written at exactly the rate asked; AAC and Vorbis only near it.
    const QString a = QString::fromUtf8(audio);
    s.audioBitrateExact =
        audioBitrate > 0 && !a.startsWith(QLatin1String("AAC")) && a != QLatin1String("Vorbis");
    s.videoBitrateKnown = videoBitrateKnown;
    s.videoCodec = QString::fromUtf8(video);
    s.audioCodec = QString::fromUtf8(audio);
    s.container = QString::fromUtf8(container);
    return s;
}

QStringList args(std::initializer_list<const char *> list) {
    QStringList out;
    for (const char *a : list)
        out << QString::fromLatin1(a);
    return out;
}

QList<Recipe> recipes() {
    const QStringList h264 = args({"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"});
    QList<Recipe> list;
    list.append({clip(Sample::Mkv, "clip.mkv", 320, 240, 2000, 44100, 0, false, "V_MPEG4/ISO/AVC", "AAC LC",
                      "Matroska"),
                 h264 + args({"-c:a", "aac"}),
                 2000,
                 2000,
                 {44100}});
    list.append(
        {clip(Sample::Mp4, "Don't stop.mp4", 352, 288, 1600, 48000, 96000, true, "AVC", "AAC LC", "MPEG-4"),
         h264 + args({"-c:a", "aac", "-b:a", "96k"}),
         1600,
         1600,
         {48000}});
    list.append({clip(Sample::Avi, "Тетрадь смерти 01.avi", 320, 240, 2000, 44100, 128000, true, "FMP4",
                      "MPEG-1 Audio layer 3", "AVI"),
                 args({"-c:v", "mpeg4", "-c:a", "libmp3lame", "-b:a", "128k"}),
                 2000,
                 2000,
                 {44100}});
    list.append({clip(Sample::Mpg, "clip.mpg", 352, 288, 1200, 48000, 192000, true, "MPEG-2V",
                      "MPEG-1 Audio layer 2", "MPEG-PS"),
                 args({"-c:v", "mpeg2video", "-c:a", "mp2", "-b:a", "192k", "-f", "vob"}),
                 1200,
                 1200,
                 {48000}});
    list.append(
        {clip(Sample::Wmv, "clip.wmv", 320, 240, 2000, 44100, 128000, true, "WMV2", "WMA2", "Windows Media"),
         args({"-c:v", "wmv2", "-c:a", "wmav2", "-b:a", "128k"}),
         2000,
         2000,
         {44100}});
    list.append(
        {clip(Sample::Mov, "clip.mov", 176, 144, 1000, 8000, 128000, true, "MPEG-4V", "PCM", "MPEG-4"),
         args({"-c:v", "mpeg4", "-c:a", "pcm_s16le"}),
         1000,
         1000,
         {8000}});
    list.append({clip(Sample::Ogm, "clip.ogm", 320, 240, 1600, 22050, 64000, true, "Theora", "Vorbis", "Ogg"),
                 args({"-c:v", "libtheora", "-c:a", "libvorbis", "-b:a", "64k", "-f", "ogg"}),
                 1600,
                 1600,
                 {22050}});
    Recipe two{clip(Sample::TwoAudio, "Episode 02 - two tracks.mkv", 320, 240, 2000, 44100, 0, false,
                    "V_MPEG4/ISO/AVC", "AAC LC", "Matroska"),
               h264 + args({"-c:a:0", "aac", "-c:a:1", "libmp3lame"}),
               2000,
               2000,
               {44100, 22050}};
    two.sample.audioStreams = 2;
    list.append(two);
    list.append({clip(Sample::NoAudio, "silent.mp4", 320, 240, 1000, 0, 0, true, "AVC", "n/a", "MPEG-4"),
                 h264,
                 1000,
                 0,
                 {}});
    list.append({clip(Sample::NoVideo, "audio only.mkv", 0, 0, 2000, 8000, 32000, false, "n/a",
                      "MPEG-2.5 Audio layer 3", "Matroska"),
                 args({"-c:a", "libmp3lame", "-b:a", "32k"}),
                 0,
                 2000,
                 {8000}});
    return list;
}

void runFfmpeg(QList<std::pair<QStringList, QString>> jobs) {
    // Two at a time: the encoders are small and the machine has two cores.
    while (!jobs.isEmpty()) {
        std::vector<std::unique_ptr<QProcess>> running;
        QStringList targets;
        for (int i = 0; i < 2 && !jobs.isEmpty(); ++i) {
            auto job = jobs.takeFirst();
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::MergedChannels);
            p->start(QStringLiteral("ffmpeg"),
                     args({"-hide_banner", "-loglevel", "error", "-nostdin", "-y"}) + job.first +
                         QStringList{job.second});
            running.push_back(std::move(p));
            targets << job.second;
        }
        for (size_t i = 0; i < running.size(); ++i) {
            QProcess &p = *running[i];
            if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 ||
                !QFileInfo(targets[int(i)]).isFile())
                throw std::runtime_error("ffmpeg could not make " + targets[int(i)].toStdString() + ": " +
                                         p.errorString().toStdString() + "\n" + p.readAll().toStdString());
        }
    }
}

std::unique_ptr<MediaSet> makeMedia(QTemporaryDir &root) {
    if (!root.isValid())
        throw std::runtime_error("cannot make a temporary folder for the test media");
    auto set = std::make_unique<MediaSet>();
    set->mediaFolder = QDir(root.path()).filePath(QStringLiteral("media"));
    set->oddFolder = QDir(root.path()).filePath(QStringLiteral("odd"));
    QDir().mkpath(set->mediaFolder);
    QDir().mkpath(set->oddFolder);

    const QList<Recipe> list = recipes();
    QList<std::pair<QStringList, QString>> jobs;
    for (const Recipe &r : list)
        jobs.append({inputs(r) + r.codecArgs, QDir(set->mediaFolder).filePath(r.sample.name)});
    runFfmpeg(jobs);
    for (const Recipe &r : list) {
        MediaSample s = r.sample;
        s.folder = set->mediaFolder;
        s.path = QDir(s.folder).filePath(s.name);
        set->samples.append(s);
    }

    auto odd = [&](MediaSample s) {
        s.folder = set->oddFolder;
        s.path = QDir(s.folder).filePath(s.name);
        set->samples.append(s);
        return s.path;
    };
    MediaSample blank;
    blank.videoCodec = blank.audioCodec = blank.container = QStringLiteral("n/a");

    MediaSample empty = blank;
    empty.id = Sample::Empty;
    empty.name = QStringLiteral("empty.avi");
    QFile emptyFile(odd(empty));
    if (!emptyFile.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + emptyFile.fileName().toStdString());
    emptyFile.close();

    MediaSample random = blank;
    random.id = Sample::Random;
    random.name = QStringLiteral("noise.avi");
    QFile randomFile(odd(random));
    if (!randomFile.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + randomFile.fileName().toStdString());
    std::mt19937 gen(20240611); // fixed, so a failure repeats
    QByteArray bytes(64 * 1024, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(gen() & 0xFF);
    randomFile.write(bytes);
    randomFile.close();

    // A real clip with a hole after it: the library reads the head and the tail, the size is the point.
    MediaSample huge = (*set)[Sample::Mkv];
    huge.id = Sample::Huge;
    huge.name = QStringLiteral("huge.mkv");
    const QString hugePath = odd(huge);
    if (!QFile::copy((*set)[Sample::Mkv].path, hugePath) ||
        !QFile::resize(hugePath, (qint64(5) << 30) + 12345))
        throw std::runtime_error("cannot make the sparse file " + hugePath.toStdString());

    for (MediaSample &s : set->samples)
        s.sizeBytes = QFileInfo(s.path).size();
    return set;
}

} // namespace

const MediaSample &MediaSet::operator[](Sample id) const {
    for (const MediaSample &s : samples)
        if (s.id == id)
            return s;
    throw std::out_of_range("no such test media sample");
}

QList<MediaSample> MediaSet::inFolder(const QString &folder) const {
    QList<MediaSample> out;
    for (const MediaSample &s : samples)
        if (s.folder == folder)
            out.append(s);
    return out;
}

const MediaSet &testMedia() {
    static QTemporaryDir root(QDir::temp().filePath(QStringLiteral("vq-media-XXXXXX")));
    static std::unique_ptr<MediaSet> set;
    static std::mutex lock;
    std::lock_guard guard(lock);
    if (!set)
        set = makeMedia(root);
    return *set;
}

} // namespace vq::test
