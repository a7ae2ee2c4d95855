#include "program_commands.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "checker.h"
#include "cp1251.h"
#include "program_words.h"
#include "reference_output.h"

namespace kvs {

int Check(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << path << ": cannot be read\n";
    return 2;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<check::Problem> problems = check::CheckScript(text, zelt::ProgramWords());
  for (const check::Problem& problem : problems)
    std::cout << engine::Utf8FromCp1251(check::FormatProblem(path, problem)) << '\n';
  return check::CountFaults(problems) == 0 ? 0 : 1;
}

int Reference(const std::string& path, bool markdown) {
  const engine::WordReference words = zelt::ProgramWords();
  const std::string text = markdown ? WordsMarkdown(words) : SyntaxDefinition(words);
  if (path.empty()) {
    std::cout << text;
    return 0;
  }
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) {
    std::cerr << path << ": cannot be written\n";
    return 2;
  }
  return 0;
}

}  // namespace kvs
