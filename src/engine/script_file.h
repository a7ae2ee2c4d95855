// Setup.KVS: read once at the first RUN after start-up, kept whole in memory.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace engine {

class ScriptFile {
 public:
  // Why the file gives no pages.
  enum class Problem { kNone, kMissing, kUnreadable, kEmpty, kBinary, kNoDefinitions };

  void SetPath(std::string path) { path_ = std::move(path); }
  const std::string& path() const { return path_; }
  // The start-up sequence forgets the cache so the next RUN reads the file again.
  void Reset();
  // Reads the file unless it was read since the last Reset; true when it was
  // read by this call. The first RUN does it; the window may do it earlier to
  // tell the operator why there are no pages.
  bool Load();
  // After Load: what is wrong with the file, and the same as a Windows-1251
  // text for the operator naming the file ("" when nothing is wrong).
  Problem problem() const { return problem_; }
  std::string ProblemText() const;
  // Normalised body of the named definition, or the empty text. Valid until
  // the next call.
  const std::string& Body(const std::string& name);

 private:
  static constexpr size_t kKnownBodies = 4096;
  std::string FindBody(const std::string& name) const;

  std::string path_ = "Setup.KVS";
  std::string text_;
  std::unordered_map<std::string, std::string> bodies_;  // name -> body, found so far
  bool opened_ = false;
  Problem problem_ = Problem::kNone;
};

// Position (from 1) of the first occurrence of pattern at or after position; 0 if none.
size_t SearchFrom(std::string_view pattern, std::string_view text, size_t position);

}  // namespace engine
