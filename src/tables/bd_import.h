// BDIMPORT's inserts into the named table, all inside one transaction, the
// values bound as parameters (many rows at a time as one JSON text) so that
// every field arrives as it stands. The first failing row ends the import;
// the rows before it stay.
#pragma once

#include <string>
#include <vector>

#include "import_file.h"

namespace tables {

class TableStore;

// The two statement lines, with one parameter per value.
std::string ImportStatement(const std::string& table, size_t values);

// The values of rows [first, last) as a JSON array of arrays of strings
// (Windows-1251, as the values are). Empty when a value holds a NUL, which
// such a text does not carry back unchanged.
std::string ImportJson(const std::vector<ImportRow>& rows, size_t first, size_t last, size_t values);

// Returns the number of rows inserted.
int InsertImportRows(TableStore& store, const std::string& table,
                     const std::vector<ImportRow>& rows, size_t values);

// What the last BDIMPORT did, for scripts to show (BDIMPORTED).
struct ImportResult {
  int rows = 0;         // rows inserted
  int failed_line = 0;  // the file's first line not imported; 0 when none, -1 no file
  int short_rows = 0;   // rows inserted that lacked a wanted field
};

}  // namespace tables
