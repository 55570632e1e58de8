#include "ui/list_window.h"

#include "ui/app_core.h"
#include "ui/resources/resource.h"

namespace {

constexpr int kKindCount = 2;
constexpr int kTextMargin = 8;      // pixels right of the longest line
constexpr int kNotHandled = -1;     // WM_VKEYTOITEM: the list box acts on the key
constexpr int kHandled = -2;        // WM_VKEYTOITEM: the key was handled here

struct ListWindowState {
  HWND window = nullptr;
  ListLineAction action = nullptr;
} windows[kKindCount];

int KindIndex(ListWindowKind kind) { return kind == ListWindowKind::kCompare ? 0 : 1; }

ListWindowState* StateOf(HWND dialog) {
  for (ListWindowState& state : windows) {
    if (state.window == dialog) return &state;
  }
  return nullptr;
}

void FillList(HWND dialog, const std::vector<std::string>& lines, int selected) {
  HWND list = GetDlgItem(dialog, IDC_LIST_LINES);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  SendMessageA(list, LB_SETHORIZONTALEXTENT, 0, 0);
  for (const std::string& line : lines) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    WidenListForLine(list, line);
  }
  const int last = static_cast<int>(lines.size()) - 1;
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected < last ? selected : last), 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void RunLineAction(HWND dialog, int line) {
  ListWindowState* state = StateOf(dialog);
  if (state == nullptr || state->action == nullptr || line < 0) return;
  state->action(line);
}

int CurrentLine(HWND dialog) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_LIST_LINES), LB_GETCURSEL, 0, 0));
}

INT_PTR OnVirtualKey(HWND dialog, WPARAM wParam) {
  if (LOWORD(wParam) != VK_RETURN) return kNotHandled;
  RunLineAction(dialog, HIWORD(wParam));
  return kHandled;
}

void OnDestroy(HWND dialog) {
  if (ListWindowState* state = StateOf(dialog)) *state = ListWindowState{};
}

INT_PTR CALLBACK ListWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      PlaceBesideMainWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_LIST_LINES && HIWORD(wParam) == LBN_DBLCLK) {
        RunLineAction(dialog, CurrentLine(dialog));
      }
      return TRUE;
    case WM_VKEYTOITEM:
      return OnVirtualKey(dialog, wParam);
    case WM_CHARTOITEM:
      return kNotHandled;  // not 0, which would move the selection to the first line
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND ShowListWindow(ListWindowKind kind, const char* title, const std::vector<std::string>& lines,
                    ListLineAction action) {
  ListWindowState& state = windows[KindIndex(kind)];
  if (state.window == nullptr) {
    state.window = CreateToolWindow(IDD_LIST_WINDOW, ListWindowProc);
    if (state.window == nullptr) return nullptr;
  }
  state.action = action;
  SetWindowTextA(state.window, title);
  FillList(state.window, lines, 0);
  BringForward(state.window);
  SetFocus(GetDlgItem(state.window, IDC_LIST_LINES));
  return state.window;
}

void RefillListWindow(ListWindowKind kind, const std::vector<std::string>& lines) {
  HWND window = windows[KindIndex(kind)].window;
  if (window == nullptr) return;
  const int selected = CurrentLine(window);
  FillList(window, lines, selected < 0 ? 0 : selected);
}

bool ListWindowOpen(ListWindowKind kind) { return windows[KindIndex(kind)].window != nullptr; }

void AppendListLine(HWND list, const std::string& text, int maxLines) {
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) >= maxLines) SendMessageA(list, LB_DELETESTRING, 0, 0);
  const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  WidenListForLine(list, text);
  if (index >= 0) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Painted at once, not when the queue next runs dry: a line is due within a frame.
  UpdateWindow(list);
}

void WidenListForLine(HWND list, const std::string& line) {
  HDC dc = GetDC(list);
  if (dc == nullptr) return;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
  SIZE size = {};
  const bool measured = GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size) != FALSE;
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  const LRESULT extent = SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0);
  if (measured && size.cx + kTextMargin > extent) {
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(size.cx + kTextMargin), 0);
  }
}

namespace {

// Marks the tool windows among the windows of the editor's thread.
constexpr char kToolWindowProperty[] = "RQ57 tool window";

ATOM ToolWindowAtom() {
  static const ATOM atom = GlobalAddAtomA(kToolWindowProperty);
  return atom;
}

BOOL CALLBACK EnableToolWindow(HWND window, LPARAM enable) {
  if (IsToolWindow(window)) EnableWindow(window, enable != FALSE);
  return TRUE;
}

struct PlaceSearch {
  POINT at;
  bool taken;
};

BOOL CALLBACK FindToolWindowAt(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<PlaceSearch*>(data);
  RECT rect = {};
  if (IsToolWindow(window) && IsWindowVisible(window) && GetWindowRect(window, &rect) &&
      rect.left == search->at.x && rect.top == search->at.y) {
    search->taken = true;
    return FALSE;
  }
  return TRUE;
}

// Whether a tool window of the editor has its top left corner at this point.
bool ToolWindowAt(POINT at) {
  PlaceSearch search = {at, false};
  EnumThreadWindows(GetCurrentThreadId(), FindToolWindowAt, reinterpret_cast<LPARAM>(&search));
  return search.taken;
}

}  // namespace

bool IsToolWindow(HWND window) { return GetPropA(window, MAKEINTATOM(ToolWindowAtom())) != nullptr; }

HWND CreateToolWindow(int dialogId, DLGPROC proc) {
  HWND window = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(dialogId), MainWindow(), proc, 0);
  if (window == nullptr) return nullptr;
  SetPropA(window, MAKEINTATOM(ToolWindowAtom()), reinterpret_cast<HANDLE>(TRUE));
  // Made while a modal window waits (a command posted meanwhile): as disabled as its owner.
  if (!IsWindowEnabled(MainWindow())) EnableWindow(window, FALSE);
  return window;
}

void EnableToolWindows(bool enable) {
  EnumThreadWindows(GetCurrentThreadId(), EnableToolWindow, enable);
}

void BringForward(HWND window) {
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetActiveWindow(window);
}

void PlaceBesideMainWindow(HWND window) {
  RECT main = {};
  RECT own = {};
  RECT work = {};
  if (!GetWindowRect(MainWindow(), &main) || !GetWindowRect(window, &own) ||
      !SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
    return;
  }
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  POINT at = {main.right, main.top};
  if (at.x + width > work.right) at.x = main.left - width;
  if (at.x < work.left) return;
  // Below one already there by the height of a caption, as windows cascade.
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  while (ToolWindowAt(at) && at.y + step + height <= work.bottom) at.y += step;
  SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
