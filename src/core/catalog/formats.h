#pragma once

#include <QString>
#include <QtGlobal>

class QLocale;

namespace vq {

// Play time as hours (at least two digits), minutes, seconds and milliseconds: "01:02:03,456".
QString FormatPlayTime(qint64 ms);

// A digit string grouped in threes, each group followed by a blank: "1234" -> "  1 234 ".
QString GroupDigits(const QString &digits);

// Round to the nearest integer, a half going to the even neighbour.
qint64 roundHalfEven(double v);

// Round to a signed 32-bit integer (half to even); out-of-range values are clamped.
qint32 roundToInt32(double v);

// Bytes as gigabytes with at most two decimals and the locale's separator, then " Gb".
QString gigabyteText(double bytes);
QString gigabyteText(double bytes, const QLocale &locale);

// Bytes as whole megabytes (half to even), digit-grouped; no unit.
QString megabyteText(double bytes);

// Width, the letter x, height; a missing side is left empty.
QString frameSizeText(const QString &width, const QString &height);

// The plain decimal digits of a whole number held in a double (as the data layer writes it).
QString plainNumberText(double v);

} // namespace vq
