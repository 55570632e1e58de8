// Where the wall time of a 12 x 12 Write and Read goes in the simulator build:
// the editor's window and progress window as the commands make them, the link
// against the simulated encoder, and each of the link's platform operations
// timed on its own. Used by scripts/bench-link under Wine.
//
//   transfer_parts RUNS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "link/read_transfer.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "model/config.h"
#include "sim/encoder_sim.h"
#include "ui/main_window.h"
#include "ui/platform/platform_sim.h"
#include "ui/progress.h"
#include "ui/platform/transfer_platform.h"

namespace {

constexpr int kSettleMs = 100;
// A 12 x 12 transfer's fixed pauses, the settling before and after included,
// and the final wait of 500 ms from the last request.
constexpr int kWriteFloorMs = 1750;
constexpr int kReadFloorMs = 1600;

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

enum Part { kSettings, kClock, kPause, kIdleWait, kTake, kDispatch, kProgress, kParts };
const char* const kPartNames[kParts] = {"settings (device types)", "clock", "pauses", "idle waits",
                                        "take message", "dispatch", "progress text"};

// Forwards to the editor's link provider and adds up the time of each operation.
class TimedPlatform : public LinkPlatform {
 public:
  explicit TimedPlatform(LinkPlatform& inner) : inner_(inner) {}
  double spent[kParts] = {};
  int calls[kParts] = {};
  bool showProgress = true;

  bool GetKeyboardDelay(int& v) override { return inner_.GetKeyboardDelay(v); }
  bool GetKeyboardSpeed(int& v) override { return inner_.GetKeyboardSpeed(v); }
  void SetKeyboardDelay(int v) override { Time(kSettings, [&] { inner_.SetKeyboardDelay(v); }); }
  void SetKeyboardSpeed(int v) override { Time(kSettings, [&] { inner_.SetKeyboardSpeed(v); }); }
  std::uint32_t Now() override {
    std::uint32_t now = 0;
    Time(kClock, [&] { now = inner_.Now(); });
    return now;
  }
  std::uint32_t ClockStepMs() override { return inner_.ClockStepMs(); }
  void Pause(std::uint32_t ms) override { Time(kPause, [&] { inner_.Pause(ms); }); }
  void WaitForMessage() override { Time(kIdleWait, [&] { inner_.WaitForMessage(); }); }
  LinkMessage TakeMessage() override {
    LinkMessage message;
    Time(kTake, [&] { message = inner_.TakeMessage(); });
    return message;
  }
  void DispatchTakenMessage() override { Time(kDispatch, [&] { inner_.DispatchTakenMessage(); }); }
  void ShowProgress(const char* text) override {
    if (showProgress) Time(kProgress, [&] { inner_.ShowProgress(text); });
  }

