#pragma once

struct sqlite3;

namespace vq::convert {

// Gives a new, empty database the catalog's schema and nothing else: no starter lookup rows, since
// a converted catalog brings its own. Raises vq::Error with SQLite's message when refused.
void applyCatalogSchema(sqlite3 *db);

} // namespace vq::convert
