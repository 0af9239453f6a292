#include "sim/rigsim/options.h"

#include <charconv>

namespace tavrin::rigsim {

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--headless") {
      options.headless = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--link" && hasValue) {
      options.link = arguments[++i];
      if (options.link.empty()) {
        error = "--link needs a name";
        return std::nullopt;
      }
    } else if (argument == "--log" && hasValue) {
      options.log = arguments[++i];
      if (options.log.empty()) {
        error = "--log needs a file name";
        return std::nullopt;
      }
    } else if (argument == "--baud" && hasValue) {
      const std::string& value = arguments[++i];
      int baud = 0;
      const auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), baud);
      if (status != std::errc() || end != value.data() + value.size() || baud < 300 ||
          baud > 115200) {
        error = "--baud needs a speed from 300 to 115200, not \"" + value + "\"";
        return std::nullopt;
      }
      options.baud = baud;
    } else {
      error = "unknown option \"" + argument + "\"";
      return std::nullopt;
    }
  }
  return options;
}

std::string Usage() {
  return "usage: rigsim [--link NAME] [--baud N] [--headless] [--log FILE]\n"
         "  Simulates the transceiver (CI-V address 64) on a pseudo-terminal and links it as\n"
         "  NAME (default com1) in the working directory. --baud sets the speed whose byte\n"
         "  times the simulated bus keeps (default 19200). --headless runs without the front\n"
         "  panel window. --log writes every frame the controller sends to FILE, in hex, one\n"
         "  frame a line. Stop with Ctrl+C.\n";
}

}  // namespace tavrin::rigsim
