#include "ui/key_tester.h"

#include <cstdio>
#include <string>
#include <vector>

#include "model/keystroke.h"
#include "ui/app_core.h"
#include "ui/cell_view.h"
#include "ui/key_capture.h"
#include "ui/list_window.h"
#include "ui/resources/resource.h"
#include "ui/rules/key_tester_rules.h"

namespace {

static_assert(vk::kCancel == VK_CANCEL && vk::kClear == VK_CLEAR && vk::kSnapshot == VK_SNAPSHOT &&
                  vk::kLeftWin == VK_LWIN && vk::kNumpad0 == VK_NUMPAD0 && vk::kDivide == VK_DIVIDE &&
                  vk::kF1 == VK_F1 && vk::kRightMenu == VK_RMENU && vk::kOem7 == VK_OEM_7,
              "virtual keys of the keystroke table");

constexpr int kUnknownKeyTextSize = 32;

struct KeyTesterState {
  HWND window = nullptr;
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
  AppendListLine(GetDlgItem(tester.window, IDC_TESTER_LIST), text, kKeyTesterMaxLines);
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

void StartListening(HWND dialog) {
  tester.tracker = ComboTracker{};
  CaptureKeyboard(dialog, OnKeyEvent);
}

void StopListening() { ReleaseKeyboard(OnKeyEvent); }

// Also sent while the window is being created, before its handle is kept.
void OnActivate(HWND dialog, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    StopListening();
  } else {
    StartListening(dialog);
  }
}

void OnDestroy() {
  StopListening();
  ReleasePushedButtons();
  tester.window = nullptr;
}

INT_PTR CALLBACK KeyTesterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      PlaceBesideMainWindow(dialog);
      return TRUE;
    case WM_ACTIVATE:
      OnActivate(dialog, wParam);
      return FALSE;
    case kCapturedKeyMessage:
      DeliverCapturedKey(dialog, wParam, lParam);
      return TRUE;
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
    tester.window = CreateToolWindow(IDD_KEY_TESTER, KeyTesterProc);
    if (tester.window == nullptr) return;
  }
  BringForward(tester.window);
}
