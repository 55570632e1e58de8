#include "ui/assign_keys.h"

#include <cstdio>
#include <string>

#include "ui/app_core.h"
#include "ui/cell_view.h"
#include "ui/edit_commands.h"
#include "ui/grid.h"
#include "ui/key_capture.h"
#include "ui/list_window.h"
#include "ui/resources/resource.h"
#include "ui/rules/assign_keys_rules.h"
#include "ui/rules/key_tester_rules.h"

namespace {

constexpr int kUnknownKeyTextSize = 32;
// Posted to the window when the configuration changed.
constexpr UINT WM_SHOW_NEXT_CELL = WM_APP + 1;

struct AssignKeysState {
  HWND window = nullptr;
  ComboTracker tracker;
  AssignPosition at;
  HWND pushed = nullptr;      // the key button shown pushed for the next cell
  bool showPosted = false;
} assign;

void ReleasePushedButton() {
  if (assign.pushed != nullptr) SendMessageA(assign.pushed, BM_SETSTATE, FALSE, 0);
  assign.pushed = nullptr;
}

// Says what comes next and shows that cell pushed, scrolled into view while this
// window is active (else the user works elsewhere in the grid).
void ShowNextCell() {
  ReleasePushedButton();
  SetDlgItemTextA(assign.window, IDC_ASSIGN_NEXT, PositionText(EditorModel(), assign.at).c_str());
  if (assign.at.done) return;
  if (GetActiveWindow() == assign.window) ScrollCellIntoView(assign.at.cell.row, assign.at.cell.column);
  assign.pushed = KeyButtonShowing(assign.at.cell.row, assign.at.cell.column);
  if (assign.pushed != nullptr) SendMessageA(assign.pushed, BM_SETSTATE, TRUE, 0);
}

void AddLine(const std::string& text) {
  AppendListLine(GetDlgItem(assign.window, IDC_ASSIGN_LIST), text, kAssignKeysMaxLines);
}

void MoveTo(const AssignPosition& at) {
  assign.at = at;
  ShowNextCell();
}

// The next cell gets the code, as one undo step; then the cell after it comes up.
void AssignNextCell(KeyCode code) {
  const CellRef cell = assign.at.cell;
  Editor().SetKey(cell.row, cell.column, code);
  RefreshGrid();
  AddLine(AssignedLine(cell, code));
  MoveTo(NextCell(EditorModel(), assign.at));
}

void OnKeyEvent(const Keystroke& stroke, bool down) {
  KeyCode combo = 0;
  if (!TrackKeyEvent(assign.tracker, KeyNumberFromKeystroke(stroke), down, combo)) return;
  const TypedVerdict verdict = JudgeTyped(assign.at, combo);
  if (verdict == TypedVerdict::kAssign) {
    AssignNextCell(combo);
    return;
  }
  char unknown[kUnknownKeyTextSize] = "";
  std::snprintf(unknown, sizeof unknown, "(virtual key 0x%02X)", stroke.virtualKey & 0xFF);
  AddLine(RefusedLine(verdict, assign.at, combo, unknown));
}

// Activated: a cell that the user focused in the grid meanwhile is the next one.
// The focus is still the main window's until this window's activation ends.
void OnActivated(HWND dialog) {
  ModelCell focused = {};
  if (FocusedKeyCell(focused)) assign.at = {{focused.row, focused.column}, false};
  assign.tracker = ComboTracker{};
  CaptureKeyboard(dialog, OnKeyEvent);
  ShowNextCell();
}

void OnActivate(HWND dialog, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    ReleaseKeyboard(OnKeyEvent);
  } else {
    OnActivated(dialog);
  }
}

// Close, Esc and the close box end the window (the dialog manager turns both into
// IDCANCEL); the other buttons wait while a transfer runs.
void OnButton(int id) {
  if (id == IDCANCEL) {
    DestroyWindow(assign.window);
    return;
  }
  if (TransferRunning()) return;
  switch (id) {
    case IDC_ASSIGN_SKIP: MoveTo(NextCell(EditorModel(), assign.at)); break;
    case IDC_ASSIGN_BACK: MoveTo(PreviousCell(EditorModel(), assign.at)); break;
    case IDC_ASSIGN_NOT_USED:
      if (!assign.at.done) AssignNextCell(kKeyNotUsed);
      break;
    default: break;
  }
}

// The place is kept: opened again, the window goes on from it.
void OnDestroy() {
  ReleaseKeyboard(OnKeyEvent);
  ReleasePushedButton();
  const AssignPosition at = assign.at;
  assign = AssignKeysState{};
  assign.at = at;
}

// The next cell is shown once the command that changed the configuration has
// updated the grid.
void PostShowNextCell() {
  if (assign.window == nullptr || assign.showPosted) return;
  assign.showPosted = PostMessageA(assign.window, WM_SHOW_NEXT_CELL, 0, 0) != FALSE;
}

INT_PTR CALLBACK AssignKeysProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      PlaceBesideMainWindow(dialog);
      return FALSE;  // no focus yet: it would activate the window before it is shown
    case WM_ACTIVATE:
      OnActivate(dialog, wParam);
      return FALSE;
    case kCapturedKeyMessage:
      DeliverCapturedKey(dialog, wParam, lParam);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnButton(LOWORD(wParam));
      return TRUE;
    case WM_SHOW_NEXT_CELL:
      assign.showPosted = false;
      ShowNextCell();
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

// Opened again, the window goes on where it stood, unless a cell has the focus.
void OpenAssignKeys() {
  if (assign.window == nullptr) {
    ModelCell focused = {};
    const bool onCell = FocusedKeyCell(focused);
    assign.window = CreateToolWindow(IDD_ASSIGN_KEYS, AssignKeysProc);
    if (assign.window == nullptr) return;
    if (onCell) assign.at = {{focused.row, focused.column}, false};
  }
  BringForward(assign.window);
}


void AssignKeysConfigChanged(bool replaced) {
  assign.at = replaced ? AssignPosition{} : KeepInsideCounts(EditorModel(), assign.at);
  PostShowNextCell();
}

void AssignKeysUndone(const EditStep* step) {
  if (step == nullptr || step->kind != EditKind::kKey || !assign.at.done) return;
  assign.at = KeepInsideCounts(EditorModel(), {{step->row, step->column}, false});
  PostShowNextCell();
}
