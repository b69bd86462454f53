#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// File names are bytes: a file is always opened by its own bytes, and its name is shown and stored as
// text. Names copied from old Windows discs are Windows-1251, not UTF-8.
namespace vq {

// The text of a name: itself when it is UTF-8, otherwise read as Windows-1251 through the system's
// converter (the one byte the code page leaves out, 0x98, as U+0098). Different names that are not
// UTF-8 give different texts.
QString fileNameText(const QByteArray &name);

// The text of `name` among the other names of its folder (`taken` says whether a name is there). Only
// the Windows-1251 reading of a name can equal another name's text, that of the UTF-8 name it reads as;
// then its bytes outside ASCII (and backslashes) are written \xNN, with " (2)" and so on after it
// should even that be taken. So two names of one folder never give one text.
QString fileNameTextAmong(const QByteArray &name, const std::function<bool(const QByteArray &)> &taken);

// The text of an absolute path: each folder as fileNameText reads it, the last name among its folder's.
QString pathText(const QByteArray &path);

// Command-line arguments in text without losing a byte: what is not UTF-8 is kept as lone surrogates
// (U+DC80 to U+DCFF, which UTF-8 text never holds), and argumentBytes gives the bytes back.
QString argumentText(const QByteArray &argument);
QByteArray argumentBytes(const QString &argument);

} // namespace vq
