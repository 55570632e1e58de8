// The simulated encoder behind the link of rq57load-sim.exe and the UI tests.
#pragma once

class EncoderSim;

EncoderSim& SimulatedEncoder();

#ifdef RQ57_TEST_SEAMS
// Test seam, only in the window tests' build: key events the device (and the
// user's keys it models) typed so far, injected as real input, or posted to the
// editor because it was not in the foreground.
int SimulatedKeysInjected();
int SimulatedKeysPosted();
#endif
