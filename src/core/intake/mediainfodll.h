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
    MediaInfoDll();
    ~MediaInfoDll();
    MediaInfoDll(const MediaInfoDll &) = delete;
    MediaInfoDll &operator=(const MediaInfoDll &) = delete;

    // The library's own open result (1 when it recognised the file). Anything that is not a regular
    // file is not handed to the library: reading a fifo would block for good.
    size_t open(const QString &path);

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
