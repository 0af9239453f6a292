// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulated transceiver: its state and its answer to each CI-V frame, without timing (the
// bus in bus.h adds echo, byte times and bursts). Address 64; it answers whichever controller
// asked, FB for accepted settings, FA for refused or unknown commands, and sends transceive
// broadcasts to 00 when its dial or mode is changed from the front panel.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "sim/frame.h"
#include "sim/memory_channel.h"

namespace tavrin::sim {

// Operating modes as the transceiver codes them.
inline constexpr std::uint8_t kModeLsb = 0x00;
inline constexpr std::uint8_t kModeUsb = 0x01;
inline constexpr std::uint8_t kModeAm = 0x02;
inline constexpr std::uint8_t kModeCw = 0x03;
inline constexpr std::uint8_t kModeRtty = 0x04;
inline constexpr std::uint8_t kModeFm = 0x05;
inline constexpr std::uint8_t kModeCwReverse = 0x07;
inline constexpr std::uint8_t kModeRttyReverse = 0x08;

// What this transceiver can tune.
inline constexpr std::int64_t kLowestHz = 30'000;
inline constexpr std::int64_t kHighestHz = 199'999'999;

bool IsKnownMode(std::uint8_t mode);
bool IsTunable(std::int64_t hz);
bool IsKnownFilter(std::uint8_t filter);

// What one receiver (main or sub) is tuned to in VFO mode.
struct VfoState {
  std::int64_t frequencyHz = 14'195'000;
  std::uint8_t mode = kModeUsb;
  std::uint8_t filter = 2;
};

class Transceiver {
 public:
  Transceiver();

  // The answer to one frame from a controller: a whole frame, or the empty text when the
  // transceiver stays silent (not addressed to it, malformed, or switched silent).
  std::string Handle(std::string_view frame);

  // --- What the front panel shows -------------------------------------------------------
  [[nodiscard]] bool MemoryMode() const { return memoryMode_; }
  [[nodiscard]] int CurrentChannel() const { return currentChannel_; }
  // The operating values; in memory mode on a blank channel there are none (0, 0, 0).
  [[nodiscard]] std::int64_t FrequencyHz() const;
  [[nodiscard]] std::uint8_t Mode() const;
  [[nodiscard]] std::uint8_t Filter() const;
  [[nodiscard]] bool OperatingOnBlankChannel() const;
  [[nodiscard]] int Antenna() const { return antenna_; }
  [[nodiscard]] bool Transmitting() const { return transmitting_; }
  [[nodiscard]] bool DualWatch() const { return dualWatch_; }
  [[nodiscard]] bool Split() const { return split_; }
  [[nodiscard]] bool SubSelected() const { return subSelected_; }
  [[nodiscard]] const VfoState& MainVfo() const { return main_; }
  [[nodiscard]] const VfoState& SubVfo() const { return sub_; }
  [[nodiscard]] int Volume() const { return volume_; }
  [[nodiscard]] const std::string& CallSign() const { return callSign_; }
  [[nodiscard]] int ClockHours() const { return clockHours_; }
  [[nodiscard]] int ClockMinutes() const { return clockMinutes_; }
  [[nodiscard]] bool Transceive() const { return transceive_; }
  [[nodiscard]] bool Silent() const { return silent_; }
  // The squelch is open when a signal is on the operating channel (memory mode) or VFO.
  [[nodiscard]] bool SquelchOpen() const;
  // Channel 1..101; any other number reads as a blank channel.
  [[nodiscard]] const MemoryChannel& Channel(int number) const;

  // --- Setting the scene (tests and the simulator's start state); nothing is broadcast ---
  void SetChannel(int number, MemoryChannel channel);
  void SetVfo(std::int64_t hz, std::uint8_t mode, std::uint8_t filter);
  void SetCallSign(std::string callSign);
  void SetClock(int hours, int minutes);
  void FillDemoChannels();  // 1 "DX NET", 2 "40M", 5 "6M CALL"; the rest stays as it is

  // --- Test controls ----------------------------------------------------------------------
  // A signal on a memory channel opens the squelch while that channel is operated.
  void SetChannelSignal(int number, bool on);
  void SetVfoSignal(bool on);
  // A silent transceiver (switched off, wrong address) carries out and answers nothing.
  void SetSilent(bool on) { silent_ = on; }
  void SetTransceive(bool on) { transceive_ = on; }

  // --- Front panel ------------------------------------------------------------------------
  // Turns the main dial by `hz` (negative: down); sends the frequency broadcast.
  void TurnDial(std::int64_t hz);
  // Picks a mode and filter on the panel; sends the mode broadcast.
  void ChangeMode(std::uint8_t mode, std::uint8_t filter);
  // Where broadcasts go (the bus); called with FE FE 00 64 ... FD.
  void OnBroadcast(std::function<void(const std::string&)> sink) { broadcast_ = std::move(sink); }

 private:
  struct Request {
    std::uint8_t controller = kControllerAddress;
    std::uint8_t command = 0;
    std::string_view data;
  };
  std::string Answer(const Request& request, std::string_view data) const;
  std::string Accept(const Request& request) const;
  std::string Refuse(const Request& request) const;

  std::string Dispatch(const Request& request);
  std::string ReadBandEdges(const Request& request) const;
  std::string ReadFrequency(const Request& request) const;
  std::string ReadMode(const Request& request) const;
  std::string SetFrequency(const Request& request);
  std::string SetMode(const Request& request);
  std::string SelectVfo(const Request& request);
  std::string SelectMemory(const Request& request);
  std::string MemoryToVfo(const Request& request);
  std::string VfoToMemory(const Request& request);
  std::string ClearMemory(const Request& request);
  std::string SplitCommand(const Request& request);
  std::string AntennaCommand(const Request& request);
  std::string SpeechCommand(const Request& request) const;
  std::string LevelCommand(const Request& request);
  std::string MeterCommand(const Request& request) const;
  std::string IdCommand(const Request& request) const;
  std::string MemoryContentsCommand(const Request& request);
  std::string ReadMemory(const Request& request, int channel) const;
  std::string WriteMemory(const Request& request, int channel, std::string_view record);
  std::string SettingsCommand(const Request& request);
  std::string TransmitCommand(const Request& request);

  VfoState& OperatingVfo() { return subSelected_ ? sub_ : main_; }
  [[nodiscard]] const VfoState& OperatingVfo() const { return subSelected_ ? sub_ : main_; }
  void LoadChannel();
  void Broadcast(std::uint8_t command, std::string_view data) const;

  VfoState main_;
  VfoState sub_{7'050'000, kModeLsb, 2};
  VfoState memoryWork_;  // the operated copy of the current channel in memory mode
  bool memoryMode_ = false;
  int currentChannel_ = 1;
  bool subSelected_ = false;
  bool dualWatch_ = false;
  bool split_ = false;
  int antenna_ = 0;
  bool transmitting_ = false;
  int volume_ = 25;
  std::string callSign_ = "N0CALL    ";
  int clockHours_ = 12;
  int clockMinutes_ = 0;
  bool transceive_ = true;
  bool silent_ = false;
  bool vfoSignal_ = false;
  std::array<MemoryChannel, kChannelCount> channels_{};
  std::array<bool, kChannelCount> channelSignal_{};
  MemoryChannel blankChannel_;
  std::function<void(const std::string&)> broadcast_;
};

}  // namespace tavrin::sim
