#include "loopfs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <stdexcept>
#include <unistd.h>

namespace vq::test {

namespace {

QString runTool(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error((program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) +
                                  QStringLiteral(": ") + QString::fromLocal8Bit(p.readAllStandardError()))
                                     .toStdString());
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QString mkfs(const QString &kind) {
    return QStandardPaths::findExecutable(QStringLiteral("mkfs.") + kind,
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
}

} // namespace

QString LoopVolume::whyNot(const QString &kind) {
    if (geteuid() != 0)
        return QStringLiteral("loop devices need root");
    if (!QFile::exists(QStringLiteral("/dev/loop-control")))
        return QStringLiteral("no loop devices here");
    if (mkfs(kind).isEmpty())
        return QStringLiteral("mkfs.%1 is not installed").arg(kind);
    QFile fs(QStringLiteral("/proc/filesystems"));
    if (!fs.open(QIODevice::ReadOnly) || !fs.readAll().contains('\t' + kind.toUtf8() + '\n'))
        return QStringLiteral("this kernel does not mount %1").arg(kind);
    return {};
}

LoopVolume::LoopVolume(const QString &kind, const QString &label) {
    m_image = m_dir.filePath(QStringLiteral("volume.img"));
    {
        QFile img(m_image);
        // xfs wants 300 MB at least; the image is sparse, so it costs what is written.
        if (!img.open(QIODevice::WriteOnly) ||
            !img.resize(kind == QLatin1String("ext4") ? 32 << 20 : 320 << 20))
            throw std::runtime_error("cannot make the image");
    }
    runTool(mkfs(kind), {QStringLiteral("-q"), QStringLiteral("-L"), label, m_image});
    m_device = runTool(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), m_image});
}

QString LoopVolume::plugIn() {
    m_mount = m_dir.filePath(QStringLiteral("mnt%1").arg(++m_mounts));
    QDir().mkpath(m_mount);
    runTool(QStringLiteral("mount"), {m_device, m_mount});
    return m_mount;
}

void LoopVolume::unplug() {
    if (m_mount.isEmpty())
        return;
    runTool(QStringLiteral("umount"), {m_mount});
    m_mount.clear();
}

LoopVolume::~LoopVolume() {
    try {
        unplug();
    } catch (const std::exception &) {
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_mount});
    }
    if (!m_device.isEmpty())
        QProcess::execute(QStringLiteral("losetup"), {QStringLiteral("-d"), m_device});
}

} // namespace vq::test
