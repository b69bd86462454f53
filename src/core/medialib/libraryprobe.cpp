#include "libraryprobe.h"

#include "intake/probewire.h"
#include "mediainfodll.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vq {

namespace {

QString orNotAvailable(const QString &text) {
    return text.isEmpty() ? QString::fromLatin1(kNotAvailable) : text;
}

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

void OpenAVI(const QString &name, TVVF &episode, ProbePage &page, const QString &folder,
             const QByteArray &nativePath) {
    const QByteArray path =
        !nativePath.isEmpty()
            ? nativePath
            : QFile::encodeName(QDir(folder.isEmpty() ? QDir::currentPath() : folder).filePath(name));
    applyProbe(name, probeMedia(path), episode, page);
}

int runProbeWorker() {
    std::string line;
    int c;
    for (;;) {
        line.clear();
        while ((c = std::fgetc(stdin)) != EOF && c != '\n')
            line.push_back(char(c));
        if (c == EOF && line.empty())
            return 0;
        const auto path = decodeProbeRequest(QByteArray::fromStdString(line));
        ProbeResult r;
        if (path) {
            r = probeMedia(*path);
        } else {
            r.status = ProbeStatus::NoSuchFile;
        }
        const QByteArray answer = encodeProbeAnswer(r);
        std::fwrite(answer.constData(), 1, size_t(answer.size()), stdout);
        std::fflush(stdout);
    }
}

} // namespace vq
