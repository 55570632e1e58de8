// Taking the whole keyboard for a tool window while it is active: every key event
// goes to the window's handler and to nothing else (no accelerator, menu, system
// key or dialog navigation). The events come from a hook on a thread of its own,
// posted to the window as kCapturedKeyMessage, whose procedure hands them to
// DeliverCapturedKey. During a transfer the keys belong to the link.
#pragma once

#include <windows.h>

#include "model/keystroke.h"

using KeyEventHandler = void (*)(const Keystroke& stroke, bool down);

constexpr UINT kCapturedKeyMessage = WM_APP + 0x40;

// Sends every key event to window's handler from now on, in place of any other.
void CaptureKeyboard(HWND window, KeyEventHandler handler);
// Ends the capture when handler holds it.
void ReleaseKeyboard(KeyEventHandler handler);
// A kCapturedKeyMessage arrived at window: runs the handler, unless the capture has
// ended since, the window is disabled under a modal window, or a transfer runs.
void DeliverCapturedKey(HWND window, WPARAM wParam, LPARAM lParam);
