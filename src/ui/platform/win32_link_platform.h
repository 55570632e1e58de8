// The link's provider on the desktop: the keyboard settings through
// SystemParametersInfoA, the thread's message queue, the editor's progress view.
#pragma once

#include <windows.h>

#include "link/link_platform.h"
#include "win32/keyboard_settings.h"

// The window a transfer shows its progress in. The editor hands it to the
// providers, so that they include nothing of the editor above them.
class ProgressView {
 public:
  // The window; nullptr while none is open.
  virtual HWND Window() = 0;
  virtual void SetText(const char* text) = 0;
  // Paints a text not painted yet.
  virtual void PaintText() = 0;

 protected:
  ~ProgressView() = default;
};
// The view of every transfer from now on; until it is set, progress is shown nowhere.
void SetProgressView(ProgressView& view);
ProgressView& TransferProgressView();

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
