#pragma once

#include "intake/mediaprobe.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace vq {

class Catalog;
class CatalogSession;
class DataSet;

// The `ID` of the row of `table` (Codec or Format, open) whose Name is `name`, letter case ignored,
// appending that row first when there is none. Names are matched as they are: an apostrophe, % or _ is
// an ordinary character. Leaves the table filtered to the match when there was one.
qint32 GiveIDt(const QString &name, DataSet &table);

// What the intake page adds to a probe when it stores it.
struct StoreChoice {
    // Keys (Sub.ID) of the three language lists; empty when a list has no entry chosen.
    std::optional<qint32> soundId;
    std::optional<qint32> subInId;
    std::optional<qint32> subExtId;
    // The "AVI" box. Unchecked, the frame size is taken from the page's edits, where the user may have
    // typed it, instead of from the probe.
    bool videoOnly = true;
    QString widthText;  // EWidth
    QString heightText; // EHeigth
};

// Appends one Серии row made of `episode` (TitleId, the probed values) and `choice` (the language keys
// into `episode`, and the frame size when the box is unchecked), with `Update` = `now`; codec and
// container names become keys of Codec and Format. The row and any new Codec/Format rows are written
// together or not at all. Leaves Серии filtered again and on its last record.
// Throws vq::Error before writing anything when a language is not chosen or a typed frame size is not a
// whole number, and when the catalog refuses the row.
void AddToBase(CatalogSession &session, TVVF &episode, const StoreChoice &choice,
               const QDateTime &now = QDateTime::currentDateTime());

// AddToBase for one of many rows stored together: one row appended with bound SQL by its title's key,
// with nothing of the episodes read or sorted for it; its ID. refreshEpisodeView() then moves Серии
// once for all of them.
qint64 appendEpisode(CatalogSession &session, TVVF &episode, const StoreChoice &choice,
                     const QDateTime &now = QDateTime::currentDateTime());
// Leaves Серии filtered again and on its last record, as AddToBase does, where it shows one title's
// episodes (nothing is read where it shows none).
void refreshEpisodeView(CatalogSession &session);

// The key of the Codec or Format row named `name` (letter case aside), appended when there is none,
// with bound SQL; the table's rows stay as read.
qint32 nameKey(Catalog &catalog, const QString &table, const QString &name);

} // namespace vq
