// The key buttons' context menu under Wine, opened with Shift+F10 and the
// context-menu key and chosen from with its mnemonics.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/app_core.h"
#include "ui_support.h"

namespace {

constexpr UINT kMenuTickMs = 100;
WORD menuKey = 0;       // the mnemonic to press once the menu is open
int menuItems = 0;      // how many items the open menu had, -1 once the key is pressed

// Presses the mnemonic in the open menu; ends a menu that the key did not end.
void CALLBACK ChooseFromMenu(HWND, UINT, UINT_PTR, DWORD) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !(info.flags & GUI_INMENUMODE)) return;
  if (menuKey == 0) {
    EndMenu();
    return;
  }
  HWND popup = FindWindowA(MAKEINTATOM(0x8000), nullptr);   // #32768
  menuItems = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0)));
  keybd_event(static_cast<BYTE>(menuKey), 0, 0, 0);
  keybd_event(static_cast<BYTE>(menuKey), 0, KEYEVENTF_KEYUP, 0);
  menuKey = 0;
}

// Opens the menu of a key button with a key and chooses an item by its mnemonic;
// returns how many items the menu had (0: it did not open).
int UseMenu(int button, WORD openKey, int modifiers, WORD mnemonic) {
  menuKey = mnemonic;
  menuItems = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, kMenuTickMs, ChooseFromMenu);
  PressKey(KeyButton(button), openKey, modifiers);
  KillTimer(nullptr, timer);
  return menuItems;
}

TEST(CellMenu, ShiftF10AndTheMenuKeyCopyAndPasteWithTheEditCommands) {
  ResetEditor();
  ChangeModel([](ConfigModel& m) { m.keys[0] = kModShift | 31; });   // Shift+A
  RefreshGrid();
  EXPECT_EQ(UseMenu(0, VK_F10, kShift, 'C'), 6);
  EXPECT_EQ(UseMenu(6 + 1, VK_APPS, kNoModifier, 'P'), 6);
  EXPECT_EQ(EditorModel().keys[kMatrixStride + 1], kModShift | 31);
  EXPECT_EQ(Editor().UndoName(), "Key Row 2 Col 2");
  EXPECT_EQ(GetFocus(), KeyButton(6 + 1));
  ResetEditor();
}

}  // namespace
