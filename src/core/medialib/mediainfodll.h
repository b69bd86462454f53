#pragma once

#include <QString>

#include <memory>

namespace vq {

// The stream kinds the probe asks about, numbered as the library numbers them.
enum class MediaStream { General = 0, Video = 1, Audio = 2 };

// One library handle for one file: opened, asked, closed and released with the object.
// Keeps libmediainfo's headers out of everyone else's includes.
class MediaInfoDll {
public:
    // `parseSpeed` is the library's "ParseSpeed": how much of a file it reads (0 the least, 0.5 its own
    // default). Set on every instance: in this library version a value once set stays for the whole
    // process, so an instance that leaves it alone gets whatever another one set last.
    explicit MediaInfoDll(const char *parseSpeed);
    ~MediaInfoDll();
    MediaInfoDll(const MediaInfoDll &) = delete;
    MediaInfoDll &operator=(const MediaInfoDll &) = delete;

    // The library's own open result (1 when it recognised the file). The caller has made sure that
    // `path` is a regular file: reading a fifo would block for good. `path` is the file system's own
    // bytes; a name that is not UTF-8 cannot pass through the library's wide strings, so it is opened
    // through `fd`, an open descriptor of the same file.
    size_t open(const QByteArray &path, int fd);

    // The text value of the first stream of `kind`; empty when the library has none. Asks the
    // parameter by the name given and, only when that answers empty, by the library's current name
    // for it: the names we ask are older than the library, and a few of them no longer answer.
    QString get(MediaStream kind, const QString &parameter);

    void close();

    // The current name the library answers for an old parameter name, or an empty string.
    static QString currentName(MediaStream kind, const QString &parameter);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace vq
