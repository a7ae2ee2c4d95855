// What the writes of one line did to each file. A script writes a file anew by
// deleting it and then writing it key by key or byte by byte (DELETEFILE, then
// KEY! or WRITEFILE). The deleted file is renamed aside instead, and kept until
// the line is over: when a write to the new file fails, the old one is put
// back whole. A file whose write failed takes no more writes in that line, so
// that a later write neither mixes into the old file nor leaves a gap.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace files {

// What the name holds after a failed write.
enum class Left {
  kOld,    // the file as it was before the line, whole
  kNone,   // no file: there was none, and the unfinished new one is gone
  kAside,  // the old file could not be put back; it is at AsideName()
};

class LineWrites {
 public:
  LineWrites() = default;
  LineWrites(const LineWrites&) = delete;
  LineWrites& operator=(const LineWrites&) = delete;
  // The old files of rewrites that went well are removed.
  ~LineWrites();

  // DELETEFILE: the file leaves its name; a folder stays.
  void Delete(const std::filesystem::path& path, uint32_t line);
  // False once a write to the file failed in this line.
  bool MayWrite(const std::filesystem::path& path, uint32_t line);
  // A write to the file failed: puts back the old file of a rewrite.
  Left Failed(const std::filesystem::path& path, uint32_t line);

  // What a write that was refused before it began left.
  static Left Untouched(const std::filesystem::path& path);
  // ".name.old" beside the file.
  static std::filesystem::path AsideName(const std::filesystem::path& path);

 private:
  struct Entry {
    std::filesystem::path path;
    std::filesystem::path aside;  // empty when there was no old file
    uint32_t line;
    bool rewrite;
    bool failed;
  };
  // Rewrites of other lines are over: their old files go, their failures are
  // forgotten.
  void EndOtherLines(uint32_t line);
  static void End(const Entry& entry);
  Entry* Find(const std::filesystem::path& key);

  std::vector<Entry> entries_;
};

}  // namespace files
