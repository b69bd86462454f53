#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace vq {

// The probed episode: what a stored episode row is made of. The probe sets the media fields; the
// title and the three language keys are chosen on the page and are left alone by a probe.
struct TVVF {
    qint32 TitleId = 0;
    QString FileName;
    qint64 SizeBytes = 0;
    qint64 DurationMs = 0;
    qint32 Width = 0;
    qint32 Height = 0;
    qint32 SoundId = 0;
    qint32 SubInId = 0;
    qint32 SubExtId = 0;
    QString VideoCodec;
    QString AudioCodec;
    qint32 OverallBitrate = 0;
    qint32 VideoBitrate = 0;
    qint32 AudioBitrate = 0;
    qint32 AudioHz = 0;
    QString ContainerFormat;
    quint8 AudioStreamCount = 0;
    // Where the probed file is (its absolute path, as the file system has it): stored as the
    // episode's location. Empty for a record that names no file.
    QByteArray SourcePath;

    bool operator==(const TVVF &) const = default;
};

// The texts the intake page shows for a probe, named after its controls; the window copies them.
struct ProbePage {
    QString EName;   // file name
    QString ELong;   // play time
    QString EDSize;  // size in bytes, digits grouped
    QString EWidth;  // frame width
    QString EHeigth; // frame height
    QString ECodec;  // "video || audio"
    QString LRate;   // bit rates and sampling rate
    QString LSCount; // audio stream count

    bool operator==(const ProbePage &) const = default;
};

// The placeholder texts for a codec or format the library does not name.
inline constexpr const char *kNotAvailable = "n/a";

// Milliseconds of a play time written hh:mm:ss.mmm, read at its fixed character positions; the
// separators are not looked at and anything after the twelfth character is ignored. Empty when the
// text is shorter or a digit position holds something else.
std::optional<qint32> ParsePlayTime(QStringView text);

// A whole decimal number with an optional sign and nothing else, within the type's range.
std::optional<qint64> parseInt64(QStringView text);
std::optional<qint32> parseInt32(QStringView text);

// The sampling rate in kHz with at most one decimal, rounded half away from zero, without a trailing
// zero, with the locale's decimal separator: 44100 gives "44.1", 8000 gives "8".
QString samplingRateText(qint32 hz);

// "<video kbps>Kbps || <audio kbps>Kbps @ <kHz>KHz". The video rate counts 1024 bits to the kilobit and
// the audio rate 1000, as users of the program have always seen them.
QString rateText(qint32 videoBitrate, qint32 audioBitrate, qint32 audioHz);

// The page texts of a probed episode.
ProbePage probePageTexts(const TVVF &episode);

// How a probe ended. Every failure but NoSize is found before the library sees the file, or by the
// worker pool around it.
enum class ProbeStatus {
    Ok,
    NoSuchFile,    // gone since the scan, or a dangling link
    IsAFolder,     // a folder (or a link to one) whose name looks like a video file
    NotRegular,    // a fifo, socket or device: reading it could block for good
    Unreadable,    // no permission, an input/output error
    NoSize,        // the library gave no whole number as the size
    TimeLimit,     // the library ran past the time limit and its worker was stopped
    Crashed,       // the library took its worker down
    WorkerMissing, // the probe program cannot be started at all
};

// A probe's answer: the media fields of `media` (FileName and the title and language fields stay
// empty) when `status` is Ok; `detail` says more about a failure (the system's reason, the library's
// answer, the time limit in seconds).
struct ProbeResult {
    ProbeStatus status = ProbeStatus::Ok;
    QString detail;
    TVVF media;
    bool ok() const { return status == ProbeStatus::Ok; }
    bool operator==(const ProbeResult &) const = default;
};

// How far into a file the library reads.
enum class ParseDepth {
    Chosen,         // the least that answers as the library's default does for the file's container
    Fastest,        // the least, whatever the container
    LibraryDefault, // the library's own default
};

// Containers whose answers at the least depth differ from the default's, so they are read at the
// default depth (the "Format" answer of the general stream).
QStringList containersAtDefaultDepth();

// The message of a failed probe, naming `shown` (the file as the user sees it) and the reason.
QString probeFailureMessage(const QString &shown, const ProbeResult &result);
// Copies the media fields of a probe into `episode`, leaving its title and language keys alone.
void takeProbe(TVVF &episode, const TVVF &media);

// Fills `episode` and `page` from a finished probe of `name`, as OpenAVI does; throws as OpenAVI does.
void applyProbe(const QString &name, const ProbeResult &result, TVVF &episode, ProbePage &page);

// The bare file name of a list entry (the last part of a relative path).
QString bareName(const QString &entry);

} // namespace vq
