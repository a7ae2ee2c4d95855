// BDIMPORT's walk over an import file of any bytes. The first input bytes
// pick the column list, the rest is the file. Checked: rows start on rising
// lines within the file; a file without double quotes and without lone line
// feeds reads as the plain walk cutting at its separator reads it; and values written back
// as RFC 4180 quoted fields read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "import_file.h"

namespace {

using fuzz::Check;

using Rows = std::vector<std::vector<std::string>>;

// The walk of a file without quotes: lines end with CR and an optional LF,
// fields are cut at every separator, and a field a line lacks is empty.
Rows PlainWalk(std::string_view text, const std::vector<int32_t>& columns) {
  const char separator = tables::ImportSeparator(text);
  Rows rows;
  for (;;) {
    std::vector<std::string> values(columns.size());
    const size_t cr = text.find('\r');
    std::string_view line = text.substr(0, cr);
    text = cr == std::string_view::npos ? std::string_view() : text.substr(cr + 1);
    if (!line.empty() && line.front() == '\n') line.remove_prefix(1);
    if (line.empty()) break;
    size_t next = 0;
    for (int32_t field = 1;; ++field) {
      const size_t comma = line.find(separator);
      const std::string_view piece = line.substr(0, comma);
      line = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
      if (next < columns.size() && columns[next] == field) values[next++] = piece;
      if (comma == std::string_view::npos) break;
    }
    rows.push_back(values);
  }
  return rows;
}

Rows Values(const tables::ImportScan& scan) {
  Rows rows;
  for (const auto& row : scan.rows) rows.push_back(row.values);
  return rows;
}

int LineCount(std::string_view text) {
  int lines = 1;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
      ++lines;
  return lines;
}

std::string Quote(const std::string& value) {
  std::string out = "\"";
  for (char c : value) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 8192) return 0;
  // Column list: up to 13 rising field numbers from the bits of the first byte pair.
  std::vector<int32_t> columns;
  const unsigned bits = data[0] | (size > 1 ? data[1] << 8 : 0);
  for (int32_t field = 1; field <= tables::kImportColumns; ++field)
    if (bits & (1u << (field - 1))) columns.push_back(field);
  const size_t skip = size > 1 ? 2 : 1;
  const std::string_view text(reinterpret_cast<const char*>(data) + skip, size - skip);

  const tables::ImportScan scan = tables::ScanImport(text, columns);
  const int lines = LineCount(text);
  int last = 0;
  for (const auto& row : scan.rows) {
    Check(row.values.size() == columns.size());
    Check(row.line > last && row.line <= lines);
    last = row.line;
  }
  Check(scan.bad_line == 0 || (scan.bad_line > last && scan.bad_line <= lines));

  const bool plain = text.find('"') == std::string_view::npos;
  bool lone_lf = false;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lone_lf = true;
  if (plain) Check(scan.bad_line == 0);
  if (plain && !lone_lf) Check(Values(scan) == PlainWalk(text, columns));

  // Every column 1..n quoted: nothing ends a line's walk early, so each
  // value comes back as written.
  if (!columns.empty() && columns.back() == static_cast<int32_t>(columns.size())) {
    std::string file;
    for (const auto& row : scan.rows) {
      for (size_t i = 0; i < row.values.size(); ++i) file += (i ? "," : "") + Quote(row.values[i]);
      file += "\r\n";
    }
    const tables::ImportScan again = tables::ScanImport(file, columns);
    Check(again.bad_line == 0);
    Check(Values(again) == Values(scan));
  }
  return 0;
}
