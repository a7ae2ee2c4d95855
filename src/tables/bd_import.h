// BDIMPORT's inserts: one INSERT per import line into the named table, the
// values bound as parameters so that every field arrives as it stands, all
// inside one transaction. The first failing row ends the import; the rows
// before it stay.
#pragma once

#include <string>
#include <vector>

namespace tables {

class TableStore;

// The two statement lines, with one parameter per value.
std::string ImportStatement(const std::string& table, size_t values);

// Returns the number of rows inserted.
int InsertImportRows(TableStore& store, const std::string& table,
                     const std::vector<std::vector<std::string>>& rows, size_t values);

}  // namespace tables
