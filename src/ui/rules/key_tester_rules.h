// Pure decisions of the key tester: which key combination a run of key events
// makes, and which cells send it. No Win32 here.
#pragma once

#include <string>
#include <vector>

#include "model/config_check.h"
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

// Cells within the counts whose key code (bits 11-15 aside) is the combination, row
// by row. A combination without a key number is in no cell.
std::vector<CellRef> CellsSending(const ConfigModel& model, KeyCode combo);

// The tester's line for a combination: "Shift+A: Row 3 Col 5 (row pin O, column pin C)",
// several cells separated by "; ", or ": not in this configuration". A keystroke of a
// key without a number shows as unknownKey with its modifiers.
std::string KeyTesterLine(const ConfigModel& model, KeyCode combo, const std::vector<CellRef>& cells,
                          const std::string& unknownKey);
