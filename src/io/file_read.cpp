#include "io/file_read.h"

#include <algorithm>

#include "io/file_kind.h"
#include "io/system_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

constexpr std::size_t kChunk = 65536;

#ifdef _WIN32
constexpr char kSeparator = '\\';

FileIdentity IdentityOfHandle(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info = {};
  GetFileInformationByHandle(file, &info);
  return {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// Reads until limit + 1 bytes are in or the file ends; false on a failed read.
bool ReadUpTo(HANDLE file, std::size_t limit, std::string& content) {
  char buffer[kChunk];
  while (content.size() <= limit) {
    const std::size_t want = std::min(sizeof buffer, limit + 1 - content.size());
    DWORD got = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(want), &got, nullptr)) return false;
    if (got == 0) break;
    content.append(buffer, got);
  }
  return true;
}
#else
constexpr char kSeparator = '/';

bool ReadUpTo(int file, std::size_t limit, std::string& content) {
  char buffer[kChunk];
  while (content.size() <= limit) {
    const std::size_t want = std::min(sizeof buffer, limit + 1 - content.size());
    const ssize_t got = read(file, buffer, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}
#endif

}  // namespace

#ifdef _WIN32
bool ReadRegularFile(const std::string& path, std::size_t limit, InputFile& file) {
  file = {};
  HANDLE handle = CreateFileW(WideText(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    file.reason = LastSystemReason();
    return false;
  }
  bool ok = true;
  if (const char* kind = NonRegularKind(handle)) {
    file.reason = NotRegularReason(kind);
    ok = false;
  } else if (!ReadUpTo(handle, limit, file.content)) {
    file.reason = LastSystemReason();
    ok = false;
  }
  file.identity = IdentityOfHandle(handle);
  CloseHandle(handle);
  file.more = file.content.size() > limit;
  if (file.more) file.content.resize(limit);
  return ok;
}

bool IdentityOf(const std::string& path, FileIdentity& identity) {
  HANDLE handle = OpenToLookAt(WideText(path));
  if (handle == INVALID_HANDLE_VALUE) return false;
  identity = IdentityOfHandle(handle);
  CloseHandle(handle);
  return true;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
#else
bool ReadRegularFile(const std::string& path, std::size_t limit, InputFile& file) {
  file = {};
  // Without O_NONBLOCK, opening a FIFO would wait for a writer.
  const int handle = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (handle < 0) {
    file.reason = LastSystemReason();
    return false;
  }
  struct stat info = {};
  bool ok = fstat(handle, &info) == 0;
  if (!ok) {
    file.reason = LastSystemReason();
  } else if (const char* kind = NonRegularKind(info.st_mode)) {
    file.reason = NotRegularReason(kind);
    ok = false;
  } else if (!ReadUpTo(handle, limit, file.content)) {
    file.reason = LastSystemReason();
    ok = false;
  }
  file.identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
  close(handle);
  file.more = file.content.size() > limit;
  if (file.more) file.content.resize(limit);
  return ok;
}

bool IdentityOf(const std::string& path, FileIdentity& identity) {
  struct stat info = {};
  if (stat(path.c_str(), &info) != 0) return false;
  identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
  return true;
}

bool IsFolder(const std::string& path) {
  struct stat info = {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
#endif

bool ListRegularFiles(const std::string& folder, std::vector<std::string>& paths, std::string& reason) {
  const std::string prefix = folder.empty() || FolderOf(folder) == folder ? folder : folder + kSeparator;
  std::vector<std::string> found;
#ifdef _WIN32
  WIN32_FIND_DATAW entry = {};
  HANDLE search = FindFirstFileW(WideText(prefix + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    reason = LastSystemReason();
    return false;
  }
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const std::string path = prefix + Utf8Text(entry.cFileName);
    HANDLE handle = OpenToLookAt(WideText(path));
    if (handle == INVALID_HANDLE_VALUE) continue;  // e.g. a link to nothing
    if (NonRegularKind(handle) == nullptr) found.push_back(path);
    CloseHandle(handle);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
#else
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) {
    reason = LastSystemReason();
    return false;
  }
  while (const dirent* entry = readdir(listing)) {
    const std::string path = prefix + entry->d_name;
    struct stat info = {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) found.push_back(path);
  }
  closedir(listing);
#endif
  std::sort(found.begin(), found.end());
  paths.insert(paths.end(), found.begin(), found.end());
  return true;
}
