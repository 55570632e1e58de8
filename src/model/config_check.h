// Problems of a configuration that the editor would load, or of a file that is
// not one: found as data (for windows that list them and point at cells) and
// worded as one line each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/config.h"

enum class FindingKind {
  kTooShort,          // value: the bytes the file has
  kRowsOutOfRange,    // value: the rows byte
  kColumnsOutOfRange, // value: the columns byte
  kTooManyLines,      // value: rows + columns
  kPinOutOfRange,     // value: the pin byte of lines[0]
  kSharedPin,         // value: pin index used by all of lines
  kDuplicateKey,      // value: key combination (code without bits 11-15) held by all of cells
  kUnnamedKey,        // value: code (without bits 11-15) whose key number has no name, in cells
  // Notes: valid codes that a cell's button does not show whole.
  kAllModifiers,      // value: whole code with Ctrl, Shift and Alt (the button shows Alt and Shift)
  kHiddenBits,        // value: whole code with bits 11-15 set
};

// What starts the line of a note where notes and problems are listed together.
constexpr char kNotePrefix[] = "note: ";

// A scan line: row or column, counted from 0.
struct LineRef {
  bool isRow;
  int index;
};

// A matrix cell, row and column counted from 0.
struct CellRef {
  int row;
  int column;
};

struct Finding {
  FindingKind kind;
  int value = 0;
  std::vector<LineRef> lines;
  std::vector<CellRef> cells;
};

// "Row 8", "Column 3" (counted from 1).
std::string LineName(const LineRef& line);
// "Row 3 Col 5" (counted from 1).
std::string CellName(const CellRef& cell);

// The names of items joined as "A", "A and B", "A, B and C".
template <typename T, typename Name>
std::string JoinNames(const std::vector<T>& items, Name name) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += name(items[i]);
  }
  return text;
}

// Problems of a configuration within its counts: pins shared by scan lines (by
// pin), one key combination in two or more cells, and key numbers without a
// name (both in the order of their first cell, row by row). Empty cells are
// never duplicates. Then the notes, by code in the order of their first cell.
// Without problems (notes aside) the configuration is fine.
std::vector<Finding> CheckConfig(const ConfigModel& model);

// Whether a finding is a note rather than a problem.
bool IsNote(const Finding& finding);
bool HasProblem(const std::vector<Finding>& findings);
// Only the pins shared by scan lines (by pin), as CheckConfig finds them.
void FindSharedPins(const ConfigModel& model, std::vector<Finding>& findings);

// Problems of a configuration file's bytes: a file shorter than an image, or
// the first header rule it fails, gives that one finding; otherwise the
// problems of the configuration as the editor loads it.
std::vector<Finding> CheckImageBytes(const std::uint8_t* data, std::size_t size);

// One line for a finding, e.g. "pin X: Row 8 and Row 12".
std::string FindingText(const Finding& finding);
