// The release-name reader on names written the ways releases are named: fansub brackets, scene dots,
// underscores, Cyrillic titles, titles with numbers, seasons, specials, batches, names with no episode.
#include "intake/releasename.h"
#include "print.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

struct Row {
    const char *name, *title, *episode;
    // The other fields the name carries as key=value;...: s season, k kind, v version, g group,
    // r resolution, vt and at video and audio terms (a blank between), src source, y year, crc CRC32,
    // et episode title. A field not given must come out empty; the kind is "episode" when there is an
    // episode unless given.
    const char *rest;
};

// clang-format off
const Row Rows[] = {
    {"[SubsPlease] Sousou no Frieren - 01 (1080p) [F2A3B4C5].mkv", "Sousou no Frieren", "01", "g=SubsPlease;r=1080p;crc=F2A3B4C5"},
    {"[SubsPlease] Dandadan - 12 (720p) [0A1B2C3D].mkv", "Dandadan", "12", "g=SubsPlease;r=720p;crc=0A1B2C3D"},
    {"[Erai-raws] Kusuriya no Hitorigoto - 24 [1080p][Multiple Subtitle][9F8E7D6C].mkv", "Kusuriya no Hitorigoto", "24", "g=Erai-raws;r=1080p;crc=9F8E7D6C"},
    {"[HorribleSubs] Boku no Hero Academia - 88 [720p].mkv", "Boku no Hero Academia", "88", "g=HorribleSubs;r=720p"},
    {"[Judas] Jujutsu Kaisen - 47 [1080p][HEVC x265 10bit][Multi-Subs].mkv", "Jujutsu Kaisen", "47", "g=Judas;r=1080p;vt=HEVC x265 10bit"},
    {"[ASW] Oshi no Ko - 11 [1080p HEVC][3C4D5E6F].mkv", "Oshi no Ko", "11", "g=ASW;r=1080p;vt=HEVC;crc=3C4D5E6F"},
    {"[EMBER] Spy x Family (2023) (Season 2) - 05 [1080p] [Dual Audio HEVC WEBRip DD+] (Supai Famirii).mkv", "Spy x Family", "05", "g=EMBER;y=2023;s=2;r=1080p;vt=HEVC;at=Dual Audio DD+;src=WEB"},
    {"[Golumpa] Made in Abyss - 03 (Made in Abyss) [English Dub] [FuniDub 1080p x264 AAC] [ABCDEF01].mkv", "Made in Abyss", "03", "g=Golumpa;r=1080p;vt=x264;at=AAC;crc=ABCDEF01"},
    {"[Commie] Hyouka - 22 [BD 720p AAC] [E1D2C3B4].mkv", "Hyouka", "22", "g=Commie;src=BD;r=720p;at=AAC;crc=E1D2C3B4"},
    {"[Coalgirls] Clannad After Story (1920x1080 Blu-Ray FLAC) [CD5E8F12]/[Coalgirls]_Clannad_After_Story_05_(1920x1080_Blu-Ray_FLAC)_[89ABCDEF].mkv", "Clannad After Story", "05", "g=Coalgirls;r=1920x1080;src=BD;at=FLAC;crc=89ABCDEF"},
    {"[FFF] Mahouka Koukou no Rettousei - 01 [BD][1080p-FLAC][1A2B3C4D].mkv", "Mahouka Koukou no Rettousei", "01", "g=FFF;src=BD;r=1080p;at=FLAC;crc=1A2B3C4D"},
    {"[Doki] Nichijou - 26 (1280x720 Hi10P AAC) [5E6F7A8B].mkv", "Nichijou", "26", "g=Doki;r=1280x720;vt=Hi10P;at=AAC;crc=5E6F7A8B"},
    {"[UTW] Fate Zero - 25 [BD][h264-1080p][FLAC][0123ABCD].mkv", "Fate Zero", "25", "g=UTW;src=BD;vt=h264;r=1080p;at=FLAC;crc=0123ABCD"},
    {"[gg] Guilty Crown - 22 [0F1E2D3C].mkv", "Guilty Crown", "22", "g=gg;crc=0F1E2D3C"},
    {"[Underwater] Kyoukai no Kanata - 12 (720p) [END] [7B8C9D0E].mkv", "Kyoukai no Kanata", "12", "g=Underwater;r=720p;crc=7B8C9D0E"},
    {"[Chihiro] Kimi ni Todoke 2nd Season - 03 [720p Hi10P AAC][A1B2C3D4].mkv", "Kimi ni Todoke", "03", "g=Chihiro;s=2;r=720p;vt=Hi10P;at=AAC;crc=A1B2C3D4"},
    {"[Moozzi2] Kaguya-sama wa Kokurasetai - 01 (BD 1920x1080 x265-10Bit FLAC).mkv", "Kaguya-sama wa Kokurasetai", "01", "g=Moozzi2;src=BD;r=1920x1080;vt=x265 10Bit;at=FLAC"},
    {"[Beatrice-Raws] Violet Evergarden 05 [BDRip 1920x1080 HEVC FLAC].mkv", "Violet Evergarden", "05", "g=Beatrice-Raws;src=BD;r=1920x1080;vt=HEVC;at=FLAC"},
    {"[Anime Time] Naruto Shippuden - 500 [1080p][HEVC 10bit x265][AAC][Eng Sub].mkv", "Naruto Shippuden", "500", "g=Anime Time;r=1080p;vt=HEVC 10bit x265;at=AAC"},
    {"[Kawaiika-Raws] (1920x1080 HEVC AAC) Shingeki no Kyojin - 25.mkv", "Shingeki no Kyojin", "25", "g=Kawaiika-Raws;r=1920x1080;vt=HEVC;at=AAC"},
    {"[Ohys-Raws] Kimetsu no Yaiba - 19 (BS11 1280x720 x264 AAC).mp4", "Kimetsu no Yaiba", "19", "g=Ohys-Raws;r=1280x720;vt=x264;at=AAC"},
    {"[Leopard-Raws] Sword Art Online - 25 END (MX 1280x720 x264 AAC).mp4", "Sword Art Online", "25", "g=Leopard-Raws;r=1280x720;vt=x264;at=AAC"},
    {"[DKB] Blue Lock - S02E05 [1080p][HEVC x265 10bit][Multi-Subs].mkv", "Blue Lock", "05", "g=DKB;s=2;r=1080p;vt=HEVC x265 10bit"},
    {"[Yameii] Shangri-La Frontier - 25 [English Dub] [CR WEB-DL 1080p] [F00DBABE].mkv", "Shangri-La Frontier", "25", "g=Yameii;src=WEB;r=1080p;crc=F00DBABE"},
    {"[Tsundere-Raws] One Piece - 1071 [WEB 1080p].mkv", "One Piece", "1071", "g=Tsundere-Raws;src=WEB;r=1080p"},
    {"[SubsPlease] One Piece - 1100 (1080p) [1F2E3D4C].mkv", "One Piece", "1100", "g=SubsPlease;r=1080p;crc=1F2E3D4C"},
    {"[Cleo] Houseki no Kuni - 01 [Dual Audio 10bit BD1080p][HEVC-x265].mkv", "Houseki no Kuni", "01", "g=Cleo;at=Dual Audio;vt=10bit HEVC x265;src=BD;r=1080p"},
    {"[Nep_Blanc] Vinland Saga - 24 [1080p].mkv", "Vinland Saga", "24", "g=Nep_Blanc;r=1080p"},
    {"[NanDesuKa] Bocchi the Rock! - 07 (1080p) [B-Global].mkv", "Bocchi the Rock!", "07", "g=NanDesuKa;r=1080p;src=WEB"},
    {"[SallySubs] Tamako Market - 12v2 [BD 720p AAC] [CAFEBABE].mkv", "Tamako Market", "12", "g=SallySubs;v=2;src=BD;r=720p;at=AAC;crc=CAFEBABE"},
    {"[Reaktor] Toradora! - E01 [720p][x264][AAC].mkv", "Toradora!", "01", "g=Reaktor;r=720p;vt=x264;at=AAC"},
    {"[a-s] Cowboy Bebop - 05 - Ballad of Fallen Angels [BD 1080p].mkv", "Cowboy Bebop", "05", "g=a-s;src=BD;r=1080p;et=Ballad of Fallen Angels"},
    {"[Sokudo] Chainsaw Man - 01 [1080p BD AV1][dual audio].mkv", "Chainsaw Man", "01", "g=Sokudo;r=1080p;src=BD;vt=AV1;at=dual audio"},
    {"[Vivid] Shirobako - 13v3 [2A3B4C5D].mkv", "Shirobako", "13", "g=Vivid;v=3;crc=2A3B4C5D"},
    {"【MMZYSUB】Sousou no Frieren - 05 [1080P][GB].mp4", "Sousou no Frieren", "05", "g=MMZYSUB;r=1080P"},
    {"[Lilith-Raws] Kage no Jitsuryokusha ni Naritakute! - 14 [Baha][WEB-DL][1080p][AVC AAC][CHT][MP4].mp4", "Kage no Jitsuryokusha ni Naritakute!", "14", "g=Lilith-Raws;src=WEB;r=1080p;vt=AVC;at=AAC"},
    {"[NC-Raws] Mushoku Tensei - 12 (B-Global 1920x1080 HEVC AAC MKV) [E5F6A7B8].mkv", "Mushoku Tensei", "12", "g=NC-Raws;src=WEB;r=1920x1080;vt=HEVC;at=AAC;crc=E5F6A7B8"},
    {"[SubsPlease] Kimetsu no Yaiba - Hashira Geiko-hen - 01 (1080p) [3A4B5C6D].mkv", "Kimetsu no Yaiba - Hashira Geiko-hen", "01", "g=SubsPlease;r=1080p;crc=3A4B5C6D"},
    {"[SubsPlease] Mahoutsukai no Yome S2 - 13 (1080p) [1234ABCD].mkv", "Mahoutsukai no Yome", "13", "g=SubsPlease;s=2;r=1080p;crc=1234ABCD"},
    {"[Erai-raws] Tensei shitara Slime Datta Ken 3rd Season - 01 [1080p][HEVC][Multiple Subtitle].mkv", "Tensei shitara Slime Datta Ken", "01", "g=Erai-raws;s=3;r=1080p;vt=HEVC"},
    {"[Some-Stuffs] Pocket Monsters (2019) - 100 [1080p].mkv", "Pocket Monsters", "100", "g=Some-Stuffs;y=2019;r=1080p"},
    {"[Judas] Golden Kamuy (Season 4) - 01 [1080p][HEVC x265 10bit][Eng-Subs].mkv", "Golden Kamuy", "01", "g=Judas;s=4;r=1080p;vt=HEVC x265 10bit"},
    {"[Group] Title - 05 [1080p] [v2].mkv", "Title", "05", "g=Group;r=1080p;v=2"},
    {"[SubsPlease] Yofukashi no Uta - 13.5 (1080p).mkv", "Yofukashi no Uta", "13.5", "g=SubsPlease;r=1080p"},
    {"[Ember] Yuru Camp△ - 05 [1080p].mkv", "Yuru Camp△", "05", "g=Ember;r=1080p"},
    {"[Hakata Ramen] Hibike Euphonium - 05 [BD 1080p HEVC 10bit AAC].mkv", "Hibike Euphonium", "05", "g=Hakata Ramen;src=BD;r=1080p;vt=HEVC 10bit;at=AAC"},
    {"[Group] Title - 05 [1080p][Dual-Audio].mkv", "Title", "05", "g=Group;r=1080p;at=Dual-Audio"},
    {"[Group] Title - 05 (BD 1080p x264 FLAC 5.1).mkv", "Title", "05", "g=Group;src=BD;r=1080p;vt=x264;at=FLAC 5.1"},
    {"[Group] Title - 05 [1080p AAC][Hi10].mkv", "Title", "05", "g=Group;r=1080p;at=AAC;vt=Hi10"},
    {"[Group] Title - 05 [BD 1080p][Opus 2.0].mkv", "Title", "05", "g=Group;src=BD;r=1080p;at=Opus 2.0"},
    {"[Group] Title - 05 [4K HDR10 HEVC].mkv", "Title", "05", "g=Group;r=4K;vt=HDR10 HEVC"},
    {"[Group] Title - 05 [1080p60].mkv", "Title", "05", "g=Group;r=1080p60"},
    {"[Group] Title - 05 [LD 480p].mkv", "Title", "05", "g=Group;src=LD;r=480p"},
    {"[Group] Title - 05 [VHSRip].mkv", "Title", "05", "g=Group;src=VHS"},
    {"[Group] Title - 05 [DVD 480p XviD MP3].avi", "Title", "05", "g=Group;src=DVD;r=480p;vt=XviD;at=MP3"},
    {"[Group] Title - 05 [HDTV 720p].mkv", "Title", "05", "g=Group;src=TV;r=720p"},
    {"[Group] Title - 05 (TV 720p).mkv", "Title", "05", "g=Group;src=TV;r=720p"},
    {"[Group] Title - 05 [WEB-DL 1080p AVC AAC][Uncensored].mkv", "Title", "05", "g=Group;src=WEB;r=1080p;vt=AVC;at=AAC"},
    {"[Group] Title - 1000 [1080p].mkv", "Title", "1000", "g=Group;r=1080p"},
    {"[Group] Title [05][1080p].mkv", "Title", "05", "g=Group;r=1080p"},
    {"[Group] Title 05 [1080p].mkv", "Title", "05", "g=Group;r=1080p"},
    {"[Group][Title][05][BIG5][1080p].mp4", "Title", "05", "g=Group;r=1080p"},
    {"(Hi10)_Title_-_05_(BD_720p)(Group).mkv", "Title", "05", "g=Group;vt=Hi10;src=BD;r=720p"},
    {"Frieren.Beyond.Journeys.End.S01E05.1080p.CR.WEB-DL.AAC2.0.H.264-VARYG.mkv", "Frieren Beyond Journeys End", "05", "s=1;r=1080p;src=WEB;at=AAC2.0;vt=H.264;g=VARYG"},
    {"Vinland.Saga.S02E24.1080p.NF.WEB-DL.DDP5.1.H.264-NTb.mkv", "Vinland Saga", "24", "s=2;r=1080p;src=WEB;at=DDP5.1;vt=H.264;g=NTb"},
    {"Chainsaw.Man.S01E12.Katana.vs.Chainsaw.1080p.CR.WEB-DL.AAC2.0.H.264-NanDesuKa.mkv", "Chainsaw Man", "12", "s=1;et=Katana vs Chainsaw;r=1080p;src=WEB;at=AAC2.0;vt=H.264;g=NanDesuKa"},
    {"Attack.on.Titan.S04E28.The.Dawn.of.Humanity.2160p.WEB.H265-GRP.mkv", "Attack on Titan", "28", "s=4;et=The Dawn of Humanity;r=2160p;src=WEB;vt=H265;g=GRP"},
    {"Spy.x.Family.S02E01.1080p.WEBRip.x265-RARBG.mp4", "Spy x Family", "01", "s=2;r=1080p;src=WEB;vt=x265;g=RARBG"},
    {"Cowboy.Bebop.1998.S01E01.1080p.BluRay.x264-GRP.mkv", "Cowboy Bebop", "01", "y=1998;s=1;r=1080p;src=BD;vt=x264;g=GRP"},
    {"Akira.1988.1080p.BluRay.x264.DTS-HD.MA.5.1-GRP.mkv", "Akira", "", "y=1988;r=1080p;src=BD;vt=x264;at=DTS-HD.MA 5.1;g=GRP"},
    {"Perfect.Blue.1997.REMASTERED.1080p.BluRay.x265.10bit.AAC5.1-GRP.mkv", "Perfect Blue", "", "y=1997;r=1080p;src=BD;vt=x265 10bit;at=AAC5.1;g=GRP"},
    {"Your.Name.2016.720p.BluRay.x264-GRP.mkv", "Your Name", "", "y=2016;r=720p;src=BD;vt=x264;g=GRP"},
    {"Cyberpunk.Edgerunners.S01.1080p.NF.WEB-DL.DDP5.1.Atmos.x264-GRP/Cyberpunk.Edgerunners.S01E03.1080p.NF.WEB-DL.DDP5.1.Atmos.x264-GRP.mkv", "Cyberpunk Edgerunners", "03", "s=1;r=1080p;src=WEB;at=DDP5.1 Atmos;vt=x264;g=GRP"},
    {"Demon.Slayer.Kimetsu.no.Yaiba.S03E11.A.Connected.Bond.Daybreak.and.First.Light.1080p.CR.WEB-DL.AAC2.0.H.264-VARYG.mkv", "Demon Slayer Kimetsu no Yaiba", "11", "s=3;et=A Connected Bond Daybreak and First Light;r=1080p;src=WEB;at=AAC2.0;vt=H.264;g=VARYG"},
    {"Mob.Psycho.100.S03E12.1080p.WEB.H264-GRP.mkv", "Mob Psycho 100", "12", "s=3;r=1080p;src=WEB;vt=H264;g=GRP"},
    {"Steins.Gate.0.S01E23.1080p.BluRay.x264-GRP.mkv", "Steins Gate 0", "23", "s=1;r=1080p;src=BD;vt=x264;g=GRP"},
    {"Kaiju.No.8.S01E01.1080p.WEB.H264-GRP.mkv", "Kaiju No 8", "01", "s=1;r=1080p;src=WEB;vt=H264;g=GRP"},
    {"86.Eighty.Six.S01E01.1080p.WEB.H264-GRP.mkv", "86 Eighty Six", "01", "s=1;r=1080p;src=WEB;vt=H264;g=GRP"},
    {"Re.Zero.Starting.Life.in.Another.World.S03E01.1080p.WEB.H264-GRP.mkv", "Re Zero Starting Life in Another World", "01", "s=3;r=1080p;src=WEB;vt=H264;g=GRP"},
    {"One.Piece.E1071.1080p.WEB.H264-GRP.mkv", "One Piece", "1071", "r=1080p;src=WEB;vt=H264;g=GRP"},
    {"Naruto.Shippuden.Episode.500.720p.HDTV.x264-GRP.mkv", "Naruto Shippuden", "500", "r=720p;src=TV;vt=x264;g=GRP"},
    {"Trigun.Stampede.S01E12.FINAL.1080p.WEB.H264-GRP.mkv", "Trigun Stampede", "12", "s=1;r=1080p;src=WEB;vt=H264;g=GRP"},
    {"Bleach.Thousand-Year.Blood.War.S02E01.1080p.DSNP.WEB-DL.DDP5.1.H.264-GRP.mkv", "Bleach Thousand-Year Blood War", "01", "s=2;r=1080p;src=WEB;at=DDP5.1;vt=H.264;g=GRP"},
    {"The.Apothecary.Diaries.S01E24.1080p.CR.WEB-DL.DUAL.AAC2.0.H.264-GRP.mkv", "The Apothecary Diaries", "24", "s=1;r=1080p;src=WEB;at=AAC2.0;vt=H.264;g=GRP"},
    {"Dandadan.S01E01.720p.HEVC.x265-MeGusta.mkv", "Dandadan", "01", "s=1;r=720p;vt=HEVC x265;g=MeGusta"},
    {"Sousou.no.Frieren.E28.1080p.mkv", "Sousou no Frieren", "28", "r=1080p"},
    {"Blue.Lock.S02E05.REPACK.1080p.mkv", "Blue Lock", "05", "s=2;r=1080p"},
    {"Cowboy.Bebop.The.Movie.2001.1080p.BluRay.x264-GRP.mkv", "Cowboy Bebop", "", "k=movie;y=2001;r=1080p;src=BD;vt=x264;g=GRP"},
    {"Ghost.in.the.Shell.1995.REMASTERED.1080p.BluRay.x264.DTS-GRP.mkv", "Ghost in the Shell", "", "y=1995;r=1080p;src=BD;vt=x264;at=DTS;g=GRP"},
    {"Jujutsu.Kaisen.S02E05.1080p.WEB.H.264.mkv", "Jujutsu Kaisen", "05", "s=2;r=1080p;src=WEB;vt=H.264"},
    {"Oshi.no.Ko.S02E01.1080p.HIDIVE.WEB-DL.AAC2.0.H.264-VARYG.mkv", "Oshi no Ko", "01", "s=2;r=1080p;src=WEB;at=AAC2.0;vt=H.264;g=VARYG"},
    {"Tokyo.Ghoul.S01E01.Tragedy.720p.BluRay.x264.mkv", "Tokyo Ghoul", "01", "s=1;et=Tragedy;r=720p;src=BD;vt=x264"},
    {"Made.in.Abyss.S02E12.1080p.WEB.x264.mkv", "Made in Abyss", "12", "s=2;r=1080p;src=WEB;vt=x264"},
    {"Title.S02E05.1080p.WEB.x264-GRP.mkv", "Title", "05", "s=2;r=1080p;src=WEB;vt=x264;g=GRP"},
    {"Paprika.2006.1080p.BluRay.x264-GRP.mkv", "Paprika", "", "y=2006;r=1080p;src=BD;vt=x264;g=GRP"},
    {"Title.S01.1080p.BluRay.x264-GRP", "Title", "", "s=1;r=1080p;src=BD;vt=x264;g=GRP"},
    {"Title.S2.E05.720p.mkv", "Title", "05", "s=2;r=720p"},
    {"Dr.Stone.S01E01.1080p.mkv", "Dr Stone", "01", "s=1;r=1080p"},
    {"Title.05.mkv", "Title", "05", ""},
    {"[Group]_Title_-_07_[720p][AAC].mp4", "Title", "07", "g=Group;r=720p;at=AAC"},
    {"[Frostii]_Kyoukai_no_Kanata_-_05_[720p][ABCD1234].mkv", "Kyoukai no Kanata", "05", "g=Frostii;r=720p;crc=ABCD1234"},
    {"[Hatsuyuki]_Kuroko_no_Basuke_-_25_[1280x720][5A6B7C8D].mkv", "Kuroko no Basuke", "25", "g=Hatsuyuki;r=1280x720;crc=5A6B7C8D"},
    {"[Mazui]_Toradora!_-_05_[8A9B0C1D].mkv", "Toradora!", "05", "g=Mazui;crc=8A9B0C1D"},
    {"[Zero-Raws]_Mushishi_Zoku_Shou_-_01_(BS11_1280x720_x264_AAC).mp4", "Mushishi Zoku Shou", "01", "g=Zero-Raws;r=1280x720;vt=x264;at=AAC"},
    {"(Hi10)_Gosick_-_08_(BD_720p)_(Afro).mkv", "Gosick", "08", "g=Afro;vt=Hi10;src=BD;r=720p"},
    {"[Elysium]_Steins;Gate_-_01_(BD.1080p.FLAC)_[E1F2A3B4].mkv", "Steins;Gate", "01", "g=Elysium;src=BD;r=1080p;at=FLAC;crc=E1F2A3B4"},
    {"Sword_Art_Online_-_01_[1080p].mkv", "Sword Art Online", "01", "r=1080p"},
    {"Lucky_Star_01_[DVD].avi", "Lucky Star", "01", "src=DVD"},
    {"[Group]_Title_Name_Season_2_-_05_[1080p].mkv", "Title Name", "05", "g=Group;s=2;r=1080p"},
    {"Haikyuu_S4_-_13_[720p].mkv", "Haikyuu", "13", "s=4;r=720p"},
    {"[Exiled-Destiny]_Azumanga_Daioh_Ep01_(ABCD1234).avi", "Azumanga Daioh", "01", "g=Exiled-Destiny;crc=ABCD1234"},
    {"Mushishi_OVA_-_Hihamukage_[BD].mkv", "Mushishi", "", "k=ova;et=Hihamukage;src=BD"},
    {"[a4e]_Noir_-_01_[DVD][x264].mkv", "Noir", "01", "g=a4e;src=DVD;vt=x264"},
    {"[AniLibria.TV] Магическая битва ТВ-2 - 05 [WEBRip 1080p].mkv", "Магическая битва", "05", "g=AniLibria.TV;s=2;src=WEB;r=1080p"},
    {"[AniDub] Ван-Пис - 1071 [1080p].mkv", "Ван-Пис", "1071", "g=AniDub;r=1080p"},
    {"Человек-бензопила 01 серия.mkv", "Человек-бензопила", "01", ""},
    {"Наруто 5 серия [Anilibria].mkv", "Наруто", "5", "g=Anilibria"},
    {"Атака титанов - 25 [BDRip 1080p].mkv", "Атака титанов", "25", "src=BD;r=1080p"},
    {"Атака титанов 2 сезон - 05.mkv", "Атака титанов", "05", "s=2"},
    {"Монолог фармацевта - 01 [WEB 1080p].mkv", "Монолог фармацевта", "01", "src=WEB;r=1080p"},
    {"[SHIZA Project] Поднятие уровня в одиночку - 12 [WEB-DL 1080p].mkv", "Поднятие уровня в одиночку", "12", "g=SHIZA Project;src=WEB;r=1080p"},
    {"Клинок, рассекающий демонов ТВ-3 - 11 [AniLibria].mkv", "Клинок, рассекающий демонов", "11", "s=3;g=AniLibria"},
    {"Ковбой Бибоп - 26 [DVDRip].avi", "Ковбой Бибоп", "26", "src=DVD"},
    {"Евангелион (фильм 1) [BDRip 1080p].mkv", "Евангелион", "1", "k=movie;src=BD;r=1080p"},
    {"Тетрадь смерти - 37 [END].mkv", "Тетрадь смерти", "37", ""},
    {"Стальной алхимик Братство - 64 (BD 720p).mkv", "Стальной алхимик Братство", "64", "src=BD;r=720p"},
    {"Унесённые призраками (2001) [BDRip 1080p].mkv", "Унесённые призраками", "", "y=2001;src=BD;r=1080p"},
    {"Врата Штейна 0 - 12 [1080p].mkv", "Врата Штейна 0", "12", "r=1080p"},
    {"Моб Психо 100 ТВ-3 - 01.mkv", "Моб Психо 100", "01", "s=3"},
    {"Re:Зеро. Жизнь с нуля в альтернативном мире - 05 [AniLibria.TV].mkv", "Re:Зеро. Жизнь с нуля в альтернативном мире", "05", "g=AniLibria.TV"},
    {"Мастера меча онлайн OVA 1 [BDRip].mkv", "Мастера меча онлайн", "1", "k=ova;src=BD"},
    {"Наруто Ураганные хроники - Серия 500.mkv", "Наруто Ураганные хроники", "500", ""},
    {"Токийский гуль - спешл 1.mkv", "Токийский гуль", "1", "k=special"},
    {"Семья шпиона - 05 [Jap+Rus Sub].mkv", "Семья шпиона", "05", ""},
    {"Ванпанчмен 2 сезон 12 серия.mkv", "Ванпанчмен", "12", "s=2"},
    {"Волчица и пряности/05.mkv", "Волчица и пряности", "05", ""},
    {"Хеллсинг OVA 10 [DVDRip].avi", "Хеллсинг", "10", "k=ova;src=DVD"},
    {"Берсерк (1997) - 25 [DVD].avi", "Берсерк", "25", "y=1997;src=DVD"},
    {"Сейлор Мун 200 серия.avi", "Сейлор Мун", "200", ""},
    {"Тёмный дворецкий ТВ2 - 03 [HDTVRip].avi", "Тёмный дворецкий", "03", "s=2;src=TV"},
    {"[SubsPlease] 86 - 23 (1080p) [5A5A5A5A].mkv", "86", "23", "g=SubsPlease;r=1080p;crc=5A5A5A5A"},
    {"[Group] 86 Eighty-Six - 05 [1080p].mkv", "86 Eighty-Six", "05", "g=Group;r=1080p"},
    {"[Group] Mob Psycho 100 III - 12 [1080p].mkv", "Mob Psycho 100 III", "12", "g=Group;r=1080p"},
    {"[Judas] Mob Psycho 100 S2 - 03 [1080p][HEVC x265 10bit][Multi-Subs].mkv", "Mob Psycho 100", "03", "g=Judas;s=2;r=1080p;vt=HEVC x265 10bit"},
    {"[Group] Steins;Gate 0 - 23 [BD 1080p].mkv", "Steins;Gate 0", "23", "g=Group;src=BD;r=1080p"},
    {"[Group] Steins;Gate 0 - 12.5 [BD 1080p].mkv", "Steins;Gate 0", "12.5", "g=Group;src=BD;r=1080p"},
    {"[Group] Kaiju No. 8 - 12 [1080p].mkv", "Kaiju No. 8", "12", "g=Group;r=1080p"},
    {"[Group] Kaiju No. 8 - 05 (1080p) [DEADBEEF].mkv", "Kaiju No. 8", "05", "g=Group;r=1080p;crc=DEADBEEF"},
    {"[Group] Re:Zero kara Hajimeru Isekai Seikatsu - 25 [1080p].mkv", "Re:Zero kara Hajimeru Isekai Seikatsu", "25", "g=Group;r=1080p"},
    {"Re:Zero kara Hajimeru Isekai Seikatsu 2nd Season - 03 [1080p].mkv", "Re:Zero kara Hajimeru Isekai Seikatsu", "03", "s=2;r=1080p"},
    {"[Group] 3-gatsu no Lion - 22 [1080p].mkv", "3-gatsu no Lion", "22", "g=Group;r=1080p"},
    {"[Group] Gundam 00 - 25 [BD].mkv", "Gundam 00", "25", "g=Group;src=BD"},
    {"[Group] No.6 - 11 [720p].mkv", "No.6", "11", "g=Group;r=720p"},
    {"[Group] Mob Psycho 100 [BD 1080p].mkv", "Mob Psycho 100", "", "g=Group;src=BD;r=1080p"},
    {"[Group] Steins;Gate 0 [BD 1080p].mkv", "Steins;Gate 0", "", "g=Group;src=BD;r=1080p"},
    {"[Group] Zankyou no Terror - 11 END [720p].mkv", "Zankyou no Terror", "11", "g=Group;r=720p"},
    {"[Group] Darling in the FranXX - 24 [1080p].mkv", "Darling in the FranXX", "24", "g=Group;r=1080p"},
    {"[Group] Mob Psycho 100 S3 - 01 [1080p].mkv", "Mob Psycho 100", "01", "g=Group;s=3;r=1080p"},
    {"[Group] 2.5-jigen no Ririsa - 05 [1080p].mkv", "2.5-jigen no Ririsa", "05", "g=Group;r=1080p"},
    {"[Group] Tokyo 24-ku - 05 [1080p].mkv", "Tokyo 24-ku", "05", "g=Group;r=1080p"},
    {"[Group] Hunter x Hunter (2011) - 148 [1080p].mkv", "Hunter x Hunter", "148", "g=Group;y=2011;r=1080p"},
    {"[Group] Kino no Tabi (2017) - 12.mkv", "Kino no Tabi", "12", "g=Group;y=2017"},
    {"[Group] Gintama' - 51 [720p].mkv", "Gintama'", "51", "g=Group;r=720p"},
    {"[Group] Uma Musume Pretty Derby Season 3 - 13 [1080p].mkv", "Uma Musume Pretty Derby", "13", "g=Group;s=3;r=1080p"},
    {"[Group] Evangelion 3.0+1.0 Thrice Upon a Time [1080p].mkv", "Evangelion 3.0+1.0 Thrice Upon a Time", "", "g=Group;r=1080p"},
    {"[Group] Akira 1988 [BD].mkv", "Akira", "", "g=Group;y=1988;src=BD"},
    {"[Group] Title S2 - 05 [1080p].mkv", "Title", "05", "g=Group;s=2;r=1080p"},
    {"[Group] Title S02E05 [1080p].mkv", "Title", "05", "g=Group;s=2;r=1080p"},
    {"[Group] Title 2nd Season - 05 [1080p].mkv", "Title", "05", "g=Group;s=2;r=1080p"},
    {"[Group] Title Season 2 - 05 [1080p].mkv", "Title", "05", "g=Group;s=2;r=1080p"},
    {"[Group] Title Second Season - 05 [1080p].mkv", "Title", "05", "g=Group;s=2;r=1080p"},
    {"[Group] Title 3rd Season - 05v2 [1080p].mkv", "Title", "05", "g=Group;s=3;v=2;r=1080p"},
    {"[Group] Title (Season 2) - 05 [1080p].mkv", "Title", "05", "g=Group;s=2;r=1080p"},
    {"Title - S03E10 - The Name [1080p].mkv", "Title", "10", "s=3;et=The Name;r=1080p"},
    {"Title 2x05 [720p].mkv", "Title", "05", "s=2;r=720p"},
    {"[Group] Shingeki no Kyojin The Final Season - 16 [1080p].mkv", "Shingeki no Kyojin The Final Season", "16", "g=Group;r=1080p"},
    {"[Group] Shingeki no Kyojin The Final Season Part 2 - 05 [1080p].mkv", "Shingeki no Kyojin The Final Season Part 2", "05", "g=Group;r=1080p"},
    {"Title S01E01-E12 [BD 1080p].mkv", "Title", "01-12", "s=1;src=BD;r=1080p"},
    {"[Group] Title S2 [01-12] [BD 1080p]", "Title", "01-12", "g=Group;s=2;src=BD;r=1080p"},
    {"[Group] Title Season 2 [BD 1080p]/[Group] Title - 05 [BD 1080p].mkv", "Title", "05", "g=Group;s=2;src=BD;r=1080p"},
    {"Title/Season 2/05.mkv", "Title", "05", "s=2"},
    {"Title/Specials/01.mkv", "Title", "01", "k=special"},
    {"[Group] Title 2 - 05 [1080p].mkv", "Title 2", "05", "g=Group;r=1080p"},
    {"Title S01 E05.mkv", "Title", "05", "s=1"},
    {"Title S01E05E06.mkv", "Title", "05-06", "s=1"},
    {"Title - 1x05 - Pilot.mkv", "Title", "05", "s=1;et=Pilot"},
    {"Title Сезон 3 - 07.mkv", "Title", "07", "s=3"},
    {"Title OVA 2.avi", "Title", "2", "k=ova"},
    {"Title - NCOP 1.mkv", "Title", "1", "k=opening"},
    {"[Group] Title - NCED 2 [BD 1080p].mkv", "Title", "2", "k=ending;g=Group;src=BD;r=1080p"},
    {"[Group] Title - NCOP1v2 [BD 1080p][AABBCCDD].mkv", "Title", "1", "k=opening;v=2;g=Group;src=BD;r=1080p;crc=AABBCCDD"},
    {"[Group] Title - OVA [BD 1080p].mkv", "Title", "", "k=ova;g=Group;src=BD;r=1080p"},
    {"[Group] Title OAD - 03 [720p].mkv", "Title", "03", "k=ova;g=Group;r=720p"},
    {"[Group] Title - SP01 [BD 1080p].mkv", "Title", "01", "k=special;g=Group;src=BD;r=1080p"},
    {"[Group] Title - Special 2 [1080p].mkv", "Title", "2", "k=special;g=Group;r=1080p"},
    {"[Group] Title Specials - 03 [BD].mkv", "Title", "03", "k=special;g=Group;src=BD"},
    {"[Group] Title - PV1 [BD 1080p].mkv", "Title", "1", "k=preview;g=Group;src=BD;r=1080p"},
    {"[Group] Title - Trailer [1080p].mkv", "Title", "", "k=preview;g=Group;r=1080p"},
    {"[Group] Title - CM02 [BD].mkv", "Title", "02", "k=preview;g=Group;src=BD"},
    {"[Group] Title - Menu 1 [BD].mkv", "Title", "1", "k=special;g=Group;src=BD"},
    {"[Group] Title - Opening [1080p].mkv", "Title", "", "k=opening;g=Group;r=1080p"},
    {"[Group] Title - ED3 [1080p].mkv", "Title", "3", "k=ending;g=Group;r=1080p"},
    {"[Group] Title - OP 02 - Song Name [BD].mkv", "Title", "02", "k=opening;et=Song Name;g=Group;src=BD"},
    {"[Group] Title The Movie - Mugen Train [BD 1080p].mkv", "Title", "", "k=movie;et=Mugen Train;g=Group;src=BD;r=1080p"},
    {"[Group] Title Movie 2 - Eternal [BD 1080p].mkv", "Title", "2", "k=movie;et=Eternal;g=Group;src=BD;r=1080p"},
    {"Gekijouban Title (2019) [BD 1080p].mkv", "Title", "", "k=movie;y=2019;src=BD;r=1080p"},
    {"[Group] Title - Movie [1080p].mkv", "Title", "", "k=movie;g=Group;r=1080p"},
    {"[Group] Title Picture Drama - 02 [BD].mkv", "Title", "02", "k=special;g=Group;src=BD"},
    {"[Group] Title - 12.5 - Special Episode [1080p].mkv", "Title", "12.5", "et=Special Episode;g=Group;r=1080p"},
    {"Title - Omake 01.mkv", "Title", "01", "k=special"},
    {"[Group] Title - Extra 01 [BD].mkv", "Title", "01", "k=special;g=Group;src=BD"},
    {"[Group] Title (OVA) - 01 [DVD].mkv", "Title", "01", "k=ova;g=Group;src=DVD"},
    {"[Group] Title OVA2 [DVD].mkv", "Title", "2", "k=ova;g=Group;src=DVD"},
    {"[Group] Title - 05 (OVA) [1080p].mkv", "Title", "05", "k=ova;g=Group;r=1080p"},
    {"[Group] Title - 00 [1080p].mkv", "Title", "00", "g=Group;r=1080p"},
    {"[Group] Title Episode 0 [1080p].mkv", "Title", "0", "g=Group;r=1080p"},
    {"Special A - 05.mkv", "Special A", "05", ""},
    {"[Group] Title (01-12) [BD 1080p FLAC]", "Title", "01-12", "g=Group;src=BD;r=1080p;at=FLAC"},
    {"[Group] Title - 01-12 [1080p][Batch]", "Title", "01-12", "g=Group;r=1080p"},
    {"[Group] Title 01~24 [BD 720p]", "Title", "01-24", "g=Group;src=BD;r=720p"},
    {"[Group] Title 01 ~ 24 [BD 720p]", "Title", "01-24", "g=Group;src=BD;r=720p"},
    {"[Group] Title [01-26][DVDRip]", "Title", "01-26", "g=Group;src=DVD"},
    {"[Group] Title Complete [BD 1080p]", "Title", "", "g=Group;src=BD;r=1080p"},
    {"Title S01 [BD 1080p]", "Title", "", "s=1;src=BD;r=1080p"},
    {"[Group] Title Vol.1-6 [BD 1080p]", "Title", "", "g=Group;src=BD;r=1080p"},
    {"[Group] Title Vol. 3 - 05 [BD].mkv", "Title", "05", "g=Group;src=BD"},
    {"[Group] Akira (1988) [BD 1080p HEVC FLAC].mkv", "Akira", "", "g=Group;y=1988;src=BD;r=1080p;vt=HEVC;at=FLAC"},
    {"Kimi no Na wa. (2016) [BD 1080p].mkv", "Kimi no Na wa.", "", "y=2016;src=BD;r=1080p"},
    {"[Group] Perfect Blue [BD 1080p].mkv", "Perfect Blue", "", "g=Group;src=BD;r=1080p"},
    {"Spirited Away (2001).mkv", "Spirited Away", "", "y=2001"},
    {"[Group] Koe no Katachi [BD 1080p x265 10bit].mkv", "Koe no Katachi", "", "g=Group;src=BD;r=1080p;vt=x265 10bit"},
    {"Ghost in the Shell (1995) [BDRip 1080p].mkv", "Ghost in the Shell", "", "y=1995;src=BD;r=1080p"},
    {"[Group] Tenki no Ko [BD 2160p HDR].mkv", "Tenki no Ko", "", "g=Group;src=BD;r=2160p;vt=HDR"},
    {"Tokyo Godfathers.avi", "Tokyo Godfathers", "", ""},
    {"[Group] Sword of the Stranger [BD 1080p].mkv", "Sword of the Stranger", "", "g=Group;src=BD;r=1080p"},
    {"[Group] Title - 05v2 [1080p][ABCD1234].mkv", "Title", "05", "v=2;g=Group;r=1080p;crc=ABCD1234"},
    {"[Group] Title - 05 v3 [1080p].mkv", "Title", "05", "v=3;g=Group;r=1080p"},
    {"[Group] Title - 05 [1080p][12345678][ABCDEF12].mkv", "Title", "05", "g=Group;r=1080p;crc=ABCDEF12"},
    {"[Group] Title - 05 [20190105] [deadbeef].mkv", "Title", "05", "g=Group;crc=DEADBEEF"},
    {"[Group] Title - 05 [DEADBEEF] [1080p].mkv", "Title", "05", "g=Group;crc=DEADBEEF;r=1080p"},
    {"[Group] Title - 05 (ABCD1234).mkv", "Title", "05", "g=Group;crc=ABCD1234"},
    {"[Group] Title - 05 [ABCD123].mkv", "Title", "05", "g=Group"},
    {"[Group] Title - 05 [ABCD12345].mkv", "Title", "05", "g=Group"},
    {"[Group] Title - 05 [GHIJ1234].mkv", "Title", "05", "g=Group"},
    {"[Group] Title - 01v2 (1080p) [ABCD1234].mkv", "Title", "01", "v=2;g=Group;r=1080p;crc=ABCD1234"},
    {"Title - 12 END.mkv", "Title", "12", ""},
    {"Title/01.mkv", "Title", "01", ""},
    {"[Group] Title (BD 1080p)/[Group] 05 [BD 1080p].mkv", "Title", "05", "g=Group;src=BD;r=1080p"},
    {"Cowboy Bebop/Cowboy Bebop - 05.mkv", "Cowboy Bebop", "05", ""},
    {"Title - 05.mkv", "Title", "05", ""},
    {"Title 05.mkv", "Title", "05", ""},
    {"05.mkv", "", "05", ""},
    {"Title.mkv", "Title", "", ""},
    {"Title - Episode 5.mkv", "Title", "5", ""},
    {"Title Ep05.mkv", "Title", "05", ""},
    {"Title Ep.05.mkv", "Title", "05", ""},
    {"Title #05.mkv", "Title", "05", ""},
    {"01 - The Apple.mkv", "", "01", "et=The Apple"},
    {"S01E05 - Name.mkv", "", "05", "s=1;et=Name"},
    {"Season 2/05.mkv", "", "05", "s=2"},
    {"[Group] Title 第05話 [1080p].mp4", "Title", "05", "g=Group;r=1080p"},
    {"[Group] Title 第5话 [1080p][CHS].mp4", "Title", "5", "g=Group;r=1080p"},
    {"[Group] Title - 05 [1080p][Group2].mkv", "Title", "05", "g=Group;r=1080p"},
    {"Title - 05 [1080p][Reaktor].mkv", "Title", "05", "g=Reaktor;r=1080p"},
    {"[Group] Title - 05 - Part 2 [1080p].mkv", "Title", "05", "et=Part 2;g=Group;r=1080p"},
    {"[Group] Dual! Parallel Trouble Adventure - 05 [DVD].mkv", "Dual! Parallel Trouble Adventure", "05", "g=Group;src=DVD"},
    {"[Group] Title - 05 [JPN BD Remux 1080p AVC FLAC].mkv", "Title", "05", "g=Group;src=BD;r=1080p;vt=AVC;at=FLAC"},
    {"[Group] Title - 05 [WEB 1080p AV1 Opus][Dual Audio].mkv", "Title", "05", "g=Group;src=WEB;r=1080p;vt=AV1;at=Opus Dual Audio"},
    {"[Group] Title - 05 [BD 1080p HEVC-10bit FLAC 2.0].mkv", "Title", "05", "g=Group;src=BD;r=1080p;vt=HEVC 10bit;at=FLAC 2.0"},
    {"[Group] Title - 05 [1080p][x264 AAC][RUS + JAP].mkv", "Title", "05", "g=Group;r=1080p;vt=x264;at=AAC"},
    {"[Group] Title - 05 [DVD Remux 480p MPEG2 AC3].mkv", "Title", "05", "g=Group;src=DVD;r=480p;vt=MPEG2;at=AC3"},
    {"[Group] Title - 05 [BD 1080p x264 10-bit TrueHD].mkv", "Title", "05", "g=Group;src=BD;r=1080p;vt=x264 10-bit;at=TrueHD"},
    {"[Group] Title - 05 [1080p 23.976fps].mkv", "Title", "05", "g=Group;r=1080p;vt=23.976fps"},
    {"[Group] Title - 05 [WEBRip 1080p E-AC-3].mkv", "Title", "05", "g=Group;src=WEB;r=1080p;at=E-AC-3"},
    {"[Group] Title - 05 [DVDRip 720x480 DivX].avi", "Title", "05", "g=Group;src=DVD;r=720x480;vt=DivX"},
    {"[Group] Title - 05 [AMZN WEB-DL 1080p DDP2.0 H.264].mkv", "Title", "05", "g=Group;src=WEB;r=1080p;at=DDP2.0;vt=H.264"},
};
// clang-format on

