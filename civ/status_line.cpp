// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/status_line.h"

#include "civ/encodings.h"

namespace tavrin {

std::string StatusLine(const std::string& reply) {
  const std::string list = ToDecimalList(reply);
  return list.empty() ? kRadioNotReadyLine : "STATUS = " + list;
}

std::string AutoStatusLine(const std::string& data) { return "AUTO = " + ToDecimalList(data); }

std::string PortGoneLine(const std::string& commPort, bool wasOpen) {
  return std::string(kRadioNotReadyLine) + " ... " + commPort +
         (wasOpen ? " is gone" : " is not there") + " ... looking for it";
}

}  // namespace tavrin
