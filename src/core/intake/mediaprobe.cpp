#include "mediaprobe.h"

#include "catalog/error.h"
#include "catalog/formats.h"
#include "catalog/messages.h"

#include <QLocale>

#include <limits>

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

} // namespace vq
