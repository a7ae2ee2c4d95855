// The profile store's write path on a real file: any old contents, any
// section, key and value, through WriteKey, WriteLongValue or DeleteKey, with
// temporary files that killed writers left behind. Checked: a write that
// succeeds reads back through both readers, other keys keep their values, a
// failed write leaves the file as it was, and no temporary file is left.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "long_value.h"
#include "profile_store.h"
#include "settings_reader.h"

namespace {

namespace fs = std::filesystem;
using fuzz::Check;
using fuzz::Take;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const fs::path& Folder() {
  static const fs::path folder = [] {
    std::string dir = (fs::temp_directory_path() / "zelt-fuzz-ini-XXXXXX").string();
    if (!mkdtemp(dir.data())) std::abort();
    // Removed at exit through a copy that outlives every static object.
    static const std::string* const leaked = new std::string(dir);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(*leaked, ignored);
    });
    return fs::path(dir);
  }();
  return folder;
}

// A long value of `size` bytes made from the input's value bytes.
std::string Stretch(std::string_view seed, size_t size) {
  std::string value;
  if (seed.empty()) return value;
  while (value.size() < size) value += seed;
  value.resize(size);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 16384) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const unsigned op = static_cast<unsigned char>(input[0]);
  input.remove_prefix(1);
  const std::string section(Take(input, 8));
  const std::string key(Take(input, 8));
  std::string value(Take(input, 24));
  const std::string other_key(Take(input, 8));
  if (op & 0x40) value = Stretch(value, 900 + (op & 0x3F) * 40);  // up to 3420 bytes
  const std::string_view text = input;

  const fs::path file = Folder() / "p.ini";
  const std::string name = file.string();
  for (const auto& entry : fs::directory_iterator(Folder())) fs::remove(entry.path());
  Write(file, text);
  const int stale = (op >> 2) & 3;
  for (int n = 0; n < stale; ++n) Write(Folder() / (".p.ini.new" + std::to_string(n * 2)), "junk");

  files::ProfileDocument before(text);
  const auto other_before = before.Get(section, other_key);

  bool done = false;
  switch (op & 3) {
    case 0:
      done = files::ProfileWriteKey(name, section, key, value);
      break;
    case 1:
    case 3:
      done = files::WriteLongValue(name, section, key, value);
      break;
    case 2:
      done = files::ProfileDeleteKey(name, section, key);
      break;
  }
  const std::string after = Read(file);
  if (!done) Check(after == text);
  // A file that was replaced leaves no temporary file beside it, stale or new.
  const auto entries = std::distance(fs::directory_iterator(Folder()), fs::directory_iterator());
  Check(after == text ? entries <= 1 + stale : entries == 1);

  files::ProfileDocument document(after);
  if (done && (op & 3) == 0) {
    Check(document.Get(section, key) == value);
    Check(files::ProfileReadKey(name, section, key, "\x01") ==
          value.substr(0, files::kProfileAnswerLimit));
  }
  if (done && (op & 1) == 1) {
    // Short values keep their tildes in the file; the reader takes one off each end.
    std::string expected = value;
    if (value.size() <= 1000) files::TrimTildes(expected);
    std::string buffer;
    Check(files::ReadLongValue(buffer, name, section, key) == expected);
  }
  if (done && (op & 3) == 2) Check(!document.Get(section, key));
  // A key that is neither the one written nor one of its pieces keeps its value.
  const bool piece = other_key.rfind(key + "_", 0) == 0;
  if (done && other_key != key && !piece && other_key.find('=') == std::string::npos)
    Check(document.Get(section, other_key) == other_before);
  return 0;
}
