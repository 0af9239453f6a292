// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/network_control.h"

#include <cstdlib>

#include "app/control_program.h"
#include "civ/mode_table.h"
#include "share/rig_modes.h"

namespace tavrin::share {

NetworkControl::NetworkControl(ControlProgram& program, ShareListener& listener)
    : program_(program),
      listener_(listener),
      queue_(program),
      told_(program.platform.clock),
      sweep_(program.platform.clock, 1, [this] { SweepTick(); }) {
  program_.follower = &told_;
}

NetworkControl::~NetworkControl() {
  if (program_.follower == &told_) program_.follower = nullptr;
  if (checked_) listener_.Stop();
}

void NetworkControl::ToggleNetworkControl() {
  if (checked_) {
    StopSharing();
  } else {
    StartSharing();
  }
}

std::string NetworkControl::TitleNote() const {
  if (!checked_) return {};
  const std::size_t count = sessions_.size();
  return " - shared on port " + std::to_string(kPort) + ", " + std::to_string(count) +
         (count == 1 ? " client" : " clients");
}

void NetworkControl::StartSharing() {
  const std::string why = listener_.Listen(
      kPort, {[this](int client) { ClientConnected(client); },
              [this](int client, const std::string& bytes) { ClientSent(client, bytes); },
              [this](int client) { ClientLeft(client); }});
  if (!why.empty()) {
    program_.platform.desktop.MessageBox(
        "Network Control Error",
        "Port " + std::to_string(kPort) + " cannot be opened for Network Control ... " + why,
        BoxIcon::Critical, BoxButtons::Ok);
    return;
  }
  checked_ = true;
}

void NetworkControl::StopSharing() {
  listener_.Stop();
  for (auto& [client, session] : sessions_) session->Disconnected();
  sessions_.clear();
  checked_ = false;
}

void NetworkControl::ClientConnected(int client) {
  if (sessions_.size() >= kMostClients) {
    listener_.Close(client);
    return;
  }
  sessions_[client] = std::make_unique<ClientSession>(
      queue_, state_, program_.platform.clock,
      ClientSession::Hooks{
          [this, client](const std::string& text) { listener_.Send(client, text); },
          [this, client] {
            listener_.Close(client);
            sweep_.SetEnabled(true);
          },
          [this](const RigctlRequest& request, const RigctlAnswer& answer) {
            ShowServed(request, answer);
          },
          [this](const RigctlRequest& request) { return KnownAnswer(request); }});
}

std::optional<RigctlAnswer> NetworkControl::KnownAnswer(const RigctlRequest& request) const {
  const Station& station = program_.station;
  // Bytes that came unasked and are still being collected may be a broadcast of news.
  if (request.error != kRigOk || !station.AutoStatusOn || station.PortOpened != 1 ||
      station.PortGone || !program_.link.Idle() || program_.link.Timer1.Enabled())
    return std::nullopt;
  if (request.command == RigctlCommand::GetFreq) {
    if (const auto hz = told_.Frequency()) return FrequencyValues(*hz);
  }
  if (request.command == RigctlCommand::GetMode) {
    if (const auto mode = told_.OperatingMode()) return ModeValues(mode->mode, mode->filter);
  }
  return std::nullopt;
}

void NetworkControl::ShowServed(const RigctlRequest& request, const RigctlAnswer& answer) {
  if (program_.station.Ended) return;
  if (state_.receiver != shownReceiver_) {
    panels_.Switch(program_, shownReceiver_, state_.receiver);
    shownReceiver_ = state_.receiver;
  }
  if (answer.error != kRigOk) return;
  RadioMain& radio = program_.radio;
  switch (request.command) {
    case RigctlCommand::SetMode: {
      // The answer was good only when the read-back held the mode (and filter) asked for.
      const civ::Mode* mode = civ::ModeOfRigctl(request.args[0]);
      if (mode == nullptr) return;
      const auto filter = FilterFor(*mode, std::strtol(request.args[1].c_str(), nullptr, 10));
      const civ::Filter* shownFilter = filter ? civ::FilterOfCode(*filter) : nullptr;
      program_.decoder.ShowModeMarks(mode->shown, shownFilter ? shownFilter->shown : "");
      // The mode field too: the read-back that told the client is not read again for "m".
      radio.Text4 = mode->shown;
      if (shownFilter != nullptr) radio.Text5 = shownFilter->shown;
      return;
    }
    case RigctlCommand::SetPtt:
      // 0 receive; 1, 2 and 3 transmit.
      radio.ShowOptionMark(RadioMain::OptionByCaption(
          std::strtol(request.args[0].c_str(), nullptr, 10) == 0 ? "Rx" : "Tx"));
      return;
    default:
      return;
  }
}

void NetworkControl::ClientSent(int client, const std::string& bytes) {
  const auto found = sessions_.find(client);
  if (found != sessions_.end()) found->second->Receive(bytes);
}

void NetworkControl::ClientLeft(int client) {
  const auto found = sessions_.find(client);
  if (found == sessions_.end()) return;
  found->second->Disconnected();
  sweep_.SetEnabled(true);
}

void NetworkControl::SweepTick() {
  sweep_.SetEnabled(false);
  std::erase_if(sessions_, [](const auto& entry) { return entry.second->Ended(); });
}

}  // namespace tavrin::share
