// Keystrokes as the PC sees them (virtual key, scan code, extended flag) and the
// key numbers of the keys that produce them.
#pragma once

// The key table and the virtual keys it speaks of.
#include "model/key_table.h"

// One key event's identity as the keyboard driver reports it. The scan code is the
// set-1 make code without its E0 prefix; the prefix is the extended flag.
struct Keystroke {
  int virtualKey = 0;
  int scanCode = 0;
  bool extended = false;
};

// Key number (1-126) of the key that sent the keystroke, or 0 when it is none of
// the named keys. The scan code decides, since it is the key's position whatever
// the layout and the Num Lock state; a keystroke without a scan code (typed by a
// program) is recognised by its virtual key.
int KeyNumberFromKeystroke(const Keystroke& stroke);
