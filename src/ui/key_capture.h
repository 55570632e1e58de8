// Taking the whole keyboard for a tool window while it is active: every key event
// goes to the window's handler and to nothing else (no accelerator, menu, system
// key or dialog navigation). During a transfer the keys belong to the link.
#pragma once

#include "model/keystroke.h"

using KeyEventHandler = void (*)(const Keystroke& stroke, bool down);

// Sends every key event to handler from now on, in place of any other handler.
void CaptureKeyboard(KeyEventHandler handler);
// Ends the capture when handler holds it.
void ReleaseKeyboard(KeyEventHandler handler);
