#pragma once

#include <QString>
#include <QStringView>

struct sqlite3;

namespace vq {

// A name as the search compares it: letter case folded in every alphabet, ё read as е.
QString foldName(QStringView name);

// Whether `name` begins with (or, `anywhere`, contains) `foldedText`, which foldName gave. An empty
// text matches every name.
bool nameMatches(QStringView name, QStringView foldedText, bool anywhere);

// Registers vq_name_match(name, text, anywhere) on a connection: 1 when the name matches the text
// as above, 0 otherwise (a NULL name never matches). Deterministic, so SQLite may factor it out.
void registerNameFunctions(sqlite3 *db);

} // namespace vq
