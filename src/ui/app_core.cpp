#include "ui/app_core.h"

namespace {

// The UI font: 8.25 points, that is 33 quarter points of 72 per inch.
constexpr int kFontQuarterPoints = 33;
constexpr int kQuarterPointsPerInch = 288;
constexpr char kFontFace[] = "Microsoft Sans Serif";
constexpr int kDefaultDpi = 96;

struct AppState {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HFONT font = nullptr;
  int dpi = kDefaultDpi;
  HWND progressWindow = nullptr;  // null while no transfer runs
  ConfigEditor editor;
} app;

}  // namespace

void SetAppWindow(HINSTANCE instance, HWND mainWindow) {
  app.instance = instance;
  app.mainWindow = mainWindow;
}

HINSTANCE AppInstance() { return app.instance; }
HWND MainWindow() { return app.mainWindow; }

int UiDpi() { return app.dpi; }

HFONT CreateUiFont(int dpi) {
  HFONT font = CreateFontA(-MulDiv(kFontQuarterPoints, dpi, kQuarterPointsPerInch), 0, 0, 0,
                           FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           kFontFace);
  app.dpi = dpi;
  if (font == nullptr) return nullptr;
  HFONT replaced = app.font;
  app.font = font;
  return replaced;
}

void ReleaseUiFont() {
  if (app.font != nullptr) DeleteObject(app.font);
  app.font = nullptr;
}

HFONT UiFont() { return app.font; }

ConfigEditor& Editor() { return app.editor; }
const ConfigModel& EditorModel() { return app.editor.Model(); }

void SetProgressWindow(HWND window) { app.progressWindow = window; }
HWND ProgressWindow() { return app.progressWindow; }
bool TransferRunning() { return app.progressWindow != nullptr; }

int ShowMessage(const char* text, UINT flags) {
  return MessageBoxA(app.mainWindow, text, kAppTitle, flags);
}
