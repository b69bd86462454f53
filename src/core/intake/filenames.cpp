#include "filenames.h"

#include <QList>
#include <QStringDecoder>

#include <array>
#include <iconv.h>
#include <sys/stat.h>

namespace vq {

namespace {

// Windows-1251 is one byte a character: its upper half is read once through glibc's converter. The
// byte it leaves out (0x98) becomes U+0098, so that every byte still reads as its own character.
const std::array<char16_t, 128> &cp1251Upper() {
    static const std::array<char16_t, 128> table = [] {
        std::array<char16_t, 128> t{};
        iconv_t cd = iconv_open("UTF-16LE", "CP1251");
        for (int b = 0x80; b <= 0xFF; ++b) {
            char16_t &out = t[size_t(b - 0x80)];
            out = char16_t(b); // without a converter: Latin-1, one character a byte all the same
            if (cd == iconv_t(-1))
                continue;
            char in = char(b);
            char *src = &in;
            size_t srcLeft = 1;
            char16_t unit = 0;
            char *dst = reinterpret_cast<char *>(&unit);
            size_t dstLeft = sizeof unit;
            if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1) && dstLeft == 0)
                out = unit;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        if (cd != iconv_t(-1))
            iconv_close(cd);
        return t;
    }();
    return table;
}

bool isUtf8(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes); // decoded only when converted
    return !utf8.hasError();
}

QString cp1251Text(const QByteArray &bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *p = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = quint8(bytes.at(i));
        p[i] = b < 0x80 ? char16_t(b) : cp1251Upper()[b - 0x80];
    }
    return out;
}

} // namespace

QString fileNameText(const QByteArray &name) {
    return isUtf8(name) ? QString::fromUtf8(name) : cp1251Text(name);
}

QString fileNameTextAmong(const QByteArray &name, const std::function<bool(const QByteArray &)> &taken) {
    if (isUtf8(name))
        return QString::fromUtf8(name);
    const QString text = cp1251Text(name);
    if (!taken(text.toUtf8()))
        return text;
    QString escaped;
    for (const char c : name) {
        const auto b = quint8(c);
        if (b >= 0x80 || c == '\\')
            escaped += QStringLiteral("\\x") + QString::number(b, 16).toUpper().rightJustified(2, u'0');
        else
            escaped += QLatin1Char(c);
    }
    QString candidate = escaped;
    for (int n = 2; taken(candidate.toUtf8()); ++n)
        candidate = escaped + QStringLiteral(" (%1)").arg(n);
    return candidate;
}

QString pathText(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return fileNameText(path);
    const QByteArray folder = path.left(slash);
    const QList<QByteArray> parts = folder.split('/');
    QString text;
    for (qsizetype i = 0; i < parts.size(); ++i)
        text += (i > 0 ? QStringLiteral("/") : QString()) + fileNameText(parts[i]);
    text += QLatin1Char('/');
    const QByteArray prefix = folder + '/';
    return text + fileNameTextAmong(path.mid(slash + 1), [&](const QByteArray &name) {
               struct stat st {};
               return ::lstat((prefix + name).constData(), &st) == 0;
           });
}

QString argumentText(const QByteArray &argument) {
    QString out;
    out.reserve(argument.size());
    const auto *p = reinterpret_cast<const uchar *>(argument.constData());
    const qsizetype n = argument.size();
    for (qsizetype i = 0; i < n;) {
        const uchar c = p[i];
        int len = 0;
        char32_t cp = 0, least = 0;
        if (c < 0x80) {
            out += QChar(c);
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            len = 2, cp = c & 0x1F, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, cp = c & 0x0F, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, cp = c & 0x07, least = 0x10000;
        }
        bool ok = len > 0 && i + len <= n;
        for (int k = 1; ok && k < len; ++k) {
            ok = (p[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (ok && cp >= least && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
            const char32_t one[] = {cp};
            out += QString::fromUcs4(one, 1);
            i += len;
        } else {
            out += QChar(char16_t(0xDC00 | c));
            ++i;
        }
    }
    return out;
}

QByteArray argumentBytes(const QString &argument) {
    QByteArray out;
    out.reserve(argument.size());
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const QChar ch = argument.at(i);
        if (ch.isHighSurrogate() && i + 1 < argument.size() && argument.at(i + 1).isLowSurrogate()) {
            out += QStringView(argument).mid(i, 2).toUtf8();
            ++i;
        } else if (ch.unicode() >= 0xDC80 && ch.unicode() <= 0xDCFF) {
            out += char(ch.unicode() & 0xFF);
        } else {
            out += QStringView(&ch, 1).toUtf8();
        }
    }
    return out;
}

} // namespace vq
