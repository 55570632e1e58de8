// The main window's controls, created once at start-up.
#include "ui/controls.h"

#include <cstdio>

#include "ui/app_core.h"
#include "ui/rules/grid_geometry.h"

namespace {

constexpr int kTopCount = kTopControlCount;
// Creation places at 96 DPI; the layout moves every control.
constexpr int kTopLabelX[kTopCount] = {8, 164, 320};
constexpr const char* kTopLabelText[kTopCount] = {"Number of Rows", "Number of Columns",
                                                  "Typematic"};
constexpr int kTopDropDownX[kTopCount] = {48, 206, 346};
// A drop-down's window height includes its list: opened, the list shows this much
// (the typematic drop-down's two items take less at start).
constexpr int kDropDownListHeight = 256;
constexpr int kTypematicStartHeight = 64;
constexpr int kTopDropDownHeight[kTopCount] = {kDropDownListHeight, kDropDownListHeight,
                                               kTypematicStartHeight};
constexpr const char* kTypematicItems[] = {"Disabled", "Enabled"};

// Creation places of the scroll bars; the layout moves them.
constexpr GridRect kVerticalBarStart = {452, 56, kScrollBarThickness, 332};
constexpr GridRect kHorizontalBarStart = {0, 388, 452, kScrollBarThickness};

struct ControlsState {
  HWND parent = nullptr;
  HWND topLabels[kTopCount] = {};
  HWND topDropDowns[kTopCount] = {};   // rows, columns, typematic
  HWND headerLabels[kPinCount] = {};
  HWND pinBoxes[kPinCount] = {};
  HWND keyButtons[kKeyButtonCount] = {};
  HWND horizontalBar = nullptr;
  HWND verticalBar = nullptr;
  WNDPROC savedDropDownProc = nullptr;
  WNDPROC savedKeyButtonProc = nullptr;
  ControlProcedures subclass = {};
  bool created = false;
} state;

HWND CreateChild(const char* className, const char* text, DWORD style, int x, int y, int width,
                 int height) {
  HWND control = CreateWindowExA(0, className, text, style, x, y, width, height, state.parent,
                                 nullptr, AppInstance(), nullptr);
  if (control != nullptr) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  }
  return control;
}

