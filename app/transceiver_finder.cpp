// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/transceiver_finder.h"

#include <utility>

namespace tavrin {

namespace {

const std::string kIdentityQuery("\xFE\xFE\x64\xE0\x19\x00\xFD", 7);
const std::string kIdentityAnswer("\xFE\xFE\xE0\x64\x19\x00\x64\xFD", 8);

std::string Baud(const std::string& settings) { return settings.substr(0, settings.find(',')); }

}  // namespace

const std::vector<std::string>& TransceiverFinder::Speeds() {
  static const std::vector<std::string> speeds = {"19200,N,8,1", "9600,N,8,1", "4800,N,8,1"};
  return speeds;
}

TransceiverFinder::TransceiverFinder(Clock& clock, std::function<void(const Outcome&)> done)
    : StepTimer(clock, kReplyWindowMs, [this] { Step(); }), done_(std::move(done)) {}

bool TransceiverFinder::HasIdentityAnswer(const std::string& reply) {
  return reply.find(kIdentityAnswer) != std::string::npos;
}

void TransceiverFinder::Start(SerialDevices* devices, std::vector<SerialDevice> list) {
  Stop();
  devices_ = devices;
  list_ = devices != nullptr ? std::move(list) : std::vector<SerialDevice>{};
  device_ = 0;
  speed_ = 0;
  outcome_ = {};
  running_ = true;
  if (!AskNext()) Finish();
}

void TransceiverFinder::Stop() {
  StepTimer.SetEnabled(false);
  if (port_) port_->Close();
  port_.reset();
  running_ = false;
}

std::string TransceiverFinder::Progress() const {
  if (!running_ || device_ >= list_.size()) return {};
  return "Asking " + list_[device_].path + " at " + Baud(Speeds()[speed_]) + " baud ...";
}

bool TransceiverFinder::AskNext() {
  while (device_ < list_.size()) {
    const std::string& path = list_[device_].path;
    port_ = devices_->PortOn(path);
    port_->SetSettings(Speeds()[speed_]);
    port_->SetInputLen(0);
    const PortError error = port_->Open();
    if (!error.Failed()) {
      if (speed_ == 0) outcome_.asked.push_back(path);
      port_->Input();  // whatever waited before the question is no answer to it
      port_->Output(kIdentityQuery);
      StepTimer.SetEnabled(true);
      return true;
    }
    // A device that cannot be opened at one speed cannot at the others either.
    port_.reset();
    if (error.number == kErrorPortAlreadyOpen) {
      outcome_.busy.push_back(path);
    } else if (error.number == kErrorPermissionDenied) {
      if (outcome_.notAllowed.empty()) outcome_.advice = error.advice;
      outcome_.notAllowed.push_back(path);
    } else {
      outcome_.failed.push_back(path + " (" + error.description + ")");
    }
    ++device_;
    speed_ = 0;
  }
  return false;
}

void TransceiverFinder::Step() {
  StepTimer.SetEnabled(false);
  if (!running_ || !port_) return;
  const std::string reply = port_->Input();
  port_->Close();
  port_.reset();
  if (HasIdentityAnswer(reply)) {
    outcome_.found = true;
    outcome_.device = list_[device_];
    outcome_.settings = Speeds()[speed_];
    return Finish();
  }
  if (++speed_ == Speeds().size()) {
    speed_ = 0;
    ++device_;
  }
  if (!AskNext()) Finish();
}

void TransceiverFinder::Finish() {
  running_ = false;
  StepTimer.SetEnabled(false);
  const Outcome outcome = outcome_;
  if (done_) done_(outcome);
}

}  // namespace tavrin
