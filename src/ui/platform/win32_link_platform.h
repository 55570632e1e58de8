// The link's provider on the desktop: the keyboard settings through
// SystemParametersInfoA, the thread's message queue, the progress window.
#pragma once

#include <windows.h>

#include "link/link_platform.h"
#include "ui/platform/keyboard_settings.h"

class Win32LinkPlatform : public DesktopKeyboardLink {
 public:
  void Pause(std::uint32_t ms) override;
  void WaitForMessage() override;
  LinkMessage TakeMessage() override;
  void DispatchTakenMessage() override;
  void ShowProgress(const char* text) override;

 private:
  MSG taken_ = {};
};

// A quit message that a transfer's wait took from the queue is kept, and posted
// again once the transfer is over, so that the message loop still ends.
void PostKeptQuitMessage();
