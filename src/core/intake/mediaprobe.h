#pragma once

#include <QString>
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

// Probes the file `name` (a bare name) in `folder`, or in the process's current directory when
// `folder` is empty (the folder scan made it the scanned folder), and fills `episode` and `page`.
// When the library's size answer is not a whole number (the file is gone, unreadable or not a file)
// throws vq::Error "'<answer>' is not a valid integer value"; `episode.FileName` then already names
// the new file while every other field and the page keep the previous probe's values.
void OpenAVI(const QString &name, TVVF &episode, ProbePage &page, const QString &folder = QString());

} // namespace vq
