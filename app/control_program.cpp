// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/control_program.h"

#include "civ/operating_mode.h"
#include "civ/status_line.h"

namespace tavrin {

ControlProgram::ControlProgram(Platform& platformIn, Build buildIn)
    : platform(platformIn),
      build(buildIn),
      profile(ProfileOf(buildIn)),
      radio(*this),
      memory(*this),
      setup(*this),
      splash(*this),
      data(*this),
      panel(*this),
      dataFile(*this),
      link(platform.clock, platform.serial, station, *this, profile.link),
      recovery(platform.clock, platform.serial, station, link, *this),
      decoder({radio, memory, station, radio}),
      synchronisation(*this) {
  platform.serial.OnInput([this] { link.TransceiveTick(); });
  platform.serial.OnGone([this] { recovery.DeviceGone(); });
}

ControlProgram::~ControlProgram() {
  platform.serial.OnInput(nullptr);
  platform.serial.OnGone(nullptr);
}

std::string ControlProgram::ProductName() const { return profile.productName; }

std::string ControlProgram::VersionText() const { return profile.versionText; }

void ControlProgram::Begin() { splash.Load(); }

void ControlProgram::CloseDataFile() { dataFile.CloseDataFile(); }

void ControlProgram::EndProgram() {
  if (station.Ended) return;
  station.Ended = true;
  link.Stop();
  recovery.Stop();
  memory.Operations().Drop();
  platform.desktop.EndProgram();
}

void ControlProgram::ShowStatusLine(const std::string& line) {
  radio.Text7 = line;
  memory.Text9 = line;
}

void ControlProgram::Answered(const std::string& reply) {
  if (station.Ended) return;
  ShowStatusLine(StatusLine(reply));
  if (station.PortGone) ShowStatusLine(PortGoneLine(station.CommPort, recovery.DeviceWasOpen()));
  decoder.DecodeReply(reply);
  NoteModeReply(station, reply);
  if (station.SyncStep != 0 && !station.Ended) synchronisation.Step(reply);
  if (follower != nullptr) follower->Answered(reply);
  // A memory-window operation whose step waits for this answer goes on now.
  memory.Operations().AnswerDecoded(reply);
}

void ControlProgram::Unsolicited(const std::string& bytes) {
  ShowStatusLine(AutoStatusLine(bytes));
  if (follower != nullptr) follower->Unsolicited(bytes);
}

void ControlProgram::Broadcast(const std::string& frame) {
  if (station.Ended) return;
  decoder.DecodeTransceive(frame);
  if (follower != nullptr) follower->Broadcast(frame);
}

void ControlProgram::Gone(Absence why) {
  if (follower != nullptr) follower->Gone(why);
  if (why == Absence::RadioSilent) return ShowStatusLine(kRadioNotReadyLine);
  // A synchronisation cut off by the pull starts again from the beginning when the cable is
  // back; what it asked for so far may no longer hold.
  synchronisation.Abandon();
  ShowStatusLine(PortGoneLine(station.CommPort, recovery.DeviceWasOpen()));
}

bool ControlProgram::Back(Presence what) {
  if (follower != nullptr) follower->Back(what);
  if (what == Presence::Device) {
    if (!ReopenCommPortQuietly()) return false;
    synchronisation.Start(true);
    return true;
  }
  // A program that only checks the identity has just heard it.
  if (profile.readsRadioState) synchronisation.Start(true);
  return true;
}

bool ControlProgram::MaySend() const {
  return !station.Ended && station.SyncStep == 0 && memory.Operations().Running() == nullptr;
}

}  // namespace tavrin
