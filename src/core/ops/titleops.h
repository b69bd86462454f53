#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace vq {

class Catalog;
class CatalogSession;

// What a user does to titles and episodes, once for the window and the command-line tool. Each
// operation writes one title or episode by its key with bound SQL, keeps the catalog's rows in step
// and tells the catalog's listener what changed; it raises vq::Error with a message for the user
// when the catalog refuses.
namespace ops {

// The type a title gets when nobody chose one ("Other").
constexpr qint64 kDefaultTitleType = 4;

// Makes a title; its ID. The name must not be empty.
qint64 addTitle(CatalogSession &session, const QString &name, qint64 type = kDefaultTitleType);
// The title named exactly `name` (letter case counts), the oldest when there are several.
std::optional<qint64> findTitle(CatalogSession &session, const QString &name);
bool titleExists(CatalogSession &session, qint64 id);
bool titleExists(Catalog &catalog, qint64 id);

void renameTitle(CatalogSession &session, qint64 id, const QString &name);
// Deletes the title with its episodes and alternative names.
void deleteTitle(CatalogSession &session, qint64 id);

enum class TitleField { Type, Count, Comment };
void setTitleField(CatalogSession &session, qint64 id, TitleField field, const QVariant &value);
QVariant titleField(CatalogSession &session, qint64 id, TitleField field);

// A title's own row as the file holds it now; none when there is no such title.
struct TitleRecord {
    qint64 id = 0;
    QString name, count, comment;
    std::optional<qint64> type;
};
std::optional<TitleRecord> titleRecord(Catalog &catalog, qint64 id);

void deleteEpisode(CatalogSession &session, qint64 episodeId);

// Writes a change of `Список` that was typed but not yet posted.
void postPendingTitleEdit(CatalogSession &session);

// A title's episode count and sums, read from the file as it is now.
struct Amounts {
    int files = 0;
    double sizeBytes = 0;
    double durationMs = 0;
};
Amounts titleAmounts(CatalogSession &session, qint64 id);

} // namespace ops
} // namespace vq
