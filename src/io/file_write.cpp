#include "io/file_write.h"

#include <algorithm>
#include <random>

#include "io/file_kind.h"
#include "io/file_protection.h"
#include "io/system_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>
#endif

namespace {

constexpr int kNameAttempts = 100;   // temporary names tried before giving up
constexpr int kRandomLetters = 10;   // about 51 bits: not to be guessed
constexpr char kTemporaryPrefix[] = ".rq57-";
constexpr char kTemporarySuffix[] = ".tmp";
constexpr char kPlantedFailure[] = "failure planted by a test";

WriteFailureSeam failureSeam = nullptr;

bool Planted(WriteStep step, std::string& reason) {
  if (failureSeam == nullptr || !failureSeam(step)) return false;
  reason = kPlantedFailure;
  return true;
}

// Takes the system's reason for the call that just failed; always false.
bool Failed(std::string& reason) {
  if (reason.empty()) reason = LastSystemReason();
  return false;
}

// A short name beside the target, so that a long target name still has room.
std::string TemporaryName(const std::string& folder) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::random_device random;
  std::string name = folder + kTemporaryPrefix;
  for (int i = 0; i < kRandomLetters; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name + kTemporarySuffix;
}

#ifdef _WIN32
// The file a handle reached, links and junctions followed; empty where the
// system cannot tell (before Windows Vista).
std::wstring FinalPath(HANDLE file) {
  using FinalPathCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  static const auto call = reinterpret_cast<FinalPathCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  if (call == nullptr) return {};
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = call(file, &path[0], static_cast<DWORD>(path.size()), 0);
  if (length >= path.size()) {
    path.resize(length + 1);
    length = call(file, &path[0], static_cast<DWORD>(path.size()), 0);
  }
  path.resize(length < path.size() ? length : 0);
  return path;
}

bool WriteAll(HANDLE file, const std::string& content, std::string& reason) {
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD wrote = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 20));
    if (Planted(WriteStep::kWrite, reason)) return false;
    if (!WriteFile(file, content.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
      reason = LastSystemReason();
      return false;
    }
    done += wrote;
  }
  return true;
}

// The file a name stands for, as the writer will replace it.
struct Target {
  std::wstring path;  // links and junctions followed
  bool exists = false;
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
};

// Finds the file the name stands for and refuses what cannot be replaced. No
// handle on it stays open: under Wine an open handle makes the move fail.
bool ResolveTarget(const std::string& path, Target& target, std::string& reason) {
  target.path = WideText(path);
  HANDLE existing = OpenToLookAt(target.path);
  if (existing == INVALID_HANDLE_VALUE) {
    // A missing folder gives ERROR_PATH_NOT_FOUND instead.
    return GetLastError() == ERROR_FILE_NOT_FOUND || Failed(reason);
  }
  const char* kind = NonRegularKind(existing);
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool known = kind == nullptr && GetFileInformationByHandle(existing, &info);
  const std::wstring final = kind == nullptr ? FinalPath(existing) : std::wstring();
  CloseHandle(existing);
  if (kind != nullptr) {
    reason = NotRegularReason(kind);
    return false;
  }
  if (!known) return Failed(reason);
  if (!final.empty()) target.path = final;
  target.exists = true;
  target.attributes = info.dwFileAttributes;
  if ((target.attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    // What opening it for writing would say.
    SetLastError(ERROR_ACCESS_DENIED);
    return Failed(reason);
  }
  return true;
}

// Under Wine (and on Windows while a scanner or indexer looks at it) a move onto
// a file is refused as long as any handle is open on it, another writer's look
// at it too. Such a refusal is brief: the move is tried again for a while.
constexpr DWORD kReplaceRetryMs = 200;
constexpr DWORD kReplacePauseMs = 10;

bool MoveIntoPlace(const std::wstring& temporary, const std::wstring& target) {
  const DWORD start = GetTickCount();
  while (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
        GetTickCount() - start >= kReplaceRetryMs) {
      return false;
    }
    Sleep(kReplacePauseMs);
  }
  return true;
}

