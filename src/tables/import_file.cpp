#include "import_file.h"

#include <fstream>

namespace tables {

std::vector<std::vector<std::string>> ImportRows(std::string_view text,
                                                 const std::vector<int32_t>& columns) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> values(columns.size());
  while (true) {
    std::string_view line;
    const size_t cr = text.find('\r');
    if (cr == std::string_view::npos) {
      line = text;
      text = {};
    } else {
      line = text.substr(0, cr);
      text.remove_prefix(cr + 1);
    }
    if (!line.empty() && line.front() == '\n') line.remove_prefix(1);
    if (line.empty()) break;

    size_t next = 0;  // the next entry of the column list
    for (int32_t field = 1;; ++field) {
      std::string_view piece;
      const size_t comma = line.find(',');
      if (comma == std::string_view::npos) {
        piece = line;
        line = {};
      } else {
        piece = line.substr(0, comma);
        line.remove_prefix(comma + 1);
      }
      if (next < columns.size() && columns[next] == field) values[next++] = piece;
      if (piece.empty()) break;
    }
    rows.push_back(values);
  }
  return rows;
}

bool ReadImportFile(const std::filesystem::path& path, std::string& text) {
  text.clear();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  text.resize(kImportFileLimit);
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(file.gcount()));
  return true;
}

}  // namespace tables
