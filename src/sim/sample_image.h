// The configuration the simulated encoder holds when it starts.
#pragma once

#include "model/config.h"

// A 4 x 4 numeric keypad on pins A-H with typematic on.
ConfigImage SampleConfigImage();
