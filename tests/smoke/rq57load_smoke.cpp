// Starts a built editor program as a user does (its path is the first argument) and
// checks that its window comes up and that Read with no encoder attached ends in the
// "not found" message. Every wait is bounded; the program is ended on every way out.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ui/main_window.h"
#include "ui/resources/resource.h"

namespace {

constexpr DWORD kStartMs = 30000;    // the first start of a Wine prefix is slow
constexpr DWORD kReadMs = 30000;     // Read gives up after a few seconds of silence
constexpr DWORD kExitMs = 10000;
constexpr DWORD kPollMs = 50;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr char kNotFound[] = "The RQ57 was not found";
constexpr char kRecovered[] =
    "The keyboard delay and speed were put back after a transfer with the RQ57 was interrupted.";

const char* programPath = nullptr;

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The first visible top-level window of the process that passes the check.
struct Search {
  DWORD process;
  std::function<bool(HWND)> accept;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && IsWindowVisible(window) && search->accept(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(DWORD process, const std::function<bool(HWND)>& accept, DWORD maxMs) {
  const DWORD start = GetTickCount();
  do {
    Search search = {process, accept, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(kPollMs);
  } while (GetTickCount() - start < maxMs);
  return nullptr;
}

// The started program; ended if it is still running when the test is over.
class StartedProgram {
 public:
  explicit StartedProgram(const char* path) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = std::string("\"") + path + "\"";
    started_ = CreateProcessA(path, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_) != 0;
  }
  ~StartedProgram() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, kExitMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  bool Started() const { return started_; }
  DWORD Id() const { return info_.dwProcessId; }
  bool Exited(DWORD maxMs) const { return WaitForSingleObject(info_.hProcess, maxMs) == WAIT_OBJECT_0; }

 private:
  PROCESS_INFORMATION info_ = {};
  bool started_ = false;
};

bool IsMessageBox(HWND window) {
  HWND text = GetDlgItem(window, kMessageBoxTextId);
  return ClassOf(window) == "#32770" && text != nullptr && !TextOf(text).empty();
}

bool IsMainWindow(HWND window) { return ClassOf(window) == kMainClassName; }

// The main window, past the message of a recovery that a run of these tests
// killed in a transfer may have left.
HWND WaitForMainWindow(DWORD process) {
  HWND found = WaitForWindow(process, [](HWND w) { return IsMainWindow(w) || IsMessageBox(w); }, kStartMs);
  if (found != nullptr && !IsMainWindow(found)) PostMessageA(found, WM_COMMAND, IDOK, 0);
  return WaitForWindow(process, IsMainWindow, kStartMs);
}

TEST(EditorProgram, StartsAndReadWithoutAnEncoderEndsInNotFound) {
  ASSERT_NE(programPath, nullptr) << "usage: rq57load_smoke <path of rq57load.exe>";
  StartedProgram program(programPath);
  ASSERT_TRUE(program.Started()) << "could not start " << programPath;

  HWND main = WaitForMainWindow(program.Id());
  ASSERT_NE(main, nullptr) << "no editor window came up";
  EXPECT_EQ(TextOf(main), kAppTitle);

  PostMessageA(main, WM_COMMAND, IDM_FILE_READ, 0);
  HWND box = WaitForWindow(program.Id(), IsMessageBox, kReadMs);
  ASSERT_NE(box, nullptr) << "Read ended in no message";
  EXPECT_EQ(TextOf(GetDlgItem(box, kMessageBoxTextId)), kNotFound);
  EXPECT_EQ(TextOf(box), kAppTitle);
  PostMessageA(box, WM_COMMAND, IDOK, 0);

  const DWORD answered = GetTickCount();
  while (IsWindow(box) && GetTickCount() - answered < kExitMs) Sleep(kPollMs);
  EXPECT_FALSE(IsWindow(box)) << "the message box stayed after OK";

  // Nothing was changed, so the editor closes without a question.
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.Exited(kExitMs)) << "the editor did not close";
}

// An editor killed during Read leaves the record of the keyboard settings; the
// next start says it put them back, before its main window shows.
TEST(EditorProgram, AKilledReadIsRecoveredAtTheNextStart) {
  ASSERT_NE(programPath, nullptr);
  {
    StartedProgram killed(programPath);
    HWND main = WaitForMainWindow(killed.Id());
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, IDM_FILE_READ, 0);
    ASSERT_NE(WaitForWindow(killed.Id(), [](HWND w) { return GetDlgItem(w, IDC_PROGRESS_TEXT) != nullptr; }, kReadMs),
              nullptr) << "Read showed no progress window";
  }  // killed here, in the transfer
  StartedProgram next(programPath);
  HWND box = WaitForWindow(next.Id(), IsMessageBox, kStartMs);
  ASSERT_NE(box, nullptr) << "no message at start-up";
  EXPECT_EQ(TextOf(GetDlgItem(box, kMessageBoxTextId)), kRecovered);
  EXPECT_EQ(WaitForWindow(next.Id(), IsMainWindow, 0), nullptr) << "the main window showed before the message";
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_NE(WaitForWindow(next.Id(), IsMainWindow, kStartMs), nullptr) << "the editor did not go on";
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) programPath = argv[1];
  return RUN_ALL_TESTS();
}
