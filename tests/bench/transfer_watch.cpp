// Wall time of the Write and Read commands in rq57load-sim.exe, from posting the
// menu command to the result message appearing. Used by scripts/bench-link under
// Wine.
//
//   transfer_watch RUNS WARMUPS PROGRAM
//
// Starts PROGRAM (the simulator build), puts its main window in the foreground,
// then runs Write and Read in turn. The editor starts with a new 12 x 12
// configuration, so every Write stores 12 x 12 and every Read fetches it back.
// Each result message is checked and answered with OK. WARMUPS rounds come first
// and are not counted. Prints each time, then the medians.
//
// The watcher sleeps while the transfer runs and looks for the result box only
// after the editor made a window or moved the focus, so that the measuring does
// not load the window system the editor is timed on. With RQ57_BENCH_POLL set it
// looks every millisecond instead, to compare.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kResultTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 10000;
constexpr DWORD kPollAfterEventMs = 50;
constexpr int kWriteCommand = 1005;  // IDM_FILE_WRITE
constexpr int kReadCommand = 1007;   // IDM_FILE_READ
constexpr int kMessageTextId = 0xFFFF;
constexpr char kMainClass[] = "rq57loadClass";
constexpr char kWriteDone[] = "The configuration was successfully saved to the RQ57";
constexpr char kReadDone[] = "The configuration was successfully read from the RQ57";

struct Search {
  DWORD processId;
  HWND found;
};

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
  if (ClassOf(window) != kMainClass) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindMainWindow(DWORD processId) {
  Search search = {processId, nullptr};
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The result box (a dialog with an OK button: the progress window has none),
// looked for among the dialog windows only: polling every
// millisecond through all top-level windows would load the window system that
// the editor is being timed on.
HWND FindResultBox(DWORD processId) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window) && GetDlgItem(window, IDOK) != nullptr) return window;
  }
  return nullptr;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Set when the editor creates a window or moves the focus. The window system
// calls this hook through the watcher's queue, so waiting for it costs the
// editor nothing. (Wine tells other processes of window creation and focus,
// not of a window being shown.)
bool windowEvent = false;

void CALLBACK OnWindowEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { windowEvent = true; }

// Waits until the editor creates a window or moves the focus, or the time is up.
bool WaitForWindowEvent(DWORD began) {
  windowEvent = false;
  while (!windowEvent) {
    const DWORD spent = GetTickCount() - began;
    if (spent > kResultTimeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kResultTimeoutMs - spent, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  return true;
}

// Looks for the result box every millisecond for at most ms.
HWND PollResultBox(DWORD processId, DWORD ms) {
  const DWORD began = GetTickCount();
  HWND box = nullptr;
  while ((box = FindResultBox(processId)) == nullptr && GetTickCount() - began < ms) Sleep(1);
  return box;
}

// Runs one command; returns its time to the result message, or a negative value.
// With the hook, the result box is looked for only for a while after the
// editor made a window or moved the focus; without it, all the time.
double RunCommand(HWND main, DWORD processId, int command, const char* expected, bool hooked) {
  LARGE_INTEGER start;
  LARGE_INTEGER shown;
  QueryPerformanceCounter(&start);
  PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(command), 0);
  HWND box = nullptr;
  const DWORD began = GetTickCount();
  if (hooked) {
    // The box is shown within a few milliseconds of its creation.
    while (box == nullptr) {
      if (!WaitForWindowEvent(began)) return -1;
      box = PollResultBox(processId, kPollAfterEventMs);
    }
  } else {
    box = PollResultBox(processId, kResultTimeoutMs);
    if (box == nullptr) return -1;
  }
  QueryPerformanceCounter(&shown);
  char text[256] = "";
  GetWindowTextA(GetDlgItem(box, kMessageTextId), text, sizeof text);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  const DWORD answered = GetTickCount();
  while (IsWindow(box) && GetTickCount() - answered < kResultTimeoutMs) Sleep(5);
  if (std::string(text) != expected) {
    std::fprintf(stderr, "unexpected result of command %d: %s\n", command, text);
    return -1;
  }
  return Milliseconds(start, shown);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: transfer_watch RUNS WARMUPS PROGRAM\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const int warmups = std::atoi(argv[2]);
  const bool polling = std::getenv("RQ57_BENCH_POLL") != nullptr;
  std::string commandLine = std::string("\"") + argv[3] + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "cannot start %s\n", argv[3]);
    return 1;
  }
  WaitForInputIdle(process.hProcess, kStartTimeoutMs);
  HWND main = nullptr;
  const DWORD began = GetTickCount();
  while ((main = FindMainWindow(process.dwProcessId)) == nullptr && GetTickCount() - began < kStartTimeoutMs) {
    Sleep(10);
  }
  int status = 0;
  if (main == nullptr) {
    std::fprintf(stderr, "no main window\n");
    status = 1;
  } else {
    SetForegroundWindow(main);
    HWINEVENTHOOK hook = polling ? nullptr
                                 : SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_FOCUS, nullptr, OnWindowEvent,
                                                   process.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    std::printf("waiting for the result box: %s\n", hook != nullptr ? "polled only after a window event" : "polling");
    std::printf("editor in the foreground: %s\n", GetForegroundWindow() == main ? "yes" : "no");
    std::vector<double> writes;
    std::vector<double> reads;
    for (int round = 0; round < warmups + runs && status == 0; ++round) {
      const double write = RunCommand(main, process.dwProcessId, kWriteCommand, kWriteDone, hook != nullptr);
      const double read = RunCommand(main, process.dwProcessId, kReadCommand, kReadDone, hook != nullptr);
      if (write < 0 || read < 0) {
        status = 1;
        break;
      }
      std::printf("%s %2d: write %7.1f ms, read %7.1f ms\n", round < warmups ? "warm-up" : "run    ",
                  round < warmups ? round + 1 : round - warmups + 1, write, read);
      if (round >= warmups) {
        writes.push_back(write);
        reads.push_back(read);
      }
    }
    if (status == 0) {
      std::printf("median write %.1f ms, read %.1f ms over %d runs\n", Median(writes), Median(reads), runs);
    }
    if (hook != nullptr) UnhookWinEvent(hook);
    PostMessageA(main, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return status;
}
