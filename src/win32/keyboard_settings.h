// The desktop's keyboard delay and speed and the tick clock: what the editor's
// and rq57cfg's link providers share.
#pragma once

#include <windows.h>

#include "link/link_platform.h"

// SPI_GETKEYBOARDDELAY or SPI_GETKEYBOARDSPEED; false when unreadable.
bool ReadKeyboardSetting(UINT action, int& value);
// SPI_SETKEYBOARDDELAY or SPI_SETKEYBOARDSPEED, for this session only.
void WriteKeyboardSetting(UINT action, int value);

// GetTickCount moves with the system timer: 15.6 ms steps unless a program has
// asked for a finer timer.
constexpr std::uint32_t kTickCountStepMs = 16;

// A link provider whose settings reach the desktop's keyboard.
class DesktopKeyboardLink : public LinkPlatform {
 public:
  bool GetKeyboardDelay(int& delay) override { return ReadKeyboardSetting(SPI_GETKEYBOARDDELAY, delay); }
  bool GetKeyboardSpeed(int& speed) override { return ReadKeyboardSetting(SPI_GETKEYBOARDSPEED, speed); }
  void SetKeyboardDelay(int delay) override { WriteKeyboardSetting(SPI_SETKEYBOARDDELAY, delay); }
  void SetKeyboardSpeed(int speed) override { WriteKeyboardSetting(SPI_SETKEYBOARDSPEED, speed); }
  std::uint32_t Now() override { return GetTickCount(); }
  std::uint32_t ClockStepMs() override { return kTickCountStepMs; }
};
