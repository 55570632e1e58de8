// One transfer with the encoder as both programs run it: the lock that every
// program's transfers share, the record of the user's keyboard settings while
// link values replace them, and the recovery of a transfer that was killed.
#pragma once

#include <string>

class LinkPlatform;

// What a program gives its transfer sessions.
class SessionHost {
 public:
  virtual ~SessionHost() = default;
  // One transfer at a time for the user, every program's included: false when
  // another transfer holds the lock.
  virtual bool Lock() = 0;
  virtual void Unlock() = 0;
  // The record of the user's settings during a transfer, of the lock's scope;
  // empty when the program keeps none (it changes no settings).
  virtual std::string SettingsRecordPath() = 0;
  // The link the transfers run on.
  virtual LinkPlatform& Link() = 0;
};

// Held for one command; gives up the record and the lock on every way out.
class TransferSession {
 public:
  explicit TransferSession(SessionHost& host) : host_(host) {}
  TransferSession(const TransferSession&) = delete;
  TransferSession& operator=(const TransferSession&) = delete;
  ~TransferSession();

  // Takes the lock; then a record found (a run was killed in a transfer) is
  // recovered: the end signal, then its settings put back (Recovered). Then the
  // settings are recorded for this session. False when another transfer runs.
  bool Open();
  bool Recovered() const { return recovered_; }
  LinkPlatform& Link() { return host_.Link(); }

 private:
  SessionHost& host_;
  bool locked_ = false;
  bool recovered_ = false;
  std::string recordPath_;
};

enum class TransferKind { kRead, kWrite };
// What a transfer's result (kTransferOk, kTransferNotFound, ...) says, in both
// programs' words: the success message for kTransferOk, else what went wrong.
std::string TransferResultText(TransferKind kind, int result);

// At start-up: recovers a killed transfer's record when no transfer runs now.
// True when its settings were put back.
bool RecoverKilledTransfer(SessionHost& host);
