// kvs speaks UTF-8 on every platform: its arguments, standard input and
// output. On Windows the arguments are taken from the wide command line (the
// narrow one holds only the ANSI code page), and the standard streams are
// switched to binary so that line ends pass unchanged.
#pragma once

namespace kvs {

// Replaces argc/argv with the UTF-8 arguments where the platform needs it.
void UseUtf8Console(int* argc, char*** argv);

}  // namespace kvs
