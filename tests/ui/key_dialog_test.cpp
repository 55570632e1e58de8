// The "Select a key" dialog: its template read back from real controls, its start
// state, the modifier rule and its results, driven by real keystrokes and clicks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "model/key_code.h"
#include "ui/key_dialog.h"
#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

// ---- The template -------------------------------------------------------------

struct ExpectedControl {
  const char* caption;
  int id;
  int x, y, width, height;
};

// Key buttons row by row as the keyboard is drawn, then the modifier boxes.
std::vector<ExpectedControl> ExpectedControls() {
  struct Key {
    const char* caption;
    int number;
    int x;
    int width = 24;
    int height = 24;
  };
  struct Row {
    int y;
    std::vector<Key> keys;
  };
  const Row rows[] = {
      {0, {{"Esc", 110, 0}, {"F1", 112, 48}, {"F2", 113, 72}, {"F3", 114, 96}, {"F4", 115, 120},
           {"F5", 116, 156}, {"F6", 117, 180}, {"F7", 118, 204}, {"F8", 119, 228},
           {"F9", 120, 264}, {"F10", 121, 288}, {"F11", 122, 312}, {"F12", 123, 336},
           {"PrtSc", 124, 372}, {"ScrLk", 125, 396}, {"Pause", 126, 420},
           {"Not Used", 0, 456, 96}}},
      {30, {{"` ~", 1, 0}, {"1 !", 2, 24}, {"2 @", 3, 48}, {"3 #", 4, 72}, {"4 $", 5, 96},
            {"5 %", 6, 120}, {"6 ^", 7, 144}, {"7 &&", 8, 168}, {"8 *", 9, 192},
            {"9 (", 10, 216}, {"0 )", 11, 240}, {"- _", 12, 264}, {"= +", 13, 288},
            {"Backspace", 15, 312, 48}, {"Ins", 75, 372}, {"Home", 80, 396},
            {"PgUp", 85, 420}, {"Num", 90, 456}, {"/", 95, 480}, {"*", 100, 504},
            {"-", 105, 528}}},
      {54, {{"Tab", 16, 0, 36}, {"Q", 17, 36}, {"W", 18, 60}, {"E", 19, 84}, {"R", 20, 108},
            {"T", 21, 132}, {"Y", 22, 156}, {"U", 23, 180}, {"I", 24, 204}, {"O", 25, 228},
            {"P", 26, 252}, {"[ {", 27, 276}, {"] }", 28, 300}, {"\\ |", 29, 324, 36},
            {"Del", 76, 372}, {"End", 81, 396}, {"PgDn", 86, 420}, {"7", 91, 456},
            {"8", 96, 480}, {"9", 101, 504}, {"+", 106, 528, 24, 48}}},
      {78, {{"Caps Lock", 30, 0, 44}, {"A", 31, 44}, {"S", 32, 68}, {"D", 33, 92},
            {"F", 34, 116}, {"G", 35, 140}, {"H", 36, 164}, {"J", 37, 188}, {"K", 38, 212},
            {"L", 39, 236}, {"; :", 40, 260}, {"' ''", 41, 284}, {"Enter", 43, 308, 52},
            {"4", 92, 456}, {"5", 97, 480}, {"6", 102, 504}}},
      {102, {{"Shift", 44, 0, 52}, {"Z", 46, 52}, {"X", 47, 76}, {"C", 48, 100},
             {"V", 49, 124}, {"B", 50, 148}, {"N", 51, 172}, {"M", 52, 196}, {", <", 53, 220},
             {". >", 54, 244}, {"/ ?", 55, 268}, {"Shift", 57, 292, 68}, {"Up", 83, 396},
             {"1", 93, 456}, {"2", 98, 480}, {"3", 103, 504}, {"Ent", 108, 528, 24, 48}}},
      {126, {{"Ctrl", 58, 0, 32}, {"Win", 70, 32, 32}, {"Alt", 60, 64, 32},
             {"Space", 61, 96, 136}, {"Alt", 62, 232, 32}, {"Win", 71, 264, 32},
             {"Apl", 72, 296, 32}, {"Ctrl", 64, 328, 32}, {"Left", 79, 372},
             {"Down", 84, 396}, {"Right", 89, 420}, {"0", 99, 456, 48}, {".", 104, 504}}},
  };
  std::vector<ExpectedControl> controls;
  for (const Row& row : rows) {
    for (const Key& key : row.keys) {
      controls.push_back({key.caption, IDC_KEY_BASE + key.number, key.x, row.y, key.width,
                          key.height});
    }
  }
  controls.push_back({"Alt", IDC_MOD_ALT, 8, 150, 96, 12});
  controls.push_back({"Shift", IDC_MOD_SHIFT, 8, 162, 96, 12});
  controls.push_back({"Ctrl", IDC_MOD_CTRL, 8, 174, 96, 12});
  return controls;
}

