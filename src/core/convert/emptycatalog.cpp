#include "emptycatalog.h"

#include "catalog/migrations.h"

namespace vq::convert {

void applyCatalogSchema(sqlite3 *db) {
    schema::createCatalog(db);
}

} // namespace vq::convert
