#include "io/file_io.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

int ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

bool ReplaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

ReadResult ReadFileBounded(const std::string& path, std::size_t limit, std::string& content) {
  content.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return ReadResult::kCannotOpen;
  char buffer[65536];
  bool failed = false;
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    content.append(buffer, got);
    if (content.size() > limit) break;
    if (got < sizeof buffer) {
      failed = std::ferror(file) != 0;
      break;
    }
  }
  std::fclose(file);
  if (content.size() > limit) {
    content.clear();
    return ReadResult::kTooLarge;
  }
  return failed ? ReadResult::kCannotOpen : ReadResult::kOk;
}

bool WriteFileWhole(const std::string& path, const std::string& content) {
  const std::string temporary = path + "." + std::to_string(ProcessId()) + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed && ReplaceFile(temporary, path)) return true;
  std::remove(temporary.c_str());
  return false;
}
