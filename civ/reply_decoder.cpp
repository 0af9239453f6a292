// SPDX-License-Identifier: GPL-3.0-or-later
// The reply to a command: the echo of the frame sent heads the buffer, so its command bytes
// (positions 5 to 11) say which command this is, and the transceiver's answer follows at fixed
// positions behind it.
#include "civ/reply_decoder.h"

#include <algorithm>
#include <array>

#include "app/control_program.h"
#include "civ/decoder_displays.h"
#include "civ/encodings.h"
#include "civ/reply_bytes.h"

namespace tavrin {

namespace {

constexpr unsigned char kNoData = 0xFF;  // the transceiver has nothing to report
constexpr unsigned char kEnd = 0xFD;     // end of a frame
constexpr unsigned char kMemoryClear = 0x0B;
constexpr unsigned char kPreamble = 0xFE;
constexpr unsigned char kControllerAddress = 0xE0;
constexpr unsigned char kRigAddress = 0x64;
constexpr std::size_t kShortestReply = 11;  // the echo bytes 5..11 must be there

// One test on the echo: the byte at `position` equals (or, with `equal` false, differs from)
// `value`. Position 0 is an unused test.
struct EchoTest {
  std::size_t position = 0;
  unsigned char value = 0;
  bool equal = true;
};

using RowEffect = void (*)(ControlProgram&, const ReplyBytes&);

struct DecodingRow {
  std::array<EchoTest, 4> echo;
  RowEffect effect;
  // Where the row's first byte of the transceiver's answer lies; 0 for rows that read only
  // the echo of the frame sent.
  std::size_t answerAt;
};

constexpr unsigned char kAccepted = 0xFB;
constexpr unsigned char kRefused = 0xFA;

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

void BlankStatusFields(RadioMain& radio) { radio.Text2 = radio.Text3 = radio.Text6 = " "; }

void ReadIdentity(ControlProgram& program, const ReplyBytes& reply) {
  if (!reply.Has(14)) return;
  program.radio.Text6 = "ID = " + std::to_string(BcdToNumber(reply.At(14)));
}

void ReadAntenna(ControlProgram& program, const ReplyBytes& reply) {
  if (!reply.Has(12)) return;
  program.station.LastAntenna = std::to_string(reply.At(12));
  program.radio.Text6 = "Ant = " + program.station.LastAntenna;
}

void ReadRxTx(ControlProgram& program, const ReplyBytes& reply) {
  if (!reply.Has(14)) return;
  program.station.LastRxTx = std::to_string(reply.At(14));
  program.radio.Text6 = "RxTx = " + program.station.LastRxTx;
}

void ReadSquelch(ControlProgram& program, const ReplyBytes& reply) {
  if (!reply.Has(14)) return;
  const int state = reply.At(14);
  program.station.SquelchState = state;
  const char* text = state == 0 ? "Squelch is Closed" : state == 1 ? "Squelch is Open" : "";
  program.radio.Text6 = text;
  program.memory.Text7 = text;
  program.station.AwaitingSquelch = false;
}

void ReadSMeter(ControlProgram& program, const ReplyBytes& reply) {
  if (!reply.Has(15)) return;
  program.radio.Text6 = "S-Meter = " + SMeterLabel(reply.At(14), reply.At(15));
}

void ShowClockAt(ControlProgram& program, const ReplyBytes& reply, std::size_t hours) {
  if (!reply.Has(hours + 1)) return;
  program.radio.Text6 =
      "TIME = " + FormatTime(BcdToNumber(reply.At(hours)), BcdToNumber(reply.At(hours + 1)));
}

void ReadClock(ControlProgram& program, const ReplyBytes& reply) {
  ShowClockAt(program, reply, 16);
}
void SetClock(ControlProgram& program, const ReplyBytes& reply) { ShowClockAt(program, reply, 26); }

void ShowCallSignAt(ControlProgram& program, const ReplyBytes& reply, std::size_t first) {
  if (!reply.Has(first + 9)) return;
  program.radio.Text6 = "CALL = " + reply.Range(first, first + 9);
}

void ReadCallSign(ControlProgram& program, const ReplyBytes& reply) {
  ShowCallSignAt(program, reply, 16);
}
void SetCallSign(ControlProgram& program, const ReplyBytes& reply) {
  ShowCallSignAt(program, reply, 8);
}

void ReadFrequency(ControlProgram& program, const ReplyBytes& reply) {
  if (reply.Is(12, kNoData)) return BlankOperatingDisplay(program);
  if (!reply.Has(15)) return;
  ShowFrequencyAt(program, reply, 13);
  program.radio.Text2 = program.radio.Text3 = " ";
}

void ReadMode(ControlProgram& program, const ReplyBytes& reply) {
  if (reply.Is(12, kNoData)) return BlankOperatingDisplay(program);
  if (!reply.Has(13)) return;
  ShowModeByte(program, reply.At(12));
  ShowFilterByte(program, reply.At(13));
  program.radio.Text2 = program.radio.Text3 = " ";
}

void ReadBandEdge(ControlProgram& program, const ReplyBytes& reply) {
  // The lower edge and the upper edge in turn, beginning with the lower one.
  Station& station = program.station;
  const std::size_t lowest = station.EdgeUpper ? 19 : 13;
  if (!reply.Has(lowest + 2)) return;
  ShowFrequencyAt(program, reply, lowest);
  RadioMain& radio = program.radio;
  radio.Text2 = radio.Text3 = radio.Text4 = radio.Text5 = radio.Text6 = " ";
  station.EdgeUpper = !station.EdgeUpper;
}

void SetFrequency(ControlProgram& program, const ReplyBytes& reply) {
  // Set-frequency echo (11), read-frequency echo (6), then the read's answer.
  if (!reply.Has(26)) return;
  ShowFrequencyAt(program, reply, 24);
  BlankStatusFields(program.radio);
}

void SetMode(ControlProgram& program, const ReplyBytes& reply) {
  ShowModeByte(program, reply.At(6));
  BlankStatusFields(program.radio);
}

void SetModeAndFilter(ControlProgram& program, const ReplyBytes& reply) {
  ShowFilterByte(program, reply.At(7));
  BlankStatusFields(program.radio);
}

void WriteMemory(ControlProgram& program, const ReplyBytes& reply) {
  // The echo of the memory-set frame carries the record itself.
  ShowMemoryContents(program, reply, {7, 9, 11, 15, 16, 24});
}

void SelectMemory(ControlProgram& program, const ReplyBytes& reply) {
  // Select echo (8), the chained frame's echo, then the memory read's answer.
  if (!reply.Has(13) || reply.At(13) == kMemoryClear) return;
  if (!reply.Has(26)) return;
  if (reply.At(26) == kNoData) return ShowBlankChannel(program);
  if (!ShowMemoryContents(program, reply, {24, 26, 28, 32, 33, 41})) return;
  CopyToMemoryWindow(program, !program.station.AwaitingSquelch);
}

void ReadMemory(ControlProgram& program, const ReplyBytes& reply) {
  if (!reply.Has(18)) return;
  if (reply.At(18) == kNoData) return ShowBlankChannel(program);
  if (!ShowMemoryContents(program, reply, {16, 18, 20, 24, 25, 33})) return;
  CopyToMemoryWindow(program, true);
}

// The decoding table: the echo patterns exclude each other, so the first match is the only one.
const std::array<DecodingRow, 18>& DecodingTable() {
  static const std::array<DecodingRow, 18> table = {{
      {{{{5, 0x19}, {6, 0x00}, {7, kEnd}}}, ReadIdentity, 14},
      {{{{5, 0x12}, {6, kEnd}}}, ReadAntenna, 12},
      {{{{5, 0x1C}, {6, 0x00}, {7, kEnd}}}, ReadRxTx, 14},
      {{{{5, 0x15}, {6, 0x01}, {7, kEnd}}}, ReadSquelch, 14},
      {{{{5, 0x15}, {6, 0x02}, {7, kEnd}}}, ReadSMeter, 14},
      {{{{5, 0x1A}, {6, 0x05}, {7, 0x16}, {8, kEnd}}}, ReadClock, 16},
      {{{{5, 0x1A}, {6, 0x05}, {7, 0x16}, {8, kEnd, false}}}, SetClock, 26},
      {{{{5, 0x1A}, {6, 0x05}, {7, 0x15}, {8, kEnd}}}, ReadCallSign, 16},
      {{{{5, 0x1A}, {6, 0x05}, {7, 0x15}, {8, kEnd, false}}}, SetCallSign, 0},
      {{{{5, 0x03}, {6, kEnd}}}, ReadFrequency, 12},
      {{{{5, 0x04}, {6, kEnd}}}, ReadMode, 12},
      {{{{5, 0x02}, {6, kEnd}}}, ReadBandEdge, 13},
      {{{{5, 0x05}, {6, 0x00}, {11, kEnd}}}, SetFrequency, 24},
      {{{{5, 0x06}, {7, kEnd}}}, SetMode, 0},
      {{{{5, 0x06}, {8, kEnd}}}, SetModeAndFilter, 0},
      {{{{5, 0x1A}, {6, 0x00}, {9, kEnd, false}}}, WriteMemory, 0},
      {{{{5, 0x08}, {8, kEnd}}}, SelectMemory, 26},
      {{{{5, 0x1A}, {6, 0x00}, {9, kEnd}}}, ReadMemory, 18},
  }};
  return table;
}

}  // namespace

ReplyDecoder::ReplyDecoder(ControlProgram& program) : program_(program) {}

void ReplyDecoder::DecodeReply(const std::string& reply) {
  const ReplyBytes bytes(reply);
  if (bytes.Size() < kShortestReply) return;
  for (const DecodingRow& row : DecodingTable()) {
    if (Matches(bytes, row.echo)) {
      if (!IsAcknowledgementAt(bytes, row.answerAt)) row.effect(program_, bytes);
      return;
    }
  }
}

}  // namespace tavrin
