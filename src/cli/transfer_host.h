// What rq57cfg's read and write need of the system: a transfer session's host
// (the lock, the settings record, the link) and the keyboard's input. The
// Windows programs provide it.
#pragma once

#include "session/transfer_session.h"

class TransferHost : public SessionHost {
 public:
  // Takes the keyboard's events for the link (and from everything else) until
  // StopListening; false when that is not possible.
  virtual bool StartListening() = 0;
  virtual void StopListening() = 0;
  // Shows a progress text still held back.
  virtual void FlushProgress() = 0;
  // What stands behind the link when it is not the encoder ("simulated RQ57"),
  // said before every transfer; nullptr for the encoder itself.
  virtual const char* SimulatedName() { return nullptr; }
};

// The host of this program; nullptr where no encoder can be reached (not Windows).
// Its link shows progress on standard error; StopRequested after Ctrl+C.
TransferHost* ConsoleTransferHost();
