#pragma once
// rigsim's command line: --link NAME (default com1), --baud N (default 19200), --headless,
// --log FILE (the controller's frames in hex, one a line).
#include <optional>
#include <string>
#include <vector>

namespace tavrin::rigsim {

struct Options {
  std::string link = "com1";
  int baud = 19200;
  bool headless = false;
  std::string log;  // empty: no frame log
  bool help = false;
};

// Nothing, with `error` set, for an unknown option or a bad value.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);
std::string Usage();

}  // namespace tavrin::rigsim
