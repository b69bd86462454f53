#include "formats.h"

#include "messages.h"

#include <QLocale>
#include <cmath>
#include <iterator>
#include <limits>

namespace vq {

namespace {

// Writes `v` with at least `width` digits, ending just before `end`; returns where it starts.
char16_t *digitsBefore(char16_t *end, qint64 v, int width) {
    do {
        *--end = char16_t(u'0' + v % 10);
        v /= 10;
        --width;
    } while (v > 0 || width > 0);
    return end;
}

} // namespace

// Written into one buffer: a summary of many titles formats one time per title.
QString FormatPlayTime(qint64 ms) {
    if (ms < 0)
        ms = 0;
    char16_t buf[40];
    char16_t *const end = buf + std::size(buf);
    char16_t *p = digitsBefore(end, ms % 1000, 3);
    *--p = u',';
    p = digitsBefore(p, (ms / 1000) % 60, 2);
    *--p = u':';
    p = digitsBefore(p, (ms / 60000) % 60, 2);
    *--p = u':';
    p = digitsBefore(p, ms / 3600000, 2);
    return QString(reinterpret_cast<const QChar *>(p), end - p);
}

QString GroupDigits(const QString &digits) {
    // Padded in front to whole groups of three, each group followed by a space.
    const qsizetype pad = (3 - digits.size() % 3) % 3;
    const qsizetype padded = digits.size() + pad;
    QString out(padded + padded / 3, QLatin1Char(' '));
    QChar *o = out.data();
    qsizetype at = pad;
    for (const QChar c : digits) {
        o[at + at / 3] = c;
        ++at;
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
