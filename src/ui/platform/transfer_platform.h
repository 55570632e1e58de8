// The link provider behind the Read and Write commands: the real keyboard link in
// rq57load.exe, the simulated encoder in rq57load-sim.exe and the UI tests.
#pragma once

class LinkPlatform;

LinkPlatform& TransferPlatform();
// What stands behind the link when it is not the encoder ("simulated RQ57"), for
// the main window's title; nullptr for the encoder itself.
const char* SimulatedLinkName();
