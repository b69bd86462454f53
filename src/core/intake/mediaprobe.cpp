#include "mediaprobe.h"

#include "catalog/error.h"
#include "catalog/formats.h"
#include "catalog/messages.h"
#include "mediainfodll.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace vq {

namespace {

template <typename T> std::optional<T> parseInteger(QStringView text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate towards the negative side so that the type's minimum fits too.
    T value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const T digit = T(c - u'0');
        if (value < (std::numeric_limits<T>::min() + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == std::numeric_limits<T>::min())
        return std::nullopt;
    return T(-value);
}

std::optional<qint32> twoDigits(QStringView text, qsizetype at) {
    const char16_t a = text[at].unicode(), b = text[at + 1].unicode();
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return std::nullopt;
    return (a - u'0') * 10 + (b - u'0');
}

QString orNotAvailable(const QString &text) {
    return text.isEmpty() ? QString::fromLatin1(kNotAvailable) : text;
}

} // namespace

std::optional<qint64> parseInt64(QStringView text) {
    return parseInteger<qint64>(text);
}

std::optional<qint32> parseInt32(QStringView text) {
    return parseInteger<qint32>(text);
}

std::optional<qint32> ParsePlayTime(QStringView text) {
    if (text.size() < 12)
        return std::nullopt;
    const auto hours = twoDigits(text, 0), minutes = twoDigits(text, 3), seconds = twoDigits(text, 6);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    int millis = 0;
    for (qsizetype i = 9; i < 12; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        millis = millis * 10 + (c - u'0');
    }
    return ((*hours * 60 + *minutes) * 60 + *seconds) * 1000 + millis;
}

QString samplingRateText(qint32 hz) {
    // Tenths of a kilohertz, rounded half away from zero in whole numbers, so no binary fraction
    // decides a half.
    const qint64 magnitude = hz < 0 ? -qint64(hz) : qint64(hz);
    const qint64 tenths = (magnitude + 50) / 100;
    QString text = QString::number(tenths / 10);
    if (tenths % 10 != 0)
        text += QLocale().decimalPoint() + QString::number(tenths % 10);
    if (hz < 0 && tenths != 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString rateText(qint32 videoBitrate, qint32 audioBitrate, qint32 audioHz) {
    return QString::number(videoBitrate / 1024) + QLatin1String("Kbps || ") +
           QString::number(audioBitrate / 1000) + QLatin1String("Kbps @ ") + samplingRateText(audioHz) +
           QLatin1String("KHz");
}

ProbePage probePageTexts(const TVVF &episode) {
    ProbePage page;
    page.EName = episode.FileName;
    page.ELong = FormatPlayTime(episode.DurationMs);
    page.EDSize = GroupDigits(QString::number(episode.SizeBytes));
    page.EWidth = QString::number(episode.Width);
    page.EHeigth = QString::number(episode.Height);
    page.ECodec = episode.VideoCodec + QLatin1String(" || ") + episode.AudioCodec;
    page.LRate = rateText(episode.VideoBitrate, episode.AudioBitrate, episode.AudioHz);
    page.LSCount = QString::number(episode.AudioStreamCount);
    return page;
}

QStringList containersAtDefaultDepth() {
    // Flash Video's play time moves by some tens of milliseconds at the least depth.
    return {QStringLiteral("Flash Video")};
}

namespace {

// The library's own default depth, set explicitly: the setting outlives the instance that set it.
constexpr const char *kDefaultDepth = "0.5";
constexpr const char *kLeastDepth = "0";

TVVF askLibrary(MediaInfoDll &library, bool opened, qint64 size) {
    TVVF next;
    next.SizeBytes = size;
    auto number = [&](MediaStream kind, const char *parameter) {
        return parseInt32(library.get(kind, QLatin1String(parameter))).value_or(0);
    };
    if (opened) {
        next.VideoCodec = orNotAvailable(library.get(MediaStream::Video, QStringLiteral("Codec")));
        next.AudioCodec = orNotAvailable(library.get(MediaStream::Audio, QStringLiteral("Codec/String")));
        next.ContainerFormat = orNotAvailable(library.get(MediaStream::General, QStringLiteral("Format")));
        next.OverallBitrate = number(MediaStream::General, "OveralBitRate");
        next.VideoBitrate = number(MediaStream::Video, "BitRate");
        next.AudioBitrate = number(MediaStream::Audio, "BitRate");
        next.AudioHz = number(MediaStream::Audio, "SamplingRate");
        // No number means no picture: a frame size left over from the previous file would be stored
        // with this one.
        next.Width = number(MediaStream::Video, "Width");
        next.Height = number(MediaStream::Video, "Height");
        // A clip without sound still has a play time: only its audio count is missing.
        const std::optional<qint32> audioCount =
            parseInt32(library.get(MediaStream::General, QStringLiteral("AudioCount")));
        const std::optional<qint32> playTime =
            ParsePlayTime(library.get(MediaStream::General, QStringLiteral("PlayTime/String3")));
        next.AudioStreamCount = audioCount ? quint8(*audioCount & 0xFF) : 0;
        next.DurationMs = playTime ? *playTime : 0;
    } else {
        next.ContainerFormat = next.AudioCodec = next.VideoCodec = QString::fromLatin1(kNotAvailable);
    }
    return next;
}

ProbeResult probeOpenFile(const QByteArray &path, int fd, const char *depth) {
    MediaInfoDll library(depth);
    const bool opened = (library.open(path, fd) & 0xFF) == 1;
    const QString sizeText = library.get(MediaStream::General, QStringLiteral("FileSize"));
    const std::optional<qint64> size = parseInt64(sizeText);
    ProbeResult r;
    if (!size) {
        r.status = ProbeStatus::NoSize;
        r.detail = sizeText;
    } else {
        r.media = askLibrary(library, opened, *size);
    }
    library.close();
    return r;
}

QString systemReason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

ProbeResult probeMedia(const QByteArray &path, ParseDepth depth) {
    ProbeResult r;
    // Opened without blocking, so that a fifo cannot hold the probe; the checks then concern the very
    // file the library reads.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        r.status = err == ENOENT || err == ENOTDIR || err == ELOOP ? ProbeStatus::NoSuchFile
                                                                   : ProbeStatus::Unreadable;
        r.detail = systemReason(err);
        return r;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        r.status = ProbeStatus::Unreadable;
        r.detail = systemReason(errno);
        return r;
    }
    if (S_ISDIR(st.st_mode)) {
        r.status = ProbeStatus::IsAFolder;
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.status = ProbeStatus::NotRegular;
        return r;
    }
    // A file that opens but cannot be read (a bad sector, a share gone away) fails here, not as a
    // strange answer of the library.
    char probeByte;
    if (st.st_size > 0 && ::pread(fd, &probeByte, 1, 0) < 0) {
        r.status = ProbeStatus::Unreadable;
        r.detail = systemReason(errno);
        return r;
    }
    r = probeOpenFile(path, fd, depth == ParseDepth::LibraryDefault ? kDefaultDepth : kLeastDepth);
    if (depth == ParseDepth::Chosen && r.ok() && containersAtDefaultDepth().contains(r.media.ContainerFormat))
        r = probeOpenFile(path, fd, kDefaultDepth);
    return r;
}

QString probeFailureMessage(const QString &shown, const ProbeResult &result) {
    switch (result.status) {
    case ProbeStatus::Ok:
        break;
    case ProbeStatus::NoSuchFile:
        return msg::probeNoSuchFile(shown);
    case ProbeStatus::IsAFolder:
        return msg::probeIsAFolder(shown);
    case ProbeStatus::NotRegular:
        return msg::probeNotARegularFile(shown);
    case ProbeStatus::Unreadable:
        return msg::probeUnreadable(shown, result.detail);
    case ProbeStatus::NoSize:
        return msg::probeNoSize(shown, result.detail);
    case ProbeStatus::TimeLimit:
        return msg::probeTimeLimit(shown, result.detail.toInt());
    case ProbeStatus::Crashed:
        return msg::probeCrashed(shown, result.detail);
    case ProbeStatus::WorkerMissing:
        return result.detail;
    }
    return QString();
}

void takeProbe(TVVF &episode, const TVVF &media) {
    const TVVF keep = episode;
    episode = media;
    episode.TitleId = keep.TitleId;
    episode.FileName = keep.FileName;
    episode.SoundId = keep.SoundId;
    episode.SubInId = keep.SubInId;
    episode.SubExtId = keep.SubExtId;
}

QString bareName(const QString &entry) {
    const qsizetype slash = entry.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? entry : entry.mid(slash + 1);
}

void applyProbe(const QString &name, const ProbeResult &result, TVVF &episode, ProbePage &page) {
    episode.FileName = bareName(name);
    if (!result.ok())
        throw Error(probeFailureMessage(name, result));
    takeProbe(episode, result.media);
    page = probePageTexts(episode);
}

void OpenAVI(const QString &name, TVVF &episode, ProbePage &page, const QString &folder,
             const QByteArray &nativePath) {
    const QByteArray path =
        !nativePath.isEmpty()
            ? nativePath
            : QFile::encodeName(QDir(folder.isEmpty() ? QDir::currentPath() : folder).filePath(name));
    applyProbe(name, probeMedia(path), episode, page);
}

} // namespace vq
