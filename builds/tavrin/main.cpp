// SPDX-License-Identifier: GPL-3.0-or-later
// The transceiver-control program: the radio panel, the memory manager, the setup and the data
// file windows, starting on its splash window in the current directory.
#include "app/program_view.h"
#include "share/qt/share_menu_view.h"

int main(int argc, char* argv[]) {
  return tavrin::RunProgram(argc, argv, tavrin::Build::Tavrin,
                            tavrin::share::WithNetworkControl(tavrin::TavrinViews()));
}
