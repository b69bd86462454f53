#pragma once

// The words release names are read by: data only, the reader in releasename.cpp holds no word of its
// own. Patterns that are not single words (numbers, resolutions, S02E05, CRCs, years) are described
// beside the functions that scan for them there.

#include "intake/releasename.h"

#include <cstdint>
#include <string_view>

namespace vq::releasewords {

enum class Role : uint8_t {
    None,        // nothing on its own (only with a number)
    Video,       // a video term
    Audio,       // an audio term
    Source,      // where the video comes from; `value` indexes Sources
    Noise,       // a technical word that says nothing kept: languages, subtitles, flags
    Kind,        // what the file holds; `value` is a ReleaseKind
    KindPrefix,  // a kind written before the title ("Gekijouban Title")
    Episode,     // the number beside it is the episode
    Season,      // the number beside it is the season
    Volume,      // a volume or disc number: read as nothing
    TitleNumber, // the number after it belongs to the title ("Part 2", "No. 8")
    End,         // END, FINAL after an episode number
    Ordinal,     // "second" of "Second Season"; `value` is the number
    Version,     // "v2"
    Of,          // "of", "из" between two numbers: "05 из 26"
    Resolution,  // read from the word's form, never from the table
    Group,       // likewise: the group after a term ("x264-GROUP")
    Year,        // likewise: "(2019)"
};

enum Flag : uint8_t {
    Weak = 1,      // an ordinary word too: it ends a title only where no plain word follows it
    Postfix = 2,   // its number may stand before it: "2 сезон", "5 серия", "2nd Season"
    PairFirst = 4, // the first word of one of Pairs
};

struct Word {
    std::u16string_view text; // in lower case (ASCII and Cyrillic)
    Role role;                // on its own
    Role numbered;            // beside a number ("Season 2", "OVA2", "Ep.05"): None when it means nothing
    uint8_t value = 0;
    uint8_t flags = 0;
};

inline constexpr std::u16string_view Sources[] = {u"BD", u"WEB", u"DVD", u"TV", u"LD", u"VHS"};
enum SourceIndex : uint8_t { BD, WEB, DVD, TV, LD, VHS };

constexpr uint8_t k(ReleaseKind kind) {
    return uint8_t(kind);
}

using enum Role;
// clang-format off
inline constexpr Word Words[] = {
    // Video.
    {u"x264", Video, None}, {u"x265", Video, None}, {u"h264", Video, None}, {u"h265", Video, None},
    {u"h.264", Video, None}, {u"h.265", Video, None}, {u"hevc", Video, None}, {u"avc", Video, None},
    {u"av1", Video, None}, {u"vp9", Video, None}, {u"xvid", Video, None}, {u"divx", Video, None},
    {u"mpeg2", Video, None}, {u"mpeg-2", Video, None}, {u"mpeg4", Video, None}, {u"vc-1", Video, None},
    {u"vc1", Video, None}, {u"10bit", Video, None}, {u"10-bit", Video, None}, {u"8bit", Video, None},
    {u"8-bit", Video, None}, {u"12bit", Video, None}, {u"hi10", Video, None}, {u"hi10p", Video, None},
    {u"hi444", Video, None}, {u"hi444pp", Video, None}, {u"ma10p", Video, None}, {u"hdr", Video, None},
    {u"hdr10", Video, None}, {u"hdr10+", Video, None}, {u"dovi", Video, None}, {u"sdr", Video, None},
    {u"vfr", Video, None},
    // Audio; a channel layout may follow ("AAC2.0", "FLAC 5.1").
    {u"aac", Audio, None}, {u"he-aac", Audio, None}, {u"aac-lc", Audio, None}, {u"ac3", Audio, None},
    {u"ac-3", Audio, None}, {u"eac3", Audio, None}, {u"e-ac3", Audio, None}, {u"e-ac-3", Audio, None},
    {u"dd", Audio, None, 0, Weak}, {u"dd+", Audio, None}, {u"ddp", Audio, None}, {u"flac", Audio, None},
    {u"alac", Audio, None}, {u"opus", Audio, None, 0, Weak}, {u"mp3", Audio, None}, {u"mp2", Audio, None},
    {u"dts", Audio, None}, {u"dts-hd", Audio, None, 0, PairFirst}, {u"dts-hdma", Audio, None}, {u"dts-ma", Audio, None},
    {u"dtshd", Audio, None}, {u"truehd", Audio, None}, {u"atmos", Audio, None}, {u"pcm", Audio, None},
    {u"lpcm", Audio, None}, {u"vorbis", Audio, None}, {u"dualaudio", Audio, None},
    {u"dual-audio", Audio, None}, {u"multi-audio", Audio, None}, {u"multiaudio", Audio, None},
    // Sources, and the streaming services that mean WEB.
    {u"bd", Source, None, BD}, {u"bdrip", Source, None, BD}, {u"bd-rip", Source, None, BD},
    {u"bdremux", Source, None, BD}, {u"bdmv", Source, None, BD}, {u"bdiso", Source, None, BD},
    {u"bluray", Source, None, BD}, {u"blu-ray", Source, None, BD}, {u"brrip", Source, None, BD},
    {u"bdrip-remux", Source, None, BD},
    {u"web", Source, None, WEB, PairFirst}, {u"webrip", Source, None, WEB}, {u"web-rip", Source, None, WEB},
    {u"web-dl", Source, None, WEB}, {u"webdl", Source, None, WEB}, {u"web-dlrip", Source, None, WEB},
    {u"amzn", Source, None, WEB}, {u"cr", Source, None, WEB, Weak}, {u"nf", Source, None, WEB, Weak},
    {u"dsnp", Source, None, WEB}, {u"hidive", Source, None, WEB}, {u"funi", Source, None, WEB},
    {u"funimation", Source, None, WEB}, {u"b-global", Source, None, WEB}, {u"baha", Source, None, WEB},
    {u"abema", Source, None, WEB}, {u"adn", Source, None, WEB, Weak}, {u"vrv", Source, None, WEB},
    {u"iqiyi", Source, None, WEB}, {u"bilibili", Source, None, WEB}, {u"crunchyroll", Source, None, WEB},
    {u"netflix", Source, None, WEB}, {u"wakanim", Source, None, WEB},
    {u"dvd", Source, None, DVD}, {u"dvdrip", Source, None, DVD}, {u"dvd-rip", Source, None, DVD},
    {u"dvdremux", Source, None, DVD}, {u"dvd5", Source, None, DVD}, {u"dvd9", Source, None, DVD},
    {u"r2j", Source, None, DVD}, {u"r1dvd", Source, None, DVD}, {u"dvdiso", Source, None, DVD},
    {u"tv", Source, Season, TV, Weak}, {u"тв", Source, Season, TV, Weak}, {u"tvrip", Source, None, TV},
    {u"hdtv", Source, None, TV}, {u"hdtvrip", Source, None, TV}, {u"dtv", Source, None, TV},
    {u"sdtv", Source, None, TV}, {u"satrip", Source, None, TV}, {u"dvb", Source, None, TV},
    {u"ld", Source, None, LD, Weak}, {u"ldrip", Source, None, LD}, {u"laserdisc", Source, None, LD},
    {u"vhs", Source, None, VHS}, {u"vhsrip", Source, None, VHS},
    // Words that say nothing kept but are no part of a title.
    {u"remux", Noise, None}, {u"hdrip", Noise, None}, {u"raw", Noise, None, 0, Weak},
    {u"raws", Noise, None, 0, Weak}, {u"uncensored", Noise, None, 0, Weak}, {u"uncen", Noise, None},
    {u"uncut", Noise, None, 0, Weak}, {u"censored", Noise, None, 0, Weak},
    {u"remastered", Noise, None, 0, Weak}, {u"repack", Noise, None}, {u"proper", Noise, None, 0, Weak},
    {u"internal", Noise, None, 0, Weak}, {u"limited", Noise, None, 0, Weak},
    {u"batch", Noise, None, 0, Weak}, {u"complete", Noise, None, 0, Weak}, {u"sub", Noise, None, 0, Weak},
    {u"subs", Noise, None, 0, Weak}, {u"subbed", Noise, None, 0, Weak}, {u"dub", Noise, None, 0, Weak},
    {u"dubbed", Noise, None, 0, Weak}, {u"softsub", Noise, None}, {u"hardsub", Noise, None},
    {u"multisub", Noise, None}, {u"multi-sub", Noise, None}, {u"multi-subs", Noise, None},
    {u"multisubs", Noise, None}, {u"esub", Noise, None}, {u"esubs", Noise, None},
    {u"dual", Noise, None, 0, Weak | PairFirst}, {u"multi", Noise, None, 0, Weak | PairFirst}, {u"multiple", Noise, None, 0, Weak | PairFirst},
{u"vostfr", Noise, None}, {u"vf", Noise, None, 0, Weak},
    {u"jap", Noise, None, 0, Weak}, {u"jpn", Noise, None}, {u"jp", Noise, None, 0, Weak},
    {u"eng", Noise, None, 0, Weak | PairFirst}, {u"en", Noise, None, 0, Weak}, {u"english", Noise, None, 0, Weak},
    {u"rus", Noise, None, 0, Weak | PairFirst}, {u"ru", Noise, None, 0, Weak}, {u"russian", Noise, None, 0, Weak},
    {u"ukr", Noise, None, 0, Weak}, {u"ger", Noise, None, 0, Weak}, {u"ita", Noise, None, 0, Weak},
    {u"spa", Noise, None, 0, Weak}, {u"fre", Noise, None, 0, Weak}, {u"chs", Noise, None},
    {u"cht", Noise, None}, {u"big5", Noise, None}, {u"gb", Noise, None, 0, Weak},
    {u"hd", Noise, None, 0, Weak}, {u"fhd", Noise, None}, {u"uhd", Noise, None}, {u"sd", Noise, None, 0, Weak},
    {u"hq", Noise, None, 0, Weak}, {u"rus(int)", Noise, None}, {u"рус", Noise, None, 0, Weak},
    {u"озвучка", Noise, None, 0, Weak}, {u"субтитры", Noise, None, 0, Weak},
    {u"дубляж", Noise, None, 0, Weak}, {u"многоголосая", Noise, None, 0, Weak},
    {u"mkv", Noise, None, 0, Weak}, {u"mp4", Noise, None, 0, Weak}, {u"avi", Noise, None, 0, Weak},
    {u"creditless", Noise, None, 0, Weak}, {u"clean", Noise, None, 0, Weak},
    // Kinds; a number beside one is the episode ("OVA 2", "NCOP1").
    {u"ova", Kind, Kind, k(ReleaseKind::Ova)}, {u"oad", Kind, Kind, k(ReleaseKind::Ova)},
    {u"oav", Kind, Kind, k(ReleaseKind::Ova)}, {u"ova's", Kind, Kind, k(ReleaseKind::Ova)},
    {u"ovas", Kind, Kind, k(ReleaseKind::Ova)}, {u"ова", Kind, Kind, k(ReleaseKind::Ova)},
    {u"special", Kind, Kind, k(ReleaseKind::Special), Weak}, {u"specials", Kind, Kind, k(ReleaseKind::Special), Weak},
    {u"sp", Kind, Kind, k(ReleaseKind::Special), Weak}, {u"sps", Kind, Kind, k(ReleaseKind::Special), Weak},
    {u"omake", Kind, Kind, k(ReleaseKind::Special), Weak}, {u"extra", Kind, Kind, k(ReleaseKind::Special), Weak},
    {u"extras", Kind, Kind, k(ReleaseKind::Special), Weak}, {u"bonus", Kind, Kind, k(ReleaseKind::Special), Weak},
    {u"recap", Kind, Kind, k(ReleaseKind::Special), Weak}, {u"menu", Kind, Kind, k(ReleaseKind::Special), Weak},
    {u"спешл", Kind, Kind, k(ReleaseKind::Special), Weak}, {u"спэшл", Kind, Kind, k(ReleaseKind::Special), Weak},
    {u"спешал", Kind, Kind, k(ReleaseKind::Special), Weak},
    {u"movie", Kind, Kind, k(ReleaseKind::Movie), Weak}, {u"movies", Kind, Kind, k(ReleaseKind::Movie), Weak},
    {u"film", Kind, Kind, k(ReleaseKind::Movie), Weak}, {u"фильм", Kind, Kind, k(ReleaseKind::Movie), Weak},
    {u"gekijouban", KindPrefix, None, k(ReleaseKind::Movie)}, {u"gekijoban", KindPrefix, None, k(ReleaseKind::Movie)},
    {u"gekijōban", KindPrefix, None, k(ReleaseKind::Movie)}, {u"劇場版", KindPrefix, None, k(ReleaseKind::Movie)},
    {u"ncop", Kind, Kind, k(ReleaseKind::Opening)}, {u"op", Kind, Kind, k(ReleaseKind::Opening), Weak},
    {u"opening", Kind, Kind, k(ReleaseKind::Opening), Weak}, {u"опенинг", Kind, Kind, k(ReleaseKind::Opening), Weak},
    {u"nced", Kind, Kind, k(ReleaseKind::Ending)}, {u"ed", Kind, Kind, k(ReleaseKind::Ending), Weak},
    {u"ending", Kind, Kind, k(ReleaseKind::Ending), Weak}, {u"эндинг", Kind, Kind, k(ReleaseKind::Ending), Weak},
    {u"pv", Kind, Kind, k(ReleaseKind::Preview), Weak}, {u"preview", Kind, Kind, k(ReleaseKind::Preview), Weak},
    {u"trailer", Kind, Kind, k(ReleaseKind::Preview), Weak}, {u"teaser", Kind, Kind, k(ReleaseKind::Preview), Weak},
    {u"cm", Kind, Kind, k(ReleaseKind::Preview), Weak}, {u"promo", Kind, Kind, k(ReleaseKind::Preview), Weak},
    {u"трейлер", Kind, Kind, k(ReleaseKind::Preview), Weak},
    // Episode and season words: the number beside them.
    {u"e", None, Episode}, {u"ep", None, Episode}, {u"ep.", None, Episode}, {u"eps", None, Episode},
    {u"episode", None, Episode}, {u"episodes", None, Episode}, {u"серия", None, Episode, 0, Postfix},
    {u"серии", None, Episode}, {u"эпизод", None, Episode}, {u"s", None, Season},
    {u"season", None, Season, 0, Postfix}, {u"сезон", None, Season, 0, Postfix},
    {u"first", Ordinal, None, 1}, {u"second", Ordinal, None, 2}, {u"third", Ordinal, None, 3},
    {u"fourth", Ordinal, None, 4}, {u"fifth", Ordinal, None, 5}, {u"sixth", Ordinal, None, 6},
    // Volumes, and numbers that belong to the title.
    {u"vol", None, Volume}, {u"vol.", None, Volume}, {u"volume", None, Volume}, {u"disc", None, Volume},
    {u"disk", None, Volume}, {u"том", None, Volume}, {u"part", None, TitleNumber},
    {u"pt", None, TitleNumber}, {u"pt.", None, TitleNumber}, {u"cour", None, TitleNumber},
    {u"no", None, TitleNumber}, {u"no.", None, TitleNumber}, {u"nr.", None, TitleNumber},
    {u"часть", None, TitleNumber},
    {u"end", End, None}, {u"final", End, None}, {u"fin", End, None}, {u"конец", End, None},
    {u"v", None, Version}, {u"of", Of, None}, {u"из", Of, None},
    // The first words of Pairs that mean nothing alone.
    {u"the", None, None, 0, PairFirst}, {u"picture", None, None, 0, PairFirst}, {u"blu", None, None, 0, PairFirst},
};

// Two words read as one: "Dual Audio", "The Movie". Each first word is in Words with PairFirst.
struct Pair {
    std::u16string_view first, second;
    Role role;
    uint8_t value = 0;
};
inline constexpr Pair Pairs[] = {
    {u"dual", u"audio", Audio}, {u"multi", u"audio", Audio}, {u"the", u"movie", Kind, k(ReleaseKind::Movie)},
    {u"picture", u"drama", Kind, k(ReleaseKind::Special)}, {u"blu", u"ray", Source, BD},
    {u"web", u"dl", Source, WEB}, {u"multiple", u"subtitle", Noise}, {u"multiple", u"subtitles", Noise},
    {u"multi", u"subs", Noise}, {u"eng", u"sub", Noise}, {u"rus", u"sub", Noise}, {u"dts-hd", u"ma", Audio},
};
// clang-format on

// Extensions taken off a name before it is read.
inline constexpr std::u16string_view Extensions[] = {
    u"mkv", u"mp4",  u"avi", u"m4v", u"mov", u"wmv", u"flv",  u"webm", u"ts",   u"m2ts", u"mts",
    u"mpg", u"mpeg", u"vob", u"ogm", u"ogv", u"rm",  u"rmvb", u"3gp",  u"divx", u"asf",  u"mpv",
    u"m2v", u"ass",  u"ssa", u"srt", u"sub", u"idx", u"mka",  u"flac", u"mp3",  u"aac",  u"ac3",
};

} // namespace vq::releasewords
