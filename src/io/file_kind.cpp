#include "io/file_kind.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#ifdef _WIN32
HANDLE OpenToLookAt(const std::wstring& path) {
  return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

const char* NonRegularKind(HANDLE file) {
  switch (GetFileType(file)) {
    case FILE_TYPE_DISK: break;
    case FILE_TYPE_PIPE: return "a pipe";
    default: return "a device";
  }
  BY_HANDLE_FILE_INFORMATION info = {};
  if (GetFileInformationByHandle(file, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return "a folder";
  }
  return nullptr;
}
#else
const char* NonRegularKind(mode_t mode) {
  if (S_ISREG(mode)) return nullptr;
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  return "a device";
}
#endif

std::string NotRegularReason(const char* kind) { return std::string(kind) + ", not a regular file"; }
