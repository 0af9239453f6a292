// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_serial.h"

#include <utility>

#include "platform/serial_settings.h"
#include "sim/frame.h"

namespace tavrin {

SimSerial::SimSerial(VirtualClock& clock, sim::Transceiver& radio)
    : clock_(clock),
      radio_(radio),
      scheduler_(clock),
      bus_(scheduler_, radio, [this](char byte) { Arrive(byte); }) {}

SimSerial::~SimSerial() = default;

void SimSerial::SetSettings(const std::string& settings) {
  settings_ = settings;
  if (!open_) return;
  if (const auto line = ParseSerialSettings(settings_)) {
    bus_.SetLine(line->baud, line->BitsPerByte());
  }
}

PortError SimSerial::Open() {
  if (vanished_ || !ports_.contains(port_)) return {kErrorInvalidPort, "Invalid port number"};
  if (open_ || heldElsewhere_) return {kErrorPortAlreadyOpen, "Port already open"};
  const auto line = ParseSerialSettings(settings_);
  if (!line) return {kErrorInvalidSettings, "Invalid property value"};
  bus_.SetLine(line->baud, line->BitsPerByte());
  open_ = true;
  input_.clear();
  return {};
}

void SimSerial::Close() {
  open_ = false;
  input_.clear();
  partialFrame_.clear();
}

void SimSerial::Output(const std::string& bytes) {
  if (!open_ || vanished_ || bytes.empty()) return;
  if (framesBeforePull_ >= 0) {
    // Only the frames still allowed go out; the write after them finds the cable gone.
    std::size_t allowed = 0;
    while (allowed < bytes.size() && framesBeforePull_ > 0) {
      if (bytes[allowed++] == sim::kEndOfMessage) --framesBeforePull_;
    }
    if (framesBeforePull_ == 0 && allowed < bytes.size()) {
      const std::string head = bytes.substr(0, allowed);
      if (!head.empty()) {
        Record(head);
        bus_.ControllerSend(head);
      }
      framesBeforePull_ = -1;
      Vanish();
      return;
    }
  }
  Record(bytes);
  bus_.ControllerSend(bytes);
}

std::string SimSerial::Input() {
  if (!open_ || vanished_) return {};
  if (inputLen_ <= 0 || static_cast<std::size_t>(inputLen_) >= input_.size()) {
    return std::exchange(input_, {});
  }
  std::string head = input_.substr(0, static_cast<std::size_t>(inputLen_));
  input_.erase(0, static_cast<std::size_t>(inputLen_));
  return head;
}

void SimSerial::SetPortExists(int portNumber, bool exists) {
  if (exists) {
    ports_.insert(portNumber);
  } else {
    ports_.erase(portNumber);
  }
}

void SimSerial::Vanish() {
  if (vanished_) return;
  vanished_ = true;
  const bool wasOpen = open_;
  Close();
  bus_.Cut();
  if (wasOpen && onGone_) onGone_();
}

void SimSerial::PlugBackIn() {
  vanished_ = false;
  framesBeforePull_ = -1;
  ++pullGeneration_;
}

void SimSerial::PullCableAt(std::int64_t micros) {
  clock_.ScheduleAtMicros(micros, [this, generation = pullGeneration_] {
    if (generation == pullGeneration_) Vanish();
  });
}

void SimSerial::PullCableAfterFrames(int frames) { framesBeforePull_ = frames < 0 ? 0 : frames; }

std::vector<std::string> SimSerial::SentFrameBytes() const {
  std::vector<std::string> frames;
  frames.reserve(sent_.size());
  for (const SentFrame& frame : sent_) frames.push_back(frame.bytes);
  return frames;
}

void SimSerial::Arrive(char byte) {
  if (!open_ || vanished_) return;
  input_.push_back(byte);
  if (onInput_) onInput_();
}

void SimSerial::Record(const std::string& bytes) {
  for (char byte : bytes) {
    if (partialFrame_.empty()) partialSince_ = clock_.NowMicros();
    partialFrame_.push_back(byte);
    if (byte == sim::kEndOfMessage) {
      sent_.push_back({std::exchange(partialFrame_, {}), partialSince_});
    }
  }
}

}  // namespace tavrin
