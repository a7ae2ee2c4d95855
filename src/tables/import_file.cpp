#include "import_file.h"

#include <algorithm>
#include <fstream>

#include "utf8.h"

namespace tables {

namespace {

// Walks the text field by field, counting lines.
class FieldReader {
 public:
  FieldReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  bool AtLineEnd() const { return AtEnd() || text_[pos_] == '\r' || text_[pos_] == '\n'; }
  int line() const { return line_; }

  // Reads one field; false when a quoted field is never closed.
  bool Field(std::string* value, bool* quoted) {
    value->clear();
    *quoted = !AtEnd() && text_[pos_] == '"';
    if (*quoted && !Quoted(value)) return false;
    // Unquoted text, or what follows a closing quote, runs to the next
    // separator or line end as it stands.
    size_t end = pos_;
    while (end < text_.size() && text_[end] != separator_ && text_[end] != '\r' && text_[end] != '\n')
      ++end;
    value->append(text_.substr(pos_, end - pos_));
    pos_ = end;
    return true;
  }

  // After a field: true and past the separator when another field follows.
  bool NextField() {
    if (AtEnd() || text_[pos_] != separator_) return false;
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
  char separator_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

char ImportSeparator(std::string_view text) {
  bool field_start = true;
  for (size_t at = 0; at < text.size() && text[at] != '\r' && text[at] != '\n'; ++at) {
    const char c = text[at];
    if (field_start && c == '"') {
      // A quoted field: its commas and semicolons are data.
      at = text.find('"', at + 1);
      while (at != std::string_view::npos && at + 1 < text.size() && text[at + 1] == '"')
        at = text.find('"', at + 2);
      if (at == std::string_view::npos) break;
      field_start = false;
      continue;
    }
    // Commas in names and addresses are common, semicolons are not.
    if (c == ';') return ';';
    field_start = c == ',';
  }
  return ',';
}

ImportScan ScanImport(std::string_view text, const std::vector<int32_t>& columns) {
  ImportScan scan;
  FieldReader reader(text, ImportSeparator(text));
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

bool LooksLikeHeader(const ImportScan& scan) {
  const auto has_digit = [](const ImportRow& row) {
    for (const std::string& value : row.values)
      if (value.find_first_of("0123456789") != std::string::npos) return true;
    return false;
  };
  if (scan.rows.size() < 2 || has_digit(scan.rows.front())) return false;
  const auto& names = scan.rows.front().values;
  if (std::all_of(names.begin(), names.end(), [](const std::string& v) { return v.empty(); }))
    return false;
  return std::any_of(scan.rows.begin() + 1, scan.rows.end(), has_digit);
}

bool ReadImportFile(const std::filesystem::path& path, std::string& text) {
  text.clear();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  char chunk[1 << 16];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) text.append(chunk, file.gcount());
  if (file.bad()) return false;
  // A spreadsheet's or editor's UTF-8, byte order mark or not; Windows-1251
  // Cyrillic is never valid UTF-8, so such a file stays as it is.
  if (engine::IsValidUtf8(text)) text = engine::Cp1251FromUtf8(text);
  return true;
}

}  // namespace tables
