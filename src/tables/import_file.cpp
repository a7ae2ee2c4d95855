#include "import_file.h"

#include <fstream>

namespace tables {

namespace {

// Walks the text field by field, counting lines.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  bool AtLineEnd() const { return AtEnd() || text_[pos_] == '\r' || text_[pos_] == '\n'; }
  int line() const { return line_; }

  // Reads one field; false when a quoted field is never closed.
  bool Field(std::string* value, bool* quoted) {
    value->clear();
    *quoted = !AtEnd() && text_[pos_] == '"';
    if (*quoted && !Quoted(value)) return false;
    // Unquoted text, or what follows a closing quote, runs to the next comma
    // or line end as it stands.
    size_t end = pos_;
    while (end < text_.size() && text_[end] != ',' && text_[end] != '\r' && text_[end] != '\n') ++end;
    value->append(text_.substr(pos_, end - pos_));
    pos_ = end;
    return true;
  }

  // After a field: true and past the comma when another field follows.
  bool NextField() {
    if (AtEnd() || text_[pos_] != ',') return false;
    ++pos_;
    return true;
  }

  // Past the line break (CR LF, CR or LF) that ends the line, if any.
  void EndLine() {
    if (AtEnd()) return;
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
  }

 private:
  bool Quoted(std::string* value) {
    size_t from = pos_ + 1;
    for (;;) {
      const size_t quote = text_.find('"', from);
      if (quote == std::string_view::npos) return false;
      value->append(text_.substr(from, quote - from));
      CountLines(from, quote);
      if (quote + 1 < text_.size() && text_[quote + 1] == '"') {
        *value += '"';
        from = quote + 2;
        continue;
      }
      pos_ = quote + 1;
      return true;
    }
  }

  // Line breaks inside a quoted field: CR LF, CR and LF count one each.
  void CountLines(size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
      if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= to || text_[i + 1] != '\n')))
        ++line_;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

ImportScan ScanImport(std::string_view text, const std::vector<int32_t>& columns) {
  ImportScan scan;
  FieldReader reader(text);
  std::string field;
  while (!reader.AtLineEnd()) {
    ImportRow row{reader.line(), std::vector<std::string>(columns.size())};
    size_t next = 0;  // the next entry of the column list
    for (int32_t number = 1;; ++number) {
      bool quoted = false;
      if (!reader.Field(&field, &quoted)) {
        scan.bad_line = row.line;
        return scan;
      }
      if (next < columns.size() && columns[next] == number) row.values[next++] = field;
      if (!reader.NextField()) break;
    }
    row.short_of_fields = next < columns.size();
    reader.EndLine();
    scan.rows.push_back(std::move(row));
  }
  return scan;
}

bool ReadImportFile(const std::filesystem::path& path, std::string& text) {
  text.clear();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  char chunk[1 << 16];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) text.append(chunk, file.gcount());
  return !file.bad();
}

}  // namespace tables
