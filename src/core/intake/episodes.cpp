#include "episodes.h"

#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/dataset.h"
#include "catalog/error.h"
#include "catalog/messages.h"

namespace vq {

namespace {

const QString kName = QStringLiteral("Name");
const QString kId = QStringLiteral("ID");

qint32 chosenKey(const std::optional<qint32> &key) {
    if (!key)
        throw Error(msg::noLanguageChosen());
    return *key;
}

qint32 typedNumber(const QString &text) {
    const std::optional<qint32> n = parseInt32(QStringView(text).trimmed());
    if (!n)
        throw Error(msg::notAnInteger(text));
    return *n;
}

// Opens a lookup table for the time of one store, and closes it again only if it was closed before.
class OpenForStore {
public:
    explicit OpenForStore(DataSet &table) : m_table(table), m_wasOpen(table.isOpen()) {
        if (!m_wasOpen)
            m_table.open();
    }
    ~OpenForStore() {
        m_table.cancel();
        if (!m_wasOpen)
            m_table.close();
    }
    OpenForStore(const OpenForStore &) = delete;
    OpenForStore &operator=(const OpenForStore &) = delete;

private:
    DataSet &m_table;
    bool m_wasOpen;
};

} // namespace

qint32 GiveIDt(const QString &name, DataSet &table) {
    table.setFiltered(false);
    if (table.recordCount() > 0) {
        table.setFilter(Filter::like(kName, name));
        table.setFiltered(true);
    }
    if (table.recordCount() == 0) {
        table.setFiltered(false);
        table.append();
        table.setValue(kName, name);
        table.post();
        // The posted row is the current one whatever the order of the table.
        return qint32(table.asInteger(kId));
    }
    table.first();
    return qint32(table.asInteger(kId));
}

void appendEpisode(CatalogSession &session, DataSet &series, TVVF &episode, const StoreChoice &choice,
                   const QDateTime &now) {
    // Everything that can be refused on the page is checked before anything is written.
    const qint32 sound = chosenKey(choice.soundId);
    const qint32 subIn = chosenKey(choice.subInId);
    const qint32 subExt = chosenKey(choice.subExtId);
    std::optional<qint32> width, height;
    if (!choice.videoOnly) {
        width = typedNumber(choice.widthText);
        height = typedNumber(choice.heightText);
    }
    episode.SoundId = sound;
    episode.SubInId = subIn;
    episode.SubExtId = subExt;
    if (width) {
        episode.Width = *width;
        episode.Height = *height;
    }

    Catalog::Transaction transaction(session.catalog());
    try {
        // The row is appended under the data set's filter rather than with it switched off: the filter
        // does not decide where a row goes, and switching it off re-reads the whole table.
        series.append();
        series.setValue(QStringLiteral("Название"), episode.TitleId);
        series.setValue(QStringLiteral("Серия"), episode.FileName);
        series.setValue(QStringLiteral("Объём (байт)"), double(episode.SizeBytes));
        series.setValue(QStringLiteral("Ширина"), episode.Width);
        series.setValue(QStringLiteral("Высота"), episode.Height);
        series.setValue(QStringLiteral("Звук"), episode.SoundId);
        series.setValue(QStringLiteral("Субтитры встроенные"), episode.SubInId);
        series.setValue(QStringLiteral("Субтитры внешние"), episode.SubExtId);
        series.setValue(QStringLiteral("Длительность"), episode.DurationMs);
        series.setValue(QStringLiteral("O_Bitrate"), episode.OverallBitrate);
        series.setValue(QStringLiteral("V_Bitrate"), episode.VideoBitrate);
        series.setValue(QStringLiteral("A_Bitrate"), episode.AudioBitrate);
        series.setValue(QStringLiteral("A_Hz"), episode.AudioHz);
        series.setValue(QStringLiteral("Audio_Stream_Count"), int(episode.AudioStreamCount));
        {
            OpenForStore codecs(session.Codec);
            OpenForStore formats(session.Format_f);
            series.setValue(QStringLiteral("Video_Codec_id"), GiveIDt(episode.VideoCodec, session.Codec));
            series.setValue(QStringLiteral("Audio_Codec_id"), GiveIDt(episode.AudioCodec, session.Codec));
            series.setValue(QStringLiteral("Format_Pack_id"),
                            GiveIDt(episode.ContainerFormat, session.Format_f));
        }
        series.setValue(QStringLiteral("Update"), now);
        series.post();
        transaction.commit();
    } catch (...) {
        // A row left half-made would be posted by the next move or close of the data set.
        series.cancel();
        throw;
    }
}

void refreshEpisodeView(CatalogSession &session) {
    // The same filter again: this rebuilds the view, so the new rows show only if they belong there.
    DataSet &series = session.Series;
    series.setFilter(series.filter());
    series.setFiltered(true);
    series.last();
}

void AddToBase(CatalogSession &session, TVVF &episode, const StoreChoice &choice, const QDateTime &now) {
    appendEpisode(session, session.Series, episode, choice, now);
    refreshEpisodeView(session);
}

} // namespace vq
