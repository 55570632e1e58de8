#include "ui/main_window.h"

#include <commctrl.h>

#include "ui/resources/resource.h"

namespace {

constexpr int kStartClientWidth = 469;
constexpr int kStartClientHeight = 405;

struct MainWindowState {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HFONT font = nullptr;
  HACCEL accelerators = nullptr;
  ConfigModel model;
} state;

}  // namespace

HINSTANCE AppInstance() { return state.instance; }
HWND MainWindow() { return state.window; }
HFONT UiFont() { return state.font; }
ConfigModel& EditorModel() { return state.model; }

int ShowMessage(const char* text, UINT flags) {
  return MessageBoxA(state.window, text, kAppTitle, flags);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

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
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE);
  state.instance = instance;
  state.window = CreateWindowExA(0, kMainClassName, kAppTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                 nullptr, nullptr, instance, nullptr);
  ResetModel(state.model);
  return state.window;
}

bool TranslateEditorAccelerator(MSG& message) {
  if (state.accelerators == nullptr) {
    state.accelerators = LoadAcceleratorsA(state.instance, MAKEINTRESOURCEA(IDA_MAINACCEL));
  }
  return TranslateAcceleratorA(state.window, state.accelerators, &message) != 0;
}

int RunMessageLoop() {
  MSG message;
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
