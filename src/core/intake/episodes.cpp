#include "episodes.h"

#include "places/locations.h"

#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/dataset.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "catalog/migrations.h"
#include "catalog/schema.h"
#include "intake/releasename.h"

#include <iterator>

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

qint32 nameKey(Catalog &catalog, const QString &table, const QString &name) {
    // The lists are short (the codecs and containers files bring): found in the rows read once.
    const TablePtr rows = catalog.table(table);
    for (int r = 0; r < rows->physicalRows(); ++r)
        if (rows->alive(r) && !rows->isNull(r, 1) &&
            rows->textAt(r, 1).compare(name, Qt::CaseInsensitive) == 0)
            return qint32(rows->intAt(r, 0));
    Statement &st = catalog.statement(QStringLiteral("INSERT INTO \"%1\" (\"Name\") VALUES (?)").arg(table));
    Statement::ResetAfter done{st};
    st.bind(1, name);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(msg::cannotStoreRow(table, catalog.path(), e.message()));
    }
    const qint64 id = catalog.lastInsertId();
    catalog.reloadRow(table, id, true);
    return qint32(id);
}

qint64 appendEpisode(CatalogSession &session, TVVF &episode, const StoreChoice &choice,
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
    Catalog &catalog = session.catalog();
    catalog.ensureWritable();
    if (episode.FileName.size() > schema::kMaxTextLength &&
        episode.FileName.toUcs4().size() > schema::kMaxTextLength)
        throw Error(msg::textTooLong(QStringLiteral("Серия"), schema::kMaxTextLength,
                                     episode.FileName.toUcs4().size()));
    episode.SoundId = sound;
    episode.SubInId = subIn;
    episode.SubExtId = subExt;
    if (width) {
        episode.Width = *width;
        episode.Height = *height;
    }

    // The row and any codec or container names it brings, together or not at all.
    Catalog::Transaction transaction(catalog);
    const qint32 videoCodec = nameKey(catalog, schema::kCodecs, episode.VideoCodec);
    const qint32 audioCodec = nameKey(catalog, schema::kCodecs, episode.AudioCodec);
    const qint32 container = nameKey(catalog, schema::kFormats, episode.ContainerFormat);
    Statement &st = catalog.statement(QStringLiteral(
        "INSERT INTO \"Серии\" (\"Название\", \"Серия\", \"Объём (байт)\", \"Ширина\", \"Высота\", \"Звук\", "
        "\"Субтитры встроенные\", \"Субтитры внешние\", \"Длительность\", \"O_Bitrate\", \"V_Bitrate\", "
        "\"A_Bitrate\", \"A_Hz\", \"Audio_Stream_Count\", \"Video_Codec_id\", \"Audio_Codec_id\", "
        "\"Format_Pack_id\", \"Update\", \"Number\", \"Number_last\", \"Kind\", \"Version\", "
        "\"Release_group\") "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    Statement::ResetAfter done{st};
    // What the name says is kept with the row, so that episodes sort and count by number.
    const schema::EpisodeFacts facts = schema::episodeFacts(readReleaseName(episode.FileName));
    const auto number = [](double n) { return n >= 0 ? QVariant(n) : QVariant(); };
    const QVariant values[] = {episode.TitleId,
                               episode.FileName,
                               double(episode.SizeBytes),
                               episode.Width,
                               episode.Height,
                               episode.SoundId,
                               episode.SubInId,
                               episode.SubExtId,
                               episode.DurationMs,
                               episode.OverallBitrate,
                               episode.VideoBitrate,
                               episode.AudioBitrate,
                               episode.AudioHz,
                               int(episode.AudioStreamCount),
                               videoCodec,
                               audioCodec,
                               container,
                               now,
                               number(facts.number),
                               number(facts.numberLast),
                               facts.kind,
                               facts.version > 0 ? QVariant(facts.version) : QVariant(),
                               facts.group.isEmpty() ? QVariant() : QVariant(facts.group)};
    for (int i = 0; i < int(std::size(values)); ++i)
        st.bind(i + 1, values[i]);
    try {
        st.step();
    } catch (const Error &e) {
        throw Error(msg::cannotStoreRow(schema::kEpisodes, catalog.path(), e.message()));
    }
    const qint64 id = catalog.lastInsertId();
    if (!episode.SourcePath.isEmpty())
        places::storeLocation(catalog, id, episode.SourcePath, places::Mounts::recent());
    catalog.reloadRow(schema::kEpisodes, id, true);
    transaction.commit();
    return id;
}

void refreshEpisodeView(CatalogSession &session) {
    // The same filter again: this rebuilds the view, so the new rows show only if they belong there.
    DataSet &series = session.Series;
    if (!series.isOpen() || !series.isFiltered() || series.filter().kind != Filter::Equals)
        return;
    series.setFilter(series.filter());
    series.setFiltered(true);
    series.last();
}

void AddToBase(CatalogSession &session, TVVF &episode, const StoreChoice &choice, const QDateTime &now) {
    appendEpisode(session, episode, choice, now);
    refreshEpisodeView(session);
}

} // namespace vq
