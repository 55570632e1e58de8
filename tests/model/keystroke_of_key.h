// The keystroke a keyboard sends for a named key number (Num Lock on): the first
// row of the number in the key table; false for a number without a key.
#pragma once

#include "model/keystroke.h"

inline bool KeystrokeOfKeyNumber(int keyNumber, Keystroke& stroke) {
  for (const KeyRow& row : kKeyRows) {
    if (row.keyNumber == keyNumber) {
      stroke = {row.virtualKey, row.scanCode, row.extended};
      return true;
    }
  }
  return false;
}
