// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/decoder_displays.h"

#include <algorithm>
#include <string>

#include "app/control_program.h"
#include "civ/encodings.h"

namespace tavrin {

void ShowFrequency(ControlProgram& program, int a, int b, int c) {
  program.station.FrequencyText = FormatFrequency(a, b, c);
  program.radio.Text1 = program.station.FrequencyText;
}

void ShowFrequencyAt(ControlProgram& program, const ReplyBytes& reply, std::size_t lowest) {
  ShowFrequency(program, BcdToNumber(reply.At(lowest + 2)), BcdToNumber(reply.At(lowest + 1)),
                BcdToNumber(reply.At(lowest)));
}

void ShowModeByte(ControlProgram& program, unsigned char mode) {
  program.station.MemModeText = ToDecimalList(std::string(1, static_cast<char>(mode)));
  if (const auto text = ModeText(mode)) program.radio.Text4 = *text;
}

void ShowFilterByte(ControlProgram& program, unsigned char filter) {
  program.station.MemFilterText = ToDecimalList(std::string(1, static_cast<char>(filter)));
  if (const auto text = FilterText(filter)) program.radio.Text5 = *text;
}

void BlankOperatingDisplay(ControlProgram& program) {
  RadioMain& radio = program.radio;
  radio.Text1 = radio.Text2 = radio.Text3 = radio.Text4 = radio.Text5 = radio.Text6 = " ";
  program.station.MemorySequenceBusy = false;
}

bool ShowMemoryContents(ControlProgram& program, const ReplyBytes& reply,
                        const MemoryRecordLayout& at) {
  const std::size_t last =
      std::max({at.channel + 1, at.select, at.frequency + 2, at.mode, at.filter, at.name + 9});
  if (!reply.Has(last)) return false;
  RadioMain& radio = program.radio;
  Station& station = program.station;

  const int c1 = BcdToNumber(reply.At(at.channel));
  const int c2 = BcdToNumber(reply.At(at.channel + 1));
  if (c1 == 0) {
    radio.Text2 = std::to_string(c2);
  } else if (c1 == 1 && c2 == 0) {
    radio.Text2 = "P1";
  } else if (c1 == 1 && c2 == 1) {
    radio.Text2 = "P2";
  }

  ShowFrequencyAt(program, reply, at.frequency);
  ShowModeByte(program, reply.At(at.mode));
  ShowFilterByte(program, reply.At(at.filter));

  const unsigned char select = reply.At(at.select);
  station.MemSelectedText = ToDecimalList(std::string(1, static_cast<char>(select)));
  if (select == 0) {
    radio.Text3 = " ";
  } else if (select == 1) {
    radio.Text3 = "*";
  }

  station.DecodedLabel = reply.Range(at.name, at.name + 9);
  radio.Text6 = station.DecodedLabel;
  return true;
}

void ShowBlankChannel(ControlProgram& program) {
  RadioMain& radio = program.radio;
  MemoryMain& memory = program.memory;
  radio.Text1 = radio.Text2 = radio.Text3 = radio.Text4 = radio.Text5 = radio.Text6 = " ";
  memory.Text3 = memory.Text2 = memory.Text4 = memory.Text5 = memory.Text6 = "";
  memory.Text1 = program.station.MemChannelText;
  memory.Text7 = "Blank";
  program.station.MemorySequenceBusy = false;
}

void CopyToMemoryWindow(ControlProgram& program, bool summary) {
  const RadioMain& radio = program.radio;
  MemoryMain& memory = program.memory;
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
