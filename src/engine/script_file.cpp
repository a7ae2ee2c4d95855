#include "script_file.h"

#include <filesystem>
#include <fstream>

#include "value.h"

namespace engine {

size_t SearchFrom(std::string_view pattern, std::string_view text, size_t position) {
  if (position < 1) position = 1;
  if (position > text.size()) return 0;
  size_t at = text.find(pattern, position - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

void ScriptFile::Reset() {
  text_.clear();
  opened_ = false;
}

void ScriptFile::LoadIfNeeded() {
  if (opened_) return;
  opened_ = true;
  // The path is UTF-8; on Windows the stream opens it through the wide API.
  std::ifstream in(std::filesystem::u8path(path_), std::ios::binary);
  if (!in) return;
  text_.resize(kReadLimit);
  in.read(text_.data(), static_cast<std::streamsize>(kReadLimit));
  text_.resize(static_cast<size_t>(in.gcount()));
}

std::string ScriptFile::Body(const std::string& name) {
  LoadIfNeeded();
  if (text_.empty()) return {};
  const std::string key = ":" + name + "\r\n";
  size_t key_at = text_.find(key);
  if (key_at == std::string::npos) return {};
  const size_t start = key_at + 1 + name.size();  // the CR ending the name line
  size_t scan = start;
  for (;;) {
    size_t semicolon = text_.find(';', scan);
    if (semicolon == std::string::npos) return {};
    size_t opener = text_.find_first_of("`\"{", scan);
    if (opener == std::string::npos || opener > semicolon) {
      std::string body = text_.substr(start, semicolon - start);
      for (char& c : body)
        if (c == '\r' || c == '\n') c = ' ';
      TrimLeadingBlanks(body);
      return body;
    }
    char closer = text_[opener] == '{' ? '}' : text_[opener];
    size_t closing = text_.find(closer, opener + 1);
    if (closing == std::string::npos) return {};
    scan = closing + 1;
  }
}

}  // namespace engine
