// zelt's command line, one row per case.
#include <gtest/gtest.h>

#include "program_options.h"

namespace {

// What the parser made of a line, in one text: the flags that are set, the
// ports, the screenshot options when not the defaults, and the error.
std::string Summary(const zelt::CommandLine& line) {
  QStringList parts;
  if (line.debug) parts << "debug";
  if (line.demo) parts << "demo";
  if (line.watch) parts << "watch";
  if (line.help) parts << "help";
  if (line.version) parts << "version";
  if (!line.ports.isEmpty()) parts << "ports=" + line.ports.join(',');
  if (!line.screenshot.file.isEmpty()) parts << "shot=" + line.screenshot.file;
  if (line.screenshot.delay_ms != 1000) parts << "delay=" + QString::number(line.screenshot.delay_ms);
  if (!line.screenshot.pages.isEmpty()) parts << "pages=" + line.screenshot.pages;
  if (!line.error.isEmpty()) parts << "error=" + line.error;
  return parts.join(' ').toStdString();
}

struct Row {
  QStringList arguments;
  const char* expected;
};

TEST(CommandLine, OneRowPerCase) {
  const Row rows[] = {
      {{}, ""},
      {{"DeBuG"}, "debug"},
      {{"x", "debug"}, "debug"},
      {{"DEBUGX"}, ""},
      {{"DEBUG2", "x"}, ""},
      {{"--demo", "--port", "DEBUG", "x"}, "demo ports=DEBUG"},
      {{"-platform", "xcb", "-style=fusion", "--reverse", "DEBUG"}, "debug"},
      {{"--port", "/dev/debug", "--port=a", "--port=", "--screenshot-pages", "d", "--watch"},
       "watch ports=/dev/debug,a pages=d"},
      {{"debug", "--screenshot", "a.png", "--screenshot-delay", "250"},
       "debug shot=a.png delay=250"},
      {{"--screenshot-delay", "soon", "--screenshot-delay", "-5"}, ""},
      {{"DEBUG", "-h"}, "debug help"},
      {{"--help", "--frobnicate"}, "help error=unknown option: --frobnicate"},
      {{"--version"}, "version"},
      {{"-x"}, "error=unknown option: -x"},
      {{"DEBUG", "--screenshot-dealy", "5"}, "debug error=unknown option: --screenshot-dealy"},
      {{"--watch=1", "--screenshot"}, "watch error=unknown option: --watch=1"},
      {{"--screenshot-delay", "soon", "--screenshot"}, "error=--screenshot needs FILE"},
      {{"--port", "--demo", "--port", "COM3"}, "ports=COM3 error=--port needs NAME"},
      {{"-style"}, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Summary(zelt::ParseCommandLine(row.arguments)), row.expected)
        << row.arguments.join(' ').toStdString();
  }
}

}  // namespace
