#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure output for Qt strings (internal linkage: other test programs may have their own).
[[maybe_unused]] static void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

[[maybe_unused]] static void PrintTo(const QStringList &list, std::ostream *os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *os << '}';
}
