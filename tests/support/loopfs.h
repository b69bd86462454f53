#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vq::test {

// A small file system of its own kind in an image file, attached to a loop device and mounted: a
// drive that can be unplugged and plugged in again elsewhere. Needs root and loop devices; where
// there are none, whyNot() says so and the test is skipped.
class LoopVolume {
public:
    // kind: "ext4", "xfs", "btrfs"; the image is sparse.
    LoopVolume(const QString &kind, const QString &label);
    ~LoopVolume();
    LoopVolume(const LoopVolume &) = delete;
    LoopVolume &operator=(const LoopVolume &) = delete;

    static QString whyNot(const QString &kind);

    // Mounts at a new folder (each time another one); the mount point.
    QString plugIn();
    void unplug();
    const QString &mountPoint() const { return m_mount; }

private:
    QTemporaryDir m_dir;
    QString m_image, m_device, m_mount;
    int m_mounts = 0;
};

} // namespace vq::test
