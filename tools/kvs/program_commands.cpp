#include "program_commands.h"

#include <cstring>
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
namespace {

int Check(const char* path) {
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

// Writes the reference or the syntax definition to `path`, or to standard
// output without one.
int Reference(const char* path, bool markdown) {
  const engine::WordReference words = zelt::ProgramWords();
  const std::string text = markdown ? WordsMarkdown(words) : SyntaxDefinition(words);
  if (!path) {
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

}  // namespace

int RunProgramCommand(int argc, char** argv) {
  const char* argument = argc > 2 ? argv[2] : nullptr;
  if (std::strcmp(argv[1], "--check") == 0) return Check(argument ? argument : "Setup.KVS");
  return Reference(argument, std::strcmp(argv[1], "--words-md") == 0);
}

}  // namespace kvs
