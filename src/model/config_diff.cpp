#include "model/config_diff.h"

#include <algorithm>

#include "model/config_check.h"
#include "model/key_text.h"

namespace {

constexpr char kAbsent[] = "(none)";

void AddIfDifferent(std::vector<std::string>& lines, const std::string& what, const std::string& a,
                    const std::string& b) {
  if (a != b) lines.push_back(what + ": " + a + " -> " + b);
}

std::string PinText(const int* pins, int count, int index) {
  return index < count ? std::string(1, PinLetter(pins[index])) : kAbsent;
}

void DiffPins(std::vector<std::string>& lines, bool isRow, const int* pinsA, int countA, const int* pinsB,
              int countB) {
  for (int i = 0; i < std::max(countA, countB); ++i) {
    AddIfDifferent(lines, LineName({isRow, i}) + " pin", PinText(pinsA, countA, i), PinText(pinsB, countB, i));
  }
}

}  // namespace

std::vector<std::string> DiffConfigs(const ConfigModel& a, const ConfigModel& b) {
  std::vector<std::string> lines;
  AddIfDifferent(lines, "rows", std::to_string(a.rows), std::to_string(b.rows));
  AddIfDifferent(lines, "columns", std::to_string(a.columns), std::to_string(b.columns));
  AddIfDifferent(lines, "typematic", a.typematic ? "on" : "off", b.typematic ? "on" : "off");
  DiffPins(lines, false, a.columnPins, a.columns, b.columnPins, b.columns);
  DiffPins(lines, true, a.rowPins, a.rows, b.rowPins, b.rows);

  for (int r = 0; r < std::max(a.rows, b.rows); ++r) {
    for (int c = 0; c < std::max(a.columns, b.columns); ++c) {
      const int cell = r * kMatrixStride + c;
      const bool inA = r < a.rows && c < a.columns;
      const bool inB = r < b.rows && c < b.columns;
      const KeyCode keyA = inA ? a.keys[cell] : kKeyNotUsed;
      const KeyCode keyB = inB ? b.keys[cell] : kKeyNotUsed;
      if (keyA == keyB) continue;
      AddIfDifferent(lines, CellName({r, c}), inA ? FormatKeyText(keyA) : kAbsent,
                     inB ? FormatKeyText(keyB) : kAbsent);
    }
  }
  return lines;
}
