// The grid's keyboard navigation decisions: the focus cycle, arrow keys and scrolling
// at the edges, and the grids with nothing visible.
#include "ui/rules/navigation_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A focused control: a key button by index, or a drop-down by position.
struct Focus {
  bool button;
  int index;
  bool operator==(const Focus& other) const {
    return button == other.button && index == other.index;
  }
};

std::string Describe(const Focus& focus) {
  return (focus.button ? "button " : "drop-down ") + std::to_string(focus.index);
}

GridView View(int w, int h, int columnOffset = 0, int rowOffset = 0, int columns = 12,
              int rows = 12) {
  GridView view;
  view.visibleColumns = w;
  view.visibleRows = h;
  view.columnOffset = columnOffset;
  view.rowOffset = rowOffset;
  view.columnCount = columns;
  view.rowCount = rows;
  return view;
}

NavAction Press(const GridView& view, const Focus& focus, NavKey key) {
  return focus.button ? KeyButtonNavigation(view, focus.index, key)
                      : DropDownNavigation(view, focus.index, key);
}

// The focus after a key that moves it; fails when the key does something else.
Focus Next(const GridView& view, const Focus& focus, NavKey key) {
  const NavAction action = Press(view, focus, key);
  if (action.kind == NavActionKind::FocusKeyButton) return {true, action.target};
  if (action.kind == NavActionKind::FocusDropDown) return {false, action.target};
  ADD_FAILURE() << "the key did not move the focus from " << Describe(focus);
  return focus;
}

// The Tab order written out from its description: the top drop-downs, the column
// pin boxes, then each row's pin box followed by its buttons.
std::vector<Focus> ExpectedCycle(int w, int h) {
  std::vector<Focus> cycle = {{false, 0}, {false, 1}, {false, 2}};
  for (int k = 0; k < w; ++k) cycle.push_back({false, 3 + k});
  for (int r = 0; r < h; ++r) {
    cycle.push_back({false, 3 + w + r});
    for (int k = 0; k < w; ++k) cycle.push_back({true, r * w + k});
  }
  return cycle;
}

TEST(NavigationRules, TabAndShiftTabWalkTheWholeCycle) {
  const int shapes[][2] = {{1, 1}, {6, 6}, {5, 3}, {2, 7}, {12, 12}, {1, 23}, {23, 1}};
  for (const auto& shape : shapes) {
    const int w = shape[0], h = shape[1];
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    const GridView view = View(w, h, 0, 0, 23, 23);
    const std::vector<Focus> cycle = ExpectedCycle(w, h);
    const size_t n = cycle.size();
    for (size_t i = 0; i < n; ++i) {
      EXPECT_EQ(Next(view, cycle[i], NavKey::Tab), cycle[(i + 1) % n]) << Describe(cycle[i]);
      EXPECT_EQ(Next(view, cycle[i], NavKey::ShiftTab), cycle[(i + n - 1) % n])
          << Describe(cycle[i]);
    }
  }
}

TEST(NavigationRules, TabIgnoresTheScrollOffsets) {
  const GridView scrolled = View(4, 3, 5, 7);
  EXPECT_EQ(Next(scrolled, {true, 3}, NavKey::Tab), (Focus{false, 3 + 4 + 1}));
  EXPECT_EQ(Next(scrolled, {false, 0}, NavKey::ShiftTab), (Focus{true, 11}));
}

struct ArrowCase {
  const char* name;
  GridView view;
  int button;
  NavKey key;
  NavActionKind kind;
  int target;
};

