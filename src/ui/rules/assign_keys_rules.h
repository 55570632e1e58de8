// Pure decisions of assigning keys by typing: the order of the cells, what a typed
// combination does, and the window's texts. No Win32 here.
#pragma once

#include <string>

#include "model/config_check.h"
#include "model/key_code.h"

// Where assigning stands: the next cell, or past the last one within the counts
// (then cell is that last cell, where Back returns).
struct AssignPosition {
  CellRef cell{0, 0};
  bool done = false;
};

// The next cell in reading order (row by row) within the counts; after the last
// one, done.
AssignPosition NextCell(const ConfigModel& model, const AssignPosition& at);
// The cell before, in the same order; from done, the last cell. Row 1 Col 1 stays.
AssignPosition PreviousCell(const ConfigModel& model, const AssignPosition& at);
// The same place moved inside the counts where they shrank below it.
AssignPosition KeepInsideCounts(const ConfigModel& model, const AssignPosition& at);

enum class TypedVerdict {
  kAssign,
  kNoKeyNumber,    // a key without a number in the editor's list
  kAllModifiers,   // Ctrl, Shift and Alt together, which the key dialog never makes
  kNoCellLeft,     // typed after the last cell
};
TypedVerdict JudgeTyped(const AssignPosition& at, KeyCode combo);

// The window's texts: what comes next, e.g. "Type the key for Row 1 Col 2 (now Not
// Used)"; a list line for an assignment, "Row 1 Col 1: Shift+A"; and one for a
// refused combination, whose key without a number shows as unknownKey.
std::string PositionText(const ConfigModel& model, const AssignPosition& at);
std::string AssignedLine(const CellRef& cell, KeyCode code);
std::string RefusedLine(TypedVerdict verdict, const AssignPosition& at, KeyCode combo,
                        const std::string& unknownKey);
