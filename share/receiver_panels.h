// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the radio window showed of each of the transceiver's two receivers. The panel's
// frequency, mode and filter are those of the receiver the transceiver operates. Hamlib's
// clients read both receivers when they open the rig (V Sub, f, ..., V Main, m): while the
// sub receiver is selected its answers are the operating values and the panel shows them, and
// when a client selects the main receiver again the panel shows again what it showed of it,
// not the sub receiver's frequency until the dial moves.
#include <map>
#include <string>

namespace tavrin {
class ControlProgram;
}

namespace tavrin::share {

class ReceiverPanels {
 public:
  // The transceiver went from operating receiver `from` to `to` ("Main" or "Sub"): what the
  // panel shows is kept as `from`'s, and what it last showed of `to` is shown again (blank
  // fields when `to` was never shown, until its values are read).
  void Switch(ControlProgram& program, const std::string& from, const std::string& to);

 private:
  struct Shown {
    std::string frequencyText;  // the shared frequency text behind the field
    std::string frequency;      // "Frequency" (Text1)
    std::string mode;           // "Mode/Filter" (Text4, Text5)
    std::string filter;
  };
  std::map<std::string, Shown> shown_;
};

}  // namespace tavrin::share
