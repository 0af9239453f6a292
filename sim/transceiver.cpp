// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/transceiver.h"

#include <algorithm>
#include <utility>

#include "sim/bcd.h"

namespace tavrin::sim {

namespace {

bool ValidChannel(int number) { return number >= 1 && number <= kChannelCount; }

}  // namespace

bool IsKnownMode(std::uint8_t mode) {
  return mode <= kModeFm || mode == kModeCwReverse || mode == kModeRttyReverse;
}

bool IsKnownFilter(std::uint8_t filter) { return filter >= 1 && filter <= 3; }

bool IsTunable(std::int64_t hz) { return hz >= kLowestHz && hz <= kHighestHz; }

Transceiver::Transceiver() = default;

std::string Transceiver::Handle(std::string_view bytes) {
  if (silent_) return {};
  const auto frame = ParseFrame(bytes);
  if (!frame || frame->to != kRigAddress || frame->from == kRigAddress ||
      frame->from == kBroadcastAddress) {
    return {};
  }
  return Dispatch({frame->from, frame->command, frame->data});
}

std::string Transceiver::Answer(const Request& request, std::string_view data) const {
  return BuildFrame(request.controller, kRigAddress, request.command, data);
}

std::string Transceiver::Accept(const Request& request) const {
  return BuildFrame(request.controller, kRigAddress, static_cast<std::uint8_t>(kAccepted), {});
}

std::string Transceiver::Refuse(const Request& request) const {
  return BuildFrame(request.controller, kRigAddress, static_cast<std::uint8_t>(kRefused), {});
}

bool Transceiver::OperatingOnBlankChannel() const {
  return memoryMode_ && channels_[currentChannel_ - 1].blank;
}

std::int64_t Transceiver::FrequencyHz() const {
  if (OperatingOnBlankChannel()) return 0;
  return memoryMode_ ? memoryWork_.frequencyHz : OperatingVfo().frequencyHz;
}

std::uint8_t Transceiver::Mode() const {
  if (OperatingOnBlankChannel()) return 0;
  return memoryMode_ ? memoryWork_.mode : OperatingVfo().mode;
}

std::uint8_t Transceiver::Filter() const {
  if (OperatingOnBlankChannel()) return 0;
  return memoryMode_ ? memoryWork_.filter : OperatingVfo().filter;
}

bool Transceiver::SquelchOpen() const {
  return memoryMode_ ? channelSignal_[currentChannel_ - 1] : vfoSignal_;
}

const MemoryChannel& Transceiver::Channel(int number) const {
  return ValidChannel(number) ? channels_[number - 1] : blankChannel_;
}

void Transceiver::SetChannel(int number, MemoryChannel channel) {
  if (!ValidChannel(number)) return;
  channel.name.resize(kNameLength, ' ');
  channel.tone.resize(kToneLength, '\0');
  channels_[number - 1] = std::move(channel);
  if (memoryMode_ && number == currentChannel_) LoadChannel();
}

void Transceiver::SetVfo(std::int64_t hz, std::uint8_t mode, std::uint8_t filter) {
  OperatingVfo() = {hz, mode, filter};
}

void Transceiver::SetCallSign(std::string callSign) {
  callSign.resize(kNameLength, ' ');
  callSign_ = std::move(callSign);
}

void Transceiver::SetClock(int hours, int minutes) {
  clockHours_ = hours;
  clockMinutes_ = minutes;
}

void Transceiver::FillDemoChannels() {
  SetChannel(1, MemoryChannel::Filled(14'195'000, kModeUsb, 2, "DX NET"));
  SetChannel(2, MemoryChannel::Filled(7'050'000, kModeLsb, 2, "40M"));
  SetChannel(5, MemoryChannel::Filled(50'125'000, kModeUsb, 2, "6M CALL"));
}

void Transceiver::SetChannelSignal(int number, bool on) {
  if (ValidChannel(number)) channelSignal_[number - 1] = on;
}

void Transceiver::SetVfoSignal(bool on) { vfoSignal_ = on; }

void Transceiver::LoadChannel() {
  const MemoryChannel& channel = channels_[currentChannel_ - 1];
  if (!channel.blank) memoryWork_ = {channel.frequencyHz, channel.mode, channel.filter};
}

void Transceiver::TurnDial(std::int64_t hz) {
  if (silent_ || OperatingOnBlankChannel()) return;
  VfoState& operating = memoryMode_ ? memoryWork_ : OperatingVfo();
  operating.frequencyHz = std::clamp(operating.frequencyHz + hz, kLowestHz, kHighestHz);
  Broadcast(0x00, FrequencyToBcd(operating.frequencyHz));
}

void Transceiver::ChangeMode(std::uint8_t mode, std::uint8_t filter) {
  if (silent_ || OperatingOnBlankChannel() || !IsKnownMode(mode) || !IsKnownFilter(filter)) {
    return;
  }
  VfoState& operating = memoryMode_ ? memoryWork_ : OperatingVfo();
  operating.mode = mode;
  operating.filter = filter;
  Broadcast(0x01, std::string{static_cast<char>(mode), static_cast<char>(filter)});
}

void Transceiver::Broadcast(std::uint8_t command, std::string_view data) const {
  if (transceive_ && broadcast_)
    broadcast_(BuildFrame(kBroadcastAddress, kRigAddress, command, data));
}

}  // namespace tavrin::sim
