// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the link's cutting of unsolicited bytes into frames, which depends on when
// the bytes arrive. The input is turned into well-formed transceive broadcasts (frequency and
// mode frames, as the front panel sends them) and the arrival time of every byte: frames come
// whole or in pieces, back to back or with pauses, as a USB adapter hands them over. The link
// reads them on the virtual clock as it does on the desktop.
//
// What is decoded must be what was framed. The transceiver's state goes through a history:
// each broadcast, and each mode the program itself sets (a mode broadcast marks the mode
// option, and marking it sends that mode), in the order they reach the line. The frequency,
// mode and filter fields only ever show values of that history, never going back in it, and
// once the line is quiet they show the last broadcast of each kind or something set after it,
// unless that broadcast came while the answer to a command was awaited (the reply timer takes
// whatever arrives then).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/control_program.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/silent_serial.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/serial_control.h"
#include "platform/virtual_clock.h"

using namespace tavrin;

namespace {

constexpr std::uint8_t kModes[] = {0, 1, 2, 3, 4, 5, 7, 8};
const char* const kModeTexts[] = {"LSB", "USB", "AM", "CW", "RTTY", "FM", "CWr", "RTTYr"};

// One step of the transceiver's history and what it must show; empty: that field is not set.
struct Change {
  std::string frequency, mode, filter;
  bool broadcast = false;
  bool duringReply = false;  // came while an answer was awaited: it may go unshown
  std::int64_t lastAt = 0;   // when its last byte reached the line
};

std::string ModeText(unsigned char code) {
  for (std::size_t i = 0; i < 8; ++i) {
    if (kModes[i] == code) return kModeTexts[i];
  }
  return {};
}

std::string FilterText(unsigned char code) {
  return code >= 1 && code <= 3 ? "Fil " + std::to_string(code) : std::string();
}

// A port whose bytes arrive at set times on the virtual clock. A mode the program sends (06 m
// and 06 m f) enters the history when it reaches the transceiver, and its echo and the
// transceiver's FB come back a few byte times later.
class ArrivalSerial : public SilentSerial {
 public:
  ArrivalSerial(VirtualClock& clock, std::vector<Change>& history)
      : clock_(clock), history_(history) {}
  std::string Input() override {
    if (!input_.empty()) ++reads;
    return std::exchange(input_, {});
  }
  int reads = 0;  // reads that found bytes
  void OnInput(std::function<void()> handler) override { onInput_ = std::move(handler); }

  void Output(const std::string& bytes) override {
    constexpr std::int64_t kByteMicros = 521;
    const std::int64_t echoAt =
        clock_.NowMicros() + static_cast<std::int64_t>(bytes.size()) * kByteMicros;
    Change set;
    if (bytes.size() >= 7 && bytes[4] == '\x06') {
      set.mode = ModeText(static_cast<unsigned char>(bytes[5]));
      if (bytes.size() >= 8 && bytes[7] == '\xFD')
        set.filter = FilterText(static_cast<unsigned char>(bytes[6]));
    }
    ArriveAt(echoAt, bytes, set);
    ArriveAt(echoAt + 8 * kByteMicros, std::string("\xFE\xFE\xE0\x64\xFB\xFD", 6), {});
  }

  // The bytes arrive at `micros`; `completes` enters the history then (when it sets anything).
  void ArriveAt(std::int64_t micros, std::string bytes, Change completes) {
    clock_.ScheduleAtMicros(micros, [this, bytes = std::move(bytes), completes] {
      if (!completes.frequency.empty() || !completes.mode.empty() || !completes.filter.empty()) {
        history_.push_back(completes);
        history_.back().lastAt = clock_.NowMicros();
      }
      input_ += bytes;
      if (onInput_) onInput_();
    });
  }

 private:
  VirtualClock& clock_;
  std::vector<Change>& history_;
  std::string input_;
  std::function<void()> onInput_;
};

std::uint8_t Bcd(std::uint8_t value) {
  const int number = value % 100;
  return static_cast<std::uint8_t>((number / 10) << 4 | (number % 10));
}

std::string TwoDigits(int number) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", number % 100);
  return text;
}

