#include "profile_store.h"

#include "file_access.h"
#include "os_path.h"
#include "settings_format.h"

namespace files {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(std::string_view content) {
  return content.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view text) {
  for (const LineSpan& span : SplitLines(text))
    lines_.push_back({std::string(text.substr(span.begin, span.end - span.begin)),
                      span.content_end - span.begin});
}

bool ProfileDocument::Writable(std::string_view section, std::string_view key,
                               std::string_view value) {
  return !HasLineBreak(section) && !HasLineBreak(key) && !HasLineBreak(value) &&
         key.find('=') == std::string_view::npos && (key.empty() || key.front() != '[');
}

ProfileDocument::Line ProfileDocument::MakeLine(std::string_view content) {
  Line line{std::string(content), content.size()};
  line.bytes += kLineEnd;
  return line;
}

size_t ProfileDocument::FindHeader(std::string_view section) const {
  size_t i = 0;
  while (i < lines_.size() && !IsHeaderOf(lines_[i].content(), section)) ++i;
  return i;
}

void ProfileDocument::Terminate(size_t index) {
  Line& line = lines_[index];
  if (line.bytes.size() == line.content_size) line.bytes += kLineEnd;
}

std::optional<std::string> ProfileDocument::Get(std::string_view section,
                                                std::string_view key) const {
  for (size_t i = FindHeader(section) + 1; i < lines_.size(); ++i) {
    std::string_view content = lines_[i].content();
    if (IsHeaderLine(content)) break;
    if (auto value = ValueOf(content, key)) return std::string(*value);
  }
  return std::nullopt;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key,
                          std::string_view value) {
  if (!Writable(section, key, value)) return false;
  std::string content(key);
  content += '=';
  content += value;

  size_t header = FindHeader(section);
  if (header == lines_.size()) {
    if (!lines_.empty()) Terminate(lines_.size() - 1);
    lines_.push_back(MakeLine("[" + std::string(section) + "]"));
    lines_.push_back(MakeLine(content));
    changed_ = true;
    return true;
  }
  size_t last_filled = header;
  size_t i = header + 1;
  for (; i < lines_.size(); ++i) {
    std::string_view line = lines_[i].content();
    if (IsHeaderLine(line)) break;
    if (ValueOf(line, key)) {
      Line& old = lines_[i];
      if (old.content() != content) {
        std::string terminator = old.bytes.substr(old.content_size);
        old.bytes = content + (terminator.empty() ? std::string(kLineEnd) : terminator);
        old.content_size = content.size();
        changed_ = true;
      }
      return true;
    }
    if (!IsBlank(line)) last_filled = i;
  }
  // New keys go after the section's last line, before blank lines that
  // separate it from the next one.
  Terminate(last_filled);
  lines_.insert(lines_.begin() + last_filled + 1, MakeLine(content));
  changed_ = true;
  return true;
}

bool ProfileDocument::Delete(std::string_view section, std::string_view key) {
  bool removed = false;
  size_t i = FindHeader(section) + 1;
  while (i < lines_.size()) {
    std::string_view content = lines_[i].content();
    if (IsHeaderLine(content)) break;
    if (ValueOf(content, key)) {
      lines_.erase(lines_.begin() + i);
      removed = true;
    } else {
      ++i;
    }
  }
  changed_ = changed_ || removed;
  return removed;
}

std::string ProfileDocument::Text() const {
  size_t size = 0;
  for (const Line& line : lines_) size += line.bytes.size();
  std::string text;
  text.reserve(size);
  for (const Line& line : lines_) text += line.bytes;
  return text;
}

bool ProfileSession::Open(std::string_view file_name) {
  open_ = false;
  auto path = OsPath(file_name);
  if (!path || path->empty()) return false;
  return OpenPath(*path);
}

bool ProfileSession::OpenPath(const std::filesystem::path& path) {
  open_ = false;
  bool missing = false;
  auto text = ReadWhole(path, &missing);
  if (!text && !missing) return false;
  path_ = path;
  document_ = ProfileDocument(text.value_or(std::string()));
  open_ = true;
  return true;
}

bool ProfileSession::Commit() {
  if (!open_) return false;
  if (!document_.changed()) return true;
  return ReplaceContents(path_, document_.Text());
}

std::string ProfileReadKey(std::string_view file_name, std::string_view section,
                           std::string_view key, std::string_view default_value) {
  std::string answer(default_value);
  ProfileSession session;
  if (session.Open(file_name))
    if (auto value = session.document().Get(section, key)) answer = *value;
  if (answer.size() > kProfileAnswerLimit) answer.resize(kProfileAnswerLimit);
  return answer;
}

bool ProfileWriteKey(std::string_view file_name, std::string_view section,
                     std::string_view key, std::string_view value) {
  ProfileSession session;
  return session.Open(file_name) && session.document().Set(section, key, value) &&
         session.Commit();
}

bool ProfileDeleteKey(std::string_view file_name, std::string_view section,
                      std::string_view key) {
  ProfileSession session;
  return session.Open(file_name) && (session.document().Delete(section, key), true) &&
         session.Commit();
}

}  // namespace files