constexpr size_t kTemplateHeaderSize = 18;

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The template's header as stored: style, extended style, count, place and font.
TEST(KeyDialogTemplate, HeaderHasTitleStyleSizeAndFont) {
  HRSRC found = FindResourceA(AppInstance(), MAKEINTRESOURCEA(IDD_SELECT_KEY), RT_DIALOG);
  ASSERT_NE(found, nullptr);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(AppInstance(), found)));
  ASSERT_NE(data, nullptr);
  DLGTEMPLATE header;
  memcpy(&header, data, sizeof header);
  EXPECT_EQ(header.style, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(header.dwExtendedStyle, 0u);
  EXPECT_EQ(header.cdit, 108);
  EXPECT_EQ(header.x, 20);
  EXPECT_EQ(header.y, 20);
  EXPECT_EQ(header.cx, 552);
  EXPECT_EQ(header.cy, 190);

  // After the 18-byte fixed header: menu, class and title, then the font's size and face.
  const auto* words = reinterpret_cast<const WCHAR*>(data + kTemplateHeaderSize);
  ASSERT_EQ(words[0], 0) << "no menu";
  ASSERT_EQ(words[1], 0) << "no class";
  words += 2;
  EXPECT_EQ(std::wstring(words), L"Select a key");
  words += wcslen(words) + 1;
  EXPECT_EQ(words[0], 8) << "point size";
  EXPECT_EQ(std::wstring(words + 1), L"Arial");
}

// Every control read back from a real dialog, in creation (= Tab) order.
TEST(KeyDialogTemplate, ControlsMatchTheKeyboardLayout) {
  HWND dialog = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_SELECT_KEY), MainWindow(),
                                   InertDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Select a key");
  const std::vector<ExpectedControl> expected = ExpectedControls();
  ASSERT_EQ(expected.size(), 108u);

  RECT client = {};
  GetClientRect(dialog, &client);
  const DialogPlace whole = DialogUnitsToPixels(dialog, 0, 0, 552, 190);
  EXPECT_EQ(client.right, whole.width);
  EXPECT_EQ(client.bottom, whole.height);

  HWND child = GetWindow(dialog, GW_CHILD);
  for (size_t i = 0; i < expected.size(); ++i, child = GetWindow(child, GW_HWNDNEXT)) {
    const ExpectedControl& want = expected[i];
    SCOPED_TRACE(std::string("control ") + std::to_string(i) + " \"" + want.caption + "\"");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), want.id);
    EXPECT_EQ(GetDlgItem(dialog, want.id), child);
    EXPECT_EQ(WindowText(child), want.caption);
    char kind[32] = "";
    GetClassNameA(child, kind, sizeof kind);
    EXPECT_STRCASEEQ(kind, "Button");
    const bool isBox = i >= 105;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    EXPECT_EQ(style, LONG(WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                          (isBox ? BS_AUTOCHECKBOX : BS_PUSHBUTTON)));
    EXPECT_DIALOG_PLACEMENT(child, want.x, want.y, want.width, want.height);
  }
  EXPECT_EQ(child, nullptr) << "no further controls";

  // The key buttons are exactly the named key numbers, plus "Not Used".
  for (int number = 1; number <= IDC_KEY_LAST - IDC_KEY_BASE; ++number) {
    EXPECT_EQ(GetDlgItem(dialog, IDC_KEY_BASE + number) != nullptr, KeyName(number) != nullptr)
        << "key number " << number;
  }
  DestroyWindow(dialog);
}

// ---- Behaviour ---------------------------------------------------------------

constexpr int kAltBox = 1, kShiftBox = 2, kCtrlBox = 4;
const struct { int flag, id; } kBoxes[] = {
    {kAltBox, IDC_MOD_ALT}, {kShiftBox, IDC_MOD_SHIFT}, {kCtrlBox, IDC_MOD_CTRL}};

// Checked and disabled boxes as flag sets.
int CheckedBoxes(HWND dialog) {
  int flags = 0;
  for (const auto& box : kBoxes) {
    if (IsDlgButtonChecked(dialog, box.id) == BST_CHECKED) flags |= box.flag;
  }
  return flags;
}
int DisabledBoxes(HWND dialog) {
  int flags = 0;
  for (const auto& box : kBoxes) {
    if (!IsWindowEnabled(GetDlgItem(dialog, box.id))) flags |= box.flag;
  }
  return flags;
}

struct DialogRun {
  bool finished = false;
  int result = 0;
};