bool WriteThrough(const std::string& path, const std::string& content, std::string& reason) {
  Target resolved;
  if (!ResolveTarget(path, resolved, reason)) return false;
  const std::wstring& target = resolved.path;
  const bool exists = resolved.exists;
  // The replaced file's access list goes to the temporary file as it is made,
  // before any content; a new file gets the folder's.
  FileProtection protection;
  if (exists && !TakeProtection(target, protection)) return Failed(reason);
  SECURITY_ATTRIBUTES* security = exists ? &protection.attributes : nullptr;
  const std::string folder = FolderOf(Utf8Text(target));
  std::wstring temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < kNameAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
    if (Planted(WriteStep::kCreate, reason)) return false;
    temporary = WideText(TemporaryName(folder));
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    reason = LastSystemReason();
    return false;
  }
  const bool written = WriteAll(file, content, reason) && !Planted(WriteStep::kFlush, reason) &&
                       (FlushFileBuffers(file) || Failed(reason));
  CloseHandle(file);
  // The replaced file's attributes (hidden, archive, ...) go to its successor.
  // (ReplaceFileW would keep them too, but leaves a file of its own behind when
  // it fails under Wine.)
  if (exists) SetFileAttributesW(temporary.c_str(), resolved.attributes & ~FILE_ATTRIBUTE_READONLY);
  if (written && !Planted(WriteStep::kReplace, reason) && (MoveIntoPlace(temporary, target) || Failed(reason))) {
    return true;
  }
  SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(temporary.c_str());
  return false;
}
#else
constexpr int kMaxLinks = 40;  // as the system's own limit on links in a row

// The name of the file that path stands for after following links; path itself
// when it names nothing yet.
bool FollowLinks(std::string path, std::string& target, std::string& reason) {
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat info = {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = path;
      return true;
    }
    std::vector<char> link(static_cast<std::size_t>(info.st_size) + 2);
    const ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
      reason = length < 0 ? LastSystemReason() : "the link changed while it was read";
      return false;
    }
    const std::string to(link.data(), static_cast<std::size_t>(length));
    path = to.front() == '/' ? to : FolderOf(path) + to;
  }
  reason = std::strerror(ELOOP);
  return false;
}

bool WriteAll(int file, const std::string& content, std::string& reason) {
  std::size_t done = 0;
  while (done < content.size()) {
    if (Planted(WriteStep::kWrite, reason)) return false;
    const ssize_t wrote = write(file, content.data() + done, content.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      reason = wrote < 0 ? LastSystemReason() : std::strerror(EIO);
      return false;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

// The file a name stands for, as the writer will replace it.
struct Target {
  std::string path;  // links followed
  bool exists = false;
  struct stat old = {};
};

// Finds the file the name stands for and refuses what cannot be replaced: as a
// shell's redirect would, a file this user may not write (root may), and a
// folder in which the temporary file cannot be made.
bool ResolveTarget(const std::string& path, Target& target, std::string& reason) {
  if (!FollowLinks(path, target.path, reason)) return false;
  target.exists = stat(target.path.c_str(), &target.old) == 0;
  if (!target.exists && errno != ENOENT) return Failed(reason);
  if (target.exists) {
    if (const char* kind = NonRegularKind(target.old.st_mode)) {
      reason = NotRegularReason(kind);
      return false;
    }
    if (faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) return Failed(reason);
  }
  const std::string folder = FolderOf(target.path);
  return faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 || Failed(reason);
}

bool WriteThrough(const std::string& path, const std::string& content, std::string& reason) {
  Target resolved;
  if (!ResolveTarget(path, resolved, reason)) return false;
  const std::string& target = resolved.path;
  const bool exists = resolved.exists;
  const struct stat& old = resolved.old;
  std::string temporary;
  int file = -1;
  for (int attempt = 0; attempt < kNameAttempts && file < 0; ++attempt) {
    if (Planted(WriteStep::kCreate, reason)) return false;
    temporary = TemporaryName(FolderOf(target));
    file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file < 0 && errno != EEXIST) break;
  }
  if (file < 0) {
    reason = LastSystemReason();
    return false;
  }
  // The replaced file's owner, where this user may give it (root), and its
  // permissions; a new file gets those of the umask.
  if (exists && fchown(file, old.st_uid, old.st_gid) != 0) errno = 0;
  const bool written = (!exists || fchmod(file, old.st_mode & 07777) == 0 || Failed(reason)) &&
                       WriteAll(file, content, reason) && !Planted(WriteStep::kFlush, reason) &&
                       (fsync(file) == 0 || Failed(reason));
  const bool closed = close(file) == 0 || Failed(reason);
  if (written && closed && !Planted(WriteStep::kReplace, reason) &&
      (rename(temporary.c_str(), target.c_str()) == 0 || Failed(reason))) {
    return true;
  }
  unlink(temporary.c_str());
  return false;
}
#endif

}  // namespace

bool WriteFileWhole(const std::string& path, const std::string& content, std::string& reason) {
  reason.clear();
  return WriteThrough(path, content, reason);
}

bool CheckWritableTarget(const std::string& path, std::string& reason) {
  reason.clear();
  Target target;
  return ResolveTarget(path, target, reason);
}

void SetWriteFailureSeam(WriteFailureSeam seam) { failureSeam = seam; }

bool RemoveFile(const std::string& path) {
#ifdef _WIN32
  return DeleteFileW(WideText(path).c_str()) != FALSE;
#else
  return unlink(path.c_str()) == 0;
#endif
}
