#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Conversions between the cell kinds' own types. The try* forms never throw; the others raise
// vq::Error with the text of the conversion that failed.
namespace vq::gridconvert {

std::optional<int> tryInteger(const QString &text);
std::optional<double> tryFloat(const QString &text);
std::optional<bool> tryBoolean(const QString &text);
std::optional<QDateTime> tryDateTime(const QString &text);

int toInteger(const QString &text);
double toFloat(const QString &text);
bool toBoolean(const QString &text);
QDateTime toDateTime(const QString &text);
int roundToInteger(double v); // ties to even; out of range raises

QString fromFloat(double v);
QString fromBoolean(bool v);
QString fromDateTime(const QDateTime &v);

// Date and time as a day number: whole days since 1899-12-30, the time of day as the fraction.
double dayNumber(const QDateTime &v);
QDateTime fromDayNumber(double days);

} // namespace vq::gridconvert
