#include "long_value.h"

#include <string>

#include "profile_store.h"
#include "settings_reader.h"

namespace files {

bool WriteLongValue(std::string_view file_name, std::string_view section,
                    std::string_view key, std::string_view value) {
  if (!ProfileDocument::Writable(section, key, value)) return false;
  ProfileSession session;
  if (!session.Open(file_name)) return false;
  ProfileDocument& document = session.document();

  // The chain is key, key_1 ... key_(pieces - 1); key_pieces ends it.
  size_t pieces = 1;
  if (value.size() <= kPieceSize) {
    document.Set(section, key, value);
  } else {
    pieces = (value.size() + kPieceSize - 1) / kPieceSize;
    for (size_t n = 0; n < pieces; ++n) {
      std::string piece = "~";
      piece += value.substr(n * kPieceSize, kPieceSize);
      piece += '~';
      document.Set(section, n == 0 ? std::string(key) : PieceKey(key, static_cast<int>(n)), piece);
    }
  }
  int end = static_cast<int>(pieces);
  document.Delete(section, PieceKey(key, end));
  while (document.Delete(section, PieceKey(key, ++end))) {
  }
  return session.Commit();
}

}  // namespace files
