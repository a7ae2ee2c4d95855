// kvs-words: the commands of kvs that read the word table of the whole
// program (--check, --words-md, --syntax). kvs starts it for them.
#include <iostream>

#include "program_commands.h"
#include "utf8_console.h"

int main(int argc, char** argv) {
  kvs::UseUtf8Console(&argc, &argv);
  if (argc < 2 || !kvs::IsProgramCommand(argv[1])) {
    std::cerr << "usage: kvs-words --check [FILE] | --words-md [FILE] | --syntax [FILE]\n";
    return 2;
  }
  return kvs::RunProgramCommand(argc, argv);
}
