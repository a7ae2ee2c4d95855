#include "script_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cp1251.h"
#include "definitions.h"
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
  bodies_.clear();
  opened_ = false;
  problem_ = Problem::kNone;
}

namespace {

struct Closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A text file in Windows-1251 never holds a zero byte; UTF-16 files and
// programs do.
bool LooksBinary(const std::string& text) { return text.find('\0') != std::string::npos; }

}  // namespace

bool ScriptFile::Load() {
  if (opened_) return false;
  opened_ = true;
  text_.clear();
  bodies_.clear();
  errno = 0;
  // The path is UTF-8; on Windows it opens through the wide API.
#ifdef _WIN32
  std::unique_ptr<std::FILE, Closer> file(_wfopen(std::filesystem::u8path(path_).c_str(), L"rb"));
#else
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path_.c_str(), "rb"));
#endif
  if (!file) {
    problem_ = errno == ENOENT || errno == ENOTDIR ? Problem::kMissing : Problem::kUnreadable;
    return true;
  }
  // The whole file, however long: definitions at its end must not vanish.
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) text_.append(chunk, got);
  if (std::ferror(file.get())) {  // a folder, an unreadable disk
    text_.clear();
    problem_ = Problem::kUnreadable;
  } else if (text_.empty()) {
    problem_ = Problem::kEmpty;
  } else if (LooksBinary(text_)) {
    text_.clear();
    problem_ = Problem::kBinary;
  } else if (NameLines(text_).empty()) {
    problem_ = Problem::kNoDefinitions;
  } else {
    problem_ = Problem::kNone;
  }
  return true;
}

std::string ScriptFile::ProblemText() const {
  const std::string name = Cp1251("Файл скрипта ") + Cp1251(path_);
  switch (problem_) {
    case Problem::kNone:
      return {};
    case Problem::kMissing:
      return name + Cp1251(" не найден: страниц нет");
    case Problem::kUnreadable:
      return name + Cp1251(" не удалось прочитать: страниц нет");
    case Problem::kEmpty:
      return name + Cp1251(" пуст: страниц нет");
    case Problem::kBinary:
      return name + Cp1251(" не текстовый (двоичные данные): страниц нет");
    case Problem::kNoDefinitions:
      return name + Cp1251(" не содержит определений (строка :ИМЯ и конец строки CR LF)");
  }
  return {};
}

const std::string& ScriptFile::Body(const std::string& name) {
  static const std::string kNone;
  Load();
  if (text_.empty()) return kNone;
  // The text never changes once read, so each name is looked up once.
  auto known = bodies_.find(name);
  if (known != bodies_.end()) return known->second;
  if (bodies_.size() >= kKnownBodies) bodies_.clear();
  return bodies_.emplace(name, FindBody(name)).first->second;
}

std::string ScriptFile::FindBody(const std::string& name) const {
  const std::optional<DefinitionPlace> place = FindDefinition(text_, name);
  if (!place || !place->closed) return {};
  std::string body = text_.substr(place->body_offset, place->end - place->body_offset);
  for (char& c : body)
    if (c == '\r' || c == '\n') c = ' ';
  TrimLeadingBlanks(body);
  return body;
}

}  // namespace engine
