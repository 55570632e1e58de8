// The editor talks to a simulated encoder. The desktop's real keyboard settings
// are read but never changed: the settings the link makes reach the device
// model only, so nothing can leave the user's keyboard at link values. The
// device types its answers as real keystrokes to the focused window.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "sim/encoder_sim.h"
#include "sim/sample_image.h"
#include "ui/platform/platform_sim.h"
#include "ui/platform/transfer_platform.h"
#include "ui/platform/win32_link_platform.h"
#include "win32/sim_input.h"

namespace {

// Windows' defaults, used when the desktop's values cannot be read.
constexpr int kDefaultDelay = 1;
constexpr int kDefaultSpeed = 31;
constexpr DWORD kIdleWaitMs = 1;

#ifdef RQ57_TEST_SEAMS
// Test seam: how the device's keys went out, for the window tests only.
int keysInjected = 0;
int keysPosted = 0;
void CountInjected(std::size_t events) { keysInjected += static_cast<int>(events); }
void CountPosted(std::size_t events) { keysPosted += static_cast<int>(events); }
#else
void CountInjected(std::size_t) {}
void CountPosted(std::size_t) {}
#endif

// Whether a window of this thread is the foreground window, so that injected
// input reaches this thread's queue.
bool ThisThreadHasForeground() {
  HWND foreground = GetForegroundWindow();
  return foreground != nullptr &&
         GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId();
}

// Types as a keyboard does. Should the editor not be in the foreground, the
// keystrokes are posted to it instead, so that the simulator never types into
// another program.
void TypeKeys(const std::vector<SimKeyEvent>& events) {
  if (ThisThreadHasForeground()) {
    SendKeyEvents(events);
    CountInjected(events.size());
    return;
  }
  HWND target = GetFocus() != nullptr ? GetFocus() : TransferProgressView().Window();
  if (target == nullptr) return;
  for (const SimKeyEvent& event : events) {
    PostMessageA(target, event.down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(event.key), 0);
  }
  CountPosted(events.size());
}

class SimLinkPlatform : public Win32LinkPlatform {
 public:
  SimLinkPlatform()
      : device_([this](const std::vector<SimKeyEvent>& events, std::uint32_t latencyMs, SimKeySource source) {
          Schedule(GetTickCount() + latencyMs, events, source);
          TypeDueKeys();
        }) {
    device_.SetImage(SampleConfigImage());
    int value = 0;
    delay_ = Win32LinkPlatform::GetKeyboardDelay(value) ? value : kDefaultDelay;
    speed_ = Win32LinkPlatform::GetKeyboardSpeed(value) ? value : kDefaultSpeed;
  }

  EncoderSim& Device() { return device_; }

  bool GetKeyboardDelay(int& delay) override {
    delay = delay_;
    return true;
  }
  bool GetKeyboardSpeed(int& speed) override {
    speed = speed_;
    return true;
  }
  void SetKeyboardDelay(int delay) override {
    delay_ = delay;
    device_.OnDelaySet(delay);
  }
  void SetKeyboardSpeed(int speed) override {
    speed_ = speed;
    device_.OnSpeedSet(speed);
  }
  std::uint32_t Now() override {
    TypeDueKeys();
    return GetTickCount();
  }
  // Sleeps exactly ms in all, waking to type answers that fall due meanwhile.
  // The tick clock is not asked how much is left: it may step by 16 ms.
  void Pause(std::uint32_t ms) override {
    TransferProgressView().PaintText();
    DWORD left = ms;
    for (;;) {
      TypeDueKeys();
      if (left == 0) return;
      const DWORD step = std::min<DWORD>(left, NextDueIn());
      Sleep(step);
      left -= step;
    }
  }
  void WaitForMessage() override {
    TypeDueKeys();
    Win32LinkPlatform::WaitForMessage();
  }

 private:
  struct Pending {
    DWORD due;
    std::vector<SimKeyEvent> events;
  };

  // One device types in order: a late answer holds back the ones after it. A
  // user's keys on another keyboard come at their own time.
  void Schedule(DWORD due, const std::vector<SimKeyEvent>& events, SimKeySource source) {
    if (source == SimKeySource::kEncoder) {
      if (encoderTyping_ && static_cast<LONG>(encoderDue_ - due) > 0) due = encoderDue_;
      encoderDue_ = due;
      encoderTyping_ = true;
    }
    auto later = std::find_if(pending_.begin(), pending_.end(), [due](const Pending& p) {
      return static_cast<LONG>(p.due - due) > 0;
    });
    pending_.insert(later, {due, events});
  }

  void TypeDueKeys() {
    const DWORD now = GetTickCount();
    while (!pending_.empty() && static_cast<LONG>(now - pending_.front().due) >= 0) {
      TypeKeys(pending_.front().events);
      pending_.erase(pending_.begin());
    }
  }
  DWORD NextDueIn() const {
    if (pending_.empty()) return INFINITE;
    const LONG left = static_cast<LONG>(pending_.front().due - GetTickCount());
    return left > 0 ? static_cast<DWORD>(left) : kIdleWaitMs;
  }

  EncoderSim device_;
  std::vector<Pending> pending_;  // in order of the time they are due
  DWORD encoderDue_ = 0;          // when the encoder's last answer is typed
  bool encoderTyping_ = false;
  int delay_ = kDefaultDelay;
  int speed_ = kDefaultSpeed;
};

SimLinkPlatform& Platform() {
  static SimLinkPlatform platform;
  return platform;
}

}  // namespace

LinkPlatform& TransferPlatform() { return Platform(); }

// The desktop's settings are never changed here: nothing to record.
SessionHost& TransferSessionHost() {
  static EditorSessionHost host(Platform(), false);
  return host;
}

const char* SimulatedLinkName() { return kSimulatedEncoderName; }

EncoderSim& SimulatedEncoder() { return Platform().Device(); }

#ifdef RQ57_TEST_SEAMS
int SimulatedKeysInjected() { return keysInjected; }

int SimulatedKeysPosted() { return keysPosted; }
#endif
