// The matrix grid: lays the pre-made controls out, runs the scroll bars, snaps the
// window to whole cells and copies the model into the visible controls.
#include "ui/grid.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "model/key_code.h"
#include "ui/app_core.h"
#include "ui/controls.h"
#include "ui/rules/grid_geometry.h"
#include "ui/window_dpi.h"

namespace {

static_assert(kEdgeLeft == WMSZ_LEFT && kEdgeTopLeft == WMSZ_TOPLEFT &&
                  kEdgeBottomRight == WMSZ_BOTTOMRIGHT,
              "sizing edges are numbered as the platform numbers them");
static_assert(kScrollLineBack == SB_LINELEFT && kScrollThumbTrack == SB_THUMBTRACK &&
                  kScrollToEnd == SB_RIGHT,
              "scroll requests are numbered as the platform numbers them");

// A moved control paints itself anew: the pixels of its old place may already show
// another control that moved there before it.
constexpr UINT kMoveFlags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOCOPYBITS;
constexpr int kHeaderTextSize = 16;

// Cells per wheel notch when the system does not say, and the most it may say.
constexpr UINT kDefaultWheelCells = 3;
constexpr UINT kMaxWheelCells = kMaxLines;

struct GridState {
  int visibleColumns = 0;
  int visibleRows = 0;
  bool placeAll = false;   // the next layout places every shown control
  WheelAccumulator rowWheel;
  WheelAccumulator columnWheel;
} state;

void MoveControl(HWND control, int x, int y) {
  SetWindowPos(control, nullptr, x, y, 0, 0, kMoveFlags);
}

void PlaceAndShow(HWND control, const GridRect& rect) {
  MoveControl(control, rect.x, rect.y);
  ShowWindow(control, SW_SHOW);
}

void PlaceScrollBar(HWND bar, const GridRect& rect) {
  SetWindowPos(bar, nullptr, rect.x, rect.y, rect.width, rect.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void PlaceTopRow(const GridMetrics& m, int clientWidth) {
  for (int i = 0; i < kTopControlCount; ++i) {
    InvalidateRect(TopLabel(i), nullptr, FALSE);
    MoveControl(TopLabel(i), TopLabelX(m, i, clientWidth), m.topLabelY);
    MoveControl(DropDownAt(i), TopDropDownX(m, i, clientWidth), m.topDropDownY);
  }
}

// Offsets as the scroll bars hold them, bounded to the matrix in case a bar was
// never ranged.
int BoundedOffset(HWND bar) {
  const int position = GetScrollPos(bar, SB_CTL);
  if (position < 0) return 0;
  return position < kMaxLines ? position : kMaxLines - 1;
}

void SetScrollRange(HWND bar, int count, int visible) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = 0;
  info.nMax = ScrollMaximum(count, visible);
  info.nPage = 1;
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
  ShowWindow(bar, info.nMax > 0 ? SW_SHOW : SW_HIDE);
}

// Rewriting a control's text repaints it, so a refresh rewrites only what differs
// from what the control shows (an undo step changes one cell of the grid).
void UpdateControlText(HWND control, const char* text) {
  char shown[kKeyTextSize] = "";
  const int length = GetWindowTextA(control, shown, sizeof shown);
  if (length >= 0 && length + 1 < static_cast<int>(sizeof shown) && std::strcmp(shown, text) == 0) {
    return;
  }
  SetWindowTextA(control, text);
}

void UpdateHeaderText(HWND label, const char* format, int number) {
  char text[kHeaderTextSize] = "";
  std::snprintf(text, sizeof text, format, number);
  UpdateControlText(label, text);
}

void Select(HWND dropDown, int index) {
  if (SendMessageA(dropDown, CB_GETCURSEL, 0, 0) != index) {
    SendMessageA(dropDown, CB_SETCURSEL, index, 0);
  }
}

// The count drop-downs list "1" first; the typematic one "Disabled", then "Enabled".
int CountIndex(int count) { return count - 1; }
int CountOfIndex(int index) { return index + 1; }
int TypematicIndex(bool typematic) { return typematic ? 1 : 0; }
bool TypematicOfIndex(int index) { return index == 1; }

// Moves the scroll bar's position by delta within its range; the moved delta, or 0.
int MoveScrollPosition(HWND bar, int delta, bool redraw) {
  const int position = GetScrollPos(bar, SB_CTL);
  int minimum = 0;
  int maximum = 0;
  GetScrollRange(bar, SB_CTL, &minimum, &maximum);
  delta = ClampScrollDelta(position, delta, minimum, maximum);
  if (delta != 0) SetScrollPos(bar, SB_CTL, position + delta, redraw ? TRUE : FALSE);
  return delta;
}

int OuterWidth(int clientWidth) {
  RECT frame = {0, 0, clientWidth, 0};
  AdjustWindowRectForDpi(frame, kMainWindowStyle, true, UiDpi());
  return frame.right - frame.left;
}

int OuterHeight(int clientHeight) {
  RECT frame = {0, 0, 0, clientHeight};
  AdjustWindowRectForDpi(frame, kMainWindowStyle, true, UiDpi());
  return frame.bottom - frame.top;
}

}  // namespace

int VisibleColumnCount() { return state.visibleColumns; }
int VisibleRowCount() { return state.visibleRows; }
int ColumnOffset() { return GetScrollPos(HorizontalScrollBar(), SB_CTL); }
int RowOffset() { return GetScrollPos(VerticalScrollBar(), SB_CTL); }

namespace {

void LayoutGrid() {
  if (!ControlsCreated()) return;
  RECT client = {};
  GetClientRect(MainWindow(), &client);
  const ConfigModel& model = EditorModel();
  const GridMetrics m = UiMetrics();
  const int columns = VisibleCells(FittingColumns(m, client.right), model.columns);
  const int rows = VisibleCells(FittingRows(m, client.bottom), model.rows);

  PlaceTopRow(m, client.right);
  if (columns == state.visibleColumns && rows == state.visibleRows && !state.placeAll) return;
  state.visibleColumns = columns;
  state.visibleRows = rows;
  state.placeAll = false;

  PlaceScrollBar(HorizontalScrollBar(), HorizontalScrollBarRect(m, columns, rows));
  PlaceScrollBar(VerticalScrollBar(), VerticalScrollBarRect(m, columns, rows));
  for (int r = 0; r < rows; ++r) {
    for (int k = 0; k < columns; ++k) {
      PlaceAndShow(KeyButton(r * columns + k), KeyButtonRect(m, r, k));
    }
  }
  for (int i = columns * rows; i < kKeyButtonCount; ++i) ShowWindow(KeyButton(i), SW_HIDE);
  for (int k = 0; k < columns; ++k) {
    PlaceAndShow(HeaderLabel(k), ColumnHeaderRect(m, k));
    PlaceAndShow(PinBox(k), ColumnPinBoxRect(m, k));
  }
  for (int r = 0; r < rows; ++r) {
    PlaceAndShow(HeaderLabel(columns + r), RowHeaderRect(m, r));
    PlaceAndShow(PinBox(columns + r), RowPinBoxRect(m, r));
  }
  for (int i = columns + rows; i < kPinCount; ++i) {
    ShowWindow(HeaderLabel(i), SW_HIDE);
    ShowWindow(PinBox(i), SW_HIDE);
  }
}

void UpdateScrollBars() {
  if (!ControlsCreated()) return;
  const ConfigModel& model = EditorModel();
  SetScrollRange(VerticalScrollBar(), model.rows, state.visibleRows);
  SetScrollRange(HorizontalScrollBar(), model.columns, state.visibleColumns);
}

}  // namespace

void RefreshGrid() {
  if (!ControlsCreated()) return;
  const ConfigModel& model = EditorModel();
  const int columnOffset = BoundedOffset(HorizontalScrollBar());
  const int rowOffset = BoundedOffset(VerticalScrollBar());
  const int columns = state.visibleColumns;
  const int rows = state.visibleRows;
  for (int k = 0; k < columns && columnOffset + k < kMaxLines; ++k) {
    Select(PinBox(k), model.columnPins[columnOffset + k]);
    UpdateHeaderText(HeaderLabel(k), "Col %d", columnOffset + k + 1);
  }
  for (int r = 0; r < rows && rowOffset + r < kMaxLines; ++r) {
    Select(PinBox(columns + r), model.rowPins[rowOffset + r]);
    UpdateHeaderText(HeaderLabel(columns + r), "Row %d", rowOffset + r + 1);
  }
  for (int r = 0; r < rows && rowOffset + r < kMaxLines; ++r) {
    for (int k = 0; k < columns && columnOffset + k < kMaxLines; ++k) {
      char text[kKeyTextSize] = "";
      const KeyCode code = model.keys[(rowOffset + r) * kMatrixStride + columnOffset + k];
      UpdateControlText(KeyButton(r * columns + k), FormatKeyCode(code, text));
    }
  }
}

void UpdateGrid() {
  LayoutGrid();
  UpdateScrollBars();
  RefreshGrid();
}

void RelayoutGrid() {
  state.placeAll = true;
  UpdateGrid();
}

namespace {

void SelectTopDropDowns() {
  if (!ControlsCreated()) return;
  const ConfigModel& model = EditorModel();
  Select(RowsDropDown(), CountIndex(model.rows));
  Select(ColumnsDropDown(), CountIndex(model.columns));
  Select(TypematicDropDown(), TypematicIndex(model.typematic));
}

}  // namespace

int SelectedIndex(HWND dropDown) {
  return static_cast<int>(SendMessageA(dropDown, CB_GETCURSEL, 0, 0));
}

int SelectedCount(HWND dropDown, int modelCount) {
  const int index = SelectedIndex(dropDown);
  return index >= 0 ? CountOfIndex(index) : modelCount;
}

bool SelectedTypematic() { return TypematicOfIndex(SelectedIndex(TypematicDropDown())); }

void ShowWholeConfiguration() {
  SelectTopDropDowns();
  UpdateGrid();
}

namespace {

// Moves the column offset and the focus as scrolling does, without the refresh;
// returns the moved delta.
int MoveColumns(int delta, bool redraw) {
  delta = MoveScrollPosition(HorizontalScrollBar(), delta, redraw);
  if (delta == 0) return 0;
  const int columns = state.visibleColumns;
  const int rows = state.visibleRows;
  if (HWND focus = GetFocus()) {
    const int button = KeyFocusAfterColumnScroll(FindKeyButton(focus, columns * rows), delta,
                                                 columns, rows);
    if (button >= 0) SetFocus(KeyButton(button));
    const int pinBox = PinFocusAfterScroll(FindPinBox(focus, columns), delta, columns);
    if (pinBox >= 0) SetFocus(PinBox(pinBox));
  }
  return delta;
}

int MoveRows(int delta, bool redraw) {
  delta = MoveScrollPosition(VerticalScrollBar(), delta, redraw);
  if (delta == 0) return 0;
  const int columns = state.visibleColumns;
  const int rows = state.visibleRows;
  if (HWND focus = GetFocus()) {
    const int button = KeyFocusAfterRowScroll(FindKeyButton(focus, columns * rows), delta,
                                              columns, rows);
    if (button >= 0) SetFocus(KeyButton(button));
    // Row pin boxes follow the column pin boxes.
    const int found = FindPinBox(focus, columns + rows);
    const int pinBox = found >= columns ? PinFocusAfterScroll(found - columns, delta, rows) : -1;
    if (pinBox >= 0) SetFocus(PinBox(columns + pinBox));
  }
  return delta;
}

void ScrollColumns(int delta, bool redraw) {
  if (ControlsCreated() && MoveColumns(delta, redraw) != 0) RefreshGrid();
}

void ScrollRows(int delta, bool redraw) {
  if (ControlsCreated() && MoveRows(delta, redraw) != 0) RefreshGrid();
}

}  // namespace

void SlideGrid(bool horizontal, int step) {
  if (!ControlsCreated()) return;
  MoveScrollPosition(horizontal ? HorizontalScrollBar() : VerticalScrollBar(), step, true);
  RefreshGrid();
}

void ShowModelCell(int row, int column) {
  if (!ControlsCreated()) return;
  if (column >= 0) MoveColumns(ScrollDeltaToShow(column, ColumnOffset(), state.visibleColumns), true);
  if (row >= 0) MoveRows(ScrollDeltaToShow(row, RowOffset(), state.visibleRows), true);
  RefreshGrid();
}

void OnScrollRequest(bool horizontal, WPARAM wParam) {
  const int request = LOWORD(wParam);
  const int thumb = HIWORD(wParam);
  HWND bar = horizontal ? HorizontalScrollBar() : VerticalScrollBar();
  const int visible = horizontal ? state.visibleColumns : state.visibleRows;
  const ScrollStep step = ScrollStepFor(request, thumb, GetScrollPos(bar, SB_CTL), visible);
  if (!step.act) return;
  if (horizontal) {
    ScrollColumns(step.delta, step.redraw);
  } else {
    ScrollRows(step.delta, step.redraw);
  }
}

void SnapWindowRect(WPARAM edge, RECT* rect) {
  if (rect == nullptr) return;
  const GridMetrics m = UiMetrics();
  const int width = SnapWidth(m, rect->right - rect->left, OuterWidth);
  const int height = SnapHeight(m, rect->bottom - rect->top, OuterHeight);
  SizingFrame frame = {rect->left, rect->top, rect->right, rect->bottom};
  AnchorSnappedFrame(frame, static_cast<int>(edge), width, height);
  *rect = {frame.left, frame.top, frame.right, frame.bottom};
}

// Wheel notches add up per direction until they make whole cells; a turn the other
// way starts afresh.
void OnMouseWheel(bool horizontalWheel, WPARAM wParam) {
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  // The vertical wheel turned away from the user scrolls back (up, or left with
  // Shift); the horizontal wheel turned right scrolls forward.
  // Where the columns' scroll bar is the only one shown, the plain wheel scrolls it.
  const ConfigModel& model = EditorModel();
  const bool onlyColumnsScroll = ScrollMaximum(model.rows, state.visibleRows) == 0 &&
                                 ScrollMaximum(model.columns, state.visibleColumns) > 0;
  const bool columns = horizontalWheel || (LOWORD(wParam) & MK_SHIFT) != 0 || onlyColumnsScroll;
  const int forward = horizontalWheel ? delta : -delta;
  UINT setting = kDefaultWheelCells;
  if (!SystemParametersInfoA(horizontalWheel ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES,
                             0, &setting, 0)) {
    setting = kDefaultWheelCells;
  }
  const int visible = columns ? state.visibleColumns : state.visibleRows;
  // A wheel set to scroll by pages moves by the page of the scroll bars.
  const int perNotch = setting == WHEEL_PAGESCROLL ? std::max(1, visible - 1)
                                                   : static_cast<int>(std::min<UINT>(setting, kMaxWheelCells));
  WheelAccumulator& wheel = columns ? state.columnWheel : state.rowWheel;
  const int cells = WheelCells(wheel, forward, perNotch);
  if (cells == 0) return;
  if (columns) {
    ScrollColumns(cells, true);
  } else {
    ScrollRows(cells, true);
  }
}
