#include "session/transfer_session.h"

#include <cstdio>

#include "link/typematic_link.h"
#include "model/editor_messages.h"
#include "session/settings_record.h"

namespace {

constexpr char kStoppedRead[] = "Stopped: the keyboard delay and speed are put back";
// Nothing tells what the encoder keeps of a write stopped part-way.
constexpr char kStoppedWrite[] =
    "Stopped: the keyboard delay and speed are put back; what the RQ57 holds now is not known: "
    "write the file again (or read the RQ57 and compare)";
constexpr int kUnknownErrorSize = 64;

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

std::string TransferResultText(TransferKind kind, int result) {
  const bool read = kind == TransferKind::kRead;
  switch (result) {
    case kTransferOk: return read ? kReadMessage : kWrittenMessage;
    case kTransferNotFound: return kNotFoundMessage;
    case kTransferLinkError: return read ? kReadErrorMessage : kWriteErrorMessage;
    case kTransferStopped: return read ? kStoppedRead : kStoppedWrite;
    default:
      // A write's result 3 (too few speeds told apart) has no words of its own.
      if (read && result == kTransferInvalidConfig) return kInvalidConfigurationMessage;
      char text[kUnknownErrorSize] = "";
      std::snprintf(text, sizeof text, kUnknownErrorFormat, result);
      return text;
  }
}
