// The comma-separated import file of BDIMPORT, in Windows-1251 or UTF-8, its
// fields separated by "," or, as spreadsheets in a Russian locale write them,
// by ";". Lines end with CR LF, CR or LF; the first empty line ends the file.
// Fields are taken as they stand, an empty one included, except a field that
// begins with a double quote: it runs to the closing quote as RFC 4180 writes
// it (separators and line breaks inside, "" for a quote), so a file without
// quotes reads as it always did.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tables {

inline constexpr int kImportColumns = 13;

struct ImportRow {
  int line = 0;  // where the row starts in the file, from 1
  std::vector<std::string> values;
  bool short_of_fields = false;  // a wanted field was missing: its value is empty
};

struct ImportScan {
  std::vector<ImportRow> rows;
  // The line of a row that cannot be read (a quote never closed); the rows
  // before it are read, nothing after. 0 when every row was read.
  int bad_line = 0;
};

// ';' when the first line holds a semicolon outside quoted fields, else ','.
char ImportSeparator(std::string_view text);

// Every line's values for the wanted field numbers (ascending, from 1). A
// wanted field that a line does not have is empty.
ImportScan ScanImport(std::string_view text, const std::vector<int32_t>& columns);

// True when the first row looks like column names over the rows below it:
// none of its values holds a digit, one at least is not empty, and a later
// row has a digit in one of its values (a number, a phone, a date).
bool LooksLikeHeader(const ImportScan& scan);

// The whole file as Windows-1251 text, converted when it is UTF-8; false
// when it cannot be opened or read.
bool ReadImportFile(const std::filesystem::path& path, std::string& text);

}  // namespace tables
