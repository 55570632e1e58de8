// Measures how long Windows programs take from being started to showing their main
// window painted. Used by scripts/bench-startup under Wine.
//
//   startup_watch RUNS WARMUPS PROGRAM...
//
// Each run starts every program in turn (interleaved, so both see the same state of
// the machine) and times from just before CreateProcess until all of these hold:
//   - a visible top-level window with a caption belongs to the new process;
//   - its thread answers a sent message, so it has reached a message loop;
//   - neither that window nor any of its visible descendants has anything left to
//     paint (no update region): the first paint has been done.
// The program is then asked to close (WM_CLOSE) and ended if it does not. WARMUPS
// runs come first and are not counted. Prints each time, then the median per program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kAnswerTimeoutMs = 1000;
constexpr DWORD kCloseTimeoutMs = 10000;

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
  if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindPendingPaint(HWND child, LPARAM param) {
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

bool Painted(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  bool pending = false;
  EnumChildWindows(window, FindPendingPaint, reinterpret_cast<LPARAM>(&pending));
  return !pending;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Starts the program and returns the time to its painted main window, or -1.
double MeasureOnce(const std::string& program) {
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
    return -1;
  }
  double elapsed = -1;
  HWND window = nullptr;
  for (;;) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (Milliseconds(start, now) > kStartTimeoutMs) break;
    Search search = {process.dwProcessId, nullptr};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    DWORD_PTR ignored = 0;
    if (search.found != nullptr &&
        SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                            &ignored) != 0 &&
        Painted(search.found)) {
      QueryPerformanceCounter(&now);
      elapsed = Milliseconds(start, now);
      window = search.found;
      break;
    }
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;  // it ended
    Sleep(1);
  }
  if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kCloseTimeoutMs);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_watch RUNS WARMUPS PROGRAM...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const int warmups = std::atoi(argv[2]);
  std::vector<std::string> programs(argv + 3, argv + argc);
  std::vector<std::vector<double>> times(programs.size());
  bool failed = false;
  for (int run = -warmups; run < runs; ++run) {
    for (size_t p = 0; p < programs.size(); ++p) {
      const double ms = MeasureOnce(programs[p]);
      if (ms < 0) {
        std::printf("%-14s run %2d: no painted window within %lu ms\n",
                    BaseName(programs[p]).c_str(), run + 1, kStartTimeoutMs);
        failed = true;
        continue;
      }
      if (run < 0) {
        std::printf("%-14s warm-up: %7.1f ms\n", BaseName(programs[p]).c_str(), ms);
      } else {
        std::printf("%-14s run %2d: %7.1f ms\n", BaseName(programs[p]).c_str(), run + 1, ms);
        times[p].push_back(ms);
      }
      std::fflush(stdout);
    }
  }
  for (size_t p = 0; p < programs.size(); ++p) {
    if (times[p].empty()) continue;
    std::printf("median %-14s %7.1f ms  (min %.1f, max %.1f, %zu runs)\n",
                BaseName(programs[p]).c_str(), Median(times[p]),
                *std::min_element(times[p].begin(), times[p].end()),
                *std::max_element(times[p].begin(), times[p].end()), times[p].size());
  }
  return failed ? 1 : 0;
}