 private:
  template <typename F>
  void Time(Part part, F f) {
    const double start = NowMs();
    f();
    spent[part] += NowMs() - start;
    ++calls[part];
  }
  LinkPlatform& inner_;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Round {
  double open, settleBefore, transfer, close, settleAfter;
  TimedPlatform timed;
  int answers;  // typed by the simulated encoder
};

// One transfer as the command runs it, each stage timed.
void RunTransfer(bool write, const ConfigImage& image, Round& round) {
  ConfigImage buffer = image;
  double t = NowMs();
  OpenProgressWindow();
  round.open = NowMs() - t;
  t = NowMs();
  PumpFor(TransferPlatform(), kSettleMs);
  round.settleBefore = NowMs() - t;
  t = NowMs();
  const int result = write ? WriteToEncoder(round.timed, buffer) : ReadFromEncoder(round.timed, buffer);
  round.transfer = NowMs() - t;
  round.answers = SimulatedEncoder().AnswerCount();
  t = NowMs();
  CloseProgressWindow();
  round.close = NowMs() - t;
  t = NowMs();
  PumpFor(TransferPlatform(), kSettleMs);
  round.settleAfter = NowMs() - t;
  if (result != kTransferOk) std::printf("  transfer failed: %d\n", result);
}

// Every answer of the encoder costs the window system one injection (the
// keystroke, typed while the link sets the delay) and three looks at the queue
// (its key-down, its key-up, and the empty queue before the next request), and
// no transfer can do with fewer. Their measured time, added to the floor, is
// what the transfer cannot go below under this window system.
void PrintWindowSystemShare(double typing, double taking, int answers, int floorMs) {
  const double share = typing + taking;
  std::printf("    window system's share: %d answers, %.0f us each (injected and taken), %.1f ms;"
              " floor + share %.1f ms = %.1f %% above the floor\n",
              answers, answers > 0 ? share * 1000.0 / answers : 0.0, share, floorMs + share,
              share * 100.0 / floorMs);
}

void Measure(const char* name, bool write, bool progress, int runs, const ConfigImage& image, int floorMs) {
  std::vector<double> open, before, transfer, close, after, total;
  int answers = 0;
  std::vector<std::vector<double>> parts(kParts);
  std::vector<int> calls(kParts);
  for (int i = 0; i < runs; ++i) {
    Round round{0, 0, 0, 0, 0, TimedPlatform(TransferPlatform()), 0};
    round.timed.showProgress = progress;
    RunTransfer(write, image, round);
    open.push_back(round.open);
    before.push_back(round.settleBefore);
    transfer.push_back(round.transfer);
    close.push_back(round.close);
    after.push_back(round.settleAfter);
    total.push_back(round.open + round.settleBefore + round.transfer + round.close + round.settleAfter);
    answers = round.answers;
    for (int p = 0; p < kParts; ++p) {
      parts[p].push_back(round.timed.spent[p]);
      calls[p] = round.timed.calls[p];
    }
  }
  std::printf("%s (median of %d, ms): total %.1f = open window %.1f + settle %.1f + transfer %.1f"
              " + close %.1f + settle %.1f\n",
              name, runs, Median(total), Median(open), Median(before), Median(transfer), Median(close),
              Median(after));
  for (int p = 0; p < kParts; ++p) {
    std::printf("    %-24s %8.1f ms in %6d calls\n", kPartNames[p], Median(parts[p]), calls[p]);
  }
  PrintWindowSystemShare(Median(parts[kSettings]), Median(parts[kTake]), answers, floorMs);
}

// Time from MessageBoxA to its activation, the last step of a command.
LRESULT CALLBACK CloseOnActivate(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MeasureMessageBox(int runs) {
  std::vector<double> shown;
  HHOOK hook = SetWindowsHookExA(WH_CBT, CloseOnActivate, nullptr, GetCurrentThreadId());
  for (int i = 0; i < runs; ++i) {
    const double t = NowMs();
    MessageBoxA(MainWindow(), "The configuration was successfully read from the RQ57", kAppTitle, MB_OK);
    shown.push_back(NowMs() - t);
  }
  UnhookWindowsHookEx(hook);
  std::printf("result message, open to closed (median of %d): %.1f ms\n", runs, Median(shown));
}

// The platform's own costs that every transfer pays, with nothing of the editor
// in between: a plain 150 ms sleep, the tick clock's step, looking at an empty
// queue, and one key event injected and taken back.
void MeasurePlatform(int runs) {
  std::vector<double> sleeps;
  for (int i = 0; i < runs; ++i) {
    const double t = NowMs();
    Sleep(150);
    sleeps.push_back(NowMs() - t);
  }
  std::vector<double> steps;
  for (int i = 0; i < 20; ++i) {
    const DWORD first = GetTickCount();
    DWORD next = first;
    while ((next = GetTickCount()) == first) {
    }
    steps.push_back(static_cast<double>(next - first));
  }
  constexpr int kCalls = 2000;
  MSG message;
  double t = NowMs();
  for (int i = 0; i < kCalls; ++i) PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
  const double emptyPeek = (NowMs() - t) * 1000.0 / kCalls;
  t = NowMs();
  int taken = 0;
  for (int i = 0; i < kCalls; ++i) {
    INPUT input[2] = {};
    for (int k = 0; k < 2; ++k) {
      input[k].type = INPUT_KEYBOARD;
      input[k].ki.wVk = 'G';
      input[k].ki.dwFlags = k == 0 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(2, input, sizeof input[0]);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) taken += message.message == WM_KEYUP ? 1 : 0;
  }
  const double keystroke = (NowMs() - t) * 1000.0 / kCalls;
  std::printf("platform: Sleep(150) median %.1f ms; GetTickCount step median %.1f ms;"
              " empty PeekMessage %.1f us; one keystroke injected and taken %.1f us (%d of %d came)\n",
              Median(sleeps), Median(steps), emptyPeek, keystroke, taken, kCalls);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  HWND window = CreateEditorWindow(GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  PumpFor(TransferPlatform(), 500);
  ConfigModel model;
  ResetModel(model);
  ConfigImage image{};
  EncodeImage(model, image, nullptr);  // the defaults are 12 x 12

  Round warmUp{0, 0, 0, 0, 0, TimedPlatform(TransferPlatform()), 0};
  RunTransfer(true, image, warmUp);
  Measure("write", true, true, runs, image, kWriteFloorMs);
  Measure("read", false, true, runs, image, kReadFloorMs);
  Measure("read, progress texts not shown", false, false, runs, image, kReadFloorMs);
  MeasureMessageBox(runs);
  MeasurePlatform(runs);
  DestroyWindow(window);
  return 0;
}
