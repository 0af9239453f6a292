// SPDX-License-Identifier: GPL-3.0-or-later
// The compact operator panel: mode, filter and antenna from lists, memory channels selected,
// written and cleared, on the same code as the transceiver-control program.
#include "app/program_view.h"
#include "share/qt/share_menu_view.h"

int main(int argc, char* argv[]) {
  return tavrin::RunProgram(argc, argv, tavrin::Build::Korvid,
                            tavrin::share::WithNetworkControl(tavrin::KorvidViews()));
}
