// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CI-V bus between one controller and the transceiver, with time. It is a single line:
// - every byte the controller sends comes back to the controller (the echo);
// - a byte costs ten bit times (start, eight data, stop at 8N1) at the line speed, and the
//   line carries one byte at a time, so nothing interleaves;
// - the transceiver starts to answer only when the controller has been quiet for a short
//   turnaround; of frames sent back to back each is carried out, but only the last one is
//   answered (the earlier acknowledgements are lost on the busy line);
// - broadcasts from the front panel go out when the line is free, after a pending answer.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sim/transceiver.h"

namespace tavrin::sim {

// A change made to an answer on its way back, as noise on a line without checksum does: a byte
// more, a byte changed, a byte lost. Positions count from 0 at the answer's first FE.
struct AnswerFault {
  enum class Kind { InsertByte, ChangeByte, DropByte };
  Kind kind = Kind::ChangeByte;
  std::size_t position = 0;
  std::uint8_t byte = 0;  // the byte inserted or written in
};

// Time and deferred work for the bus: the virtual clock in tests, the event loop in rigsim.
class Scheduler {
 public:
  virtual ~Scheduler() = default;
  [[nodiscard]] virtual std::int64_t NowMicros() const = 0;
  virtual void AtMicros(std::int64_t micros, std::function<void()> action) = 0;
};

class Bus {
 public:
  // `toController` receives each byte as it arrives at the controller's end of the line.
  Bus(Scheduler& scheduler, Transceiver& radio, std::function<void(char)> toController);
  ~Bus();
  Bus(const Bus&) = delete;
  Bus& operator=(const Bus&) = delete;

  // Bits a byte costs on the line (start + data + parity + stop) and the line speed.
  void SetLine(int baud, int bitsPerByte);
  [[nodiscard]] std::int64_t ByteMicros() const { return byteMicros_; }
  // The controller puts bytes on the line now.
  void ControllerSend(const std::string& bytes);
  // Drops everything not yet delivered (the device went away).
  void Cut();
  // Called with the bytes the transceiver took in up to and including each FD, as that FD
  // reaches it: what it has received and carried out, never bytes a Cut dropped on the way.
  void OnTransceiverReceives(std::function<void(const std::string&)> listener) {
    transceiverReceives_ = std::move(listener);
  }

  // --- Misbehaviour on purpose ------------------------------------------------------------
  // The next `times` answers to a read of memory channel `channel` (1A 00 and its channel
  // code) are altered by `fault`; a negative count alters every one from now on.
  void AlterMemoryAnswer(int channel, AnswerFault fault, int times = 1);
  // Every answer starts this much later than the transceiver's usual turnaround (a slow or
  // busy transceiver); 0 is the usual.
  void SetAnswerDelay(std::int64_t micros) { answerDelayMicros_ = micros < 0 ? 0 : micros; }
  // Noise: these bytes reach the controller from `atMicros` on, one byte time each, as soon as
  // the line is free (they do not reach the transceiver).
  void AddNoise(const std::string& bytes, std::int64_t atMicros);
  // A disturbed line: `perSecond` stray bytes a second reach the controller from `fromMicros`
  // on, for `forMicros` (negative: for good). Their values come from a fixed sequence, so a
  // run can be repeated. Each comes on a quiet line (one due while the line is busy waits for
  // it, and the next is due a period after it), so it may come between any two frames, an
  // echo and its answer among them, but never inside one, and never holds up an answer by
  // more than its own byte.
  void AddStrayBytes(int perSecond, std::int64_t fromMicros, std::int64_t forMicros = -1);
  // A dial spun during the run: from `fromMicros` on, for `forMicros` (negative: for good),
  // the dial is turned a step up and a step down in turn every `everyMicros`, or with 0 as
  // fast as the line carries the broadcasts (the next one as soon as the line is free). Each
  // turn broadcasts the frequency (when transceive is on). These broadcasts take the line as
  // soon as it is free, without waiting for the controller's turn to end, so one may come
  // between an echo and its answer.
  void FloodBroadcasts(std::int64_t everyMicros, std::int64_t fromMicros,
                       std::int64_t forMicros = -1);

 private:
  void Transmit(char byte, bool fromController);
  void RadioReceives(char byte);
  void ScheduleTurnaround(std::int64_t when);
  void Later(std::int64_t when, std::function<void(Bus&)> action);
  void QueueBroadcast(const std::string& frame);
  void Turnaround();
  [[nodiscard]] std::int64_t TurnaroundMicros() const {
    return 2 * byteMicros_ + answerDelayMicros_;
  }
  void ApplyFaults(const std::string& frame, std::string& answer);
  void StrayByte(std::int64_t everyMicros, std::int64_t untilMicros, std::uint32_t state);
  void FloodStep(std::int64_t everyMicros, std::int64_t untilMicros, bool up);

  struct PendingFault {
    int channel = 0;
    AnswerFault fault;
    int times = 1;
  };

  Scheduler& scheduler_;
  Transceiver& radio_;
  std::function<void(char)> toController_;
  std::function<void(const std::string&)> transceiverReceives_;
  std::int64_t byteMicros_ = 0;
  std::int64_t lineFreeAt_ = 0;  // when the last byte put on the line has gone
  std::int64_t controllerQuietFrom_ = -1'000'000'000;  // end of the controller's last byte
  std::string receiving_;                              // the transceiver's receive buffer
  std::string pendingAnswer_;                          // the answer to the last frame, not yet sent
  std::deque<std::string> broadcasts_;                 // front-panel frames waiting for the line
  std::vector<PendingFault> faults_;
  std::int64_t answerDelayMicros_ = 0;
  bool flooding_ = false;         // a flood's dial turn is broadcasting
  std::uint64_t generation_ = 0;  // bumped by Cut: deliveries of older bytes are dropped
  // Scheduled actions hold a weak reference, so that none runs after the bus is gone.
  std::shared_ptr<Bus*> self_;
};

}  // namespace tavrin::sim
