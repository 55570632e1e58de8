// rq57cfg's link provider on Linux: the AT keyboard's repeat settings, which the
// kernel's driver sends to the keyboard as typematic commands, and the keys the
// encoder types, read from the same evdev node while it is grabbed. Progress
// goes to standard error; SIGINT, SIGTERM and SIGHUP ask the transfer to stop.
#pragma once

#include <chrono>
#include <string>

#include "cli/platform/keyboard_device.h"
#include "link/link_platform.h"

class LinuxLinkPlatform : public LinkPlatform {
 public:
  explicit LinuxLinkPlatform(KeyboardDevice& device) : device_(device) {}

  bool GetKeyboardDelay(int& delay) override;
  bool GetKeyboardSpeed(int& speed) override;
  void SetKeyboardDelay(int delay) override;
  void SetKeyboardSpeed(int speed) override;
  std::uint32_t Now() override;
  std::uint32_t ClockStepMs() override { return 1; }  // the monotonic clock counts whole ms
  void Pause(std::uint32_t ms) override;
  void WaitForMessage() override;
  LinkMessage TakeMessage() override;
  void DispatchTakenMessage() override {}
  // Shown whenever it changes, at most ten times a second: a text that comes too
  // soon is shown when its time has come, unless another replaced it.
  void ShowProgress(const char* text) override;
  bool StopRequested() override;

  void FlushProgress();

 private:
  void ShowDueProgress();

  KeyboardDevice& device_;
  std::string pending_;
  std::string shown_;
  bool hasPending_ = false;
  bool shownBefore_ = false;
  std::chrono::steady_clock::time_point shownAt_{};
};

// Has SIGINT, SIGTERM and SIGHUP ask a running transfer to stop.
void CatchStopSignals();
