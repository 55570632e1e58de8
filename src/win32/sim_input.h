// The simulated encoder's answers typed as real keyboard input.
#pragma once

#include <vector>

#include "sim/encoder_sim.h"

// One answer's events go to the system in one call: each call costs a round
// trip to the window system.
void SendKeyEvents(const std::vector<SimKeyEvent>& events);
