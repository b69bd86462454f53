#pragma once

#include "catalog.h"
#include "dataset.h"

#include <memory>

namespace vq {

// The one catalog connection with every table object opened on it. The window and the
// command-line tool each own one; the page operations work on its data sets.
class CatalogSession : public TitleTextSource {
public:
    CatalogSession();
    ~CatalogSession() override;

    // Opens the file and its tables (Список and Серии unfiltered and sorted by name). The file is
    // checked before the catalog that is open now is closed, so a refused file changes nothing.
    // `titlesNow` as for Catalog: the tool reads only what a command shows.
    void open(const QString &path, bool readOnly = false, bool titlesNow = false);
    // Closes the tables (Тип, Ext, Список, Серии, Rjk, then the rest) and the connection.
    void close();
    bool isOpen() const { return m_catalog != nullptr; }
    Catalog &catalog() const;
    QString path() const { return m_catalog ? m_catalog->path() : QString(); }

    // The path a new catalog named `name` gets in `startDir`; refuses names that are no plain file name.
    static QString newCatalogPath(const QString &startDir, const QString &name);
    // Copies the open catalog to `newPath` (never over an existing file), opens the copy and
    // deletes all of its titles in one transaction; the lookup tables stay.
    void makeNewCatalog(const QString &newPath);
    // Stores edits still pending in any data set (before a refresh reads the catalog).
    void postPendingEdits();
    // Told of every change of whichever catalog is open (Catalog::setChangeListener).
    void setChangeListener(std::function<void(const ChangeNotice &)> listener);

    // The titles the lists show, in name order: every title, or those of the last narrowing
    // (ascending keys; none: every title). Another catalog shows every title.
    void setShownTitles(std::optional<std::vector<qint64>> ids);
    std::vector<qint64> shownTitles();
    // The open catalog's texts of titles, for grids that hold keys.
    void titleTexts(std::span<const qint64> keys, std::vector<TitleTextBlock> &out) override;
    bool isReadOnly() const { return m_catalog && m_catalog->isReadOnly(); }

    // Titles by name, episodes by name: the order the program shows them in.
    static QString titleSort() { return QStringLiteral("Название ASC"); }
    static QString episodeSort() { return QStringLiteral("Серия ASC"); }

    DataSet Name;     // Список
    DataSet Series;   // Серии
    DataSet ADoType;  // Тип
    DataSet TSub;     // Sub
    DataSet Codec;    // Codec
    DataSet Format_f; // Format
    DataSet RJk;      // Rjk
    DataSet Ext;      // Ext
    DataSet ADS;      // All t
    DataSet UpTime;   // Up_time

private:
    std::vector<DataSet *> all();
    std::unique_ptr<Catalog> m_catalog;
    std::function<void(const ChangeNotice &)> m_listener;
    std::optional<std::vector<qint64>> m_shown;
};

} // namespace vq
