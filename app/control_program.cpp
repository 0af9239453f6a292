// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/control_program.h"

namespace tavrin {

ControlProgram::ControlProgram(Platform& platformIn, Build buildIn)
    : platform(platformIn),
      build(buildIn),
      link(*this),
      recovery(*this),
      decoder(*this),
      dataFile(*this),
      radio(*this),
      memory(*this),
      setup(*this),
      splash(*this),
      data(*this),
      panel(*this) {
  platform.serial.OnInput([this] { link.TransceiveTick(); });
  platform.serial.OnGone([this] { recovery.DeviceGone(); });
}

ControlProgram::~ControlProgram() {
  platform.serial.OnInput(nullptr);
  platform.serial.OnGone(nullptr);
}

std::string ControlProgram::ProductName() const {
  switch (build) {
    case Build::Korvid:
      return "Korvid";
    case Build::Belmarq:
      return "Belmarq";
    case Build::Tavrin:
      break;
  }
  return "Tavrin2";
}

std::string ControlProgram::VersionText() const {
  return build == Build::Tavrin ? "Version 1.05" : "Version 1.00";
}

void ControlProgram::Begin() { splash.Load(); }

void ControlProgram::CloseDataFile() { dataFile.CloseDataFile(); }

void ControlProgram::EndProgram() {
  if (station.Ended) return;
  station.Ended = true;
  link.Timer2.SetEnabled(false);
  recovery.SearchTimer.SetEnabled(false);
  platform.desktop.EndProgram();
}

}  // namespace tavrin
