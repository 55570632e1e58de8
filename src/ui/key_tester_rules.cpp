#include "ui/key_tester_rules.h"

#include "model/keystroke.h"

namespace {

struct ModifierKey {
  int keyNumber;
  KeyCode bit;
};

constexpr ModifierKey kModifierKeys[] = {
    {kKeyLeftShift, kModShift}, {kKeyRightShift, kModShift}, {kKeyLeftCtrl, kModCtrl},
    {kKeyRightCtrl, kModCtrl},  {kKeyLeftAlt, kModAlt},      {kKeyRightAlt, kModAlt},
};
constexpr int kModifierKeyCount = static_cast<int>(sizeof kModifierKeys / sizeof kModifierKeys[0]);

// Index of a modifier key in the table above, or -1.
int ModifierIndex(int keyNumber) {
  for (int i = 0; i < kModifierKeyCount; ++i) {
    if (kModifierKeys[i].keyNumber == keyNumber) return i;
  }
  return -1;
}

KeyCode ModifierBits(int held) {
  KeyCode bits = 0;
  for (int i = 0; i < kModifierKeyCount; ++i) {
    if (held & (1 << i)) bits |= kModifierKeys[i].bit;
  }
  return bits;
}

}  // namespace

bool TrackKeyEvent(ComboTracker& tracker, int keyNumber, bool down, KeyCode& combo) {
  const int modifier = ModifierIndex(keyNumber);
  if (modifier < 0) {
    tracker.loneModifier = 0;
    if (!down) return false;
    combo = (keyNumber & kKeyNumberMask) | ModifierBits(tracker.heldModifiers);
    return true;
  }
  const int bit = 1 << modifier;
  if (down) {
    if (tracker.heldModifiers & bit) return false;  // held: the key repeats
    tracker.heldModifiers |= bit;
    tracker.loneModifier = keyNumber;
    return false;
  }
  const bool alone = tracker.loneModifier == keyNumber;
  tracker.loneModifier = 0;
  if (!(tracker.heldModifiers & bit)) return false;  // pressed before the tester listened
  tracker.heldModifiers &= ~bit;
  if (!alone) return false;
  combo = keyNumber | ModifierBits(tracker.heldModifiers);
  return true;
}

int OffsetShowing(int line, int offset, int visible) {
  if (visible <= 0) return offset;
  if (line < offset) return line;
  if (line >= offset + visible) return line - visible + 1;
  return offset;
}
