// What rq57cfg's read and write need of the system: a transfer session's host
// (the lock, the settings record, the link) and the keyboard's input. The
// Windows programs and the Linux one provide it.
#pragma once

#include <string>

#include "cli/commands.h"
#include "session/transfer_session.h"

class TransferHost : public SessionHost {
 public:
  // Before the session: finds the keyboard the encoder is on (device: a node the
  // user named, empty for the system's) and, where the system allows, takes its
  // input for this program alone. kExitOk, else the exit code and why not.
  // Windows has the one desktop keyboard.
  virtual int Prepare(const std::string& device, std::string& why) {
    if (device.empty()) return kExitOk;
    why = "--device names a keyboard on Linux only";
    return kExitError;
  }
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

// The host of this program; nullptr where no encoder can be reached (neither
// Windows nor Linux).
// Its link shows progress on standard error; StopRequested after Ctrl+C.
TransferHost* ConsoleTransferHost();
