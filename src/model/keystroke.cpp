#include "model/keystroke.h"

namespace {

// Shift, Ctrl and Alt as one virtual key each, told apart by the key that sent them.
int SidedVirtualKey(const Keystroke& stroke) {
  switch (stroke.virtualKey) {
    case vk::kShift:
      return stroke.scanCode == kRightShiftScan ? vk::kRightShift : vk::kLeftShift;
    case vk::kControl:
      return stroke.extended ? vk::kRightControl : vk::kLeftControl;
    case vk::kMenu:
      return stroke.extended ? vk::kRightMenu : vk::kLeftMenu;
    default:
      return stroke.virtualKey;
  }
}

int KeyNumberFromScanCode(const Keystroke& stroke) {
  for (const KeyRow& row : kKeyRows) {
    if (row.scanCode == stroke.scanCode && row.extended == stroke.extended) return row.keyNumber;
  }
  return 0;
}

// Enter and the keypad's Enter share a virtual key; the extended flag tells them apart.
int KeyNumberFromVirtualKey(const Keystroke& stroke) {
  const int virtualKey = SidedVirtualKey(stroke);
  int found = 0;
  for (const KeyRow& row : kKeyRows) {
    if (row.virtualKey != virtualKey) continue;
    if (row.extended == stroke.extended) return row.keyNumber;
    if (found == 0) found = row.keyNumber;
  }
  return found;
}

}  // namespace

int KeyNumberFromKeystroke(const Keystroke& stroke) {
  if (stroke.scanCode != 0) {
    const int keyNumber = KeyNumberFromScanCode(stroke);
    if (keyNumber != 0) return keyNumber;
  }
  return KeyNumberFromVirtualKey(stroke);
}