// Replaces a control's window procedure and returns the one it had.
WNDPROC Subclass(HWND control, WNDPROC procedure) {
  if (control == nullptr) return nullptr;
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void AddItem(HWND dropDown, const char* text) {
  SendMessageA(dropDown, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

int Scaled(int pixels) { return ScaleToDpi(pixels, UiDpi()); }

HWND CreateScrollBar(DWORD direction, const GridRect& place) {
  return CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | direction, Scaled(place.x),
                         Scaled(place.y), Scaled(place.width), Scaled(place.height), state.parent,
                         nullptr, AppInstance(), nullptr);
}

// Gives a control its size at the editor's DPI and the place it had at fromDpi,
// scaled.
void Rescale(HWND control, int fromDpi, int width, int height) {
  RECT rect = {};
  if (control == nullptr || !GetWindowRect(control, &rect)) return;
  MapWindowPoints(nullptr, state.parent, reinterpret_cast<POINT*>(&rect), 1);
  SetWindowPos(control, nullptr, MulDiv(rect.left, UiDpi(), fromDpi),
               MulDiv(rect.top, UiDpi(), fromDpi), width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void RescaleScrollBar(HWND bar, int fromDpi) {
  RECT rect = {};
  if (bar == nullptr || !GetWindowRect(bar, &rect)) return;
  Rescale(bar, fromDpi, MulDiv(rect.right - rect.left, UiDpi(), fromDpi),
          MulDiv(rect.bottom - rect.top, UiDpi(), fromDpi));
}

template <size_t N>
HWND At(HWND const (&handles)[N], int i) {
  return i >= 0 && i < static_cast<int>(N) ? handles[i] : nullptr;
}

}  // namespace

namespace {

HWND CreateDropDown(int x, int y, int width, int height) {
  HWND control = CreateChild("COMBOBOX", "", WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST,
                             x, y, width, height);
  // All drop-downs share one class procedure, so one slot serves them all.
  if (control != nullptr) state.savedDropDownProc = Subclass(control, state.subclass.dropDown);
  return control;
}

HWND CreateKeyButton(int x, int y, int width, int height, const char* text) {
  HWND control = CreateChild("BUTTON", text, WS_CHILD | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON,
                             x, y, width, height);
  if (control != nullptr) state.savedKeyButtonProc = Subclass(control, state.subclass.keyButton);
  return control;
}

HWND CreateLabel(int x, int y, int width, int height, const char* text) {
  return CreateChild("STATIC", text, WS_CHILD | SS_CENTER, x, y, width, height);
}

}  // namespace

void CreateMainControls(HWND mainWindow, const ControlProcedures& procedures) {
  state.parent = mainWindow;
  state.subclass = procedures;
  const GridMetrics m = UiMetrics();
  for (int i = 0; i < kTopCount; ++i) {
    state.topLabels[i] = CreateLabel(Scaled(kTopLabelX[i]), m.topLabelY, m.topLabelWidth,
                                     m.topLabelHeight, kTopLabelText[i]);
    ShowWindow(state.topLabels[i], SW_SHOW);
  }
  for (HWND& label : state.headerLabels) {
    label = CreateLabel(0, 0, m.headerWidth, m.headerHeight, "");
  }

  for (int i = 0; i < kTopCount; ++i) {
    state.topDropDowns[i] = CreateDropDown(Scaled(kTopDropDownX[i]), m.topDropDownY,
                                           m.topDropDownWidths[i], Scaled(kTopDropDownHeight[i]));
  }
  for (int n = 1; n <= kMaxLines; ++n) {  // "1" to "23"
    char text[8] = "";
    std::snprintf(text, sizeof text, "%d", n);
    AddItem(RowsDropDown(), text);
    AddItem(ColumnsDropDown(), text);
  }
  for (const char* item : kTypematicItems) AddItem(TypematicDropDown(), item);
  for (HWND dropDown : state.topDropDowns) ShowWindow(dropDown, SW_SHOW);

  for (HWND& pinBox : state.pinBoxes) {
    pinBox = CreateDropDown(0, 0, m.headerWidth, m.pinBoxHeight);
    for (int pin = 0; pin < kPinCount; ++pin) {  // "A" to "X"
      const char letter[2] = {static_cast<char>('A' + pin), '\0'};
      AddItem(pinBox, letter);
    }
  }
  for (HWND& button : state.keyButtons) {
    button = CreateKeyButton(0, 0, m.cellWidth, m.cellHeight, kNotUsedText);
  }
  state.verticalBar = CreateScrollBar(SBS_VERT, kVerticalBarStart);
  state.horizontalBar = CreateScrollBar(SBS_HORZ, kHorizontalBarStart);
  state.created = true;
}

void RescaleControls(int fromDpi) {
  if (!state.created || fromDpi <= 0) return;
  const GridMetrics m = UiMetrics();
  // A drop-down's height here is that of its list, which opening it sets anew.
  for (int i = 0; i < kTopCount; ++i) {
    Rescale(state.topLabels[i], fromDpi, m.topLabelWidth, m.topLabelHeight);
    Rescale(state.topDropDowns[i], fromDpi, m.topDropDownWidths[i], m.pinBoxHeight);
  }
  for (int i = 0; i < kPinCount; ++i) {
    Rescale(state.headerLabels[i], fromDpi, m.headerWidth, m.headerHeight);
    Rescale(state.pinBoxes[i], fromDpi, m.headerWidth, m.pinBoxHeight);
  }
  for (HWND button : state.keyButtons) Rescale(button, fromDpi, m.cellWidth, m.cellHeight);
  RescaleScrollBar(state.horizontalBar, fromDpi);
  RescaleScrollBar(state.verticalBar, fromDpi);
}

void SetControlsFont(HFONT font) {
  const auto set = [font](HWND control) {
    if (control != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  };
  for (HWND control : state.topLabels) set(control);
  for (HWND control : state.topDropDowns) set(control);
  for (HWND control : state.headerLabels) set(control);
  for (HWND control : state.pinBoxes) set(control);
  for (HWND control : state.keyButtons) set(control);
}

GridMetrics UiMetrics() { return GridMetricsForDpi(UiDpi()); }

bool ControlsCreated() { return state.created; }

HWND TopLabel(int i) { return At(state.topLabels, i); }
HWND RowsDropDown() { return state.topDropDowns[0]; }
HWND ColumnsDropDown() { return state.topDropDowns[1]; }
HWND TypematicDropDown() { return state.topDropDowns[2]; }
HWND DropDownAt(int position) {
  if (position < kTopCount) return At(state.topDropDowns, position);
  return At(state.pinBoxes, position - kTopCount);
}
HWND HeaderLabel(int i) { return At(state.headerLabels, i); }
HWND PinBox(int i) { return At(state.pinBoxes, i); }
HWND KeyButton(int i) { return At(state.keyButtons, i); }
HWND HorizontalScrollBar() { return state.horizontalBar; }
HWND VerticalScrollBar() { return state.verticalBar; }

// Closed, every drop-down is as high as a pin box.
void SizeDropDownForList(HWND dropDown, bool open) {
  RECT rect = {};
  if (!GetWindowRect(dropDown, &rect)) return;
  SetWindowPos(dropDown, nullptr, 0, 0, rect.right - rect.left,
               Scaled(open ? kDropDownListHeight : kPinBoxHeight),
               SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

WNDPROC SavedDropDownProc() { return state.savedDropDownProc; }
WNDPROC SavedKeyButtonProc() { return state.savedKeyButtonProc; }

int FindKeyButton(HWND control, int count) {
  if (control == nullptr) return -1;
  for (int i = 0; i < count && i < kKeyButtonCount; ++i) {
    if (state.keyButtons[i] == control) return i;
  }
  return -1;
}

int FindPinBox(HWND control, int count) {
  if (control == nullptr) return -1;
  for (int i = 0; i < count && i < kPinCount; ++i) {
    if (state.pinBoxes[i] == control) return i;
  }
  return -1;
}
