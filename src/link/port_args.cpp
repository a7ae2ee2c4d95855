#include "port_args.h"

namespace zlink {

std::vector<std::string> ParsePortArgs(const std::vector<std::string>& args) {
  static const std::string kOption = "--port";
  std::vector<std::string> ports;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == kOption) {
      if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1].rfind("--", 0) != 0)
        ports.push_back(args[++i]);
    } else if (arg.rfind(kOption + "=", 0) == 0) {
      std::string name = arg.substr(kOption.size() + 1);
      if (!name.empty()) ports.push_back(std::move(name));
    }
  }
  return ports;
}

std::vector<std::string> ParsePortArgs(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
  return args.empty() ? std::vector<std::string>{} : ParsePortArgs(args);
}

}  // namespace zlink
