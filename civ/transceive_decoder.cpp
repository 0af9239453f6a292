// SPDX-License-Identifier: GPL-3.0-or-later
// Frames the transceiver broadcasts on its own when the operator turns the dial or picks a
// mode on the front panel: FE FE 00 64 01 mode filter FD and FE FE 00 64 00 <5 bytes> FD; and
// the option marks that show its mode and filter.
#include "civ/bcd.h"
#include "civ/command_bytes.h"
#include "civ/decoder_displays.h"
#include "civ/frame.h"
#include "civ/mode_table.h"
#include "civ/operating_mode.h"
#include "civ/reply_bytes.h"
#include "civ/reply_decoder.h"

namespace tavrin {

namespace {

constexpr std::size_t kModeFrameLength = 8;
constexpr std::size_t kFrequencyFrameLength = 11;

}  // namespace

void ReplyDecoder::DecodeTransceive(const std::string& frame) {
  // Only a whole frame from this transceiver to all becomes data: bytes cut out of two frames
  // (a collision on the bus, an echo landing inside a broadcast) can have the length and the
  // command byte of a broadcast without being one, and a frequency needs decimal digits.
  const ReplyBytes bytes(frame);
  const auto told = civ::ParseFrame(frame);
  const bool broadcast =
      told && told->to == civ::kBroadcastAddress && told->from == civ::kRigAddress;
  if (bytes.Is(5, civ::kModeBroadcast) && bytes.Size() == kModeFrameLength) {
    if (bytes.At(8) != civ::kEnd) return;
    if (broadcast) {
      // The mode picked on the front panel is the operating mode, before the marks below send
      // their frames with it.
      NoteOperatingMode(to_.state, bytes.At(6));
      ShowModeByte(to_, bytes.At(6));
      MarkModeOption();
      ShowFilterByte(to_, bytes.At(7));
      MarkFilterOption();
    }
  } else if (bytes.Is(5, civ::kFrequencyBroadcast) && bytes.Size() == kFrequencyFrameLength) {
    if (bytes.At(11) != civ::kEnd) return;
    if (broadcast && civ::FrequencyFromBcd(told->data)) ShowFrequencyAt(to_, bytes, 7);
  }
  // Any frame that got this far, understood or not, clears the channel and status fields.
  OperatingDisplay& radio = to_.radio;
  radio.Text2 = radio.Text3 = radio.Text6 = "";
}

void ReplyDecoder::MarkModeOption() {
  if (const civ::Mode* mode = civ::ModeShownAs(to_.radio.Text4))
    to_.marks.MarkCaption(mode->option);
}

void ReplyDecoder::MarkFilterOption() {
  if (const civ::Filter* filter = civ::FilterShownAs(to_.radio.Text5))
    to_.marks.MarkCaption(filter->option);
}

void ReplyDecoder::ShowModeMarks(const std::string& modeText, const std::string& filterText) {
  if (const civ::Mode* mode = civ::ModeShownAs(modeText)) to_.marks.ShowCaption(mode->option);
  if (const civ::Filter* filter = civ::FilterShownAs(filterText))
    to_.marks.ShowCaption(filter->option);
}

}  // namespace tavrin