// Opens the dialog for a key code and runs the steps inside its modal loop.
DialogRun RunKeyDialogScript(KeyCode code, std::vector<ModalStep> steps) {
  DialogRun run;
  run.finished = RunModalScript([&] { run.result = RunKeyDialog(MainWindow(), code); },
                                std::move(steps));
  return run;
}

struct StartCase {
  KeyCode code;
  int checked;
  int disabled;
  int focusId;
};

TEST(KeyDialog, OpensWithBoxesFromTheBitsAndTheFocusOnTheKey) {
  const StartCase cases[] = {
      {0x0000, 0, 0, IDC_KEY_BASE},
      {0x001F, 0, 0, IDC_KEY_BASE + 31},
      {0x0111, kCtrlBox, 0, IDC_KEY_BASE + 17},
      {0x0200 | 110, kShiftBox, 0, IDC_KEY_BASE + 110},  // first tab item: wraps from the end
      {0x0400 | 126, kAltBox, 0, IDC_KEY_BASE + 126},
      {0x061F, kAltBox | kShiftBox, kCtrlBox, IDC_KEY_BASE + 31},
      {0x0600 | 110, kAltBox | kShiftBox, kCtrlBox, IDC_KEY_BASE + 110},
      {0x0500 | 61, kAltBox | kCtrlBox, kShiftBox, IDC_KEY_BASE + 61},
      {0x0300 | 104, kShiftBox | kCtrlBox, kAltBox, IDC_KEY_BASE + 104},
      {0x071F, kAltBox | kShiftBox | kCtrlBox, kCtrlBox, IDC_KEY_BASE + 31},
      {0x0600, kAltBox | kShiftBox, kCtrlBox, IDC_KEY_BASE},
      {0x8011, 0, 0, IDC_KEY_BASE + 17},  // bits 11-15 play no part
      // Key numbers without a button land on "Not Used", as key number 0 does.
      {14, 0, 0, IDC_KEY_BASE},
      {42, 0, 0, IDC_KEY_BASE},
      {0x0200 | 45, kShiftBox, 0, IDC_KEY_BASE},
      {127, 0, 0, IDC_KEY_BASE},
      {0x05FF, kAltBox | kCtrlBox, kShiftBox, IDC_KEY_BASE},
      // 200 to 202 would be the ids of the modifier boxes.
      {200, 0, 0, IDC_KEY_BASE},
      {0x0200 | 202, kShiftBox, 0, IDC_KEY_BASE},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "key code 0x" << std::hex << c.code);
    const DialogRun run = RunKeyDialogScript(
        c.code, {[&](HWND dialog) {
                   EXPECT_EQ(CheckedBoxes(dialog), c.checked);
                   EXPECT_EQ(DisabledBoxes(dialog), c.disabled);
                   EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.focusId);
                   for (int id = IDC_KEY_BASE; id <= IDC_MOD_CTRL; ++id) {
                     HWND control = GetDlgItem(dialog, id);
                     if (id >= IDC_MOD_ALT || control == nullptr) continue;
                     EXPECT_TRUE(IsWindowEnabled(control)) << id;
                   }
                 },
                 PressKeyStep(VK_ESCAPE)});
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.result, -1);
  }
}

// Enter right after opening clicks the focused button: the current key with the
// modifiers the boxes show.
TEST(KeyDialog, EnterRightAfterOpeningReturnsTheCurrentKey) {
  const struct { KeyCode code; int result; } cases[] = {
      {0x0000, 0x0000}, {0x001F, 0x001F}, {0x0211, 0x0211}, {0x071F, 0x071F},
      {0x0500 | 110, 0x0500 | 110}, {0x8011, 0x0011}, {0x0300 | 42, 0x0000}, {0x0400 | 200, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "key code 0x" << std::hex << c.code);
    const DialogRun run = RunKeyDialogScript(c.code, {PressKeyStep(VK_RETURN)});
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.result, c.result);
  }
}