// Reads one broadcast from the input at `at` (a kind byte and its values): its bytes, and the
// change it makes ("14.195.0", or "USB" and "Fil 2").
std::pair<std::string, Change> NextBroadcast(const std::uint8_t* data, std::size_t size,
                                             std::size_t& at) {
  auto take = [&] { return at < size ? data[at++] : std::uint8_t{0}; };
  std::string bytes;
  Change change;
  change.broadcast = true;
  if ((take() & 1) == 0) {
    // FE FE 00 64 00, five BCD bytes from the lowest digits up, FD.
    std::uint8_t digits[5];
    for (std::uint8_t& digit : digits) digit = take();
    bytes = std::string("\xFE\xFE\x00\x64\x00", 5);
    for (const std::uint8_t digit : digits) bytes.push_back(static_cast<char>(Bcd(digit)));
    const std::string hundreds = TwoDigits(digits[1]);
    change.frequency =
        TwoDigits(digits[3]) + "." + TwoDigits(digits[2]) + hundreds[0] + "." + hundreds[1];
  } else {
    const std::size_t mode = take() % 8;
    const int filter = 1 + take() % 3;
    bytes = std::string("\xFE\xFE\x00\x64\x01", 5);
    bytes.push_back(static_cast<char>(kModes[mode]));
    bytes.push_back(static_cast<char>(filter));
    change.mode = kModeTexts[mode];
    change.filter = "Fil " + std::to_string(filter);
  }
  bytes.push_back('\xFD');
  return {bytes, change};
}

// The first step of the history from `from` on that set `field` of `shown`; -1 when none.
int ShownIndex(const std::vector<Change>& history, std::string Change::*field, int from,
               const std::string& shown) {
  for (std::size_t i = static_cast<std::size_t>(std::max(from, 0)); i < history.size(); ++i) {
    if (history[i].*field == shown) return static_cast<int>(i);
  }
  return -1;
}

// Follows one field through the history: it may stand still or move on, never back.
struct Follower {
  std::string Change::*field;
  const std::string* shown;
  int index = -1;
  std::string seen = "start";

  void Check(const std::vector<Change>& history) {
    if (*shown == seen) return;  // standing still
    seen = *shown;
    index = ShownIndex(history, field, index, *shown);
    fuzz::Check(index >= 0);
  }
  // Quiet line: the last broadcast that set the field (unless it may have gone unshown) or a
  // later step is shown.
  void CheckSettled(const std::vector<Change>& history) const {
    for (std::size_t i = history.size(); i-- > 0;) {
      if (!history[i].broadcast || (history[i].*field).empty()) continue;
      if (!history[i].duringReply) {
        fuzz::Check(ShownIndex(history, field, static_cast<int>(i), *shown) >= 0);
      }
      return;
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  VirtualClock clock;
  FakeDesktop desktop;
  static Files files("/nonexistent");
  std::vector<Change> history;
  ArrivalSerial serial(clock, history);
  Platform platform{desktop, clock, serial, files};
  ControlProgram program(platform);
  program.InitFrameStrings();
  program.station.PortOpened = 1;
  program.station.CommBaud = "19200,N,8,1";
  serial.SetSettings(program.station.CommBaud);
  const std::int64_t quietMicros = program.link.QuietMs() * 1000;
  RadioMain& radio = program.radio;
  radio.Text1 = radio.Text4 = radio.Text5 = "start";

  // Each broadcast: a timing byte, then its kind and values. The timing byte gives the pause
  // before the frame (0 to 7.75 ms) and how the frame comes: whole, or cut after a number of
  // bytes with a pause shorter than the line's quiet time before the rest.
  std::int64_t now = 0;
  std::size_t at = 0;
  for (int count = 0; at < size && count < 16; ++count) {
    const std::uint8_t timing = data[at++];
    auto [bytes, change] = NextBroadcast(data, size, at);
    now += static_cast<std::int64_t>(timing >> 3) * 250;
    const std::size_t cut = (timing & 7) % bytes.size();
    if (cut == 0) {
      serial.ArriveAt(now, bytes, change);
    } else {
      serial.ArriveAt(now, bytes.substr(0, cut), {});
      now += (quietMicros - 1) * (timing & 7) / 8;
      serial.ArriveAt(now, bytes.substr(cut), change);
    }
  }

  // Step through time; after each step the fields show the history, in order.
  Follower followers[] = {{&Change::frequency, &radio.Text1},
                          {&Change::mode, &radio.Text4},
                          {&Change::filter, &radio.Text5}};
  constexpr std::int64_t kStep = 2000;
  const std::int64_t end = now + 4 * quietMicros + 80'000;
  for (std::int64_t t = 0; t <= end; t += kStep) {
    const bool armedBefore = program.link.ReplyTimerArmed();
    clock.AdvanceMicros(kStep);
    const bool armedAfter = program.link.ReplyTimerArmed();
    if (armedBefore || armedAfter) {
      for (Change& change : history) {
        if (change.lastAt >= clock.NowMicros() - 2 * kStep) change.duringReply = true;
      }
    }
    for (Follower& follower : followers) follower.Check(history);
  }
  fuzz::Check(!desktop.ended);
  for (const Follower& follower : followers) follower.CheckSettled(history);
  return 0;
}
