// The link's provider for rq57cfg: the desktop's keyboard settings, the
// keyboard's events from a low-level hook (a console program has no focused
// window), progress on standard error, and Ctrl+C as a request to stop.
#pragma once

#include <windows.h>

#include <string>

#include "cli/progress_lines.h"
#include "cli/transfer_host.h"
#include "link/link_platform.h"
#include "win32/keyboard_settings.h"

class ConsoleLinkPlatform : public DesktopKeyboardLink {
 public:
  ConsoleLinkPlatform();

  void Pause(std::uint32_t ms) override;
  void WaitForMessage() override;
  LinkMessage TakeMessage() override;
  void DispatchTakenMessage() override {}
  // Shown whenever it changes, at most ten times a second: a text that comes too
  // soon is shown when its time has come, unless another replaced it.
  void ShowProgress(const char* text) override;
  bool StopRequested() override;

  void FlushProgress() { progress_.Flush(GetTickCount()); }

 private:
  ProgressLines progress_;
};

// rq57cfg's host around a console provider: the transfer lock shared with the
// editor, the settings record in the local application data folder, the hook.
class ConsoleHost : public TransferHost {
 public:
  explicit ConsoleHost(ConsoleLinkPlatform& link, const char* simulatedName = nullptr)
      : link_(link), simulatedName_(simulatedName) {}
  bool Lock() override;
  void Unlock() override;
  std::string SettingsRecordPath() override;
  bool StartListening() override;
  void StopListening() override;
  LinkPlatform& Link() override { return link_; }
  void FlushProgress() override { link_.FlushProgress(); }
  const char* SimulatedName() override { return simulatedName_; }

 private:
  ConsoleLinkPlatform& link_;
  const char* simulatedName_;
};
