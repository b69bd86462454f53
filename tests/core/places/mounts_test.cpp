#include "places/mounts.h"

#include <gtest/gtest.h>

#include <sys/sysmacros.h>

using namespace vq::places;

TEST(Mounts, LinesOfMountinfoAreRead) {
    struct Case {
        const char *line;
        bool ok;
        const char *root, *point, *type, *source;
        unsigned major, minor;
    } const cases[] = {
        {"36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw,errors=continue", true,
         "/mnt1", "/mnt/parent", "ext3", "/dev/root", 98, 0},
        // No optional fields; a blank and a backslash in the mount point.
        {"46 28 7:0 / /media/My\\040Disk\\134x rw - xfs /dev/loop0 rw", true, "/", "/media/My Disk\\x", "xfs",
         "/dev/loop0", 7, 0},
        {"50 28 0:51 / /mnt/nas rw shared:5 unbindable - cifs //srv/anime rw", true, "/", "/mnt/nas", "cifs",
         "//srv/anime", 0, 51},
        {"46 28 7:0 / /x rw", false, "", "", "", "", 0, 0},
        {"46 28 7-0 / /x rw - ext4 /dev/loop0 rw", false, "", "", "", "", 0, 0},
        {"", false, "", "", "", "", 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const auto m = parseMountLine(c.line);
        ASSERT_EQ(m.has_value(), c.ok);
        if (!c.ok)
            continue;
        EXPECT_EQ(m->root, c.root);
        EXPECT_EQ(m->mountPoint, c.point);
        EXPECT_EQ(m->fsType, c.type);
        EXPECT_EQ(m->source, c.source);
        EXPECT_EQ(m->device, quint64(makedev(c.major, c.minor)));
    }
}

TEST(Mounts, PathsGoBetweenTheMountAndTheVolume) {
    struct Case {
        const char *point, *root, *absolute, *volume;
    } const cases[] = {
        {"/media/a", "/", "/media/a/Show/01.mkv", "Show/01.mkv"},
        {"/", "/", "/home/u/01.mkv", "home/u/01.mkv"},
        // A bind mount of one folder of the file system.
        {"/srv/anime", "/data/anime", "/srv/anime/Show/01.mkv", "data/anime/Show/01.mkv"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.absolute);
        MountedVolume m;
        m.mountPoint = c.point;
        m.root = c.root;
        EXPECT_EQ(Mounts::volumePath(m, c.absolute), c.volume);
        EXPECT_EQ(Mounts::absolutePath(m, c.volume), c.absolute);
    }
    // A file outside the folder a bind mount shows is not reached through it.
    MountedVolume bind;
    bind.mountPoint = "/srv/anime";
    bind.root = "/data/anime";
    EXPECT_EQ(Mounts::absolutePath(bind, "data/other/01.mkv"), QByteArray());
}

TEST(Mounts, TheLongestMountOfTheFilesDeviceHoldsIt) {
    Mounts m;
    for (const auto &[point, dev] :
         {std::pair{"/", 1}, {"/media/a", 2}, {"/media/a/b", 3}, {"/media/ab", 2}}) {
        MountedVolume v;
        v.mountPoint = point;
        v.root = "/";
        v.device = quint64(dev);
        v.ident = QString::fromLatin1(point);
        m.m_volumes.push_back(v);
    }
    struct Case {
        const char *path;
        int device;
        const char *mount;
    } const cases[] = {
        {"/media/a/x.mkv", 2, "/media/a"}, {"/media/a/b/x.mkv", 3, "/media/a/b"},
        {"/media/abc/x", 2, nullptr},      {"/home/x.mkv", 1, "/"},
        {"/media/a/x.mkv", 9, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        const MountedVolume *v = m.mountOf(c.path, quint64(c.device));
        EXPECT_EQ(v ? v->mountPoint : QByteArray("(none)"),
                  c.mount ? QByteArray(c.mount) : QByteArray("(none)"));
    }
}

TEST(Mounts, IdentityFollowsWhatTheFileSystemHas) {
    EXPECT_EQ(identOf(IdentKind::Uuid, QStringLiteral("AB-CD"), {}, 0, "ext4", {}, "/m"),
              QStringLiteral("uuid:ab-cd"));
    EXPECT_EQ(identOf(IdentKind::Source, {}, {}, 0, "cifs", QStringLiteral("//srv/a"), "/m"),
              QStringLiteral("source://srv/a"));
    EXPECT_EQ(identOf(IdentKind::Label, {}, QStringLiteral("DISK"), 1000, "vfat", {}, "/m"),
              QStringLiteral("label:DISK:1000"));
    EXPECT_EQ(identOf(IdentKind::Mount, {}, {}, 1000, "tmpfs", {}, "/tmp"),
              QStringLiteral("mount:tmpfs:/tmp"));
    EXPECT_TRUE(isNetworkFs("nfs4") && isNetworkFs("fuse.sshfs") && !isNetworkFs("ext4"));
    EXPECT_TRUE(holdsFiles("ext4") && holdsFiles("tmpfs") && !holdsFiles("proc") && !holdsFiles("cgroup2"));
}
