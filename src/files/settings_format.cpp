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

std::vector<size_t> BracketLineStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1))
    if (at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r') starts.push_back(at);
  return starts;
}

std::string_view SectionBody(std::string_view text, const std::vector<size_t>& bracket_lines,
                             std::string_view section) {
  for (size_t i = 0; i < bracket_lines.size(); ++i) {
    const size_t begin = bracket_lines[i];
    size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    if (!IsHeaderOf(text.substr(begin, end - begin), section)) continue;
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n') ++end;
    const size_t stop = i + 1 < bracket_lines.size() ? bracket_lines[i + 1] : text.size();
    return text.substr(end, stop - end);
  }
  return {};
}

}  // namespace files
