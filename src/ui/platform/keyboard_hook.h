// The keyboard's events for a program without a focused window: a low-level
// keyboard hook on a thread of its own, which only queues the events. While it
// runs it swallows every key-down and the key-ups of those key-downs, so that
// nothing typed reaches another program; a key-up whose key-down came before
// it started passes, so that no key sticks.
#pragma once

#include <windows.h>

#include "link/link_platform.h"

// Installs the hook; false when it could not be installed.
bool StartKeyboardHook();
// Removes it and drops what is still queued.
void StopKeyboardHook();
// The oldest queued event; kind kNone when there is none.
LinkMessage TakeKeyEvent();
// Waits at most ms for an event to arrive.
void WaitForKeyEvent(DWORD ms);
