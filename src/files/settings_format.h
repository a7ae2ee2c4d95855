// The line format of settings files, shared by the reader and the profile
// store so that both see the same sections and keys.
//
// Lines end in CR LF; a lone LF or CR also ends a line, so that a file edited
// elsewhere still reads. A header line is "[", the section name, "]" and
// nothing else; any line that begins with "[" ends the section before it. A
// key line is the key, "=" and the value. Names compare exactly.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace files {

struct LineSpan {
  size_t begin;        // first byte of the line
  size_t content_end;  // where its terminator starts
  size_t end;          // after the terminator
};

std::vector<LineSpan> SplitLines(std::string_view text);

// Where the lines that begin with "[" begin.
std::vector<size_t> BracketLineStarts(std::string_view text);

// The lines after the first header of `section`, up to the next line that
// begins with "["; empty when there is no such header. `bracket_lines` is
// BracketLineStarts(text), which a caller may keep for many lookups.
std::string_view SectionBody(std::string_view text, const std::vector<size_t>& bracket_lines,
                             std::string_view section);

inline std::string_view Content(std::string_view text, const LineSpan& line) {
  return text.substr(line.begin, line.content_end - line.begin);
}

inline bool IsHeaderLine(std::string_view content) {
  return !content.empty() && content.front() == '[';
}

inline bool IsHeaderOf(std::string_view content, std::string_view section) {
  return content.size() == section.size() + 2 && content.front() == '[' &&
         content.back() == ']' && content.substr(1, section.size()) == section;
}

// The value of a key line of this key, or nothing.
inline std::optional<std::string_view> ValueOf(std::string_view content, std::string_view key) {
  if (IsHeaderLine(content) || content.size() <= key.size() ||
      content.compare(0, key.size(), key) != 0 || content[key.size()] != '=')
    return std::nullopt;
  return content.substr(key.size() + 1);
}

inline bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace files
