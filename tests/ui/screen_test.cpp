// What the screen really shows of the main window after the commands that lay the
// grid out anew. Each visible drop-down and key button is captured from the screen
// and compared with what the control draws of itself into a bitmap, so that fonts
// and themes do not matter: a control painted over by its parent, or never painted
// after a change, differs from its own drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "io/file_write.h"
#include "model/config.h"
#include "model/config_file.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

constexpr DWORD kDragStepMs = 30;
constexpr int kDragSteps = 4;   // steps past half a cell: the sizing loop snaps each one
constexpr int kFrameDragX = 200;   // how far the drag enlarges the window
constexpr int kFrameDragY = 150;

using Pixels = std::vector<std::uint32_t>;

// The pixels of a rectangle of a device context, as 32-bit values.
Pixels Capture(HDC source, int x, int y, int width, int height) {
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  Pixels pixels(static_cast<size_t>(width) * height, 0);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return pixels;
}

// What the screen shows where the control is.
Pixels OnScreen(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  HDC screen = GetDC(nullptr);
  Pixels pixels = Capture(screen, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// What the control draws of itself.
Pixels SelfDrawn(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  PrintWindow(control, memory, 0);
  Pixels pixels = Capture(memory, 0, 0, width, height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

int DifferentPixels(const Pixels& a, const Pixels& b) {
  int count = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) count += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
  return count;
}

// A control drawn on screen has more than one colour: frame, arrow or text.
bool HasDrawing(const Pixels& pixels) {
  for (std::uint32_t pixel : pixels) {
    if ((pixel & 0xFFFFFF) != (pixels.front() & 0xFFFFFF)) return true;
  }
  return false;
}

void ExpectShownAsDrawn(HWND control, const std::string& name) {
  const Pixels screen = OnScreen(control);
  const Pixels drawn = SelfDrawn(control);
  EXPECT_TRUE(HasDrawing(drawn)) << name << " draws nothing of itself";
  EXPECT_EQ(DifferentPixels(screen, drawn), 0)
      << name << ": the screen differs from the control's own drawing";
}

// Every visible drop-down and key button shows on screen what it draws of itself.
void ExpectScreenMatchesControls(const char* after) {
  SCOPED_TRACE(after);
  PumpUntilIdle();
  GdiFlush();
  for (int p = 0; p < kDropDownCount; ++p) {
    HWND dropDown = DropDownAt(p);
    if (p < kTopControlCount) {
      EXPECT_TRUE(IsWindowVisible(dropDown)) << "top drop-down " << p;
    }
    if (IsWindowVisible(dropDown)) ExpectShownAsDrawn(dropDown, "drop-down " + std::to_string(p));
  }
  for (int i = 0; i < kKeyButtonCount; ++i) {
    HWND button = KeyButton(i);
    if (IsWindowVisible(button)) ExpectShownAsDrawn(button, "key button " + std::to_string(i));
  }
}

// Drags the main window's bottom-right frame corner with real mouse input from a
// second thread, while this thread runs the system's sizing loop.
struct Drag {
  POINT from;
  POINT to;
};

void MoveMouse(POINT point, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(point.x, 65535, width - 1);
  input.mi.dy = MulDiv(point.y, 65535, height - 1);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &input, sizeof input);
}

DWORD WINAPI DragThread(void* data) {
  const Drag& drag = *static_cast<const Drag*>(data);
  MoveMouse(drag.from, 0);
  Sleep(kDragStepMs);
  MoveMouse(drag.from, MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= kDragSteps; ++step) {
    Sleep(kDragStepMs);
    const POINT at = {drag.from.x + (drag.to.x - drag.from.x) * step / kDragSteps,
                      drag.from.y + (drag.to.y - drag.from.y) * step / kDragSteps};
    MoveMouse(at, 0);
  }
  Sleep(kDragStepMs);
  MoveMouse(drag.to, MOUSEEVENTF_LEFTUP);
  return 0;
}

void DragFrameCorner(int dx, int dy) {
  HWND main = MainWindow();
  RECT frame = {};
  GetWindowRect(main, &frame);
  Drag drag = {{frame.right - 2, frame.bottom - 2}, {frame.right - 2 + dx, frame.bottom - 2 + dy}};
  ASSERT_EQ(SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(drag.from.x, drag.from.y)),
            HTBOTTOMRIGHT);
  SetForegroundWindow(main);
  PumpUntilIdle();
  HANDLE thread = CreateThread(nullptr, 0, DragThread, &drag, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  // The press starts the sizing loop inside a dispatch here; it ends with the release.
  WAIT_UNTIL(WaitForSingleObject(thread, 0) == WAIT_OBJECT_0);
  CloseHandle(thread);
  RECT after = {};
  GetWindowRect(main, &after);
  EXPECT_GT(after.right - after.left, frame.right - frame.left) << "the drag enlarged the window";
}

class ScreenTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetEditor();
    SetWindowPos(MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    PumpUntilIdle();
  }
  void TearDown() override { ResetEditor(); }
};

TEST_F(ScreenTest, ControlsAreDrawnAfterNewAndCountChanges) {
  ExpectScreenMatchesControls("start");
  ChooseItem(ColumnsDropDown(), 3);
  ExpectScreenMatchesControls("columns 4");
  ChooseItem(RowsDropDown(), 19);
  ExpectScreenMatchesControls("rows 20");
  PostMessageA(MainWindow(), WM_COMMAND, IDM_FILE_NEW, 0);
  ModalAnswerer answerer(IDNO);   // the changed counts are not kept
  EXPECT_EQ(answerer.Finish(), 1);
  ExpectScreenMatchesControls("New");
}

TEST_F(ScreenTest, ControlsAreDrawnAfterOpen) {
  char temp[MAX_PATH] = "";
  ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
  char name[64] = "";
  std::snprintf(name, sizeof name, "rq57-screen-%lu.cfg", GetCurrentProcessId());
  const std::string path = std::string(temp) + name;
  ConfigModel model;
  ResetModel(model);
  model.rows = 3;
  model.columns = 9;
  ConfigImage image = {};
  ASSERT_TRUE(EncodeImage(model, image, nullptr));
  std::string reason;
  ASSERT_TRUE(WriteFileWhole(path, FileBytesOfImage(image), reason)) << reason;
  // From a layout of other counts, as after the user's changes (not kept).
  ChooseItem(ColumnsDropDown(), 3);
  ChooseItem(RowsDropDown(), 19);
  ModalAnswerer answerer({DialogAnswer{IDNO}, DialogAnswer{IDOK, path}});
  PostMessageA(MainWindow(), WM_COMMAND, IDM_FILE_OPEN, 0);
  EXPECT_EQ(answerer.Finish(), 2);
  DeleteFileA(path.c_str());
  ASSERT_EQ(EditorModel().columns, 9);
  ExpectScreenMatchesControls("Open");
}

TEST_F(ScreenTest, ControlsAreDrawnAfterResizingMaximisingAndRestoring) {
  DragFrameCorner(kFrameDragX, kFrameDragY);
  ExpectScreenMatchesControls("frame dragged");
  ShowWindow(MainWindow(), SW_MAXIMIZE);
  ExpectScreenMatchesControls("maximised");
  ShowWindow(MainWindow(), SW_RESTORE);
  ExpectScreenMatchesControls("restored");
}

}  // namespace
