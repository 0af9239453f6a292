// SPDX-License-Identifier: GPL-3.0-or-later
// The capabilities dump: the model, the modes and receivers, and one "Can ..." line for each
// thing a client may ask of a rig, Y where this port does it and N where it does not. Loggers
// read these lines to decide what to ask (whether to poll the VFO, to switch the power, to
// send Morse or voice); the layout is rigctld's.
#include <array>
#include <string>
#include <utility>

#include "share/rigctl_answers.h"

namespace tavrin::share {

namespace {

constexpr std::array<std::pair<const char*, bool>, 63> kCanLines{{
    {"set Conf", false},
    {"get Conf", false},
    {"set Frequency", true},
    {"get Frequency", true},
    {"set Mode", true},
    {"get Mode", true},
    {"set VFO", true},
    {"get VFO", false},  // the transceiver cannot tell which receiver is selected
    {"set PTT", true},
    {"get PTT", true},
    {"get DCD", false},
    {"set Repeater Duplex", false},
    {"get Repeater Duplex", false},
    {"set Repeater Offset", false},
    {"get Repeater Offset", false},
    {"set Split Freq", true},
    {"get Split Freq", true},
    {"set Split Mode", true},
    {"get Split Mode", true},
    {"set Split VFO", true},
    {"get Split VFO", true},
    {"set Tuning Step", false},
    {"get Tuning Step", false},
    {"set RIT", false},
    {"get RIT", false},
    {"set XIT", false},
    {"get XIT", false},
    {"set CTCSS", false},
    {"get CTCSS", false},
    {"set DCS", false},
    {"get DCS", false},
    {"set CTCSS Squelch", false},
    {"get CTCSS Squelch", false},
    {"set DCS Squelch", false},
    {"get DCS Squelch", false},
    {"set Power Stat", false},
    {"get Power Stat", true},  // always on: the panel talks to it
    {"Reset", false},
    {"get Ant", false},
    {"set Ant", false},
    {"set Transceive", false},
    {"get Transceive", false},
    {"set Func", false},
    {"get Func", false},
    {"set Level", false},
    {"get Level", false},
    {"set Param", false},
    {"get Param", false},
    {"send DTMF", false},
    {"recv DTMF", false},
    {"send Morse", false},
    {"send Voice", false},
    {"decode Events", false},
    {"set Bank", false},
    {"set Mem", false},
    {"get Mem", false},
    {"set Channel", false},
    {"get Channel", false},
    {"ctl Mem/VFO", false},
    {"Scan", false},
    {"get Info", false},
    {"get power2mW", false},
    {"get mW2power", false},
}};

}  // namespace

std::vector<std::string> DumpCapsLines() {
  std::vector<std::string> lines{"Caps dump for model: 3047",
                                 "Model name:\tIC-756PROII",
                                 "Mfg name:\tIcom",
                                 "Rig type:\tTransceiver",
                                 "PTT type:\tRig capable",
                                 "DCD type:\tNone",
                                 "Port type:\tNetwork link",
                                 "Has targetable VFO: N",
                                 "Mode list: AM CW USB LSB RTTY FM CWR RTTYR ",
                                 "VFO list: Sub Main MEM "};
  for (const auto& [what, can] : kCanLines)
    lines.push_back(std::string("Can ") + what + ":\t" + (can ? "Y" : "N"));
  lines.emplace_back("");
  lines.emplace_back("Overall backend warnings: 0");
  return lines;
}

}  // namespace tavrin::share
