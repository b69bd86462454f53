#pragma once

#include <QList>
#include <QString>

namespace vq::test {

// The test files, one of each kind the intake has to cope with.
enum class Sample {
    Mkv,      // H.264 + AAC: Matroska records no bit rates
    Mp4,      // H.264 + AAC 48 kHz; the name has an apostrophe
    Avi,      // MPEG-4 + MP3 128 kbit/s; the name is Cyrillic with blanks
    Mpg,      // MPEG-2 + MP2 192 kbit/s, 48 kHz
    Wmv,      // WMV2 + WMA2 128 kbit/s
    Mov,      // MPEG-4 + 16-bit PCM at 8 kHz (128 kbit/s)
    Ogm,      // Theora + Vorbis 22.05 kHz
    TwoAudio, // H.264 + AAC 44.1 kHz + MP3 22.05 kHz; blanks in the name
    NoAudio,  // H.264 only
    NoVideo,  // MP3 at 8 kHz only, in Matroska
    Empty,    // zero bytes, named .avi
    Random,   // random bytes, named .avi
    Huge,     // a Matroska clip padded (sparsely) to more than 4 GiB
};

struct MediaSample {
    Sample id;
    QString name;         // bare file name
    QString path;         // absolute path
    QString folder;       // absolute path of the folder it is in
    qint64 sizeBytes = 0; // size on disk (apparent size for the sparse one)
    bool isMedia = false; // the library recognises a container in it
    int width = 0;        // frame size as made; 0 without video
    int height = 0;
    qint64 durationMs = 0; // play time asked of ffmpeg; containers add up to about 150 ms
    int audioHz = 0;       // sampling rate of the first audio stream; 0 without audio
    int audioStreams = 0;
    int audioBitrate = 0; // bit rate asked of the first audio encoder; 0 where the container records none
    bool audioBitrateExact = false; // constant-rate audio: the container records exactly that rate
    bool videoBitrateKnown = false; // whether the container records a video bit rate
    QString videoCodec;             // what the library calls the streams and the container; "n/a": none
    QString audioCodec;
    QString container;
};

struct MediaSet {
    QString mediaFolder; // the playable clips only
    QString oddFolder;   // the zero-byte, random and huge files
    QList<MediaSample> samples;

    const MediaSample &operator[](Sample id) const;
    QList<MediaSample> inFolder(const QString &folder) const;
};

// Makes the files with ffmpeg on the first call (a few seconds) into a temporary folder that lives until
// the process ends; later calls return the same set. Throws std::runtime_error when ffmpeg fails.
const MediaSet &testMedia();

} // namespace vq::test
