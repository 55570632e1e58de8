#include "win32/transfer_mutex.h"

#include <windows.h>

#include <atomic>

#include <sddl.h>
#include <shlobj.h>

#include "io/system_text.h"

namespace {

// Per user, in every session of the user: the scope of the record, which lives
// in the user's profile. Without the user's identity, per session.
constexpr char kUserMutexPrefix[] = "Global\\RQ57 Configuration Utility transfer ";
constexpr char kSessionMutexName[] = "Local\\RQ57 Configuration Utility transfer";
constexpr char kRecordFolder[] = "\\RQ57";
constexpr char kRecordFile[] = "\\rq57cfg keyboard settings.txt";
// Long enough to outlast another program's look at whether a transfer runs.
constexpr DWORD kLockWaitMs = 50;

struct LockState {
  HANDLE mutex = nullptr;
  std::atomic<bool> held{false};  // read by other threads (a keyboard hook's)
} lock;

// The user's security identifier as text; empty when it cannot be had.
std::string UserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "";
  std::string sid;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::string buffer(size, '\0');
  char* text = nullptr;
  if (size > 0 && GetTokenInformation(token, TokenUser, &buffer[0], size, &size) &&
      ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &text)) {
    sid = text;
    LocalFree(text);
  }
  CloseHandle(token);
  return sid;
}

const std::string& MutexName() {
  static const std::string name = [] {
    const std::string sid = UserSid();
    return sid.empty() ? std::string(kSessionMutexName) : kUserMutexPrefix + sid;
  }();
  return name;
}

// Takes the mutex within ms; an abandoned one (its holder was killed) counts as taken.
bool Take(HANDLE mutex, DWORD ms) {
  const DWORD waited = WaitForSingleObject(mutex, ms);
  return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

}  // namespace

bool LockTransfers() {
  if (lock.held) return false;
  if (lock.mutex == nullptr) lock.mutex = CreateMutexA(nullptr, FALSE, MutexName().c_str());
  if (lock.mutex == nullptr) return false;
  lock.held = Take(lock.mutex, kLockWaitMs);
  return lock.held.load();
}

void UnlockTransfers() {
  if (!lock.held) return;
  ReleaseMutex(lock.mutex);
  lock.held = false;
}

bool AnyTransferRunning() {
  if (lock.held) return true;
  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, MutexName().c_str());
  if (mutex == nullptr) return false;  // nobody has made it: no transfer
  const bool free = Take(mutex, 0);
  if (free) ReleaseMutex(mutex);
  CloseHandle(mutex);
  return !free;
}

std::string TransferRecordPath() {
  wchar_t folder[MAX_PATH] = L"";
  if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder) != S_OK) return "";
  const std::string ours = Utf8Text(folder) + kRecordFolder;
  if (!CreateDirectoryW(WideText(ours).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return "";
  return ours + kRecordFile;
}
