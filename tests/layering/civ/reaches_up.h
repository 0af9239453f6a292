// SPDX-License-Identifier: GPL-3.0-or-later
// A header of the lower layer that reaches up: the include check must name it.
#include "app/station.h"
#include "civ/frame.h"
