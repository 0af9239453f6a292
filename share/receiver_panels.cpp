// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/receiver_panels.h"

#include "app/control_program.h"

namespace tavrin::share {

void ReceiverPanels::Switch(ControlProgram& program, const std::string& from,
                            const std::string& to) {
  RadioMain& radio = program.radio;
  Station& station = program.station;
  shown_[from] = {station.FrequencyText, radio.Text1, radio.Text4, radio.Text5};
  // A receiver never shown is blank until its values are read.
  const auto found = shown_.find(to);
  const Shown again = found == shown_.end() ? Shown{station.FrequencyText, " ", " ", " "} : found->second;
  station.FrequencyText = again.frequencyText;
  radio.Text1 = again.frequency;
  radio.Text4 = again.mode;
  radio.Text5 = again.filter;
  program.decoder.ShowModeMarks(again.mode, again.filter);
}

}  // namespace tavrin::share