// Clicks on the boxes one after the other: what is checked and disabled after each.
TEST(KeyDialog, ModifierRuleKeepsAtMostTwoModifiers) {
  struct Click {
    int box;
    int checked;
    int disabled;
  };
  const struct {
    const char* name;
    KeyCode start;
    std::vector<Click> clicks;
  } sequences[] = {
      {"Alt then Ctrl, Ctrl off again", 0x001F,
       {{IDC_MOD_ALT, kAltBox, 0}, {IDC_MOD_CTRL, kAltBox | kCtrlBox, kShiftBox},
        {IDC_MOD_CTRL, kAltBox, 0}}},
      {"Shift then Alt, Alt off", 0,
       {{IDC_MOD_SHIFT, kShiftBox, 0}, {IDC_MOD_ALT, kAltBox | kShiftBox, kCtrlBox},
        {IDC_MOD_ALT, kShiftBox, 0}}},
      {"Ctrl then Shift, Shift off", 0,
       {{IDC_MOD_CTRL, kCtrlBox, 0}, {IDC_MOD_SHIFT, kShiftBox | kCtrlBox, kAltBox},
        {IDC_MOD_SHIFT, kCtrlBox, 0}}},
      {"Alt and Shift open, Shift off", 0x061F, {{IDC_MOD_SHIFT, kAltBox, 0}}},
      {"all three open, Alt off keeps Ctrl disabled", 0x071F,
       {{IDC_MOD_ALT, kShiftBox | kCtrlBox, kAltBox | kCtrlBox},
        {IDC_MOD_SHIFT, kCtrlBox, 0}}},
  };
  for (const auto& sequence : sequences) {
    SCOPED_TRACE(sequence.name);
    std::vector<ModalStep> steps;
    for (size_t i = 0; i < sequence.clicks.size(); ++i) {
      const Click click = sequence.clicks[i];
      steps.push_back(ClickStep(click.box));
      steps.push_back([click, i](HWND dialog) {
        SCOPED_TRACE(testing::Message() << "after click " << i + 1);
        EXPECT_EQ(CheckedBoxes(dialog), click.checked);
        EXPECT_EQ(DisabledBoxes(dialog), click.disabled);
      });
    }
    steps.push_back(PressKeyStep(VK_ESCAPE));
    const DialogRun run = RunKeyDialogScript(sequence.start, steps);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.result, -1);
  }
}

// Ends with a click on a key or "Not Used" after setting the boxes with clicks.
TEST(KeyDialog, ChosenKeyCarriesTheCheckedModifiers) {
  const struct {
    const char* name;
    KeyCode start;
    std::vector<int> boxClicks;
    int button;
    int result;
  } cases[] = {
      {"plain key", 0, {}, IDC_KEY_BASE + 31, 0x001F},
      {"only Ctrl", 0, {IDC_MOD_CTRL}, IDC_KEY_BASE + 31, 0x011F},
      {"Alt and Shift", 0, {IDC_MOD_ALT, IDC_MOD_SHIFT}, IDC_KEY_BASE + 124, 0x067C},
      {"Shift and Ctrl", 0x0011, {IDC_MOD_SHIFT, IDC_MOD_CTRL}, IDC_KEY_BASE + 126, 0x037E},
      {"boxes from the cell, disabled box counts", 0x071F, {}, IDC_KEY_BASE + 17, 0x0711},
      {"box unchecked again", 0x0411, {IDC_MOD_ALT}, IDC_KEY_BASE + 17, 0x0011},
      {"Not Used ignores the boxes", 0x031F, {IDC_MOD_ALT}, IDC_KEY_BASE, 0},
      {"Not Used with nothing checked", 0x001F, {}, IDC_KEY_BASE, 0},
      {"ampersand key", 0, {}, IDC_KEY_BASE + 8, 8},
      {"apostrophe key", 0, {IDC_MOD_SHIFT}, IDC_KEY_BASE + 41, 0x0229},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<ModalStep> steps;
    for (int box : c.boxClicks) steps.push_back(ClickStep(box));
    steps.push_back(ClickStep(c.button));
    const DialogRun run = RunKeyDialogScript(c.start, steps);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.result, c.result);
  }
}

// Esc, the close box and any command that is not a plain click cancel.
TEST(KeyDialog, OtherCommandsCancel) {
  const struct {
    const char* name;
    ModalStep step;
  } cases[] = {
      {"Esc", PressKeyStep(VK_ESCAPE)},
      {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"IDOK", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); }},
      {"double click notification",
       [](HWND dialog) {
         PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_KEY_BASE + 31, BN_DOUBLECLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_KEY_BASE + 31)));
       }},
      {"id past the keys", [](HWND dialog) {
         PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_KEY_LAST + 1, BN_CLICKED), 0);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DialogRun run = RunKeyDialogScript(0x021F, {c.step});
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.result, -1);
  }
}

TEST(KeyDialog, ProcedureReturnsTrueForEveryCommandOnly) {
  HWND dialog = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_SELECT_KEY), MainWindow(),
                                   InertDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  // A modifier click keeps the dialog open and is handled; other messages are not.
  EXPECT_EQ(KeyDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_MOD_ALT, BN_CLICKED), 0), TRUE);
  EXPECT_EQ(KeyDialogProc(dialog, WM_PAINT, 0, 0), FALSE);
  EXPECT_EQ(KeyDialogProc(dialog, WM_KEYDOWN, VK_TAB, 0), FALSE);
  DestroyWindow(dialog);
}

}  // namespace
