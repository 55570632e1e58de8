// The simulated encoder behind the link of rq57load-sim.exe and the UI tests.
#pragma once

class EncoderSim;

EncoderSim& SimulatedEncoder();

// Key events the device has typed so far: injected as real input, or posted to
// the editor because it was not in the foreground.
int SimulatedKeysInjected();
int SimulatedKeysPosted();
