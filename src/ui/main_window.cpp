// The main window: start-up of the window and its controls, the command dispatch
// and the control notifications.
#include "ui/main_window.h"

#include <commctrl.h>

#include "ui/controls.h"
#include "ui/edit_commands.h"
#include "ui/file_commands.h"
#include "ui/grid.h"
#include "ui/grid_geometry.h"
#include "ui/key_dialog.h"
#include "ui/progress.h"
#include "ui/resources/resource.h"
#include "ui/tool_commands.h"
#include "ui/transfer_commands.h"

namespace {

constexpr int kStartClientWidth = 469;
constexpr int kStartClientHeight = 405;
// The UI font: 8.25 points, that is 33 quarter points of 72 per inch.
constexpr int kFontQuarterPoints = 33;
constexpr int kQuarterPointsPerInch = 288;
constexpr char kFontFace[] = "Microsoft Sans Serif";
// A drop-down's window height, opened (with its list) and closed.
constexpr int kDropDownOpenHeight = 256;
constexpr int kDropDownClosedHeight = 24;

struct MainWindowState {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HFONT font = nullptr;
  HACCEL accelerators = nullptr;
  ConfigEditor editor;
} state;

void CreateUiFont(HWND window) {
  HDC screen = GetDC(window);
  const int height = -MulDiv(kFontQuarterPoints, GetDeviceCaps(screen, LOGPIXELSY),
                             kQuarterPointsPerInch);
  state.font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, kFontFace);
  ReleaseDC(window, screen);
}

void NewCommand() {
  if (!ConfirmDiscard()) return;
  ConfigModel fresh;
  ResetModel(fresh);
  state.editor.Replace(fresh);
  ShowWholeConfiguration();
}

void ExitCommand() {
  if (ConfirmDiscard()) DestroyWindow(state.window);
}

void RunMenuCommand(int id) {
  if (TransferRunning()) return;
  switch (id) {
    case IDM_FILE_NEW: NewCommand(); break;
    case IDM_FILE_SAVE: SaveConfigFile(); break;
    case IDM_FILE_WRITE: WriteCommand(); break;
    case IDM_FILE_OPEN: OpenConfigFile(); break;
    case IDM_FILE_READ: ReadCommand(); break;
    case IDM_FILE_EXIT: ExitCommand(); break;
    case IDM_HELP_ABOUT: ShowAboutBox(); break;
    case IDM_TOOLS_KEY_TESTER:
    case IDM_TOOLS_ASSIGN_KEYS:
    case IDM_TOOLS_BACKUP:
    case IDM_TOOLS_COMPARE:
    case IDM_TOOLS_CHECK:
    case IDM_TOOLS_CHART: RunToolCommand(id); break;
    default: RunEditCommand(id); break;
  }
}

// A key button was clicked: the key selection dialog edits its cell.
void EditKeyButtonCell(int button) {
  if (TransferRunning()) return;
  ModelCell cell = {};
  if (KeyButtonCell(button, VisibleColumnCount(), VisibleRowCount(), ColumnOffset(), RowOffset(),
                    cell)) {
    const KeyCode code = EditorModel().keys[cell.row * kMatrixStride + cell.column];
    const int chosen = RunKeyDialog(state.window, code);
    if (chosen >= 0) state.editor.SetKey(cell.row, cell.column, chosen);
  }
  RefreshGrid();
  SetFocus(KeyButton(button));
}

void ResizeDropDown(HWND dropDown, int height) {
  RECT rect = {};
  if (!GetWindowRect(dropDown, &rect)) return;
  SetWindowPos(dropDown, nullptr, 0, 0, rect.right - rect.left, height,
               SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void EditTopDropDown(HWND dropDown) {
  ConfigEditor& editor = state.editor;
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
    state.editor.SetPin(target.column, target.index, SelectedIndex(dropDown));
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
    case CBN_DROPDOWN: ResizeDropDown(control, kDropDownOpenHeight); break;
    case CBN_CLOSEUP: ResizeDropDown(control, kDropDownClosedHeight); break;
    case CBN_SELCHANGE: OnSelectionChange(control); break;
    default: break;
  }
}

void OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  switch (id) {
    case IDM_FILE_NEW:
    case IDM_FILE_SAVE:
    case IDM_FILE_WRITE:
    case IDM_FILE_OPEN:
    case IDM_FILE_READ:
    case IDM_FILE_EXIT:
    case IDM_HELP_ABOUT:
    case IDM_EDIT_UNDO:
    case IDM_EDIT_REDO:
    case IDM_EDIT_CUT:
    case IDM_EDIT_COPY:
    case IDM_EDIT_PASTE:
    case IDM_EDIT_CLEAR:
    case IDM_TOOLS_KEY_TESTER:
    case IDM_TOOLS_ASSIGN_KEYS:
    case IDM_TOOLS_BACKUP:
    case IDM_TOOLS_COMPARE:
    case IDM_TOOLS_CHECK:
    case IDM_TOOLS_CHART:
      RunMenuCommand(id);
      break;
    default:
      OnControlNotification(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      break;
  }
}

LRESULT OnClose(HWND window) {
  // The window outlives every transfer that uses it.
  if (TransferRunning() || !ConfirmDiscard()) return 0;
  return DefWindowProcA(window, WM_CLOSE, 0, 0);
}

}  // namespace

HINSTANCE AppInstance() { return state.instance; }
HWND MainWindow() { return state.window; }
HFONT UiFont() { return state.font; }
ConfigEditor& Editor() { return state.editor; }
const ConfigModel& EditorModel() { return state.editor.Model(); }
bool TransferRunning() { return ProgressWindow() != nullptr; }

int ShowMessage(const char* text, UINT flags) {
  return MessageBoxA(state.window, text, kAppTitle, flags);
}

namespace {

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

  RECT frame = {0, 0, kStartClientWidth, kStartClientHeight};
  AdjustWindowRect(&frame, kMainWindowStyle, TRUE);
  state.instance = instance;
  // Creating the window sends WM_SIZE already; the grid ignores it until the
  // controls exist.
  state.window = CreateWindowExA(0, kMainClassName, kAppTitle, kMainWindowStyle, CW_USEDEFAULT,
                                 CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                 nullptr, nullptr, instance, nullptr);
  if (state.window == nullptr) return nullptr;
  CreateUiFont(state.window);
  CreateMainControls(state.window);
  state.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAINACCEL));
  NewCommand();
  return state.window;
}

bool TranslateEditorAccelerator(MSG& message) {
  if (state.accelerators == nullptr) return false;
  // Away from the key buttons, Del and the clipboard keys do what they always did.
  if (IsClipboardKeystroke(message) && !KeyButtonHasFocus()) return false;
  return TranslateAcceleratorA(state.window, state.accelerators, &message) != 0;
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

void ReleaseEditorResources() {
  if (state.font != nullptr) DeleteObject(state.font);
  state.font = nullptr;
}
