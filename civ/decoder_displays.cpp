// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/decoder_displays.h"

#include <string>

#include "civ/bcd.h"
#include "civ/encodings.h"
#include "civ/memory_record.h"

namespace tavrin {

void WriteStatusLine(const DecoderTargets& to, const std::string& line) {
  to.radio.Text7 = line;
  to.memory.Text9 = line;
}

void ShowFrequency(const DecoderTargets& to, int a, int b, int c) {
  to.state.FrequencyText = FormatFrequency(a, b, c);
  to.radio.Text1 = to.state.FrequencyText;
}

void ShowFrequencyAt(const DecoderTargets& to, const ReplyBytes& reply, std::size_t lowest) {
  ShowFrequency(to, civ::BcdToNumber(reply.At(lowest + 2)), civ::BcdToNumber(reply.At(lowest + 1)),
                civ::BcdToNumber(reply.At(lowest)));
}

void ShowModeByte(const DecoderTargets& to, unsigned char mode) {
  to.state.MemModeText = ToDecimalList(std::string(1, static_cast<char>(mode)));
  if (const auto text = ModeText(mode)) to.radio.Text4 = *text;
}

void ShowFilterByte(const DecoderTargets& to, unsigned char filter) {
  to.state.MemFilterText = ToDecimalList(std::string(1, static_cast<char>(filter)));
  if (const auto text = FilterText(filter)) to.radio.Text5 = *text;
}

void BlankOperatingDisplay(const DecoderTargets& to) {
  OperatingDisplay& radio = to.radio;
  radio.Text1 = radio.Text2 = radio.Text3 = radio.Text4 = radio.Text5 = radio.Text6 = " ";
}

bool ShowMemoryContents(const DecoderTargets& to, const ReplyBytes& reply, std::size_t recordAt) {
  // Positions count from 1, the record's parts from 0.
  const auto at = [recordAt](std::size_t part) { return recordAt + part; };
  if (!reply.Has(at(civ::kRecordLabel + civ::kLabelLength - 1))) return false;
  OperatingDisplay& radio = to.radio;
  DecoderState& state = to.state;

  const int c1 = civ::BcdToNumber(reply.At(at(civ::kRecordChannel)));
  const int c2 = civ::BcdToNumber(reply.At(at(civ::kRecordChannel + 1)));
  if (c1 == 0) {
    radio.Text2 = std::to_string(c2);
  } else if (c1 == 1 && c2 == 0) {
    radio.Text2 = "P1";
  } else if (c1 == 1 && c2 == 1) {
    radio.Text2 = "P2";
  }

  // Frequency bytes 2 to 4 (100 Hz to 10 MHz) are shown; the first and the fifth are not.
  ShowFrequencyAt(to, reply, at(civ::kRecordFrequency + 1));
  ShowModeByte(to, reply.At(at(civ::kRecordMode)));
  ShowFilterByte(to, reply.At(at(civ::kRecordFilter)));

  const unsigned char select = reply.At(at(civ::kRecordSelected));
  state.MemSelectedText = ToDecimalList(std::string(1, static_cast<char>(select)));
  if (select == 0) {
    radio.Text3 = " ";
  } else if (select == 1) {
    radio.Text3 = "*";
  }

  state.DecodedLabel =
      reply.Range(at(civ::kRecordLabel), at(civ::kRecordLabel + civ::kLabelLength - 1));
  radio.Text6 = state.DecodedLabel;
  return true;
}

void ShowBlankChannel(const DecoderTargets& to) {
  OperatingDisplay& radio = to.radio;
  ChannelDisplay& memory = to.memory;
  radio.Text1 = radio.Text2 = radio.Text3 = radio.Text4 = radio.Text5 = radio.Text6 = " ";
  memory.Text3 = memory.Text2 = memory.Text4 = memory.Text5 = memory.Text6 = "";
  memory.Text1 = to.state.MemChannelText;
  memory.Text7 = "Blank";
}

void CopyToMemoryWindow(const DecoderTargets& to, bool summary) {
  const OperatingDisplay& radio = to.radio;
  ChannelDisplay& memory = to.memory;
  memory.Text3 = radio.Text1;
  memory.Text1 = radio.Text2;
  memory.Text2 = radio.Text3;
  memory.Text4 = radio.Text4;
  memory.Text5 = radio.Text5;
  memory.Text6 = radio.Text6;
  if (!summary) return;
  const std::string gap(6, ' ');
  memory.Text7 = radio.Text2 + gap + radio.Text3 + gap + radio.Text1 + gap + radio.Text4 + gap +
                 radio.Text5 + gap + radio.Text6;
}

}  // namespace tavrin
