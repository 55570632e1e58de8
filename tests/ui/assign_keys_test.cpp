// Assign Keys by Typing under Wine, fed with real keystrokes: what a combination
// assigns and refuses, the buttons, undo, and where the next cell comes from.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "model/config_file.h"
#include "ui/assign_keys.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/app_core.h"
#include "ui/file_commands.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

constexpr int kKeyA = 31;
constexpr int kKeyR = 20;
constexpr Keystroke kF13 = {0x7C, 0x64, false};   // a key that the RQ57 does not have

HWND AssignKeysWindow() { return FindToolWindow("Assign Keys by Typing"); }
KeyCode Cell(int row, int column) { return EditorModel().keys[row * kMatrixStride + column]; }
std::string Next() { return WindowText(GetDlgItem(AssignKeysWindow(), IDC_ASSIGN_NEXT)); }
bool Pushed(int button) { return (SendMessageA(KeyButton(button), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }
void Click(int id) {
  SendDlgItemMessageA(AssignKeysWindow(), id, BM_CLICK, 0, 0);
  PumpUntilIdle();
}
std::string LastLine() {
  HWND list = GetDlgItem(AssignKeysWindow(), IDC_ASSIGN_LIST);
  char text[256] = "";
  const LRESULT last = SendMessageA(list, LB_GETCOUNT, 0, 0) - 1;
  if (last >= 0 && SendMessageA(list, LB_GETTEXTLEN, last, 0) < LRESULT{sizeof text}) {
    SendMessageA(list, LB_GETTEXT, last, reinterpret_cast<LPARAM>(text));
  }
  return text;
}

class AssignKeysTest : public testing::Test {
 protected:
  void SetUp() override {   // opened with the focus on Row 1 Col 2
    ResetEditor();
    FocusControl(KeyButton(1));
    PostMessageA(MainWindow(), WM_COMMAND, IDM_TOOLS_ASSIGN_KEYS, 0);
    WAIT_UNTIL(AssignKeysWindow() != nullptr && GetActiveWindow() == AssignKeysWindow());
    PumpUntilIdle();
  }
  void TearDown() override {
    if (AssignKeysWindow() != nullptr) DestroyWindow(AssignKeysWindow());
    ResetEditor();
  }
};

TEST_F(AssignKeysTest, TypedCombinationsBecomeKeysOneUndoStepEachAndRefusalsChangeNothing) {
  EXPECT_EQ(Next(), "Type the key for Row 1 Col 2 (now Not Used)");
  EXPECT_TRUE(Pushed(1));
  TypeCombo(kModCtrl | kKeyR);   // Read's shortcut, here the cell's key
  EXPECT_EQ(Cell(0, 1), kModCtrl | kKeyR);
  EXPECT_EQ(Editor().UndoName(), "Key Row 1 Col 2");
  EXPECT_EQ(Next(), "Type the key for Row 1 Col 3 (now Not Used)");
  EXPECT_TRUE(Pushed(2) && !Pushed(1));

  TypeCombo(kModAlt | kModShift | kModCtrl | kKeyA);
  EXPECT_EQ(LastLine(), "Alt+Shift+Ctrl+A refused: two modifiers at most; Row 1 Col 3 unchanged");
  SendKey(kF13, true);
  SendKey(kF13, false);
  PumpUntilIdle();
  EXPECT_EQ(LastLine(), "(virtual key 0x7C) refused: no key of the RQ57; Row 1 Col 3 unchanged");
  EXPECT_EQ(Cell(0, 2), kKeyNotUsed);
  SendKey(StrokeOf(kKeyLeftShift), true);   // Shift alone is the Left Shift key
  SendKey(StrokeOf(kKeyLeftShift), false);
  PumpUntilIdle();
  EXPECT_EQ(LastLine(), "Row 1 Col 3: Left Shift");

  SendMessageA(MainWindow(), WM_COMMAND, IDM_EDIT_UNDO, 0);   // one assignment at a time
  EXPECT_EQ(Cell(0, 2), kKeyNotUsed);
  EXPECT_EQ(Editor().UndoName(), "Key Row 1 Col 2");
  // Closed and opened again with no cell focused, it goes on where it stood.
  Click(IDCANCEL);
  FocusControl(MainWindow());
  PostMessageA(MainWindow(), WM_COMMAND, IDM_TOOLS_ASSIGN_KEYS, 0);
  WAIT_UNTIL(AssignKeysWindow() != nullptr && GetActiveWindow() == AssignKeysWindow());
  PumpUntilIdle();
  EXPECT_EQ(Next(), "Type the key for Row 1 Col 4 (now Not Used)");
}

TEST_F(AssignKeysTest, ButtonsCountsTheLastCellANewConfigurationAndTheFocusedCell) {
  Click(IDC_ASSIGN_BACK);
  Click(IDC_ASSIGN_BACK);   // nothing before Row 1 Col 1
  EXPECT_EQ(Next(), "Type the key for Row 1 Col 1 (now Not Used)");
  Click(IDC_ASSIGN_SKIP);
  EXPECT_EQ(Next(), "Type the key for Row 1 Col 2 (now Not Used)");
  EXPECT_FALSE(Editor().CanUndo());

  Editor().SetRows(2);   // counts that shrink keep the next cell inside them
  Editor().SetColumns(1);
  ShowWholeConfiguration();
  PumpUntilIdle();
  EXPECT_EQ(Next(), "Type the key for Row 1 Col 1 (now Not Used)");
  Click(IDC_ASSIGN_SKIP);
  TypeCombo(kKeyA);
  EXPECT_EQ(Next(), "Done: Row 2 Col 1 was the last cell. Back returns to it.");
  TypeCombo(kKeyA);
  EXPECT_EQ(LastLine(), "A refused: no cell left (Back returns to the last one)");
  SendMessageA(MainWindow(), WM_COMMAND, IDM_EDIT_UNDO, 0);   // the last cell is next again
  PumpUntilIdle();
  EXPECT_EQ(Next(), "Type the key for Row 2 Col 1 (now Not Used)");
  TypeCombo(kKeyA);
  Click(IDC_ASSIGN_BACK);
  Click(IDC_ASSIGN_NOT_USED);
  EXPECT_EQ(Cell(1, 0), kKeyNotUsed);
  EXPECT_EQ(Editor().UndoName(), "Key Row 2 Col 1");

  SetModified(false);
  SendMessageA(MainWindow(), WM_COMMAND, IDM_FILE_NEW, 0);
  PumpUntilIdle();
  EXPECT_EQ(Next(), "Type the key for Row 1 Col 1 (now Not Used)");
  FocusControl(KeyButton(6 + 2));   // meanwhile the keys are the editor's
  TypeCombo(kKeyA);
  SetForegroundWindow(AssignKeysWindow());
  SetActiveWindow(AssignKeysWindow());
  PumpUntilIdle();
  EXPECT_EQ(Next(), "Type the key for Row 2 Col 3 (now Not Used)");
  EXPECT_EQ(Cell(1, 2), kKeyNotUsed);
}

// Save builds its image, then waits on its dialog: a real click on Not Used meanwhile
// must not leave the flag clear while the file lacks what the editor shows.
TEST_F(AssignKeysTest, NothingChangesUnsavedBehindTheSaveDialog) {
  Editor().SetKey(0, 1, kKeyA);   // the next cell, Row 1 Col 2
  char temp[MAX_PATH] = "";
  const std::string path = std::string(temp, GetTempPathA(sizeof temp, temp)) + "rq57-behind-save.cfg";
  HWND notUsed = GetDlgItem(AssignKeysWindow(), IDC_ASSIGN_NOT_USED);
  const auto saveAs = [&](HWND) {
    HWND dialog = FindToolWindow("Save File");
    FillFileName(dialog, path);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  };
  EXPECT_TRUE(RunModalScript([] { SaveConfigFile(); }, {[&](HWND) { ClickWithMouse(notUsed); }, saveAs}));
  const std::string shown = FileBytesOfImage(ImageOf(EditorModel()));
  EXPECT_TRUE(EditorModel().modified || ReadAll(path) == Bytes(shown.begin(), shown.end()))
      << "the flag is clear, and the file lacks what the editor shows";
  DeleteFileA(path.c_str());
}

}  // namespace
