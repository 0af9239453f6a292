// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the transceiver has already told about its operating frequency and mode, followed from
// what the CI-V link reports: its transceive broadcasts (the dial turned, a mode picked on its
// panel) and the answers to the last reads and settings. While what it told is fresh and there
// is no doubt about it, a network client's "f" or "m" is answered from it without an exchange
// on the line.
//
// A value is fresh for kFreshMs after the transceiver last told it. Any doubt forgets both:
// the link was gone or is back, a command that may have changed them ran (a memory operation,
// a receiver or memory selection, a mode button, anything but a read or a setting whose read
// followed it), a read went unanswered, a broadcast came cut or unreadable. A read that finds
// the transceiver elsewhere than it last told means its broadcasts do not come (CI-V transceive
// switched off): nothing is answered from what it told until a broadcast is heard again.
#include <cstdint>
#include <optional>
#include <string>

#include "civ/link_owner.h"
#include "platform/clock.h"

namespace tavrin::share {

class ToldState : public LinkOwner {
 public:
  struct Mode {
    unsigned char mode = 0;    // CI-V mode byte
    unsigned char filter = 0;  // 1 to 3
  };

  explicit ToldState(Clock& clock);
  ToldState(const ToldState&) = delete;
  ToldState& operator=(const ToldState&) = delete;
  ~ToldState() = default;

  // The value when it may be answered from; nothing when it must be read.
  [[nodiscard]] std::optional<std::int64_t> Frequency() const;
  [[nodiscard]] std::optional<Mode> OperatingMode() const;

  static constexpr int kFreshMs = 2000;

  // What the link reports (LinkOwner), after the program has had it.
  void Answered(const std::string& reply) override;
  void Unsolicited(const std::string& bytes) override;
  void Broadcast(const std::string& frame) override;
  void Gone(Absence why) override;
  bool Back(Presence what) override;
  [[nodiscard]] bool MaySend() const override { return true; }

 private:
  template <typename Value>
  struct Told {
    std::optional<Value> value;  // kept when stale, to compare the next read with
    bool fresh = false;
    Timer freshness;  // the value goes stale when it fires
  };
  template <typename Value>
  void Tell(Told<Value>& told, const Value& value, bool surprising);
  template <typename Value>
  void Stale(Told<Value>& told);
  void Doubt();
  // Unsolicited bytes came that no broadcast has been read from: doubt.
  void DoubtWhatCameUnheard();

  Told<std::int64_t> frequency_;
  Told<Mode> mode_;
  bool broadcastsHeard_ = true;  // no sign yet that they do not come
  bool unheard_ = false;         // unsolicited bytes without a broadcast read from them
};

}  // namespace tavrin::share
