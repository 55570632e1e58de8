// Assign Keys by Typing under Wine, fed with real keystrokes: what a combination
// assigns and refuses, the buttons, undo, and where the next cell comes from.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/assign_keys.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

constexpr int kKeyA = 31;
constexpr int kKeyB = 50;
constexpr int kKeyR = 20;
// A key that the RQ57 does not have: F13.
constexpr Keystroke kF13 = {0x7C, 0x64, false};

KeyCode Cell(int row, int column) { return EditorModel().keys[row * kMatrixStride + column]; }
std::string NextText() { return WindowText(GetDlgItem(AssignKeysWindow(), IDC_ASSIGN_NEXT)); }
bool Pushed(int button) { return (SendMessageA(KeyButton(button), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }
void Click(int id) {
  SendDlgItemMessageA(AssignKeysWindow(), id, BM_CLICK, 0, 0);
  PumpUntilIdle();
}
std::vector<std::string> Lines() {
  HWND list = GetDlgItem(AssignKeysWindow(), IDC_ASSIGN_LIST);
  std::vector<std::string> lines;
  char text[256] = "";
  for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
    if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < LRESULT{sizeof text}) {
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      lines.push_back(text);
    }
  }
  return lines;
}
void Activate(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  PumpUntilIdle();
}

class AssignKeysTest : public testing::Test {
 protected:
  // Opened with the focus on Row 1 Col 2.
  void SetUp() override {
    ResetEditor();
    FocusControl(KeyButton(1));
    PostMessageA(MainWindow(), WM_COMMAND, IDM_TOOLS_ASSIGN_KEYS, 0);
    WAIT_UNTIL(AssignKeysWindow() != nullptr && GetActiveWindow() == AssignKeysWindow());
    PumpUntilIdle();
  }
  void TearDown() override {
    if (AssignKeysWindow() != nullptr) DestroyWindow(AssignKeysWindow());
    PumpUntilIdle();
    ResetEditor();
  }
};

TEST_F(AssignKeysTest, TypedCombinationsBecomeKeysOneUndoStepEachAndRefusalsChangeNothing) {
  EXPECT_EQ(WindowText(AssignKeysWindow()), "Assign Keys by Typing");
  EXPECT_EQ(NextText(), "Type the key for Row 1 Col 2 (now Not Used)");
  EXPECT_TRUE(Pushed(1));

  // Ctrl+R is Read's shortcut, but here it is the cell's key.
  TypeCombo(kModCtrl | kKeyR);
  EXPECT_EQ(Cell(0, 1), kModCtrl | kKeyR);
  EXPECT_EQ(Editor().UndoName(), "Key Row 1 Col 2");
  EXPECT_EQ(FindModalWindow(GetCurrentThreadId()), nullptr);
  EXPECT_EQ(NextText(), "Type the key for Row 1 Col 3 (now Not Used)");
  EXPECT_TRUE(Pushed(2));
  EXPECT_FALSE(Pushed(1));

  TypeCombo(kModAlt | kModShift | kModCtrl | kKeyA);
  SendKey(kF13, true);
  SendKey(kF13, false);
  PumpUntilIdle();
  // Shift pressed and released alone is the Left Shift key.
  SendKey(StrokeOf(kKeyLeftShift), true);
  SendKey(StrokeOf(kKeyLeftShift), false);
  PumpUntilIdle();
  EXPECT_EQ(Lines(), (std::vector<std::string>{
      "Row 1 Col 2: Ctrl+R",
      "Alt+Shift+Ctrl+A refused: two modifiers at most; Row 1 Col 3 unchanged",
      "(virtual key 0x7C) refused: no key of the RQ57; Row 1 Col 3 unchanged",
      "Row 1 Col 3: Left Shift"}));
  EXPECT_EQ(Cell(0, 2), kKeyLeftShift);

  // Undo is the Edit menu's, one assignment at a time.
  SendMessageA(MainWindow(), WM_COMMAND, IDM_EDIT_UNDO, 0);
  EXPECT_EQ(Cell(0, 2), kKeyNotUsed);
  EXPECT_EQ(Cell(0, 1), kModCtrl | kKeyR);
  EXPECT_EQ(Editor().UndoName(), "Key Row 1 Col 2");
}

TEST_F(AssignKeysTest, SkipBackNotUsedTheLastCellAndANewConfiguration) {
  Click(IDC_ASSIGN_BACK);
  EXPECT_EQ(NextText(), "Type the key for Row 1 Col 1 (now Not Used)");
  Click(IDC_ASSIGN_BACK);   // nothing before Row 1 Col 1
  Click(IDC_ASSIGN_SKIP);
  EXPECT_EQ(NextText(), "Type the key for Row 1 Col 2 (now Not Used)");
  EXPECT_TRUE(Editor().UndoName().empty());

  // Counts that shrink keep the next cell inside them.
  Editor().SetRows(2);
  Editor().SetColumns(1);
  ShowWholeConfiguration();
  PumpUntilIdle();
  EXPECT_EQ(NextText(), "Type the key for Row 1 Col 1 (now Not Used)");
  Click(IDC_ASSIGN_SKIP);
  TypeCombo(kKeyA);
  EXPECT_EQ(NextText(), "Done: Row 2 Col 1 was the last cell. Back returns to it.");
  TypeCombo(kKeyB);
  EXPECT_EQ(Lines().back(), "B refused: no cell left (Back returns to the last one)");
  Click(IDC_ASSIGN_BACK);
  Click(IDC_ASSIGN_NOT_USED);
  EXPECT_EQ(Cell(1, 0), kKeyNotUsed);
  EXPECT_EQ(Editor().UndoName(), "Key Row 2 Col 1");

  SetModified(false);
  SendMessageA(MainWindow(), WM_COMMAND, IDM_FILE_NEW, 0);
  PumpUntilIdle();
  EXPECT_EQ(NextText(), "Type the key for Row 1 Col 1 (now Not Used)");
}

TEST_F(AssignKeysTest, TheCellFocusedWhileInactiveIsNextAndTheKeysAreTheEditorsMeanwhile) {
  FocusControl(KeyButton(6 + 2));
  TypeCombo(kKeyA);
  EXPECT_TRUE(Lines().empty());
  Activate(AssignKeysWindow());
  EXPECT_EQ(NextText(), "Type the key for Row 2 Col 3 (now Not Used)");
  TypeCombo(kKeyA);
  EXPECT_EQ(Cell(1, 2), kKeyA);
}

}  // namespace
