#pragma once

#include "intake/mediaprobe.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vq {

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

struct AddAllResult {
    int stored = 0;       // rows written, the first `stored` entries of the list
    int failedEntry = -1; // index of the entry that stopped the run; -1 when every entry was stored
    QString error;        // why it stopped
    bool ok() const { return failedEntry < 0; }
};

// Called with the position of the progress bar (0 .. entries.size() - 1): 0 before the first file,
// then k after the k-th entry is stored.
using AddAllProgress = std::function<void(int position, int maximum)>;

// Stores every entry of the file list as an episode of `episode.TitleId` with the same choices, in list
// order: probes each (the first only when it is not the one already probed, so what the page shows of it
// is what is stored) and appends it. Each file is committed as it is stored, so a failure keeps the files
// before it; the run stops at the failing file and reports it in the result. `folder` as for OpenAVI.
AddAllResult addAllToBase(CatalogSession &session, const QStringList &entries, TVVF &episode, ProbePage &page,
                          StoreChoice choice, const AddAllProgress &progress = {},
                          const QString &folder = QString());

} // namespace vq