TEST(NavigationRules, ArrowKeysMoveInsideAndScrollAtTheEdges) {
  const ArrowCase cases[] = {
      {"left inside", View(6, 6), 8, NavKey::Left, NavActionKind::FocusKeyButton, 7},
      {"left at column 0, offset 0", View(6, 6), 6, NavKey::Left, NavActionKind::None, 0},
      {"left at column 0, scrolled", View(6, 6, 2), 6, NavKey::Left,
       NavActionKind::ScrollColumns, -1},
      {"up inside", View(6, 6), 8, NavKey::Up, NavActionKind::FocusKeyButton, 2},
      {"up at row 0, offset 0", View(6, 6), 3, NavKey::Up, NavActionKind::None, 0},
      {"up at row 0, scrolled", View(6, 6, 0, 1), 3, NavKey::Up, NavActionKind::ScrollRows, -1},
      {"right inside", View(6, 6), 8, NavKey::Right, NavActionKind::FocusKeyButton, 9},
      {"right at the last grid column", View(6, 6), 5, NavKey::Right,
       NavActionKind::ScrollColumns, +1},
      {"right at the model's last column", View(6, 6, 6), 11, NavKey::Right,
       NavActionKind::None, 0},
      {"right inside, model's last column", View(6, 6, 0, 0, 4, 12), 3, NavKey::Right,
       NavActionKind::None, 0},
      {"down inside", View(6, 6), 8, NavKey::Down, NavActionKind::FocusKeyButton, 14},
      {"down at the last grid row", View(6, 6), 32, NavKey::Down, NavActionKind::ScrollRows,
       +1},
      {"down at the model's last row", View(6, 6, 0, 6), 32, NavKey::Down, NavActionKind::None,
       0},
      {"down, whole model visible", View(5, 3, 0, 0, 5, 3), 12, NavKey::Down,
       NavActionKind::None, 0},
      {"single cell, right scrolls", View(1, 1, 0, 0, 3, 3), 0, NavKey::Right,
       NavActionKind::ScrollColumns, +1},
      {"single cell, down scrolls", View(1, 1, 0, 1, 3, 3), 0, NavKey::Down,
       NavActionKind::ScrollRows, +1},
      {"single cell, last row", View(1, 1, 0, 2, 3, 3), 0, NavKey::Down, NavActionKind::None,
       0},
      {"enter clicks", View(6, 6), 20, NavKey::Enter, NavActionKind::Click, 0},
      {"other keys do nothing", View(6, 6), 20, NavKey::Other, NavActionKind::None, 0},
  };
  for (const ArrowCase& c : cases) {
    SCOPED_TRACE(c.name);
    const NavAction action = KeyButtonNavigation(c.view, c.button, c.key);
    EXPECT_EQ(action.kind, c.kind);
    if (action.kind != NavActionKind::None && action.kind != NavActionKind::Click) {
      EXPECT_EQ(action.target, c.target);
    }
  }
}

TEST(NavigationRules, DropDownsLeaveEveryKeyButTabToTheControl) {
  for (NavKey key : {NavKey::Enter, NavKey::Left, NavKey::Up, NavKey::Right, NavKey::Down,
                     NavKey::Other}) {
    for (int position : {0, 2, 3, 9, 12}) {
      EXPECT_EQ(DropDownNavigation(View(6, 6), position, key).kind, NavActionKind::None)
          << position;
    }
  }
}

// Nothing visible to move to, or a control outside the visible cycle: no action, so
// no hidden control can receive the focus.
TEST(NavigationRules, NothingMovesWithoutVisibleCells) {
  const GridView empties[] = {View(0, 6), View(6, 0), View(0, 0)};
  for (const GridView& view : empties) {
    SCOPED_TRACE(testing::Message() << view.visibleColumns << " x " << view.visibleRows);
    for (NavKey key : {NavKey::Tab, NavKey::ShiftTab, NavKey::Enter, NavKey::Left, NavKey::Up,
                       NavKey::Right, NavKey::Down}) {
      for (int index = 0; index < 27; ++index) {
        EXPECT_EQ(DropDownNavigation(view, index, key).kind, NavActionKind::None) << index;
        EXPECT_EQ(KeyButtonNavigation(view, index, key).kind, NavActionKind::None) << index;
      }
    }
  }
  const GridView view = View(3, 2);
  for (NavKey key : {NavKey::Tab, NavKey::ShiftTab}) {
    EXPECT_EQ(DropDownNavigation(view, 3 + 3 + 2, key).kind, NavActionKind::None);
    EXPECT_EQ(DropDownNavigation(view, -1, key).kind, NavActionKind::None);
    EXPECT_EQ(KeyButtonNavigation(view, 6, key).kind, NavActionKind::None);
    EXPECT_EQ(KeyButtonNavigation(view, -1, key).kind, NavActionKind::None);
  }
}

}  // namespace
