// Entry point of the editor.
#include <windows.h>

#include "ui/main_window.h"
#include "ui/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int showCommand) {
  WarnIfRunFromInstallationVolume();
  RecoverInterruptedTransfer();
  HWND window = CreateEditorWindow(instance, previous);
  // Without a window the message loop would never see a quit message.
  if (window == nullptr) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  OpenFileNamedOnCommandLine(GetCommandLineW());
  const int code = RunMessageLoop();
  ReleaseEditorResources();
  return code;
}
