// The main window: start state, commands and control notifications.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "model/key_code.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui/progress.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

constexpr int kKeyA = 31;                    // key number of "A" in the key dialog
constexpr DWORD kNoWindowMs = 1500;          // how long a window that must not come is awaited

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override { ResetEditor(); }
  void TearDown() override {
    CloseProgressWindow();
    SetModified(false);
    ResetEditor();
  }
};

std::string ItemText(HWND dropDown, int index) {
  char text[64] = "";
  if (SendMessageA(dropDown, CB_GETLBTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text)) {
    SendMessageA(dropDown, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  }
  return text;
}

int Selection(HWND dropDown) { return static_cast<int>(SendMessageA(dropDown, CB_GETCURSEL, 0, 0)); }

int ChildCount(HWND parent) {
  int count = 0;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ++count;
  }
  return count;
}

void ClickMenu(int id) { PostMessageA(MainWindow(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

TEST_F(MainWindowTest, MessagesAreOwnedByTheMainWindowWithTheProgramCaption) {
  ModalAnswerer answerer(IDNO);
  EXPECT_EQ(ShowMessage("Question?", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
  ASSERT_EQ(answerer.Finish(), 1);
  const DialogSeen& box = answerer.Seen()[0];
  EXPECT_EQ(box.owner, MainWindow());
  EXPECT_EQ(box.title, "RQ57 Configuration Utility");
  EXPECT_EQ(box.text, "Question?");
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(box.buttons.size(), 3u);
}

TEST_F(MainWindowTest, StartsWithTheClientAreaFontAndClass) {
  RECT client = {};
  GetClientRect(MainWindow(), &client);
  EXPECT_EQ(client.right, 469);
  EXPECT_EQ(client.bottom, 405);
  EXPECT_EQ(GetClassLongPtrA(MainWindow(), GCL_STYLE) & CS_OWNDC, static_cast<ULONG_PTR>(CS_OWNDC));
  EXPECT_EQ(GetWindowLongA(MainWindow(), GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);

  LOGFONTA font = {};
  ASSERT_EQ(GetObjectA(UiFont(), sizeof font, &font), static_cast<int>(sizeof font));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(33, GetDeviceCaps(screen, LOGPIXELSY), 288));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_STREQ(font.lfFaceName, "Microsoft Sans Serif");
}

TEST_F(MainWindowTest, EveryControlExistsOnceWithItsClassStyleAndFont) {
  // 3 labels, 3 drop-downs, 24 header labels, 24 pin boxes, 144 key buttons, 2 scroll bars.
  EXPECT_EQ(ChildCount(MainWindow()), 200);
  const struct { const char* what; HWND control; const char* className; LONG style; bool font; } kinds[] = {
      {"top label", TopLabel(0), "Static", WS_CHILD | SS_CENTER, true},
      {"header label", HeaderLabel(23), "Static", WS_CHILD | SS_CENTER, true},
      {"rows drop-down", RowsDropDown(), "ComboBox", WS_CHILD | WS_TABSTOP | CBS_DROPDOWNLIST, true},
      {"pin box", PinBox(23), "ComboBox", WS_CHILD | WS_TABSTOP | CBS_DROPDOWNLIST, true},
      {"key button", KeyButton(143), "Button", WS_CHILD | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON, true},
      {"scroll bar", HorizontalScrollBar(), "ScrollBar", WS_CHILD | SBS_HORZ, false},
      {"scroll bar", VerticalScrollBar(), "ScrollBar", WS_CHILD | SBS_VERT, false},
  };
  // (A combo box passes WS_VSCROLL on to its list and drops it from its own style.)
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.what);
    char className[32] = "";
    GetClassNameA(kind.control, className, sizeof className);
    EXPECT_STRCASEEQ(className, kind.className);
    EXPECT_EQ(GetWindowLongA(kind.control, GWL_STYLE) & kind.style, kind.style);
    EXPECT_EQ(GetDlgCtrlID(kind.control), 0);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(kind.control, WM_GETFONT, 0, 0));
    EXPECT_EQ(font, kind.font ? UiFont() : nullptr);
  }
  EXPECT_EQ(GetWindowLongPtrA(KeyButton(0), GWLP_WNDPROC), GetWindowLongPtrA(KeyButton(143), GWLP_WNDPROC));
  EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(KeyButton(0), GWLP_WNDPROC)), SavedKeyButtonProc());
  EXPECT_NE(SavedKeyButtonProc(), nullptr);
  EXPECT_NE(SavedDropDownProc(), nullptr);
}

