#include "io/system_text.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

#ifdef _WIN32
constexpr char kSeparators[] = "\\/:";
#else
constexpr char kSeparators[] = "/";
#endif

std::size_t NameStart(const std::string& path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

#ifdef _WIN32
std::wstring WideText(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], count);
  return wide;
}

std::vector<std::string> CommandLineArguments(const wchar_t* commandLine) {
  std::vector<std::string> arguments;
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(commandLine, &count)) {
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8Text(wide[i]));
    LocalFree(wide);
  }
  return arguments;
}

std::string Utf8Text(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int count = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(count), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &narrow[0], count, nullptr, nullptr);
  return narrow;
}

std::string LastSystemReason() {
  const DWORD code = GetLastError();
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  // The system's sentences end in ".\r\n"; the program's messages go on after them.
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.' ||
                           text.back() == L' ')) {
    text.pop_back();
  }
  return text.empty() ? "system error " + std::to_string(code) : Utf8Text(text);
}
#else
std::string LastSystemReason() { return std::strerror(errno); }
#endif

std::string FileNameOf(const std::string& path) { return path.substr(NameStart(path)); }

std::string FolderOf(const std::string& path) { return path.substr(0, NameStart(path)); }
