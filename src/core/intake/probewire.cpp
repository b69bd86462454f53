#include "probewire.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string>

namespace vq {

namespace {

const QString kStatus = QStringLiteral("status");
const QString kDetail = QStringLiteral("detail");

} // namespace

QByteArray encodeProbeRequest(const QByteArray &path) {
    // Base64 keeps a line break or any other byte of a name from ending the line.
    return path.toBase64() + '\n';
}

std::optional<QByteArray> decodeProbeRequest(QByteArray line) {
    line = line.trimmed();
    const auto decoded = QByteArray::fromBase64Encoding(line, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty())
        return std::nullopt;
    return decoded.decoded;
}

QByteArray encodeProbeAnswer(const ProbeResult &r) {
    const TVVF &m = r.media;
    const QJsonObject o{
        {kStatus, int(r.status)},
        {kDetail, r.detail},
        {QStringLiteral("SizeBytes"), QString::number(m.SizeBytes)},
        {QStringLiteral("DurationMs"), QString::number(m.DurationMs)},
        {QStringLiteral("Width"), m.Width},
        {QStringLiteral("Height"), m.Height},
        {QStringLiteral("VideoCodec"), m.VideoCodec},
        {QStringLiteral("AudioCodec"), m.AudioCodec},
        {QStringLiteral("OverallBitrate"), m.OverallBitrate},
        {QStringLiteral("VideoBitrate"), m.VideoBitrate},
        {QStringLiteral("AudioBitrate"), m.AudioBitrate},
        {QStringLiteral("AudioHz"), m.AudioHz},
        {QStringLiteral("ContainerFormat"), m.ContainerFormat},
        {QStringLiteral("AudioStreamCount"), int(m.AudioStreamCount)},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<ProbeResult> decodeProbeAnswer(const QByteArray &line) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const int status = o.value(kStatus).toInt(-1);
    if (status < int(ProbeStatus::Ok) || status > int(ProbeStatus::WorkerMissing))
        return std::nullopt;
    ProbeResult r;
    r.status = ProbeStatus(status);
    r.detail = o.value(kDetail).toString();
    TVVF &m = r.media;
    // 64-bit numbers travel as text: a JSON number is a double.
    m.SizeBytes = o.value(QStringLiteral("SizeBytes")).toString().toLongLong();
    m.DurationMs = o.value(QStringLiteral("DurationMs")).toString().toLongLong();
    m.Width = o.value(QStringLiteral("Width")).toInt();
    m.Height = o.value(QStringLiteral("Height")).toInt();
    m.VideoCodec = o.value(QStringLiteral("VideoCodec")).toString();
    m.AudioCodec = o.value(QStringLiteral("AudioCodec")).toString();
    m.OverallBitrate = o.value(QStringLiteral("OverallBitrate")).toInt();
    m.VideoBitrate = o.value(QStringLiteral("VideoBitrate")).toInt();
    m.AudioBitrate = o.value(QStringLiteral("AudioBitrate")).toInt();
    m.AudioHz = o.value(QStringLiteral("AudioHz")).toInt();
    m.ContainerFormat = o.value(QStringLiteral("ContainerFormat")).toString();
    m.AudioStreamCount = quint8(o.value(QStringLiteral("AudioStreamCount")).toInt());
    return r;
}

} // namespace vq
