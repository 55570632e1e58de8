// Entry point of the editor.
#include <windows.h>

#include <cstdlib>

#include "ui/main_window.h"
#include "ui/startup.h"

#if defined(__GLIBCXX__)
// The library's default handler of an uncaught exception prints its type's
// demangled name on standard error, which a windowed program does not have; it
// ends the program all the same. Ending it at once keeps the demangler (46 KB)
// out of the exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

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
