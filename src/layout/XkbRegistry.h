// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/XkbLayoutIds.h"

#include <vector>

// Every layout and variant of the system's XKB registry, in its order; empty
// when the registry cannot be read.
std::vector<TXkbRegistryEntry> ReadXkbRegistry();
