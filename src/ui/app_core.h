// What every window of the editor shares: the program's instance, the main window,
// the UI font, the configuration being edited, the message box and whether a
// transfer runs. It includes no other file of the editor's windows, so that every
// window and command can build on it.
#pragma once

#include <windows.h>

#include "model/config_editor.h"

constexpr char kAppTitle[] = "RQ57 Configuration Utility";
// The background is painted around the controls, never over them: the layout moves
// and shows many controls at once, and an erase of the uncovered parts after a
// control had painted itself would leave it blank.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// Kept by start-up as soon as the main window exists.
void SetAppWindow(HINSTANCE instance, HWND mainWindow);
HINSTANCE AppInstance();
HWND MainWindow();

// The DPI of the main window: its layout and its font scale with it. 96 until the
// main window's font is made.
int UiDpi();
// The font of every label, drop-down and key button, deleted after the message loop.
// Makes dpi the editor's and the font one for it; returns the font it replaced (null
// at start), which the caller deletes once no control uses it. When no font can be
// made, the font stays as it was and the result is null.
HFONT CreateUiFont(int dpi);
void ReleaseUiFont();
HFONT UiFont();

// The one configuration being edited, its undo history and modified flag: every
// change goes through its edit operations. rows, columns and typematic are mirrored
// by the top drop-downs: after a change of those or of the whole configuration,
// call ShowWholeConfiguration (grid.h) so that both agree again.
ConfigEditor& Editor();
const ConfigModel& EditorModel();

// The progress window exists exactly while a transfer runs; the progress window's
// code keeps it here.
void SetProgressWindow(HWND window);
HWND ProgressWindow();
// While a transfer runs it owns the link and the configuration: no command or edit
// may start. The main window stays enabled meanwhile.
bool TransferRunning();

// Message box owned by the main window with the program's caption.
int ShowMessage(const char* text, UINT flags);
// The flags of the editor's error messages.
constexpr UINT kErrorBox = MB_OK | MB_ICONERROR;
