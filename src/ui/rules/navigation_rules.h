// Pure decisions of the grid's keyboard navigation: where Tab, Shift+Tab, Enter and
// the arrow keys send the focus, and when an arrow key scrolls. No Win32 here.
#pragma once

// What the navigation sees of the grid at the moment a key is pressed.
struct GridView {
  int visibleColumns = 0;  // W
  int visibleRows = 0;     // H
  int columnOffset = 0;    // model column shown in grid column 0
  int rowOffset = 0;       // model row shown in grid row 0
  int columnCount = 0;     // the model's columns
  int rowCount = 0;        // the model's rows
};

// Keys the navigation acts on; Ctrl and Alt play no part, Shift only with Tab.
enum class NavKey { Tab, ShiftTab, Enter, Left, Up, Right, Down, Other };

enum class NavActionKind {
  None,            // leave everything to the control's own handling
  FocusKeyButton,  // target: key button index (row-major over the visible grid)
  FocusDropDown,   // target: drop-down position (0 rows, 1 columns, 2 typematic, 3.. pin boxes)
  Click,           // click the key button itself
  ScrollColumns,   // target: +1 or -1, the column offset's step
  ScrollRows,      // target: +1 or -1, the row offset's step
};

struct NavAction {
  NavActionKind kind = NavActionKind::None;
  int target = 0;
};

// A key on the visible key button at index button (r = button / W, c = button % W).
// A button outside the visible grid, or a grid with no visible column or row, does
// nothing.
NavAction KeyButtonNavigation(const GridView& view, int button, NavKey key);

// A key on the drop-down at position p. Only Tab and Shift+Tab move; a position
// outside the visible cycle, or a grid with no visible column or row, does nothing,
// so that no hidden control ever receives the focus.
NavAction DropDownNavigation(const GridView& view, int position, NavKey key);
