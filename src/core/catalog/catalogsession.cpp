#include "catalogsession.h"

#include "error.h"
#include "messages.h"
#include "schema.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace vq {

CatalogSession::CatalogSession()
    : Name(nullptr, schema::kTitles), Series(nullptr, schema::kEpisodes), ADoType(nullptr, schema::kTypes),
      TSub(nullptr, schema::kLanguages), Codec(nullptr, schema::kCodecs), Format_f(nullptr, schema::kFormats),
      RJk(nullptr, schema::kRjk), Ext(nullptr, schema::kExt), ADS(nullptr, schema::kAllT),
      UpTime(nullptr, schema::kUpTime) {}

CatalogSession::~CatalogSession() {
    try {
        close();
    } catch (...) {
        // Closing posts pending edits; a failure there must not escape a destructor.
    }
}

std::vector<DataSet *> CatalogSession::all() {
    return {&ADoType, &Ext, &Name, &Series, &RJk, &TSub, &Codec, &Format_f, &ADS, &UpTime};
}

Catalog &CatalogSession::catalog() const {
    if (!m_catalog)
        throw Error(msg::noCatalogOpen());
    return *m_catalog;
}

void CatalogSession::open(const QString &path, bool readOnly, bool titlesNow) {
    auto fresh = std::make_unique<Catalog>(QFileInfo(path).absoluteFilePath(), readOnly, titlesNow);
    close();
    m_catalog = std::move(fresh);
    m_shown.reset();
    m_catalog->setChangeListener(m_listener);
    for (DataSet *ds : all())
        ds->setCatalog(m_catalog.get());
    Name.open();
    Series.open();
    Name.setFiltered(false);
    Name.setSort(titleSort());
    Series.setSort(episodeSort());
}

void CatalogSession::close() {
    if (!m_catalog)
        return;
    std::optional<Error> pending;
    for (DataSet *ds : all()) {
        try {
            ds->close();
        } catch (const Error &e) {
            if (!pending)
                pending = e;
            ds->cancel();
            ds->setCatalog(nullptr);
        }
    }
    for (DataSet *ds : all())
        ds->setCatalog(nullptr);
    m_catalog.reset();
    if (pending)
        throw *pending;
}

QString CatalogSession::newCatalogPath(const QString &startDir, const QString &name) {
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0)) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        throw Error(msg::badCatalogName(name));
    return QDir(startDir).filePath(name + QStringLiteral(".vdq"));
}

void CatalogSession::makeNewCatalog(const QString &newPath) {
    Catalog &current = catalog();
    if (Catalog::nameTaken(newPath))
        throw Error(msg::catalogFileExists(newPath));
    // Copied and emptied under a temporary name beside it, and only then given its name: a run
    // stopped midway leaves no half-made or unemptied catalog under the name asked for.
    const QString tmp = Catalog::tempPathBeside(newPath);
    try {
        current.copyTo(tmp);
        {
            Catalog copy(tmp);
            copy.deleteAllTitles();
            copy.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        }
        Catalog::publish(tmp, newPath);
    } catch (...) {
        Catalog::removeTemp(tmp);
        throw;
    }
    open(newPath);
}

void CatalogSession::setChangeListener(std::function<void(const ChangeNotice &)> listener) {
    m_listener = std::move(listener);
    if (m_catalog)
        m_catalog->setChangeListener(m_listener);
}

void CatalogSession::setShownTitles(std::optional<std::vector<qint64>> ids) {
    m_shown = std::move(ids);
}

std::vector<qint64> CatalogSession::shownTitles() {
    TitleOrder &order = catalog().titleOrder();
    return m_shown ? order.ids(*m_shown) : order.ids();
}

void CatalogSession::titleTexts(std::span<const qint64> keys, std::vector<TitleTextBlock> &out) {
    if (m_catalog)
        m_catalog->titleTexts().blocks(keys, out);
    else
        out.assign(keys.size(), TitleTextBlock());
}

void CatalogSession::postPendingEdits() {
    for (DataSet *ds : all())
        if (ds->state() == DataSet::Edit || ds->state() == DataSet::Insert)
            ds->post();
}

} // namespace vq
