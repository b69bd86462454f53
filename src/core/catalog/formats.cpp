#include "formats.h"

#include "messages.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace vq {

QString FormatPlayTime(qint64 ms) {
    if (ms < 0)
        ms = 0;
    const qint64 hours = ms / 3600000;
    const int minutes = int((ms / 60000) % 60);
    const int seconds = int((ms / 1000) % 60);
    const int millis = int(ms % 1000);
    QString text = QString::number(hours).rightJustified(2, QLatin1Char('0'));
    text += QLatin1Char(':');
    text += QString::number(minutes).rightJustified(2, QLatin1Char('0'));
    text += QLatin1Char(':');
    text += QString::number(seconds).rightJustified(2, QLatin1Char('0'));
    text += QLatin1Char(',');
    text += QString::number(millis).rightJustified(3, QLatin1Char('0'));
    return text;
}

QString GroupDigits(const QString &digits) {
    QString padded = digits;
    while (padded.size() % 3 != 0)
        padded.prepend(QLatin1Char(' '));
    QString out;
    out.reserve(padded.size() + padded.size() / 3);
    for (qsizetype i = 0; i < padded.size(); i += 3) {
        out += QStringView(padded).mid(i, 3);
        out += QLatin1Char(' ');
    }
    return out;
}

qint64 roundHalfEven(double v) {
    if (!std::isfinite(v))
        return 0;
    const double r = std::nearbyint(v); // default rounding mode is to nearest, ties to even
    if (r >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (r <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    return qint64(r);
}

qint32 roundToInt32(double v) {
    const qint64 r = roundHalfEven(v);
    if (r > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    if (r < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return qint32(r);
}

namespace {

// Beyond this a whole number in a double has no exact integer form: its digits are written from
// the double itself, never through an integer that would wrap.
constexpr double kExactLimit = 9007199254740992.0; // 2^53

QString hugeNumberText(double v) {
    if (!std::isfinite(v))
        return msg::valueOutOfRange();
    return QString::number(std::round(v), 'f', 0);
}

} // namespace

QString gigabyteText(double bytes, const QLocale &locale) {
    const double gb = bytes / 1024.0 / 1024.0 / 1024.0;
    if (!std::isfinite(gb) || std::fabs(gb * 100.0) >= kExactLimit)
        return hugeNumberText(gb) + QStringLiteral(" Gb");
    // Two decimals, halves away from zero, computed on the scaled integer to avoid 0.xx5 drift.
    const double hundredths = std::round(gb * 100.0);
    const qint64 h = qint64(hundredths);
    const qint64 whole = h / 100;
    qint64 frac = std::llabs(h % 100);
    QString text = (h < 0 && whole == 0 ? QStringLiteral("-") : QString()) + QString::number(whole);
    if (frac != 0) {
        QString decimals = QString::number(frac).rightJustified(2, QLatin1Char('0'));
        if (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += locale.decimalPoint() + decimals;
    }
    return text + QStringLiteral(" Gb");
}

QString gigabyteText(double bytes) {
    return gigabyteText(bytes, QLocale());
}

QString plainNumberText(double v) {
    if (!std::isfinite(v))
        return QString();
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(qint64(v));
    if (v == std::floor(v))
        return QString::number(v, 'f', 0);
    return QString::number(v, 'g', 15);
}

QString megabyteText(double bytes) {
    const double mb = bytes / 1024.0 / 1024.0;
    if (!std::isfinite(mb))
        return msg::valueOutOfRange();
    if (std::fabs(mb) >= kExactLimit)
        return GroupDigits(hugeNumberText(mb));
    return GroupDigits(QString::number(roundHalfEven(mb)));
}

QString frameSizeText(const QString &width, const QString &height) {
    return width + QLatin1Char('x') + height;
}

} // namespace vq
