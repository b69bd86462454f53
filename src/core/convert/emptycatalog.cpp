#include "emptycatalog.h"

#include "catalog/error.h"
#include "catalog/schema.h"

#include <sqlite3.h>

namespace vq::convert {

void applyCatalogSchema(sqlite3 *db) {
    for (const QString &sql : schema::createStatements()) {
        char *err = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
            sqlite3_free(err);
            throw Error(msg);
        }
    }
}

} // namespace vq::convert
