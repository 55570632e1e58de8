// The key buttons' context menu under Wine, opened as the user opens it (Shift+F10,
// the context-menu key, a right click) and chosen from with its mnemonics.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

constexpr int kKeyA = 31;
constexpr UINT MN_GETHMENU_ = 0x01E1;
constexpr UINT kMenuTickMs = 100;
const char* const kPopupMenuClass = MAKEINTATOM(0x8000);   // #32768

KeyCode Cell(int row, int column) { return EditorModel().keys[row * kMatrixStride + column]; }

// What the open menu showed ("-" a greyed item's prefix; a separator is "-") and the
// key that chose from it.
std::vector<std::string> menuSeen;
WORD menuKey = 0;

void CALLBACK ChooseFromMenu(HWND, UINT, UINT_PTR, DWORD) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !(info.flags & GUI_INMENUMODE)) return;
  if (!menuSeen.empty()) {  // the key did not end it
    EndMenu();
    return;
  }
  auto* menu = reinterpret_cast<HMENU>(SendMessageA(FindWindowA(kPopupMenuClass, nullptr), MN_GETHMENU_, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[64] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    menuSeen.push_back(((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) ? "-" : "") +
                       std::string(text));
  }
  keybd_event(static_cast<BYTE>(menuKey), 0, 0, 0);
  keybd_event(static_cast<BYTE>(menuKey), 0, KEYEVENTF_KEYUP, 0);
}

// Runs open(), which opens the menu, and chooses the item of a mnemonic in it.
std::vector<std::string> UseMenu(const std::function<void()>& open, WORD key) {
  menuSeen.clear();
  menuKey = key;
  const UINT_PTR timer = SetTimer(nullptr, 0, kMenuTickMs, ChooseFromMenu);
  open();
  PumpUntilIdle();
  KillTimer(nullptr, timer);
  return menuSeen;
}

class CellMenuTest : public testing::Test {
 protected:
  void SetUp() override { ResetEditor(); }
  void TearDown() override { ResetEditor(); }
};

TEST_F(CellMenuTest, ShiftF10AndTheMenuKeyCopyAndPasteWithTheEditCommands) {
  ChangeModel([](ConfigModel& m) { m.keys[0] = kModShift | kKeyA; });
  RefreshGrid();
  const std::vector<std::string> items = {"&Select Key...", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
                                          "&Paste\tCtrl+V", "Cl&ear\tDel"};
  EXPECT_EQ(UseMenu([] { PressKey(KeyButton(0), VK_F10, kShift); }, 'C'), items);
  EXPECT_EQ(UseMenu([] { PressKey(KeyButton(6 + 1), VK_APPS); }, 'P'), items);
  EXPECT_EQ(Cell(1, 1), kModShift | kKeyA);
  EXPECT_EQ(Editor().UndoName(), "Key Row 2 Col 2");
  EXPECT_EQ(GetFocus(), KeyButton(6 + 1));
  EXPECT_EQ(Cell(0, 0), kModShift | kKeyA);
}

TEST_F(CellMenuTest, ARightClickFocusesTheButtonAndSelectKeyOpensTheKeyDialog) {
  FocusControl(RowsDropDown());
  RECT rect = {};
  GetWindowRect(KeyButton(6 + 2), &rect);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT clicks[3] = {};
  for (INPUT& input : clicks) {
    input.type = INPUT_MOUSE;
    input.mi.dx = (rect.left + 10) * 65535 / (width - 1);
    input.mi.dy = (rect.top + 10) * 65535 / (height - 1);
  }
  clicks[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  clicks[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ModalAnswerer answerer(IDC_KEY_BASE + kKeyA);
  const std::vector<std::string> seen = UseMenu([&] { SendInput(3, clicks, sizeof(INPUT)); }, 'S');
  EXPECT_EQ(answerer.Finish(), 1);
  EXPECT_EQ(seen.size(), 6u);
  EXPECT_EQ(Cell(1, 2), kKeyA);
  EXPECT_EQ(GetFocus(), KeyButton(6 + 2));
}

}  // namespace