const char *const Keys[] = {"s", "k", "v", "g", "r", "vt", "at", "src", "y", "crc", "et"};

QString describe(const QString &title, const QString &episode, const QStringList &values) {
    QStringList parts;
    for (int i = 0; i < values.size(); ++i)
        if (!values[i].isEmpty())
            parts << QLatin1String(Keys[i]) + u'=' + values[i];
    return title + u'|' + episode + u'|' + parts.join(u';');
}

QString expected(const Row &row) {
    QStringList values(int(std::size(Keys)));
    for (const QString &pair : QString::fromUtf8(row.rest).split(u';', Qt::SkipEmptyParts)) {
        const QString key = pair.section(u'=', 0, 0);
        const auto k = std::find_if(std::begin(Keys), std::end(Keys), [&](const char *x) { return key == QLatin1String(x); });
        if (k == std::end(Keys))
            ADD_FAILURE() << "unknown key " << key.toStdString() << " in " << row.name;
        else
            values[int(k - std::begin(Keys))] = pair.section(u'=', 1);
    }
    const QString episode = QString::fromUtf8(row.episode);
    if (values[1].isEmpty() && !episode.isEmpty())
        values[1] = QStringLiteral("episode");
    return describe(QString::fromUtf8(row.title), episode, values);
}

QString actual(const vq::ReleaseName &r) {
    return describe(r.title, r.episode,
                    {r.season, vq::releaseKindWord(r.kind), r.version, r.group, r.resolution, r.videoTerms.join(u' '),
                     r.audioTerms.join(u' '), r.source, r.year, r.crc32, r.episodeTitle});
}

