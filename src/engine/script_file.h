// Setup.KVS: read once at the first RUN after start-up, kept whole in memory.
#pragma once

#include <string>
#include <string_view>

namespace engine {

class ScriptFile {
 public:
  static constexpr size_t kReadLimit = 500000;

  void SetPath(std::string path) { path_ = std::move(path); }
  const std::string& path() const { return path_; }
  // The start-up sequence forgets the cache so the next RUN reads the file again.
  void Reset();
  // Normalised body of the named definition, or the empty text.
  std::string Body(const std::string& name);
  // Why the file gave no definitions, in UTF-8 ("" when it was read); reads
  // the file first if that has not happened since the last Reset.
  std::string Problem();

 private:
  void LoadIfNeeded();

  std::string path_ = "Setup.KVS";
  std::string text_;
  std::string problem_;
  bool opened_ = false;
};

// Position (from 1) of the first occurrence of pattern at or after position; 0 if none.
size_t SearchFrom(std::string_view pattern, std::string_view text, size_t position);

}  // namespace engine
