// SPDX-License-Identifier: GPL-3.0-or-later
// Frames the transceiver broadcasts on its own when the operator turns the dial or picks a
// mode on the front panel: FE FE 00 64 01 mode filter FD and FE FE 00 64 00 <5 bytes> FD.
#include "app/control_program.h"
#include "civ/decoder_displays.h"
#include "civ/reply_bytes.h"
#include "civ/reply_decoder.h"
#include "radio/operating_mode.h"

namespace tavrin {

namespace {

constexpr unsigned char kEnd = 0xFD;
constexpr unsigned char kFrequencyBroadcast = 0x00;
constexpr unsigned char kModeBroadcast = 0x01;
constexpr std::size_t kModeFrameLength = 8;
constexpr std::size_t kFrequencyFrameLength = 11;

}  // namespace

void ReplyDecoder::DecodeTransceive(const std::string& frame) {
  const ReplyBytes bytes(frame);
  if (bytes.Is(5, kModeBroadcast) && bytes.Size() == kModeFrameLength) {
    if (bytes.At(8) != kEnd) return;
    // The mode picked on the front panel is the operating mode, before the marks below send
    // their frames with it.
    NoteOperatingMode(program_.station, bytes.At(6));
    ShowModeByte(program_, bytes.At(6));
    MarkModeOption();
    ShowFilterByte(program_, bytes.At(7));
    MarkFilterOption();
  } else if (bytes.Is(5, kFrequencyBroadcast) && bytes.Size() == kFrequencyFrameLength) {
    if (bytes.At(11) != kEnd) return;
    ShowFrequencyAt(program_, bytes, 7);
  }
  // Any frame that got this far, understood or not, clears the channel and status fields.
  RadioMain& radio = program_.radio;
  radio.Text2 = radio.Text3 = radio.Text6 = "";
}

}  // namespace tavrin
