// Test entry for the editor's windows: creates the main window once, as start-up
// does, runs the tests, and destroys it.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/main_window.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  HWND window = CreateEditorWindow(GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return 2;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  const int result = RUN_ALL_TESTS();
  DestroyWindow(window);
  ReleaseEditorResources();
  return result;
}
