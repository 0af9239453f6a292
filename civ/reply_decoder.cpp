// SPDX-License-Identifier: GPL-3.0-or-later
// The reply to a command: the echo of the frame sent heads the buffer, so its command bytes
// (positions 5 to 11) say which command this is, and the transceiver's answer follows at fixed
// positions behind it.
#include "civ/reply_decoder.h"

#include <algorithm>
#include <array>

#include "civ/bcd.h"
#include "civ/command_bytes.h"
#include "civ/encodings.h"
#include "civ/reply_bytes.h"

namespace tavrin {

namespace {

using namespace civ;

constexpr std::size_t kShortestReply = 11;  // the echo bytes 5..11 must be there

// One test on the echo: the byte at `position` equals (or, with `equal` false, differs from)
// `value`. Position 0 is an unused test.
struct EchoTest {
  std::size_t position = 0;
  unsigned char value = 0;
  bool equal = true;
};

using RowEffect = void (*)(const DecoderTargets&, const ReplyBytes&);

struct DecodingRow {
  std::array<EchoTest, 4> echo;
  RowEffect effect;
  // Where the row's first byte of the transceiver's answer lies; 0 for rows that read only
  // the echo of the frame sent.
  std::size_t answerAt;
};

// Whether the frame that holds position `at` is the transceiver's bare "accepted" or "refused"
// (FE FE E0 64 FB FD or FA FD): those carry no data, whatever a layout would read there.
bool IsAcknowledgementAt(const ReplyBytes& reply, std::size_t at) {
  if (at == 0) return false;
  for (std::size_t start = std::min(at, reply.Size()); start >= 2; --start) {
    if (reply.At(start - 1) != kPreamble || reply.At(start) != kPreamble) continue;
    const std::size_t head = start - 1;  // the frame's first FE
    if (reply.At(head + 2) != kControllerAddress || reply.At(head + 3) != kRigAddress) return false;
    const unsigned char command = reply.At(head + 4);
    return command == kAccepted || command == kRefused;
  }
  return false;
}

bool Matches(const ReplyBytes& reply, const std::array<EchoTest, 4>& echo) {
  for (const EchoTest& test : echo) {
    if (test.position == 0) continue;
    if ((reply.At(test.position) == test.value) != test.equal) return false;
  }
  return true;
}

void BlankStatusFields(OperatingDisplay& radio) { radio.Text2 = radio.Text3 = radio.Text6 = " "; }

void ReadIdentity(const DecoderTargets& to, const ReplyBytes& reply) {
  if (!reply.Has(14)) return;
  to.radio.Text6 = "ID = " + std::to_string(civ::BcdToNumber(reply.At(14)));
}

void ReadAntenna(const DecoderTargets& to, const ReplyBytes& reply) {
  if (!reply.Has(12)) return;
  to.state.LastAntenna = std::to_string(reply.At(12));
  to.radio.Text6 = "Ant = " + to.state.LastAntenna;
}

void ReadRxTx(const DecoderTargets& to, const ReplyBytes& reply) {
  if (!reply.Has(14)) return;
  to.state.LastRxTx = std::to_string(reply.At(14));
  to.radio.Text6 = "RxTx = " + to.state.LastRxTx;
}

void ReadSquelch(const DecoderTargets& to, const ReplyBytes& reply) {
  if (!reply.Has(14)) return;
  const int state = reply.At(14);
  to.state.SquelchState = state;
  const char* text = state == 0 ? "Squelch is Closed" : state == 1 ? "Squelch is Open" : "";
  to.radio.Text6 = text;
  to.memory.Text7 = text;
  to.state.AwaitingSquelch = false;
}

void ReadSMeter(const DecoderTargets& to, const ReplyBytes& reply) {
  if (!reply.Has(15)) return;
  to.radio.Text6 = "S-Meter = " + SMeterLabel(reply.At(14), reply.At(15));
}

void ShowClockAt(const DecoderTargets& to, const ReplyBytes& reply, std::size_t hours) {
  if (!reply.Has(hours + 1)) return;
  to.radio.Text6 = "TIME = " + FormatTime(civ::BcdToNumber(reply.At(hours)),
                                          civ::BcdToNumber(reply.At(hours + 1)));
}

void ReadClock(const DecoderTargets& to, const ReplyBytes& reply) { ShowClockAt(to, reply, 16); }
void SetClock(const DecoderTargets& to, const ReplyBytes& reply) { ShowClockAt(to, reply, 26); }

void ShowCallSignAt(const DecoderTargets& to, const ReplyBytes& reply, std::size_t first) {
  if (!reply.Has(first + 9)) return;
  to.radio.Text6 = "CALL = " + reply.Range(first, first + 9);
}

void ReadCallSign(const DecoderTargets& to, const ReplyBytes& reply) {
  ShowCallSignAt(to, reply, 16);
}
void SetCallSign(const DecoderTargets& to, const ReplyBytes& reply) {
  ShowCallSignAt(to, reply, 8);
}

void ReadFrequency(const DecoderTargets& to, const ReplyBytes& reply) {
  if (reply.Is(12, kNoData)) return BlankOperatingDisplay(to);
  if (!reply.Has(15)) return;
  ShowFrequencyAt(to, reply, 13);
  to.radio.Text2 = to.radio.Text3 = " ";
}

void ReadMode(const DecoderTargets& to, const ReplyBytes& reply) {
  if (reply.Is(12, kNoData)) return BlankOperatingDisplay(to);
  if (!reply.Has(13)) return;
  ShowModeByte(to, reply.At(12));
  ShowFilterByte(to, reply.At(13));
  to.radio.Text2 = to.radio.Text3 = " ";
}

void ReadBandEdge(const DecoderTargets& to, const ReplyBytes& reply) {
  // The lower edge and the upper edge in turn, beginning with the lower one.
  DecoderState& station = to.state;
  const std::size_t lowest = station.EdgeUpper ? 19 : 13;
  if (!reply.Has(lowest + 2)) return;
  ShowFrequencyAt(to, reply, lowest);
  OperatingDisplay& radio = to.radio;
  radio.Text2 = radio.Text3 = radio.Text4 = radio.Text5 = radio.Text6 = " ";
  station.EdgeUpper = !station.EdgeUpper;
}

void SetFrequency(const DecoderTargets& to, const ReplyBytes& reply) {
  // Set-frequency echo (11), read-frequency echo (6), then the read's answer.
  if (!reply.Has(26)) return;
  ShowFrequencyAt(to, reply, 24);
  BlankStatusFields(to.radio);
}

void SetMode(const DecoderTargets& to, const ReplyBytes& reply) {
  ShowModeByte(to, reply.At(6));
  BlankStatusFields(to.radio);
}

void SetModeAndFilter(const DecoderTargets& to, const ReplyBytes& reply) {
  ShowFilterByte(to, reply.At(7));
  BlankStatusFields(to.radio);
}

void WriteMemory(const DecoderTargets& to, const ReplyBytes& reply) {
  // The echo of the memory-set frame carries the record itself.
  ShowMemoryContents(to, reply, 7);
}

void SelectMemory(const DecoderTargets& to, const ReplyBytes& reply) {
  // Select echo (8), the chained frame's echo, then the memory read's answer.
  if (!reply.Has(13) || reply.At(13) == kMemoryClear) return;
  if (!reply.Has(26)) return;
  if (reply.At(26) == kNoData) return ShowBlankChannel(to);
  if (!ShowMemoryContents(to, reply, 24)) return;
  CopyToMemoryWindow(to, !to.state.AwaitingSquelch);
}

void ReadMemory(const DecoderTargets& to, const ReplyBytes& reply) {
  if (!reply.Has(18)) return;
  if (reply.At(18) == kNoData) return ShowBlankChannel(to);
  if (!ShowMemoryContents(to, reply, 16)) return;
  CopyToMemoryWindow(to, true);
}

// The decoding table: the echo patterns exclude each other, so the first match is the only one.
const std::array<DecodingRow, 18>& DecodingTable() {
  static const std::array<DecodingRow, 18> table = {{
      {{{{5, kIdentity}, {6, kReadIdentity}, {7, kEnd}}}, ReadIdentity, 14},
      {{{{5, kAntenna}, {6, kEnd}}}, ReadAntenna, 12},
      {{{{5, kRxTx}, {6, kReceiveTransmit}, {7, kEnd}}}, ReadRxTx, 14},
      {{{{5, kMeter}, {6, kSquelchState}, {7, kEnd}}}, ReadSquelch, 14},
      {{{{5, kMeter}, {6, kSMeter}, {7, kEnd}}}, ReadSMeter, 14},
      {{{{5, kMemoryContents}, {6, kSettings}, {7, kClockSetting}, {8, kEnd}}}, ReadClock, 16},
      {{{{5, kMemoryContents}, {6, kSettings}, {7, kClockSetting}, {8, kEnd, false}}},
       SetClock,
       26},
      {{{{5, kMemoryContents}, {6, kSettings}, {7, kCallSignSetting}, {8, kEnd}}},
       ReadCallSign,
       16},
      {{{{5, kMemoryContents}, {6, kSettings}, {7, kCallSignSetting}, {8, kEnd, false}}},
       SetCallSign,
       0},
      {{{{5, kReadFrequency}, {6, kEnd}}}, ReadFrequency, 12},
      {{{{5, kReadMode}, {6, kEnd}}}, ReadMode, 12},
      {{{{5, kReadBandEdges}, {6, kEnd}}}, ReadBandEdge, 13},
      // The frequency's 10 Hz and 1 Hz byte, which the window always sends as 00.
      {{{{5, kSetFrequency}, {6, 0x00}, {11, kEnd}}}, SetFrequency, 24},
      {{{{5, kSetMode}, {7, kEnd}}}, SetMode, 0},
      {{{{5, kSetMode}, {8, kEnd}}}, SetModeAndFilter, 0},
      {{{{5, kMemoryContents}, {6, kMemoryChannel}, {9, kEnd, false}}}, WriteMemory, 0},
      {{{{5, kSelectMemory}, {8, kEnd}}}, SelectMemory, 26},
      {{{{5, kMemoryContents}, {6, kMemoryChannel}, {9, kEnd}}}, ReadMemory, 18},
  }};
  return table;
}

}  // namespace

ReplyDecoder::ReplyDecoder(DecoderTargets targets) : to_(targets) {}

void ReplyDecoder::DecodeReply(const std::string& reply) {
  const ReplyBytes bytes(reply);
  if (bytes.Size() < kShortestReply) return;
  for (const DecodingRow& row : DecodingTable()) {
    if (Matches(bytes, row.echo)) {
      if (!IsAcknowledgementAt(bytes, row.answerAt)) row.effect(to_, bytes);
      return;
    }
  }
}

}  // namespace tavrin
