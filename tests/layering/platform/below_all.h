// SPDX-License-Identifier: GPL-3.0-or-later
// A header of the platform layer that includes only its own layer: the include check lets it be.
#include "platform/clock.h"
