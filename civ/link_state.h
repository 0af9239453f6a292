// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link's shared state, under the names the windows use; the program's shared state holds
// it, and the link and its recovery keep it.
namespace tavrin {

struct LinkState {
  int PortOpened = 0;  // 1 after a successful open of the serial port
  // What the transceiver sends on its own is shown on the status line and followed by the
  // window; while it is off, those bytes are dropped.
  bool AutoStatusOn = true;
  // The device behind the port is not there (gone while open, or missing when opened): the
  // link looks for it about once a second and tells its owner when it is back.
  bool PortGone = false;
  // The transceiver did not answer the start-up synchronisation: the link asks for its
  // identity about once a second and tells its owner when it answers.
  bool AwaitingRadio = false;
};

}  // namespace tavrin
