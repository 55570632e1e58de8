// The main window: start-up of the window and its controls, the command dispatch
// and the control notifications.
#include "ui/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "io/system_text.h"

#include "ui/assign_keys.h"
#include "ui/check_window.h"
#include "ui/compare_window.h"
#include "ui/controls.h"
#include "ui/edit_commands.h"
#include "ui/file_commands.h"
#include "ui/grid.h"
#include "ui/key_dialog.h"
#include "ui/key_tester.h"
#include "ui/list_window.h"
#include "ui/navigation.h"
#include "ui/platform/transfer_platform.h"
#include "ui/progress.h"
#include "ui/resources/resource.h"
#include "ui/rules/grid_geometry.h"
#include "ui/tool_commands.h"
#include "ui/transfer_commands.h"
#include "ui/window_dpi.h"

namespace {

constexpr int kStartCells = 6;   // the first window shows 6 x 6 cells

struct MainWindowState {
  HACCEL accelerators = nullptr;
} state;

void NewCommand() {
  if (!ConfirmDiscard()) return;
  ConfigModel fresh;
  ResetModel(fresh);
  Editor().Replace(fresh);
  ShowWholeConfiguration();
}

// Every change of the configuration reaches the tool windows that follow it.
void OnConfigurationChanged(bool replaced) {
  RefreshCheckWindow();
  RefreshCompareWindow();
  AssignKeysConfigChanged(replaced);
}

void ExitCommand() {
  if (ConfirmDiscard()) DestroyWindow(MainWindow());
}

// Every menu command and what runs it; an id with no entry here is a control's
// notification.
struct MenuCommand {
  int id;
  void (*run)();
};

constexpr MenuCommand kMenuCommands[] = {
    {IDM_FILE_NEW, NewCommand},
    {IDM_FILE_SAVE, [] { SaveConfigFile(); }},
    {IDM_FILE_WRITE, WriteCommand},
    {IDM_FILE_OPEN, OpenConfigFile},
    {IDM_FILE_READ, ReadCommand},
    {IDM_FILE_EXIT, ExitCommand},
    {IDM_HELP_ABOUT, ShowAboutBox},
    {IDM_EDIT_UNDO, [] { AssignKeysUndone(UndoCommand()); }},
    {IDM_EDIT_REDO, RedoCommand},
    {IDM_EDIT_CUT, CutCommand},
    {IDM_EDIT_COPY, CopyCommand},
    {IDM_EDIT_PASTE, PasteCommand},
    {IDM_EDIT_CLEAR, ClearCommand},
    {IDM_TOOLS_KEY_TESTER, OpenKeyTester},
    {IDM_TOOLS_ASSIGN_KEYS, OpenAssignKeys},
    {IDM_TOOLS_BACKUP, BackUpCommand},
    {IDM_TOOLS_COMPARE, CompareCommand},
    {IDM_TOOLS_CHECK, ShowCheckWindow},
    {IDM_TOOLS_CHART, ExportChartCommand},
};

const MenuCommand* FindMenuCommand(int id) {
  for (const MenuCommand& command : kMenuCommands) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

// A key button was clicked: the key selection dialog edits its cell.
void EditKeyButtonCell(int button) {
  if (TransferRunning()) return;
  ModelCell cell = {};
  if (KeyButtonCell(button, VisibleColumnCount(), VisibleRowCount(), ColumnOffset(), RowOffset(),
                    cell)) {
    const KeyCode code = EditorModel().keys[cell.row * kMatrixStride + cell.column];
    const int chosen = RunKeyDialog(MainWindow(), code);
    if (chosen >= 0) Editor().SetKey(cell.row, cell.column, chosen);
  }
  RefreshGrid();
  SetFocus(KeyButton(button));
}

void EditTopDropDown(HWND dropDown) {
  ConfigEditor& editor = Editor();
  if (dropDown == RowsDropDown()) {
    editor.SetRows(SelectedCount(dropDown, editor.Model().rows));
  } else if (dropDown == ColumnsDropDown()) {
    editor.SetColumns(SelectedCount(dropDown, editor.Model().columns));
  } else {
    editor.SetTypematic(SelectedTypematic());
  }
}

void EditPinBox(HWND dropDown) {
  PinTarget target = {};
  const int pinBox = FindPinBox(dropDown, VisibleColumnCount() + VisibleRowCount());
  if (pinBox >= 0 && PinBoxTarget(pinBox, VisibleColumnCount(), VisibleRowCount(),
                                   ColumnOffset(), RowOffset(), target)) {
    Editor().SetPin(target.column, target.index, SelectedIndex(dropDown));
  }
}

// A user's choice in a drop-down is an edit of the configuration, also when it
// chooses the value already there. During a transfer the drop-downs go back to
// what the configuration holds.
void OnSelectionChange(HWND dropDown) {
  if (dropDown == RowsDropDown() || dropDown == ColumnsDropDown() ||
      dropDown == TypematicDropDown()) {
    if (!TransferRunning()) EditTopDropDown(dropDown);
    ShowWholeConfiguration();
    return;
  }
  if (!TransferRunning()) EditPinBox(dropDown);
  RefreshGrid();
}

// Controls have no ids: a notification is told apart by the sending control.
void OnControlNotification(HWND control, int code) {
  const int button = FindKeyButton(control, VisibleColumnCount() * VisibleRowCount());
  if (button >= 0) {
    EditKeyButtonCell(button);
    return;
  }
  switch (code) {
    case CBN_DROPDOWN: SizeDropDownForList(control, true); break;
    case CBN_CLOSEUP: SizeDropDownForList(control, false); break;
    case CBN_SELCHANGE: OnSelectionChange(control); break;
    default: break;
  }
}

void OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const MenuCommand* command = FindMenuCommand(id);
  if (command == nullptr) {
    OnControlNotification(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
  } else if (!TransferRunning()) {
    command->run();
  }
}

// The outer size of the first window at dpi.
SIZE StartSize(int dpi) {
  const GridMetrics m = GridMetricsForDpi(dpi);
  RECT frame = {0, 0, ClientWidthFor(m, kStartCells), ClientHeightFor(m, kStartCells)};
  AdjustWindowRectForDpi(frame, kMainWindowStyle, true, dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// The window moved to a screen of another DPI (or the user changed the scaling):
// the font and every control follow, then the window takes the suggested place and
// the grid is laid out anew. The old font goes only once no control uses it.
void OnDpiChanged(HWND window, WPARAM wParam, const RECT* suggested) {
  const int oldDpi = UiDpi();
  HFONT oldFont = CreateUiFont(LOWORD(wParam));
  SetControlsFont(UiFont());
  if (oldFont != nullptr) DeleteObject(oldFont);
  RescaleControls(oldDpi);
  if (suggested != nullptr) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RelayoutGrid();
}

// Files dropped on the window: the first is opened as Open opens it. Like a
// command, a drop is refused while a transfer runs or a modal window is open.
void OnDropFiles(HDROP drop) {
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::vector<wchar_t> name(length + 1, L'\0');
  const bool named = length > 0 && DragQueryFileW(drop, 0, name.data(), length + 1) == length;
  DragFinish(drop);
  if (named && !TransferRunning() && IsWindowEnabled(MainWindow())) {
    OpenNamedConfigFile(Utf8Text(name.data()));
  }
}

// A build with a simulated encoder says so in its title, so that nobody believes
// the encoder was programmed; its messages keep the program's caption.
std::string MainWindowTitle() {
  const char* simulated = SimulatedLinkName();
  if (simulated == nullptr) return kAppTitle;
  return std::string(kAppTitle) + " (" + simulated + ")";
}

LRESULT OnClose(HWND window) {
  // The window outlives every transfer that uses it.
  if (TransferRunning() || !ConfirmDiscard()) return 0;
  return DefWindowProcA(window, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) UpdateGrid();
      return 0;
    case WM_SIZING:
      SnapWindowRect(wParam, reinterpret_cast<RECT*>(lParam));
      return TRUE;
    case WM_INITMENU:  // also sent before an accelerator runs its command
    case WM_INITMENUPOPUP:
      UpdateEditMenu(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(false, wParam);
      return 0;
    case WM_MOUSEHWHEEL:
      OnMouseWheel(true, wParam);
      return 0;
    case WM_HSCROLL:
      OnScrollRequest(true, wParam);
      return 0;
    case WM_VSCROLL:
      OnScrollRequest(false, wParam);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_TAB) SetFocus(RowsDropDown());
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(window);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(window, wParam, reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_ENABLE:  // a modal window of the editor came or went
      EnableToolWindows(wParam != FALSE);
      return 0;
    case WM_CLOSE:
      return OnClose(window);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateEditorWindow(HINSTANCE instance, HINSTANCE previous) {
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  if (previous == nullptr) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_RQ57LOAD));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAINMENU);
    windowClass.lpszClassName = kMainClassName;
    RegisterClassA(&windowClass);
  }

  // Sized for the screen's DPI; a window that opens on a screen of another DPI is
  // sized anew for its own. Creating the window sends WM_SIZE already; the grid
  // ignores it until the controls exist.
  const int screenDpi = ScreenDpi();
  const SIZE start = StartSize(screenDpi);
  const std::string title = MainWindowTitle();
  HWND window = CreateWindowExA(0, kMainClassName, title.c_str(), kMainWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, start.cx, start.cy, nullptr, nullptr, instance,
                                nullptr);
  SetAppWindow(instance, window);
  if (window == nullptr) return nullptr;
  const int dpi = WindowDpi(window);
  if (dpi != screenDpi) {
    const SIZE own = StartSize(dpi);
    SetWindowPos(window, nullptr, 0, 0, own.cx, own.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  DragAcceptFiles(window, TRUE);
  CreateUiFont(dpi);
  CreateMainControls(window, {DropDownProc, KeyButtonProc});
  state.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAINACCEL));
  Editor().SetChangeListener(OnConfigurationChanged);
  NewCommand();
  return window;
}

bool TranslateEditorAccelerator(MSG& message) {
  if (state.accelerators == nullptr) return false;
  // Away from the key buttons, Del and the clipboard keys do what they always did.
  if (IsClipboardKeystroke(message) && !KeyButtonHasFocus()) return false;
  return TranslateAcceleratorA(MainWindow(), state.accelerators, &message) != 0;
}

int RunMessageLoop() {
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0)) {
    if (!TranslateEditorAccelerator(message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

void ReleaseEditorResources() { ReleaseUiFont(); }
