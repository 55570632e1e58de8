// One transfer with the RQ57 at a time on this desktop: the editor's and
// rq57cfg's transfers take one named mutex.
#pragma once

// Takes the lock; false at once when another transfer holds it (this program's
// own included).
bool LockTransfers();
void UnlockTransfers();
// Whether any program's transfer runs now; safe to ask from any thread.
bool AnyTransferRunning();
