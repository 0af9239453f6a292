// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/bus.h"

#include <algorithm>
#include <utility>

#include "sim/channel_code.h"
#include "sim/frame.h"

namespace tavrin::sim {

namespace {

constexpr std::size_t kReceiveLimit = 512;  // the transceiver forgets runaway garbage
// A flood turns the dial by this much, up and down in turn, so the frequency stays put.
constexpr std::int64_t kFloodStepHz = 10;

// When a fault that starts at `from` and lasts `length` ends; -1 (never) for a negative length.
std::int64_t EndOf(std::int64_t from, std::int64_t length) {
  return length < 0 ? -1 : from + length;
}
bool Over(std::int64_t now, std::int64_t until) { return until >= 0 && now >= until; }

// The next value of the stray bytes' fixed sequence (a linear congruential generator).
std::uint32_t NextState(std::uint32_t state) { return state * 1'664'525U + 1'013'904'223U; }

// The frame that ends at the FD just received: from the last preamble pair on. Nothing when
// the buffer holds no preamble pair (line noise).
std::string LastFrame(const std::string& received) {
  const std::size_t last = received.find_last_of(kPreamble);
  if (last == std::string::npos || last == 0 || received[last - 1] != kPreamble) return {};
  return received.substr(last - 1);
}

// The channel a memory read asks for (FE FE 64 E0 1A 00 c1 c2 FD), or 0.
int MemoryReadChannel(const std::string& frame) {
  const auto parsed = ParseFrame(frame);
  if (!parsed || parsed->command != 0x1A || parsed->data.size() != 3 || parsed->data[0] != 0)
    return 0;
  return ParseChannelCode(std::string_view(parsed->data).substr(1), false).value_or(0);
}

void Alter(std::string& answer, const AnswerFault& fault) {
  const char byte = static_cast<char>(fault.byte);
  switch (fault.kind) {
    case AnswerFault::Kind::InsertByte:
      answer.insert(std::min(fault.position, answer.size()), 1, byte);
      return;
    case AnswerFault::Kind::ChangeByte:
      if (fault.position < answer.size()) answer[fault.position] = byte;
      return;
    case AnswerFault::Kind::DropByte:
      if (fault.position < answer.size()) answer.erase(fault.position, 1);
      return;
  }
}

}  // namespace

Bus::Bus(Scheduler& scheduler, Transceiver& radio, std::function<void(char)> toController)
    : scheduler_(scheduler),
      radio_(radio),
      toController_(std::move(toController)),
      self_(std::make_shared<Bus*>(this)) {
  SetLine(19200, 10);
  radio_.OnBroadcast([this](const std::string& frame) { QueueBroadcast(frame); });
}

Bus::~Bus() { radio_.OnBroadcast(nullptr); }

void Bus::SetLine(int baud, int bitsPerByte) {
  if (baud <= 0 || bitsPerByte <= 0) return;
  byteMicros_ = (std::int64_t{bitsPerByte} * 1'000'000 + baud / 2) / baud;
}

void Bus::Later(std::int64_t when, std::function<void(Bus&)> action) {
  scheduler_.AtMicros(when, [weak = std::weak_ptr<Bus*>(self_), action = std::move(action)] {
    if (const auto bus = weak.lock()) action(**bus);
  });
}

void Bus::ControllerSend(const std::string& bytes) {
  for (char byte : bytes) Transmit(byte, true);
}

void Bus::Cut() {
  ++generation_;
  receiving_.clear();
  pendingAnswer_.clear();
  broadcasts_.clear();
  lineFreeAt_ = scheduler_.NowMicros();
}

void Bus::Transmit(char byte, bool fromController) {
  const std::int64_t start = std::max(scheduler_.NowMicros(), lineFreeAt_);
  const std::int64_t end = start + byteMicros_;
  lineFreeAt_ = end;
  if (fromController) controllerQuietFrom_ = end;
  Later(end, [byte, fromController, generation = generation_](Bus& bus) {
    if (generation != bus.generation_) return;
    if (bus.toController_) bus.toController_(byte);  // the echo, or the transceiver's byte
    if (fromController) bus.RadioReceives(byte);
  });
}

void Bus::RadioReceives(char byte) {
  receiving_.push_back(byte);
  if (byte != kEndOfMessage) {
    if (receiving_.size() > kReceiveLimit) receiving_.erase(0, receiving_.size() - kReceiveLimit);
    return;
  }
  if (transceiverReceives_) transceiverReceives_(receiving_);
  const std::string frame = LastFrame(receiving_);
  receiving_.clear();
  // Carried out now; answered only if no further frame follows before the turnaround.
  pendingAnswer_ = frame.empty() ? std::string() : radio_.Handle(frame);
  if (!pendingAnswer_.empty()) ApplyFaults(frame, pendingAnswer_);
  ScheduleTurnaround(controllerQuietFrom_ + TurnaroundMicros());
}

void Bus::AlterMemoryAnswer(int channel, AnswerFault fault, int times) {
  if (times != 0) faults_.push_back({channel, fault, times});
}

void Bus::ApplyFaults(const std::string& frame, std::string& answer) {
  const int channel = MemoryReadChannel(frame);
  if (channel == 0) return;
  for (auto it = faults_.begin(); it != faults_.end();) {
    if (it->channel != channel) {
      ++it;
      continue;
    }
    Alter(answer, it->fault);
    if (it->times > 0 && --it->times == 0) {
      it = faults_.erase(it);
    } else {
      ++it;
    }
  }
}

void Bus::AddNoise(const std::string& bytes, std::int64_t atMicros) {
  Later(std::max(atMicros, scheduler_.NowMicros()), [bytes, generation = generation_](Bus& bus) {
    if (generation != bus.generation_) return;
    for (char byte : bytes) bus.Transmit(byte, false);
  });
}

void Bus::AddStrayBytes(int perSecond, std::int64_t fromMicros, std::int64_t forMicros) {
  if (perSecond <= 0) return;
  const std::int64_t every = std::max<std::int64_t>(1, 1'000'000 / perSecond);
  const std::int64_t from = std::max(fromMicros, scheduler_.NowMicros());
  const std::int64_t until = EndOf(from, forMicros);
  Later(from, [every, until](Bus& bus) { bus.StrayByte(every, until, NextState(1)); });
}

void Bus::StrayByte(std::int64_t everyMicros, std::int64_t untilMicros, std::uint32_t state) {
  const std::int64_t now = scheduler_.NowMicros();
  if (Over(now, untilMicros)) return;
  if (lineFreeAt_ > now) {
    // Noise makes a byte of its own only on a quiet line: this one waits for the line, and
    // the bytes of a long burst do not pile up behind it.
    Later(lineFreeAt_, [everyMicros, untilMicros, state](Bus& bus) {
      bus.StrayByte(everyMicros, untilMicros, state);
    });
    return;
  }
  Transmit(static_cast<char>(state >> 24), false);
  Later(now + everyMicros, [everyMicros, untilMicros, state](Bus& bus) {
    bus.StrayByte(everyMicros, untilMicros, NextState(state));
  });
}

void Bus::FloodBroadcasts(std::int64_t everyMicros, std::int64_t fromMicros,
                          std::int64_t forMicros) {
  const std::int64_t every = std::max<std::int64_t>(0, everyMicros);
  const std::int64_t from = std::max(fromMicros, scheduler_.NowMicros());
  const std::int64_t until = EndOf(from, forMicros);
  Later(from, [every, until](Bus& bus) { bus.FloodStep(every, until, true); });
}

void Bus::FloodStep(std::int64_t everyMicros, std::int64_t untilMicros, bool up) {
  const std::int64_t now = scheduler_.NowMicros();
  if (Over(now, untilMicros)) return;
  if (everyMicros == 0 && lineFreeAt_ > now) {
    // At line rate the next turn waits for the line.
    Later(lineFreeAt_, [everyMicros, untilMicros, up](Bus& bus) {
      bus.FloodStep(everyMicros, untilMicros, up);
    });
    return;
  }
  flooding_ = true;
  radio_.TurnDial(up ? kFloodStepHz : -kFloodStepHz);
  flooding_ = false;
  // Without a broadcast (transceive off, a silent transceiver) the line stays free: look again
  // a byte time later.
  const std::int64_t next =
      everyMicros == 0 ? std::max(lineFreeAt_, now + byteMicros_) : now + everyMicros;
  Later(next,
        [everyMicros, untilMicros, up](Bus& bus) { bus.FloodStep(everyMicros, untilMicros, !up); });
}

void Bus::QueueBroadcast(const std::string& frame) {
  if (flooding_) {
    for (char byte : frame) Transmit(byte, false);
    return;
  }
  broadcasts_.push_back(frame);
  ScheduleTurnaround(std::max(scheduler_.NowMicros(), controllerQuietFrom_ + TurnaroundMicros()));
}

void Bus::ScheduleTurnaround(std::int64_t when) {
  Later(when, [generation = generation_](Bus& bus) {
    if (generation == bus.generation_) bus.Turnaround();
  });
}

void Bus::Turnaround() {
  const std::int64_t quietAt = controllerQuietFrom_ + TurnaroundMicros();
  if (scheduler_.NowMicros() < quietAt) {
    ScheduleTurnaround(quietAt);  // the controller went on talking
    return;
  }
  for (char byte : pendingAnswer_) Transmit(byte, false);
  pendingAnswer_.clear();
  while (!broadcasts_.empty()) {
    for (char byte : broadcasts_.front()) Transmit(byte, false);
    broadcasts_.pop_front();
  }
}

}  // namespace tavrin::sim
