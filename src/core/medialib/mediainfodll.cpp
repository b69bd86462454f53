#include "mediainfodll.h"

#include <MediaInfo/MediaInfo.h>

#include <clocale>
#include <locale.h>

namespace vq {

namespace {

struct Rename {
    MediaStream kind;
    const char *legacy;
    const char *current;
};

// Old names that this library version leaves empty for some files, with the name that replaced them.
constexpr Rename kRenames[] = {
    {MediaStream::General, "OveralBitRate", "OverallBitRate"},
    {MediaStream::General, "PlayTime/String3", "Duration/String3"},
    {MediaStream::Video, "Codec", "Format"},
    {MediaStream::Audio, "Codec/String", "Format/String"},
};

// The library turns wide file names into bytes through the C library's current character set, which
// is plain ASCII until somebody calls setlocale (a test runner, a script with LANG unset). File names
// on this system are UTF-8, so the open runs under a UTF-8 character set, on this thread only.
class Utf8FileNames {
public:
    Utf8FileNames() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
        if (utf8)
            m_previous = uselocale(utf8);
    }
    ~Utf8FileNames() {
        if (m_previous)
            uselocale(m_previous);
    }
    Utf8FileNames(const Utf8FileNames &) = delete;
    Utf8FileNames &operator=(const Utf8FileNames &) = delete;

private:
    locale_t m_previous = locale_t(nullptr);
};

MediaInfoLib::stream_t toLibrary(MediaStream kind) {
    switch (kind) {
    case MediaStream::Video:
        return MediaInfoLib::Stream_Video;
    case MediaStream::Audio:
        return MediaInfoLib::Stream_Audio;
    case MediaStream::General:
        break;
    }
    return MediaInfoLib::Stream_General;
}

} // namespace

struct MediaInfoDll::Impl {
    MediaInfoLib::MediaInfo library;
};

MediaInfoDll::MediaInfoDll(const char *parseSpeed) : m_impl(std::make_unique<Impl>()) {
    // Without it the old parameter names ("Codec", "Codec/String", ...) answer empty for every file.
    m_impl->library.Option(L"Legacy", L"1");
    m_impl->library.Option(L"ParseSpeed", QString::fromLatin1(parseSpeed).toStdWString());
}

MediaInfoDll::~MediaInfoDll() = default;

size_t MediaInfoDll::open(const QByteArray &path, int fd) {
    const QString text = QString::fromUtf8(path);
    const QString name = text.toUtf8() == path ? text : QStringLiteral("/proc/self/fd/%1").arg(fd);
    Utf8FileNames utf8;
    return m_impl->library.Open(name.toStdWString());
}

QString MediaInfoDll::get(MediaStream kind, const QString &parameter) {
    auto ask = [&](const QString &name) {
        return QString::fromStdWString(m_impl->library.Get(toLibrary(kind), 0, name.toStdWString(),
                                                           MediaInfoLib::Info_Text, MediaInfoLib::Info_Name));
    };
    QString answer = ask(parameter);
    if (answer.isEmpty()) {
        const QString current = currentName(kind, parameter);
        if (!current.isEmpty())
            answer = ask(current);
    }
    return answer;
}

void MediaInfoDll::close() {
    m_impl->library.Close();
}

QString MediaInfoDll::currentName(MediaStream kind, const QString &parameter) {
    for (const Rename &r : kRenames)
        if (r.kind == kind && parameter == QLatin1String(r.legacy))
            return QString::fromLatin1(r.current);
    return {};
}

} // namespace vq
