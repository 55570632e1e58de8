// What rq57cfg's read and write need of the system: the link to the encoder
// and the guards around a transfer. The Windows programs provide it.
#pragma once

#include <string>

class LinkPlatform;

class TransferHost {
 public:
  virtual ~TransferHost() = default;

  // One transfer at a time on this desktop, the editor's included: false when
  // another one holds the lock.
  virtual bool Lock() = 0;
  virtual void Unlock() = 0;
  // The file that records the user's keyboard settings during a transfer;
  // empty when there is no place for it.
  virtual std::string SettingsRecordPath() = 0;
  // Takes the keyboard's events for the link (and from everything else) until
  // StopListening; false when that is not possible.
  virtual bool StartListening() = 0;
  virtual void StopListening() = 0;
  // The link, its progress shown on standard error; StopRequested after Ctrl+C.
  virtual LinkPlatform& Link() = 0;
  // Shows a progress text still held back.
  virtual void FlushProgress() = 0;
  // What stands behind the link when it is not the encoder ("simulated RQ57"),
  // said before every transfer; nullptr for the encoder itself.
  virtual const char* SimulatedName() { return nullptr; }
};

// The host of this program; nullptr where no encoder can be reached (not Windows).
TransferHost* ConsoleTransferHost();
