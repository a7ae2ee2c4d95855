// Settings texts are untrusted: any bytes through the reader and the profile
// store's editor, which must agree with each other and keep every byte.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "profile_store.h"
#include "settings_reader.h"

using fuzz::Check;
using fuzz::Take;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view section = Take(input, 8);
  std::string_view key = Take(input, 8);
  std::string_view value = Take(input, 16);
  std::string_view text = input;

  std::string read = files::ReadSettingsValue(text, section, key);
  files::JoinLongValue(text, section, key);

  files::ProfileDocument document(text);
  Check(document.Text() == text);
  auto stored = document.Get(section, key);
  if (key.find('=') == std::string_view::npos) Check(stored.value_or("") == read);

  if (document.Set(section, key, value)) {
    std::string edited = document.Text();
    Check(document.Get(section, key) == std::string(value));
    Check(files::ReadSettingsValue(edited, section, key) == value);
    // Growing the text never loses bytes: only the key's own line changes.
    if (!stored) Check(edited.size() > text.size());
  }
  document.Delete(section, key);
  Check(!document.Get(section, key));
  Check(files::ReadSettingsValue(document.Text(), section, key).empty());
  return 0;
}
