#include "settings_format.h"

namespace files {

std::vector<LineSpan> SplitLines(std::string_view text) {
  std::vector<LineSpan> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t stop = text.find_first_of("\r\n", begin);
    if (stop == std::string_view::npos) {
      lines.push_back({begin, text.size(), text.size()});
      break;
    }
    size_t end = stop + 1;
    if (text[stop] == '\r' && end < text.size() && text[end] == '\n') ++end;
    lines.push_back({begin, stop, end});
    begin = end;
  }
  return lines;
}

}  // namespace files
