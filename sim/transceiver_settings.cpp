// SPDX-License-Identifier: GPL-3.0-or-later
// Command 1A: memory contents (1A 00), call sign (1A 05 15), clock (1A 05 16) and data mode
// (1A 06).
#include "sim/bcd.h"
#include "sim/channel_code.h"
#include "sim/transceiver.h"

namespace tavrin::sim {

namespace {

constexpr std::size_t kRecordLength = 27;  // channel code 2, then the 25 bytes of a channel

bool Printable(std::string_view text) {
  for (char c : text) {
    const auto value = static_cast<unsigned char>(c);
    if (value < 0x20 || value > 0x7E) return false;
  }
  return true;
}

}  // namespace

std::string Transceiver::SettingsCommand(const Request& request) {
  const std::string_view data = request.data;
  if (data.empty()) return Refuse(request);
  if (data[0] == '\x00') return MemoryContentsCommand(request);
  if (data[0] == '\x06') {
    // Data mode: this transceiver has none, so "off" (00, filter 00) is all there is.
    if (data.size() == 1) return Answer(request, std::string{'\x06', '\x00', '\x00'});
    if (data.size() <= 3 && data[1] == '\x00') return Accept(request);
    return Refuse(request);
  }
  if (data.size() < 2 || data[0] != '\x05') return Refuse(request);
  const std::string_view value = data.substr(2);
  if (data[1] == '\x15') {
    if (value.empty()) return Answer(request, std::string("\x05\x15") + callSign_);
    if (value.size() > kNameLength || !Printable(value)) return Refuse(request);
    SetCallSign(std::string(value));
    return Accept(request);
  }
  if (data[1] == '\x16') {
    if (value.empty()) {
      return Answer(request, std::string{'\x05', '\x16', ToBcd(clockHours_), ToBcd(clockMinutes_)});
    }
    const auto hours = value.size() == 2 ? FromBcd(value[0]) : std::nullopt;
    const auto minutes = value.size() == 2 ? FromBcd(value[1]) : std::nullopt;
    if (!hours || !minutes || *hours > 23 || *minutes > 59) return Refuse(request);
    SetClock(*hours, *minutes);
    return Accept(request);
  }
  return Refuse(request);
}

std::string Transceiver::MemoryContentsCommand(const Request& request) {
  const std::string_view rest = request.data.substr(1);
  const auto channel = ParseChannelCode(rest.substr(0, 2), false);
  if (!channel) return Refuse(request);
  if (rest.size() == 2) return ReadMemory(request, *channel);
  // The code followed by FF blanks the channel.
  if (rest.size() == 3 && rest[2] == '\xFF') {
    channels_[*channel - 1] = MemoryChannel{};
    return Accept(request);
  }
  if (rest.size() != kRecordLength) return Refuse(request);
  return WriteMemory(request, *channel, rest.substr(2));
}

std::string Transceiver::ReadMemory(const Request& request, int number) const {
  const MemoryChannel& channel = channels_[number - 1];
  std::string data{'\x00'};
  data.append(ChannelCode(number));
  if (channel.blank) {
    data.push_back('\xFF');
    return Answer(request, data);
  }
  data.push_back(channel.selected ? '\x01' : '\x00');
  data.append(FrequencyToBcd(channel.frequencyHz));
  data.push_back(static_cast<char>(channel.mode));
  data.push_back(static_cast<char>(channel.filter));
  data.append(channel.tone);
  data.append(channel.name);
  return Answer(request, data);
}

std::string Transceiver::WriteMemory(const Request& request, int number, std::string_view record) {
  // select 1, frequency 5, mode 1, filter 1, tone 7, name 10
  const auto select = static_cast<std::uint8_t>(record[0]);
  const auto hz = FrequencyFromBcd(record.substr(1, 5));
  const auto mode = static_cast<std::uint8_t>(record[6]);
  const auto filter = static_cast<std::uint8_t>(record[7]);
  if (select > 1 || !hz || !IsTunable(*hz) || !IsKnownMode(mode) || !IsKnownFilter(filter)) {
    return Refuse(request);
  }
  MemoryChannel channel;
  channel.blank = false;
  channel.selected = select == 1;
  channel.frequencyHz = *hz;
  channel.mode = mode;
  channel.filter = filter;
  channel.tone = std::string(record.substr(8, kToneLength));
  channel.name = std::string(record.substr(8 + kToneLength, kNameLength));
  SetChannel(number, std::move(channel));
  return Accept(request);
}

}  // namespace tavrin::sim
