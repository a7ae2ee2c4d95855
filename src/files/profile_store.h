// The profile store: reads, writes and deletes single keys of settings files
// (the job the platform's private-profile functions do on Windows). Untouched
// lines keep every byte; a changed file is replaced whole, never half-written.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files {

// The most characters a profile read answers.
constexpr size_t kProfileAnswerLimit = 2047;

// A settings text as lines, edited in place.
class ProfileDocument {
 public:
  ProfileDocument() = default;
  explicit ProfileDocument(std::string_view text);

  // Whether a key line of these names and this value reads back as written:
  // no line breaks anywhere, no "=" in the key and no "[" in front of it.
  static bool Writable(std::string_view section, std::string_view key, std::string_view value);

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Gives the key its value in its own line, or adds the line (and the section)
  // when missing. False, and nothing changed, when not Writable.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every line of the key from the section; true when one went.
  bool Delete(std::string_view section, std::string_view key);

  std::string Text() const;
  bool changed() const { return changed_; }

 private:
  struct Line {
    std::string bytes;  // content and terminator, as in the file
    size_t content_size;
    std::string_view content() const { return std::string_view(bytes).substr(0, content_size); }
  };
  static Line MakeLine(std::string_view content);
  size_t FindHeader(std::string_view section) const;  // lines_.size() when missing
  void Terminate(size_t index);

  std::vector<Line> lines_;
  bool changed_ = false;
};

// A settings file loaded for a series of edits that are written together.
class ProfileSession {
 public:
  // Loads the file; a missing file is an empty one. False when the name is
  // unusable or the file exists but cannot be read.
  bool Open(std::string_view file_name);
  // The same for an OS path.
  bool OpenPath(const std::filesystem::path& path);
  ProfileDocument& document() { return document_; }
  // Writes the file when anything changed. False when that failed; the file
  // then holds its old contents.
  bool Commit();

 private:
  std::filesystem::path path_;
  ProfileDocument document_;
  bool open_ = false;
};

// The three single-key operations, each on a fresh load of the file.
std::string ProfileReadKey(std::string_view file_name, std::string_view section,
                           std::string_view key, std::string_view default_value);
bool ProfileWriteKey(std::string_view file_name, std::string_view section,
                     std::string_view key, std::string_view value);
bool ProfileDeleteKey(std::string_view file_name, std::string_view section,
                      std::string_view key);

}  // namespace files
