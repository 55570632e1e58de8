// Assign Keys by Typing under Wine, fed with real keystrokes: what a combination
// assigns and refuses, the buttons, undo, and where the next cell comes from.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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

void Type(const Keystroke& key) {
  SendKey(key, true);
  SendKey(key, false);
  PumpUntilIdle();
}
void Command(int id) {
  SendMessageA(MainWindow(), WM_COMMAND, id, 0);
  PumpUntilIdle();
}

// One thing done in the window, and what shows afterwards; a field left empty
// (nullptr, row -1, button -1) is not checked.
struct Step {
  const char* what;
  std::function<void()> act;
  const char* next;
  const char* lastLine = nullptr;
  int row = -1, column = -1;   // a cell, and the key it then holds
  KeyCode key = kKeyNotUsed;
  const char* undoName = nullptr;   // "" when nothing can be undone
  int pushed = -1;                  // the one key button shown pushed
};

void RunSteps(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    if (step.next != nullptr) { EXPECT_EQ(Next(), step.next); }
    if (step.lastLine != nullptr) { EXPECT_EQ(LastLine(), step.lastLine); }
    if (step.row >= 0) { EXPECT_EQ(Cell(step.row, step.column), step.key); }
    if (step.undoName != nullptr) { EXPECT_EQ(Editor().UndoName(), step.undoName); }
    for (int button = 0; step.pushed >= 0 && button < 3; ++button) EXPECT_EQ(Pushed(button), button == step.pushed);
  }
}

constexpr char kNext12[] = "Type the key for Row 1 Col 2 (now Not Used)";
constexpr char kNext11[] = "Type the key for Row 1 Col 1 (now Not Used)";

// Typed combinations become keys, one undo step each; refusals change nothing.
TEST_F(AssignKeysTest, TypedKeys) {
  RunSteps({
      {"opened on Row 1 Col 2", [] {}, kNext12, nullptr, -1, -1, 0, nullptr, 1},
      {"Read's shortcut, here the cell's key", [] { TypeCombo(kModCtrl | kKeyR); },
       "Type the key for Row 1 Col 3 (now Not Used)", nullptr, 0, 1, kModCtrl | kKeyR, "Key Row 1 Col 2", 2},
      {"three modifiers", [] { TypeCombo(kModAlt | kModShift | kModCtrl | kKeyA); }, nullptr,
       "Alt+Shift+Ctrl+A refused: two modifiers at most; Row 1 Col 3 unchanged"},
      {"a key the RQ57 lacks", [] { Type(kF13); }, nullptr,
       "(virtual key 0x7C) refused: no key of the RQ57; Row 1 Col 3 unchanged", 0, 2, kKeyNotUsed},
      {"Shift alone is the Left Shift key", [] { Type(StrokeOf(kKeyLeftShift)); }, nullptr, "Row 1 Col 3: Left Shift"},
      {"one assignment undone at a time", [] { Command(IDM_EDIT_UNDO); }, nullptr, nullptr, 0, 2, kKeyNotUsed,
       "Key Row 1 Col 2"},
      {"opened again with no cell focused, it goes on where it stood", [] {
         Click(IDCANCEL);
         FocusControl(MainWindow());
         PostMessageA(MainWindow(), WM_COMMAND, IDM_TOOLS_ASSIGN_KEYS, 0);
         WAIT_UNTIL(AssignKeysWindow() != nullptr && GetActiveWindow() == AssignKeysWindow());
       }, "Type the key for Row 1 Col 4 (now Not Used)"},
  });
}

// The buttons, counts that shrink, the last cell, a new configuration, a focused cell.
TEST_F(AssignKeysTest, ButtonsAndWhereTheNextCellComesFrom) {
  RunSteps({
      {"nothing before Row 1 Col 1", [] { Click(IDC_ASSIGN_BACK); Click(IDC_ASSIGN_BACK); }, kNext11},
      {"Skip", [] { Click(IDC_ASSIGN_SKIP); }, kNext12, nullptr, -1, -1, 0, ""},
      {"counts that shrink keep the next cell inside them", [] {
         Editor().SetRows(2);
         Editor().SetColumns(1);
         ShowWholeConfiguration();
         PumpUntilIdle();
       }, kNext11},
      {"the last cell", [] { Click(IDC_ASSIGN_SKIP); TypeCombo(kKeyA); },
       "Done: Row 2 Col 1 was the last cell. Back returns to it."},
      {"no cell left", [] { TypeCombo(kKeyA); }, nullptr, "A refused: no cell left (Back returns to the last one)"},
      {"Undo makes the last cell next again", [] { Command(IDM_EDIT_UNDO); }, "Type the key for Row 2 Col 1 (now Not Used)"},
      {"Not Used after Back", [] { TypeCombo(kKeyA); Click(IDC_ASSIGN_BACK); Click(IDC_ASSIGN_NOT_USED); }, nullptr,
       nullptr, 1, 0, kKeyNotUsed, "Key Row 2 Col 1"},
      {"a new configuration", [] { SetModified(false); Command(IDM_FILE_NEW); }, kNext11},
      {"a cell focused meanwhile, whose keys are the editor's", [] {
         FocusControl(KeyButton(6 + 2));
         TypeCombo(kKeyA);
         SetForegroundWindow(AssignKeysWindow());
         SetActiveWindow(AssignKeysWindow());
         PumpUntilIdle();
       }, "Type the key for Row 2 Col 3 (now Not Used)", nullptr, 1, 2, kKeyNotUsed},
  });
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
