#include "ui/rules/key_tester_rules.h"

#include "model/key_text.h"
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

std::vector<CellRef> CellsSending(const ConfigModel& model, KeyCode combo) {
  std::vector<CellRef> cells;
  if ((combo & kKeyNumberMask) == 0) return cells;
  for (int row = 0; row < model.rows; ++row) {
    for (int column = 0; column < model.columns; ++column) {
      if ((model.keys[row * kMatrixStride + column] & kCombinationMask) == combo) {
        cells.push_back({row, column});
      }
    }
  }
  return cells;
}

std::string KeyTesterLine(const ConfigModel& model, KeyCode combo, const std::vector<CellRef>& cells,
                          const std::string& unknownKey) {
  std::string line = FormatKeyText(combo, unknownKey) + ": ";
  if (cells.empty()) return line + "not in this configuration";
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const CellRef& cell = cells[i];
    if (i > 0) line += "; ";
    line += CellName(cell) + " (row pin " + PinLetter(model.rowPins[cell.row]) + ", column pin " +
            PinLetter(model.columnPins[cell.column]) + ")";
  }
  return line;
}
