// rq57cfg's link provider on Linux: the AT keyboard's repeat settings, which the
// kernel's driver sends to the keyboard as typematic commands, and the keys the
// encoder types, read from the same evdev node while it is grabbed. Progress
// goes to standard error; SIGINT, SIGTERM and SIGHUP ask the transfer to stop.
#pragma once

#include "cli/platform/keyboard_device.h"
#include "cli/progress_lines.h"
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
  void ShowProgress(const char* text) override { progress_.Show(text, Now()); }
  bool StopRequested() override;

  void FlushProgress() { progress_.Flush(Now()); }

 private:
  KeyboardDevice& device_;
  ProgressLines progress_;
};

// Has SIGINT, SIGTERM and SIGHUP ask a running transfer to stop.
void CatchStopSignals();
