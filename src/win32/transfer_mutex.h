// One transfer with the RQ57 at a time for the user: the editor's and rq57cfg's
// transfers take one named mutex, and record the user's keyboard settings in one
// file while a transfer runs. The lock and the record have one scope, the user,
// so that a running transfer's record is never taken for a killed one's.
#pragma once

#include <string>

// Takes the lock; false at once when another transfer holds it (this program's
// own included).
bool LockTransfers();
void UnlockTransfers();
// Whether any program's transfer runs now; safe to ask from any thread.
bool AnyTransferRunning();
// The record's file in the user's local application data; empty when there is
// no place for it.
std::string TransferRecordPath();