TEST_F(MainWindowTest, TopRowShowsTheModelsCountsAndTypematic) {
  const struct { HWND label; const char* text; int labelX; HWND dropDown; int dropDownX; int width; } top[] = {
      {TopLabel(0), "Number of Rows", 30, RowsDropDown(), 46, 64},
      {TopLabel(1), "Number of Columns", 186, ColumnsDropDown(), 202, 64},
      {TopLabel(2), "Typematic", 342, TypematicDropDown(), 342, 96},
  };
  for (const auto& t : top) {
    SCOPED_TRACE(t.text);
    EXPECT_EQ(WindowText(t.label), t.text);
    EXPECT_TRUE(IsWindowVisible(t.label));
    EXPECT_TRUE(IsWindowVisible(t.dropDown));
    EXPECT_PLACEMENT(t.label, t.labelX, 8, 96, 16);
    EXPECT_PLACEMENT(t.dropDown, t.dropDownX, 24, t.width, -1);
  }
  for (HWND counts : {RowsDropDown(), ColumnsDropDown()}) {
    ASSERT_EQ(SendMessageA(counts, CB_GETCOUNT, 0, 0), 23);
    for (int i = 0; i < 23; ++i) EXPECT_EQ(ItemText(counts, i), std::to_string(i + 1));
    EXPECT_EQ(Selection(counts), 11);
  }
  ASSERT_EQ(SendMessageA(TypematicDropDown(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(ItemText(TypematicDropDown(), 0), "Disabled");
  EXPECT_EQ(ItemText(TypematicDropDown(), 1), "Enabled");
  EXPECT_EQ(Selection(TypematicDropDown()), 0);
  EXPECT_FALSE(EditorModel().modified);
}

TEST_F(MainWindowTest, PinBoxesListThePinLetters) {
  for (int box = 0; box < kPinCount; ++box) {
    ASSERT_EQ(SendMessageA(PinBox(box), CB_GETCOUNT, 0, 0), 24) << box;
  }
  EXPECT_EQ(ItemText(PinBox(7), 0), "A");
  EXPECT_EQ(ItemText(PinBox(7), 23), "X");
}

TEST_F(MainWindowTest, TypematicChoiceSetsTheModelAndTheFlagOnly) {
  ChooseItem(TypematicDropDown(), 1);
  EXPECT_TRUE(EditorModel().typematic);
  EXPECT_TRUE(EditorModel().modified);
  EXPECT_EQ(EditorModel().rows, 12);
  EXPECT_EQ(EditorModel().columns, 12);
  SetModified(false);
  ChooseItem(TypematicDropDown(), 1);  // the same value again still counts as a change
  EXPECT_TRUE(EditorModel().modified);
}

TEST_F(MainWindowTest, OpeningADropDownMakesIt256HighAndClosingIt24) {
  for (HWND dropDown : {RowsDropDown(), TypematicDropDown(), PinBox(0)}) {
    SendMessageA(dropDown, CB_SHOWDROPDOWN, TRUE, 0);
    PumpUntilIdle();
    const RECT closed = ChildRect(dropDown);
    RECT list = {};
    SendMessageA(dropDown, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    // The window height asked for is the closed field plus its list.
    EXPECT_EQ(closed.bottom - closed.top + list.bottom - list.top, 256);
    SendMessageA(dropDown, CB_SHOWDROPDOWN, FALSE, 0);
    PumpUntilIdle();
    SendMessageA(dropDown, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    EXPECT_EQ(closed.bottom - closed.top + list.bottom - list.top, 24);
  }
}

TEST_F(MainWindowTest, ClickedKeyButtonStoresTheChosenKey) {
  // Grid row 1, grid column 2 at column offset 3: model row 1, column 5.
  SendMessageA(MainWindow(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
  const int button = 1 * VisibleColumnCount() + 2;
  ModalAnswerer answerer(IDC_KEY_BASE + kKeyA);
  SendMessageA(KeyButton(button), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.Finish(), 1);
  EXPECT_EQ(answerer.Seen()[0].title, "Select a key");
  EXPECT_EQ(answerer.Seen()[0].owner, MainWindow());
  EXPECT_EQ(EditorModel().keys[1 * 23 + 5], kKeyA);
  EXPECT_TRUE(EditorModel().modified);
  char text[kKeyTextSize] = "";
  EXPECT_EQ(WindowText(KeyButton(button)), FormatKeyCode(kKeyA, text));
  EXPECT_EQ(GetFocus(), KeyButton(button));
}

TEST_F(MainWindowTest, ChoosingTheSameKeyStillSetsTheFlag) {
  ChangeModel([&](ConfigModel& m) { m.keys[0] = kKeyA; });
  ModalAnswerer answerer(IDC_KEY_BASE + kKeyA);
  SendMessageA(KeyButton(0), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.Finish(), 1);
  EXPECT_EQ(EditorModel().keys[0], kKeyA);
  EXPECT_TRUE(EditorModel().modified);
}

TEST_F(MainWindowTest, CancelledKeyDialogChangesNothingButRefreshesAndRefocuses) {
  SetWindowTextA(KeyButton(7), "stale");
  ModalAnswerer answerer(IDCANCEL);
  SendMessageA(KeyButton(7), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.Finish(), 1);
  EXPECT_EQ(EditorModel().keys[1 * 23 + 1], 0);
  EXPECT_FALSE(EditorModel().modified);
  EXPECT_EQ(WindowText(KeyButton(7)), "Not Used");
  EXPECT_EQ(GetFocus(), KeyButton(7));
}

TEST_F(MainWindowTest, NewAsksAboutChangesThenResetsEverything) {
  ChooseItem(RowsDropDown(), 4);
  ChangeModel([&](ConfigModel& m) { m.keys[0] = kKeyA; });
  RefreshGrid();
  {
    ModalAnswerer answerer(IDCANCEL);
    ClickMenu(IDM_FILE_NEW);
    ASSERT_EQ(answerer.Finish(), 1);
    EXPECT_EQ(answerer.Seen()[0].text,
              "The current configuration has changed.\nDo you want to save the changes?");
    EXPECT_EQ(EditorModel().rows, 5);
    EXPECT_TRUE(EditorModel().modified);
  }
  ModalAnswerer answerer(IDNO);
  ClickMenu(IDM_FILE_NEW);
  ASSERT_EQ(answerer.Finish(), 1);
  EXPECT_FALSE(EditorModel().modified);
  EXPECT_EQ(EditorModel().rows, 12);
  EXPECT_EQ(Selection(RowsDropDown()), 11);
  EXPECT_EQ(VisibleRowCount(), 6);
  EXPECT_EQ(WindowText(KeyButton(0)), "Not Used");
}

TEST_F(MainWindowTest, ExitAndCloseStayWhenTheQuestionIsCancelled) {
  SetModified(true);
  for (bool viaMenu : {true, false}) {
    SCOPED_TRACE(viaMenu ? "Exit" : "close box");
    ModalAnswerer answerer(IDCANCEL);
    if (viaMenu) {
      ClickMenu(IDM_FILE_EXIT);
    } else {
      PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
    }
    ASSERT_EQ(answerer.Finish(), 1);
    PumpUntilIdle();
    EXPECT_TRUE(IsWindow(MainWindow()));
    EXPECT_TRUE(EditorModel().modified);
  }
}

TEST_F(MainWindowTest, AboutOpensTheAboutBox) {
  ModalAnswerer answerer(IDOK);
  ClickMenu(IDM_HELP_ABOUT);
  ASSERT_EQ(answerer.Finish(), 1);
  EXPECT_EQ(answerer.Seen()[0].title, "About RQ57Load");
  EXPECT_EQ(answerer.Seen()[0].owner, MainWindow());
}

TEST_F(MainWindowTest, ShortcutsAndMenuItemsRunTheirCommands) {
  const struct { WORD key; int id; bool modified; const char* title; const char* text; } commands[] = {
      {'N', IDM_FILE_NEW, true, "RQ57 Configuration Utility",
       "The current configuration has changed.\nDo you want to save the changes?"},
      {'S', IDM_FILE_SAVE, false, "Save File", nullptr},
      {'O', IDM_FILE_OPEN, false, "Open File", nullptr},
  };
  for (const auto& command : commands) {
    for (bool viaShortcut : {true, false}) {
      SCOPED_TRACE(std::string(command.title) + (viaShortcut ? " by shortcut" : " by menu"));
      SetModified(command.modified);
      ModalAnswerer answerer(IDCANCEL);
      if (viaShortcut) {
        PressKey(MainWindow(), command.key, kCtrl);
      } else {
        ClickMenu(command.id);
      }
      ASSERT_EQ(answerer.Finish(), 1);
      EXPECT_EQ(answerer.Seen()[0].title, command.title);
      if (command.text != nullptr) {
        EXPECT_EQ(answerer.Seen()[0].text, command.text);
      }
      EXPECT_EQ(EditorModel().modified, command.modified);
    }
  }
}

TEST_F(MainWindowTest, TabOnTheMainWindowGoesToTheRowsDropDownOtherKeysDoNothing) {
  PressKey(MainWindow(), VK_DOWN);
  EXPECT_EQ(GetFocus(), MainWindow());
  PressKey(MainWindow(), VK_TAB);
  EXPECT_EQ(GetFocus(), RowsDropDown());
}

TEST_F(MainWindowTest, ClickOnTheBackgroundFocusesTheMainWindow) {
  FocusControl(KeyButton(3));
  SendMessageA(MainWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(GetFocus(), MainWindow());
}

// While a transfer runs (its progress window exists) nothing may start, edit the
// grid or close the window.
TEST_F(MainWindowTest, NothingStartsWhileATransferRuns) {
  SetModified(true);
  ChangeModel([&](ConfigModel& m) { m.keys[0] = kKeyA; });
  ModalAnswerer unexpected({DialogAnswer{IDCANCEL}, DialogAnswer{IDCANCEL}}, kNoWindowMs);
  OpenProgressWindow();
  ASSERT_NE(ProgressWindow(), nullptr);

  SendMessageA(KeyButton(0), BM_CLICK, 0, 0);
  for (int id : {IDM_FILE_NEW, IDM_FILE_OPEN, IDM_FILE_SAVE, IDM_FILE_EXIT, IDM_HELP_ABOUT}) {
    ClickMenu(id);
  }
  PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
  PumpUntilIdle();
  ChooseItem(RowsDropDown(), 22);
  ChooseItem(TypematicDropDown(), 1);
  ChooseItem(PinBox(0), 7);

  EXPECT_EQ(unexpected.Finish(kNoWindowMs * 2), 0);
  EXPECT_TRUE(IsWindow(MainWindow()));
  EXPECT_EQ(EditorModel().keys[0], kKeyA);
  EXPECT_EQ(EditorModel().rows, 12);
  EXPECT_EQ(EditorModel().columns, 12);
  EXPECT_FALSE(EditorModel().typematic);
  EXPECT_EQ(EditorModel().columnPins[0], 0);
  // The refused choices are undone on screen too.
  EXPECT_EQ(Selection(RowsDropDown()), 11);
  EXPECT_EQ(Selection(ColumnsDropDown()), 11);
  EXPECT_EQ(Selection(TypematicDropDown()), 0);
  EXPECT_EQ(Selection(PinBox(0)), 0);

  CloseProgressWindow();
  ChooseItem(TypematicDropDown(), 1);
  EXPECT_TRUE(EditorModel().typematic);
}

}  // namespace
