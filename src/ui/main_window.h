// The main window: its procedure, the editor's configuration, the UI font.
#pragma once

#include <windows.h>

#include "model/config_editor.h"

constexpr char kAppTitle[] = "RQ57 Configuration Utility";
constexpr char kMainClassName[] = "rq57loadClass";
// The background is painted around the controls, never over them: the layout moves
// and shows many controls at once, and an erase of the uncovered parts after a
// control had painted itself would leave it blank.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// Creates the editor: common controls, window class, main window, UI font, its
// controls and accelerators, then a new configuration.
// Returns the main window (not yet shown), or nullptr.
HWND CreateEditorWindow(HINSTANCE instance, HINSTANCE previous);
// The message loop with the File menu's accelerators; returns the quit code.
int RunMessageLoop();
// Runs a message through the File menu's accelerators as the message loop does;
// true when it became a command (and must not be dispatched).
bool TranslateEditorAccelerator(MSG& message);
// Releases what start-up created and the window did not own (the UI font).
void ReleaseEditorResources();

HINSTANCE AppInstance();
HWND MainWindow();
HFONT UiFont();

// The one configuration being edited, its undo history and modified flag: every
// change goes through its edit operations. rows, columns and typematic are mirrored
// by the top drop-downs: after a change of those or of the whole configuration,
// call ShowWholeConfiguration (grid.h) so that both agree again.
ConfigEditor& Editor();
const ConfigModel& EditorModel();

// While a transfer runs it owns the link and the configuration; no command or edit
// may start.
bool TransferRunning();

// Message box owned by the main window with the program's caption.
int ShowMessage(const char* text, UINT flags);
// The flags of the editor's error messages.
constexpr UINT kErrorBox = MB_OK | MB_ICONERROR;
