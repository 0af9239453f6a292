// SPDX-License-Identifier: GPL-3.0-or-later
// The transceiver's answers to the operating commands: frequency, mode, VFO and memory mode,
// split, antenna, levels, meters, identity, clock, call sign, receive/transmit.
#include <utility>

#include "sim/bcd.h"
#include "sim/channel_code.h"
#include "sim/transceiver.h"

namespace tavrin::sim {

namespace {

char Byte(int value) { return static_cast<char>(value); }

struct BandEdge {
  std::int64_t lowHz;
  std::int64_t highHz;
};

// The amateur bands the transceiver knows; outside them the edges are its whole range.
BandEdge EdgesAround(std::int64_t hz) {
  static constexpr BandEdge kBands[] = {
      {1'800'000, 2'000'000},   {3'500'000, 4'000'000},    {7'000'000, 7'300'000},
      {10'100'000, 10'150'000}, {14'000'000, 14'350'000},  {18'068'000, 18'168'000},
      {21'000'000, 21'450'000}, {24'890'000, 24'990'000},  {28'000'000, 29'700'000},
      {50'000'000, 54'000'000}, {144'000'000, 148'000'000}};
  for (const BandEdge& band : kBands) {
    if (hz >= band.lowHz && hz <= band.highHz) return band;
  }
  return {kLowestHz, kHighestHz};
}

}  // namespace

std::string Transceiver::Dispatch(const Request& request) {
  switch (request.command) {
    case 0x02:
      return ReadBandEdges(request);
    case 0x03:
      return ReadFrequency(request);
    case 0x04:
      return ReadMode(request);
    case 0x05:
      return SetFrequency(request);
    case 0x06:
      return SetMode(request);
    case 0x07:
      return SelectVfo(request);
    case 0x08:
      return SelectMemory(request);
    case 0x09:
      return VfoToMemory(request);
    case 0x0A:
      return MemoryToVfo(request);
    case 0x0B:
      return ClearMemory(request);
    case 0x0F:
      return SplitCommand(request);
    case 0x12:
      return AntennaCommand(request);
    case 0x13:
      return SpeechCommand(request);
    case 0x14:
      return LevelCommand(request);
    case 0x15:
      return MeterCommand(request);
    case 0x19:
      return IdCommand(request);
    case 0x1A:
      return SettingsCommand(request);
    case 0x1C:
      return TransmitCommand(request);
    default:
      return Refuse(request);
  }
}

std::string Transceiver::ReadBandEdges(const Request& request) const {
  if (!request.data.empty()) return Refuse(request);
  const BandEdge band = EdgesAround(FrequencyHz() > 0 ? FrequencyHz() : OperatingVfo().frequencyHz);
  std::string data = FrequencyToBcd(band.lowHz);
  data.push_back('\x2D');
  data.append(FrequencyToBcd(band.highHz));
  return Answer(request, data);
}

std::string Transceiver::ReadFrequency(const Request& request) const {
  if (!request.data.empty()) return Refuse(request);
  // A blank memory channel has nothing to report: FF stands for "no data".
  if (OperatingOnBlankChannel()) return Answer(request, "\xFF");
  return Answer(request, FrequencyToBcd(FrequencyHz()));
}

std::string Transceiver::ReadMode(const Request& request) const {
  if (!request.data.empty()) return Refuse(request);
  if (OperatingOnBlankChannel()) return Answer(request, "\xFF");
  return Answer(request, std::string{Byte(Mode()), Byte(Filter())});
}

std::string Transceiver::SetFrequency(const Request& request) {
  const auto hz = FrequencyFromBcd(request.data);
  if (!hz || !IsTunable(*hz) || OperatingOnBlankChannel()) return Refuse(request);
  (memoryMode_ ? memoryWork_ : OperatingVfo()).frequencyHz = *hz;
  return Accept(request);
}

std::string Transceiver::SetMode(const Request& request) {
  const std::string_view data = request.data;
  if (data.empty() || data.size() > 2 || OperatingOnBlankChannel()) return Refuse(request);
  const auto mode = static_cast<std::uint8_t>(data[0]);
  if (!IsKnownMode(mode)) return Refuse(request);
  VfoState& operating = memoryMode_ ? memoryWork_ : OperatingVfo();
  if (data.size() == 2) {
    const auto filter = static_cast<std::uint8_t>(data[1]);
    if (!IsKnownFilter(filter)) return Refuse(request);
    operating.filter = filter;
  }
  operating.mode = mode;
  return Accept(request);
}

std::string Transceiver::SelectVfo(const Request& request) {
  if (request.data.empty()) {
    memoryMode_ = false;
    return Accept(request);
  }
  if (request.data.size() != 1) return Refuse(request);
  switch (static_cast<std::uint8_t>(request.data[0])) {
    case 0xB0:
      std::swap(main_, sub_);
      break;  // exchange main and sub
    case 0xB1:
      sub_ = main_;
      break;  // equalise: sub takes the main's settings
    case 0xC0:
      dualWatch_ = false;
      break;
    case 0xC1:
      dualWatch_ = true;
      break;
    case 0xD0:
      subSelected_ = false;
      break;
    case 0xD1:
      subSelected_ = true;
      break;
    default:
      return Refuse(request);
  }
  return Accept(request);
}

std::string Transceiver::SelectMemory(const Request& request) {
  if (!request.data.empty()) {
    const auto channel = ParseChannelCode(request.data, true);
    if (!channel) return Refuse(request);
    currentChannel_ = *channel;
  }
  memoryMode_ = true;
  LoadChannel();
  return Accept(request);
}

std::string Transceiver::VfoToMemory(const Request& request) {
  if (!request.data.empty() || OperatingOnBlankChannel()) return Refuse(request);
  const VfoState& shown = memoryMode_ ? memoryWork_ : OperatingVfo();
  MemoryChannel& channel = channels_[currentChannel_ - 1];
  if (channel.blank) channel = MemoryChannel{};
  channel.blank = false;
  channel.frequencyHz = shown.frequencyHz;
  channel.mode = shown.mode;
  channel.filter = shown.filter;
  return Accept(request);
}

std::string Transceiver::MemoryToVfo(const Request& request) {
  const MemoryChannel& channel = channels_[currentChannel_ - 1];
  if (!request.data.empty() || channel.blank) return Refuse(request);
  OperatingVfo() =
      memoryMode_ ? memoryWork_ : VfoState{channel.frequencyHz, channel.mode, channel.filter};
  memoryMode_ = false;
  return Accept(request);
}

std::string Transceiver::ClearMemory(const Request& request) {
  if (!request.data.empty()) return Refuse(request);
  channels_[currentChannel_ - 1] = MemoryChannel{};
  return Accept(request);
}

std::string Transceiver::SplitCommand(const Request& request) {
  if (request.data.empty()) return Answer(request, std::string{Byte(split_ ? 1 : 0)});
  if (request.data.size() != 1 || static_cast<std::uint8_t>(request.data[0]) > 1) {
    return Refuse(request);
  }
  split_ = request.data[0] == '\x01';
  return Accept(request);
}

std::string Transceiver::AntennaCommand(const Request& request) {
  if (request.data.empty()) return Answer(request, std::string{Byte(antenna_)});
  if (request.data.size() != 1 || static_cast<std::uint8_t>(request.data[0]) > 1) {
    return Refuse(request);
  }
  antenna_ = request.data[0];
  return Accept(request);
}

std::string Transceiver::SpeechCommand(const Request& request) const {
  // 00 announces everything, 01 the frequency and S-meter, 02 the mode.
  if (request.data.size() != 1 || static_cast<std::uint8_t>(request.data[0]) > 2) {
    return Refuse(request);
  }
  return Accept(request);
}

std::string Transceiver::LevelCommand(const Request& request) {
  // 14 01: the audio level, one BCD byte 00 to 99.
  if (request.data.empty() || request.data[0] != '\x01') return Refuse(request);
  const std::string_view value = request.data.substr(1);
  if (value.empty()) return Answer(request, std::string{'\x01', ToBcd(volume_)});
  const auto level = value.size() == 1 ? FromBcd(value[0]) : std::nullopt;
  if (!level) return Refuse(request);
  volume_ = *level;
  return Accept(request);
}

std::string Transceiver::MeterCommand(const Request& request) const {
  if (request.data.size() != 1) return Refuse(request);
  const bool open = SquelchOpen();
  switch (request.data[0]) {
    case '\x01':
      return Answer(request, std::string{'\x01', Byte(open ? 1 : 0)});
    // Level reading, high byte first: S9 with a signal, S0 without.
    case '\x02':
      return Answer(request, open ? std::string{'\x02', '\x01', '\x20'}
                                  : std::string{'\x02', '\x00', '\x00'});
    default:
      return Refuse(request);
  }
}

std::string Transceiver::IdCommand(const Request& request) const {
  if (request.data.size() != 1 || request.data[0] != '\x00') return Refuse(request);
  return Answer(request, std::string{'\x00', static_cast<char>(kRigAddress)});
}

std::string Transceiver::TransmitCommand(const Request& request) {
  if (request.data.empty() || request.data[0] != '\x00' || request.data.size() > 2) {
    return Refuse(request);
  }
  if (request.data.size() == 1) return Answer(request, std::string{'\x00', Byte(transmitting_)});
  if (static_cast<std::uint8_t>(request.data[1]) > 1) return Refuse(request);
  transmitting_ = request.data[1] == '\x01';
  return Accept(request);
}

}  // namespace tavrin::sim
