#include "session/transfer_session.h"

#include "session/settings_record.h"

namespace {

// Under the lock only: a running transfer's record is never taken for a killed one's.
bool RecoverUnderLock(SessionHost& host, const std::string& path) {
  return !path.empty() && RestoreRecordedSettings(host.Link(), path) == RecordFound::kRestored;
}

}  // namespace

TransferSession::~TransferSession() {
  if (!recordPath_.empty()) DropSettingsRecord(recordPath_);
  if (locked_) host_.Unlock();
}

bool TransferSession::Open() {
  if (!host_.Lock()) return false;
  locked_ = true;
  const std::string path = host_.SettingsRecordPath();
  recovered_ = RecoverUnderLock(host_, path);
  if (!path.empty() && RecordSettings(host_.Link(), path)) recordPath_ = path;
  return true;
}

bool RecoverKilledTransfer(SessionHost& host) {
  const std::string path = host.SettingsRecordPath();
  if (path.empty() || !host.Lock()) return false;
  const bool recovered = RecoverUnderLock(host, path);
  host.Unlock();
  return recovered;
}
