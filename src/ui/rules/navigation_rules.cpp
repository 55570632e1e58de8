#include "ui/rules/navigation_rules.h"

#include "ui/rules/grid_geometry.h"

namespace {

NavAction Focus(NavActionKind kind, int target) { return {kind, target}; }

bool HasVisibleCells(const GridView& view) {
  return view.visibleColumns > 0 && view.visibleRows > 0;
}

}  // namespace

NavAction KeyButtonNavigation(const GridView& view, int button, NavKey key) {
  const int w = view.visibleColumns;
  const int h = view.visibleRows;
  if (!HasVisibleCells(view) || button < 0 || button >= w * h) return {};
  const int r = button / w;
  const int c = button % w;
  switch (key) {
    case NavKey::Tab:
      if (c < w - 1) return Focus(NavActionKind::FocusKeyButton, button + 1);
      if (r < h - 1) return Focus(NavActionKind::FocusDropDown, kTopControlCount + w + r + 1);
      return Focus(NavActionKind::FocusDropDown, 0);
    case NavKey::ShiftTab:
      if (c > 0) return Focus(NavActionKind::FocusKeyButton, button - 1);
      return Focus(NavActionKind::FocusDropDown, kTopControlCount + w + r);
    case NavKey::Enter:
      return {NavActionKind::Click, 0};
    case NavKey::Left:
      if (c > 0) return Focus(NavActionKind::FocusKeyButton, button - 1);
      if (view.columnOffset > 0) return {NavActionKind::ScrollColumns, -1};
      return {};
    case NavKey::Up:
      if (r > 0) return Focus(NavActionKind::FocusKeyButton, button - w);
      if (view.rowOffset > 0) return {NavActionKind::ScrollRows, -1};
      return {};
    case NavKey::Right:
      // Never past the model's last column: compare the focused cell's model column.
      if (view.columnOffset + c >= view.columnCount - 1) return {};
      if (c < w - 1) return Focus(NavActionKind::FocusKeyButton, button + 1);
      return {NavActionKind::ScrollColumns, +1};
    case NavKey::Down:
      if (view.rowOffset + r >= view.rowCount - 1) return {};
      if (r < h - 1) return Focus(NavActionKind::FocusKeyButton, button + w);
      return {NavActionKind::ScrollRows, +1};
    case NavKey::Other:
      break;
  }
  return {};
}

NavAction DropDownNavigation(const GridView& view, int position, NavKey key) {
  const int w = view.visibleColumns;
  const int h = view.visibleRows;
  const int firstRowPinBox = kTopControlCount + w;
  if (!HasVisibleCells(view) || position < 0 || position >= firstRowPinBox + h) return {};
  switch (key) {
    case NavKey::Tab:
      if (position < firstRowPinBox) return Focus(NavActionKind::FocusDropDown, position + 1);
      return Focus(NavActionKind::FocusKeyButton, (position - firstRowPinBox) * w);
    case NavKey::ShiftTab:
      if (position == 0) return Focus(NavActionKind::FocusKeyButton, w * h - 1);
      if (position <= firstRowPinBox) return Focus(NavActionKind::FocusDropDown, position - 1);
      return Focus(NavActionKind::FocusKeyButton, (position - firstRowPinBox) * w - 1);
    default:
      return {};
  }
}
