// SPDX-License-Identifier: GPL-3.0-or-later
// The memory manager: the transceiver's memory channels copied to a data file, viewed, loaded
// back and blanked, on the same code as the transceiver-control program.
#include "app/program_view.h"

int main(int argc, char* argv[]) {
  return tavrin::RunProgram(argc, argv, tavrin::Build::Belmarq, tavrin::BelmarqViews());
}
