#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace vq {

class CatalogSession;
class GridData;

// The items of the wizard's check list, in their fixed order.
namespace wizard {
enum Item { Title = 0, Type, Episodes, TypeAndEpisodes, Comment };
constexpr int ItemCount = 5;
} // namespace wizard

using WizardChecks = std::array<bool, wizard::ItemCount>;

// The texts of the check list items and the preview's column captions, by item.
QStringList wizardItemTexts();
QStringList WizardColumnCaptions();
// Items 0, 1, 2 and 4: what the check list starts with.
WizardChecks defaultWizardChecks();
// "Тип и Серии" excludes "Тип" and "Серии": while it is checked, those two are unchecked.
void applyCheckRule(WizardChecks &checks);

// The text of a list file: UTF-16 when it begins with a UTF-16 byte-order mark (either byte order),
// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped), otherwise Windows-1251, the
// code page lists made on Windows are in.
QString decodeListText(const QByteArray &bytes);
// The lines of a list file, decoded as decodeListText does; a list that is not UTF-16 and not UTF-8 as
// a whole is decoded line by line (UTF-8 where a line is, Windows-1251 where it is not), so that a list
// that mixes both reads right. Raises vq::Error naming the line for a NUL byte, and for a line that is
// neither.
QStringList decodeListLines(const QByteArray &bytes);
// Lines split at CR, LF or CR LF; empty lines are kept, a final line break adds no empty line.
QStringList splitListLines(const QString &text);
// Reads and splits a list file; raises vq::Error naming the file when it cannot be read.
QStringList readListFile(const QString &path);

// Rebuilds the preview: columns for the checked items, widths from the summary grid's columns,
// then one row per line. The preview starts empty every time, so a second rebuild never doubles
// the rows that an import would write.
void buildPreview(GridData &preview, const WizardChecks &checks, const GridData &summary,
                  const QStringList &lines);
// Appends one row per line; the first line's tab count limits the filled columns of every line.
// Fields are taken as they are (no trimming, no unquoting).
void FillGridFromList(GridData &grid, const QStringList &lines);

// NType by the first letter of a type text ("M" 2, "O" 1, "T" 3, anything else 4); nothing for
// an empty text, which leaves NType unset.
std::optional<int> typeFromText(const QString &text);
// A "Тип и Серии" cell: the type by its first letter and the episode count after the type word.
struct TypeAndEpisodes {
    int type = 4;
    QString episodes;
};
TypeAndEpisodes splitTypeAndEpisodes(const QString &cell);

// Writes preview rows from `firstRow` on into `Список` as new titles, all in one transaction.
// A row the catalog refuses ends the import: the rows before it are committed and the result
// says which row failed and why. `progress` is told (rows done, rows in all) after each row.
struct ImportResult {
    int imported = 0;   // rows written by this call
    int failedRow = -1; // preview row that was refused, -1 when all went in
    QString error;      // the catalog's reason
    bool ok() const { return failedRow < 0; }
};
using ImportProgress = std::function<void(int done, int total)>;
ImportResult importPreviewRows(CatalogSession &session, const GridData &preview, const WizardChecks &checks,
                               int firstRow = 0, const ImportProgress &progress = {});

// The message shown for a refused row. `lineNo` is the 1-based line of the list, `before` the
// number of lines added before it (also by earlier runs).
QString refusedRowMessage(int lineNo, int before, const QString &reason);

} // namespace vq
