// Pure decisions of the key tester: which key combination a run of key events
// makes, and where the grid must scroll to show a cell. No Win32 here.
#pragma once

#include "model/key_code.h"

// Key events between activations of the tester: the modifiers held and whether
// the last modifier pressed is still alone.
struct ComboTracker {
  int heldModifiers = 0;   // bit per modifier key (left/right Shift, Ctrl, Alt)
  int loneModifier = 0;    // key number of a modifier pressed with nothing after it
};

// Feeds one key event (key number 0: a key without a number). Returns true when a
// combination arrived, with its key code in combo: at the key-down of any key but a
// modifier, with the modifiers held; at the release of a modifier that was pressed
// and released with no other key pressed or released in between, as that key
// itself with the other modifiers held.
// A modifier's repeated key-down while held changes nothing.
bool TrackKeyEvent(ComboTracker& tracker, int keyNumber, bool down, KeyCode& combo);

// Scroll offset that brings a line (cell row or column) into view: unchanged when
// it is visible, else the least move that shows it. A count of 0 visible changes nothing.
int OffsetShowing(int line, int offset, int visible);
