#include "ui/key_tester.h"

#include <cstdio>
#include <string>
#include <vector>

#include "model/keystroke.h"
#include "ui/cell_view.h"
#include "ui/key_tester_rules.h"
#include "ui/list_window.h"
#include "ui/main_window.h"
#include "ui/platform/transfer_mutex.h"
#include "ui/progress.h"
#include "ui/resources/resource.h"

namespace {

static_assert(vk::kCancel == VK_CANCEL && vk::kClear == VK_CLEAR && vk::kSnapshot == VK_SNAPSHOT &&
                  vk::kLeftWin == VK_LWIN && vk::kNumpad0 == VK_NUMPAD0 && vk::kDivide == VK_DIVIDE &&
                  vk::kF1 == VK_F1 && vk::kRightMenu == VK_RMENU && vk::kOem7 == VK_OEM_7,
              "virtual keys of the keystroke table");

constexpr int kUnknownKeyTextSize = 32;

struct KeyTesterState {
  HWND window = nullptr;
  HHOOK hook = nullptr;
  ComboTracker tracker;
  std::vector<HWND> pushed;   // key buttons shown pushed for the last combination
} tester;

void ReleasePushedButtons() {
  for (HWND button : tester.pushed) SendMessageA(button, BM_SETSTATE, FALSE, 0);
  tester.pushed.clear();
}

// Pushes the buttons of the cells, the first one scrolled into view. The grid
// scrolls without the main window being activated.
void PushButtons(const std::vector<CellRef>& cells) {
  ReleasePushedButtons();
  if (cells.empty()) return;
  ScrollCellIntoView(cells.front().row, cells.front().column);
  for (const CellRef& cell : cells) {
    if (HWND button = KeyButtonShowing(cell.row, cell.column)) {
      SendMessageA(button, BM_SETSTATE, TRUE, 0);
      tester.pushed.push_back(button);
    }
  }
}

void AddLine(const std::string& text) {
  HWND list = GetDlgItem(tester.window, IDC_TESTER_LIST);
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) >= kKeyTesterMaxLines) {
    SendMessageA(list, LB_DELETESTRING, 0, 0);
  }
  const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  // Selecting the newest line also scrolls it into view.
  WidenListForLine(list, text);
  if (index >= 0) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Painted at once, not when the queue next runs dry: a line is due within a frame.
  UpdateWindow(list);
}

void OnKeyEvent(const Keystroke& stroke, bool down) {
  KeyCode combo = 0;
  if (!TrackKeyEvent(tester.tracker, KeyNumberFromKeystroke(stroke), down, combo)) return;
  char unknown[kUnknownKeyTextSize] = "";
  std::snprintf(unknown, sizeof unknown, "(virtual key 0x%02X)", stroke.virtualKey & 0xFF);
  const ConfigModel& model = EditorModel();
  const std::vector<CellRef> cells = CellsSending(model, combo);
  AddLine(KeyTesterLine(model, combo, cells, unknown));
  PushButtons(cells);
}

// While the tester listens, every key goes to it alone: no accelerator, menu, system
// key or dialog navigation sees it. A transfer's keystrokes belong to the link,
// this program's or another's.
LRESULT CALLBACK KeyTesterHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION || tester.window == nullptr || ProgressWindow() != nullptr ||
      AnyTransferRunning()) {
    return CallNextHookEx(tester.hook, code, wParam, lParam);
  }
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  const Keystroke stroke = {static_cast<int>(key->vkCode), static_cast<int>(key->scanCode),
                            (key->flags & LLKHF_EXTENDED) != 0};
  OnKeyEvent(stroke, (key->flags & LLKHF_UP) == 0);
  return 1;
}

void StartListening() {
  tester.tracker = ComboTracker{};
  if (tester.hook == nullptr) {
    tester.hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyTesterHookProc, AppInstance(), 0);
  }
}

void StopListening() {
  if (tester.hook != nullptr) UnhookWindowsHookEx(tester.hook);
  tester.hook = nullptr;
}

void OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    StopListening();
  } else {
    StartListening();
  }
}

void OnDestroy() {
  StopListening();
  ReleasePushedButtons();
  tester.window = nullptr;
}

INT_PTR CALLBACK KeyTesterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      PlaceBesideMainWindow(dialog);
      return TRUE;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_TESTER_CLEAR) {
        SendMessageA(GetDlgItem(dialog, IDC_TESTER_LIST), LB_RESETCONTENT, 0, 0);
        SendMessageA(GetDlgItem(dialog, IDC_TESTER_LIST), LB_SETHORIZONTALEXTENT, 0, 0);
      }
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void OpenKeyTester() {
  if (tester.window == nullptr) {
    tester.window = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_KEY_TESTER), MainWindow(),
                                       KeyTesterProc, 0);
    if (tester.window == nullptr) return;
  }
  ShowWindow(tester.window, SW_SHOW);
  SetForegroundWindow(tester.window);
  SetActiveWindow(tester.window);
}

HWND KeyTesterWindow() { return tester.window; }
