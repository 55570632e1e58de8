// The link provider behind the Read and Write commands: the real keyboard link in
// rq57load.exe, the simulated encoder in rq57load-sim.exe and the UI tests.
#pragma once

#include <string>

#include "session/transfer_session.h"
#include "win32/transfer_mutex.h"

class LinkPlatform;

LinkPlatform& TransferPlatform();

// The editor's transfer sessions: the lock shared with rq57cfg, and the settings
// record unless the program changes no settings (the simulator keeps none).
class EditorSessionHost : public SessionHost {
 public:
  EditorSessionHost(LinkPlatform& link, bool keepsRecord) : link_(link), keepsRecord_(keepsRecord) {}
  bool Lock() override { return LockTransfers(); }
  void Unlock() override { UnlockTransfers(); }
  std::string SettingsRecordPath() override { return keepsRecord_ ? TransferRecordPath() : ""; }
  LinkPlatform& Link() override { return link_; }

 private:
  LinkPlatform& link_;
  bool keepsRecord_;
};

SessionHost& TransferSessionHost();

// What stands behind the link when it is not the encoder ("simulated RQ57"), for
// the main window's title; nullptr for the encoder itself.
const char* SimulatedLinkName();
