// The main window: start-up of the editor, its procedure and the message loop.
#pragma once

#include <windows.h>

#include "ui/app_core.h"

constexpr char kMainClassName[] = "rq57loadClass";

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
