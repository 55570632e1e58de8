#include "ui/navigation.h"

#include "ui/app_core.h"
#include "ui/cell_menu.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/rules/navigation_rules.h"

namespace {

constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);

GridView CurrentView() {
  GridView view;
  view.visibleColumns = VisibleColumnCount();
  view.visibleRows = VisibleRowCount();
  view.columnOffset = ColumnOffset();
  view.rowOffset = RowOffset();
  view.columnCount = EditorModel().columns;
  view.rowCount = EditorModel().rows;
  return view;
}

// Shift matters only with Tab; Ctrl and Alt are not looked at.
NavKey ToNavKey(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB:
      return (GetKeyState(VK_SHIFT) & kKeyDownBit) ? NavKey::ShiftTab : NavKey::Tab;
    case VK_RETURN:
      return NavKey::Enter;
    case VK_LEFT:
      return NavKey::Left;
    case VK_UP:
      return NavKey::Up;
    case VK_RIGHT:
      return NavKey::Right;
    case VK_DOWN:
      return NavKey::Down;
    default:
      return NavKey::Other;
  }
}

int FindVisibleKeyButton(HWND window, const GridView& view) {
  const int visible = view.visibleColumns * view.visibleRows;
  for (int i = 0; i < visible; ++i) {
    if (KeyButton(i) == window) return i;
  }
  return -1;
}

int FindDropDown(HWND window) {
  for (int p = 0; p < kDropDownCount; ++p) {
    if (DropDownAt(p) == window) return p;
  }
  return -1;
}

void Apply(HWND window, const NavAction& action) {
  switch (action.kind) {
    case NavActionKind::FocusKeyButton:
      if (HWND target = KeyButton(action.target)) SetFocus(target);
      break;
    case NavActionKind::FocusDropDown:
      if (HWND target = DropDownAt(action.target)) SetFocus(target);
      break;
    case NavActionKind::Click:
      SendMessageA(window, BM_CLICK, 0, 0);
      break;
    case NavActionKind::ScrollColumns:
      SlideGrid(true, action.target);
      break;
    case NavActionKind::ScrollRows:
      SlideGrid(false, action.target);
      break;
    case NavActionKind::None:
      break;
  }
}

void OnKeyButtonKey(HWND window, WPARAM virtualKey) {
  const NavKey key = ToNavKey(virtualKey);
  if (key == NavKey::Other) return;
  const GridView view = CurrentView();
  Apply(window, KeyButtonNavigation(view, FindVisibleKeyButton(window, view), key));
}

void OnDropDownKey(HWND window, WPARAM virtualKey) {
  if (virtualKey != VK_TAB) return;
  Apply(window, DropDownNavigation(CurrentView(), FindDropDown(window), ToNavKey(virtualKey)));
}

}  // namespace

// Both procedures act on a few keys and then hand every message on unchanged, so
// the control's own handling still sees the keys they acted on; only the wheel
// over a closed drop-down goes to the main window instead, and a key button's
// context menu is its own.
LRESULT CALLBACK KeyButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      OnKeyButtonKey(window, wParam);
      break;
    case WM_SYSKEYDOWN:
      // Shift+F10 opens the context menu here; the system would then also take
      // F10's release as a press of the menu bar.
      if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & kKeyDownBit)) {
        OpenCellMenu(window, MAKELPARAM(-1, -1));
        return 0;
      }
      break;
    case WM_CONTEXTMENU:  // a right click, or the context-menu key
      OpenCellMenu(window, lParam);
      return 0;
    default:
      break;
  }
  return CallWindowProcA(SavedKeyButtonProc(), window, message, wParam, lParam);
}

LRESULT CALLBACK DropDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      OnDropDownKey(window, wParam);
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      // A closed drop-down would change its selection (a pin, by accident): the
      // wheel scrolls the grid instead. An open list scrolls itself.
      if (!SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0)) {
        return SendMessageA(MainWindow(), message, wParam, lParam);
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(SavedDropDownProc(), window, message, wParam, lParam);
}