TEST(ReleaseName, ReadsEveryFieldOfOurList) {
    size_t right = 0;
    for (const Row &row : Rows) {
        const vq::ReleaseName r = vq::readReleaseName(QString::fromUtf8(row.name));
        EXPECT_EQ(actual(r), expected(row)) << row.name;
        right += r.title == QString::fromUtf8(row.title) && r.episode == QString::fromUtf8(row.episode);
    }
    std::printf("title and episode right for %zu of %zu names\n", right, std::size(Rows));
}

TEST(ReleaseName, EpisodeNumbers) {
    const struct {
        const char *name;
        double first, last;
    } cases[] = {
        {"Title - 01-12", 1, 12}, {"Title - 12.5", 12.5, 12.5}, {"Title - 00", 0, 0}, {"Title - 1071", 1071, 1071},
        {"Title S01E01E02", 1, 2}, {"Title 01 ~ 24", 1, 24}, {"Title - 05v2", 5, 5}, {"Title", -1, -1},
        {"Title - 12-01", -1, -1}, // not a range: "12-01" is no number at all
    };
    for (const auto &c : cases) {
        const vq::ReleaseName r = vq::readReleaseName(QString::fromUtf8(c.name));
        EXPECT_EQ(r.firstEpisode, c.first) << c.name;
        EXPECT_EQ(r.lastEpisode, c.last) << c.name;
    }
}

