// The keyboard's events taken before any window sees them: a low-level keyboard
// hook on a thread of its own, which only waits on its queue and hands each event
// on at once (Wine skips a hook whose thread is busy, and Windows removes one whose
// callback is slow). While it runs it swallows every key-down and the key-ups of
// those key-downs, so that nothing typed reaches another window or program; a
// key-up whose key-down came before it started passes, so that no key sticks.
#pragma once

#include <windows.h>

#include "link/link_platform.h"

// Installs the hook for a program without a focused window: its events are queued
// for TakeKeyEvent. False when it could not be installed.
bool StartKeyboardHook();
// Installs the hook for a window: each event is posted to window as message (read it
// with PostedKeyOf). While passOn() holds, called on the hook's thread, events pass
// untouched and none is posted. False when it could not be installed.
bool StartKeyboardHookFor(HWND window, UINT message, bool (*passOn)());
// Removes it and drops what is still queued.
void StopKeyboardHook();
// The oldest queued event; kind kNone when there is none.
LinkMessage TakeKeyEvent();
// Waits at most ms for an event to arrive.
void WaitForKeyEvent(DWORD ms);

// A key event posted to a window, as the hook reported it.
struct PostedKey {
  int virtualKey = 0;
  int scanCode = 0;
  bool extended = false;
  bool down = false;
};
PostedKey PostedKeyOf(WPARAM wParam, LPARAM lParam);
