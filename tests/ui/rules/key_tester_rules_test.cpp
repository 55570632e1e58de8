// Key combinations from key events: modifiers held with a key and modifiers alone;
// the cells that send a combination.
#include "ui/rules/key_tester_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/config.h"
#include "model/keystroke.h"

namespace {

struct Event {
  int key;
  bool down;
};

constexpr int kA = 31;
constexpr int kF5 = 116;

// The combinations a run of events makes, in order.
std::vector<KeyCode> Combos(const std::vector<Event>& events) {
  ComboTracker tracker;
  std::vector<KeyCode> combos;
  for (const Event& event : events) {
    KeyCode combo = -1;
    if (TrackKeyEvent(tracker, event.key, event.down, combo)) combos.push_back(combo);
  }
  return combos;
}

using Codes = std::vector<KeyCode>;

TEST(ComboTracker, ModifiersHeldWithAKey) {
  EXPECT_EQ(Combos({{kA, true}, {kA, false}}), Codes{kA});
  EXPECT_EQ(Combos({{kKeyLeftShift, true}, {kA, true}, {kA, false}, {kKeyLeftShift, false}}),
            Codes{kModShift | kA});
  EXPECT_EQ(Combos({{kKeyRightCtrl, true}, {kKeyLeftAlt, true}, {kF5, true}, {kF5, false},
                    {kKeyLeftAlt, false}, {kKeyRightCtrl, false}}),
            Codes{kModCtrl | kModAlt | kF5});
  // A held key repeats; a held modifier's repeats neither count nor end its aloneness.
  EXPECT_EQ(Combos({{kKeyLeftShift, true}, {kA, true}, {kA, true}, {kKeyLeftShift, true},
                    {kA, false}, {kKeyLeftShift, false}}),
            (Codes{kModShift | kA, kModShift | kA}));
  // A key without a number still takes the modifiers.
  EXPECT_EQ(Combos({{kKeyLeftCtrl, true}, {0, true}, {kKeyLeftCtrl, false}}), Codes{kModCtrl});
}

TEST(ComboTracker, AModifierAloneIsItsOwnKey) {
  EXPECT_EQ(Combos({{kKeyLeftShift, true}, {kKeyLeftShift, true}, {kKeyLeftShift, false}}),
            Codes{kKeyLeftShift});
  EXPECT_EQ(Combos({{kKeyRightAlt, true}, {kKeyRightAlt, false}}), Codes{kKeyRightAlt});
  // Held under another modifier, it is sent with that one; the outer one is no longer alone.
  EXPECT_EQ(Combos({{kKeyLeftCtrl, true}, {kKeyRightShift, true}, {kKeyRightShift, false},
                    {kKeyLeftCtrl, false}}),
            Codes{kModCtrl | kKeyRightShift});
  // Released in the order pressed: the last one pressed was not alone either, nor is
  // one pressed while another key was still held and released in between.
  EXPECT_EQ(Combos({{kKeyLeftCtrl, true}, {kKeyLeftAlt, true}, {kKeyLeftCtrl, false},
                    {kKeyLeftAlt, false}}),
            Codes{});
  EXPECT_EQ(Combos({{kA, true}, {kKeyLeftShift, true}, {kA, false}, {kKeyLeftShift, false}}),
            Codes{kA});
  // A key in between makes it a modifier.
  EXPECT_EQ(Combos({{kKeyLeftShift, true}, {kA, true}, {kA, false}, {kKeyLeftShift, false},
                    {kKeyLeftShift, true}, {kKeyLeftShift, false}}),
            (Codes{kModShift | kA, kKeyLeftShift}));
  // A release of a modifier pressed before the tester listened is no key.
  EXPECT_EQ(Combos({{kKeyLeftShift, false}, {kA, true}}), Codes{kA});
}

TEST(KeyTesterLine, NamesEveryCellWithinTheCountsThatSendsTheCombination) {
  ConfigModel model;
  ResetModel(model);
  model.keys[2 * kMatrixStride + 4] = kModShift | kA;             // Row 3 Col 5
  model.keys[5 * kMatrixStride + 0] = 0x8000 | kModShift | kA;    // stray high bits still send it
  model.keys[0 * kMatrixStride + 1] = kA;                         // another combination
  model.keys[12 * kMatrixStride + 0] = kModShift | kA;            // beyond the rows in use
  model.rowPins[2] = 14;
  model.columnPins[4] = 2;

  const std::vector<CellRef> cells = CellsSending(model, kModShift | kA);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(KeyTesterLine(model, kModShift | kA, cells, "?"),
            "Shift+A: Row 3 Col 5 (row pin O, column pin C); Row 6 Col 1 (row pin R, column pin A)");
  EXPECT_EQ(KeyTesterLine(model, kModCtrl | kA, CellsSending(model, kModCtrl | kA), "?"),
            "Ctrl+A: not in this configuration");
  // Empty cells never match a key without a number.
  EXPECT_TRUE(CellsSending(model, 0).empty());
  EXPECT_EQ(KeyTesterLine(model, kModAlt, {}, "key 0xAD"), "Alt+key 0xAD: not in this configuration");
}

}  // namespace