TEST(ReleaseName, FolderGivesWhatTheFileDoesNot) {
    const struct {
        const char *file, *folder, *title, *season, *kind;
    } cases[] = {
        {"05.mkv", "Title", "Title", "", "episode"},
        {"[Group] 05 [1080p].mkv", "/media/anime/[Group] Title (BD 1080p)", "Title", "", "episode"},
        {"05.mkv", "/media/Title/Season 2", "Title", "2", "episode"},
        {"01.mkv", "/media/Title/Specials/", "Title", "", "special"},
        {"NCOP.mkv", "Title/Extras", "Title", "", "opening"},
        {"[Group] Other - 05.mkv", "Title S3", "Other", "3", "episode"},
        {"[Group] 05.mkv", "", "", "", "episode"},
        {"05.mkv", "[Group]", "", "", "episode"}, // never the group's name
    };
    for (const auto &c : cases) {
        const vq::ReleaseName r = vq::readReleaseName(QString::fromUtf8(c.file), QString::fromUtf8(c.folder));
        EXPECT_EQ(r.title, QString::fromUtf8(c.title)) << c.file << " in " << c.folder;
        EXPECT_EQ(r.season, QString::fromUtf8(c.season)) << c.file << " in " << c.folder;
        EXPECT_EQ(vq::releaseKindWord(r.kind), QString::fromUtf8(c.kind)) << c.file << " in " << c.folder;
    }
}

TEST(ReleaseName, OddInputIsReadWithoutHarm) {
    const struct {
        QString name, title, episode;
    } cases[] = {
        {QString(), QString(), QString()},
        {QStringLiteral("[Group Title - 05.mkv"), QStringLiteral("[Group Title"), QStringLiteral("05")},
        {QStringLiteral("Title - 05]]]"), QStringLiteral("Title"), QStringLiteral("05")},
        {QStringLiteral("[][](){}"), QString(), QString()},
        {QStringLiteral(" - - 05 - - .mkv"), QString(), QStringLiteral("05")},
        {QStringLiteral("....mkv"), QString(), QString()},
        // Read up to its first 1024 characters.
        {QString(3000, u'a') + QStringLiteral(" - 05"), QString(1024, u'a'), QString()},
    };
    for (const auto &c : cases) {
        const vq::ReleaseName r = vq::readReleaseName(c.name);
        EXPECT_EQ(r.title, c.title) << c.name.left(40).toStdString();
        EXPECT_EQ(r.episode, c.episode) << c.name.left(40).toStdString();
    }
}

} // namespace
