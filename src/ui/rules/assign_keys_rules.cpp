#include "ui/rules/assign_keys_rules.h"

#include <algorithm>

#include "model/key_text.h"

namespace {

AssignPosition At(int row, int column) { return {{row, column}, false}; }

}  // namespace

AssignPosition NextCell(const ConfigModel& model, const AssignPosition& at) {
  if (at.done) return at;
  if (at.cell.column + 1 < model.columns) return At(at.cell.row, at.cell.column + 1);
  if (at.cell.row + 1 < model.rows) return At(at.cell.row + 1, 0);
  return {at.cell, true};
}

AssignPosition PreviousCell(const ConfigModel& model, const AssignPosition& at) {
  if (at.done) return At(at.cell.row, at.cell.column);
  if (at.cell.column > 0) return At(at.cell.row, at.cell.column - 1);
  if (at.cell.row > 0) return At(at.cell.row - 1, model.columns - 1);
  return at;
}

AssignPosition KeepInsideCounts(const ConfigModel& model, const AssignPosition& at) {
  return {{std::clamp(at.cell.row, 0, model.rows - 1), std::clamp(at.cell.column, 0, model.columns - 1)},
          at.done};
}

TypedVerdict JudgeTyped(const AssignPosition& at, KeyCode combo) {
  if (at.done) return TypedVerdict::kNoCellLeft;
  if ((combo & kKeyNumberMask) == 0 || KeyName(combo & kKeyNumberMask) == nullptr) {
    return TypedVerdict::kNoKeyNumber;
  }
  if ((combo & kModifierMask) == kModifierMask) return TypedVerdict::kAllModifiers;
  return TypedVerdict::kAssign;
}

std::string PositionText(const ConfigModel& model, const AssignPosition& at) {
  if (at.done) return "Done: " + CellName(at.cell) + " was the last cell. Back returns to it.";
  const KeyCode code = model.keys[at.cell.row * kMatrixStride + at.cell.column];
  return "Type the key for " + CellName(at.cell) + " (now " + FormatKeyText(code, kNotUsedKeyText) + ")";
}

std::string AssignedLine(const CellRef& cell, KeyCode code) {
  return CellName(cell) + ": " + FormatKeyText(code, kNotUsedKeyText);
}

std::string RefusedLine(TypedVerdict verdict, const AssignPosition& at, KeyCode combo,
                        const std::string& unknownKey) {
  const std::string typed = FormatKeyText(combo, unknownKey) + " refused: ";
  const std::string unchanged = "; " + CellName(at.cell) + " unchanged";
  switch (verdict) {
    case TypedVerdict::kNoKeyNumber: return typed + "no key of the RQ57" + unchanged;
    case TypedVerdict::kAllModifiers: return typed + "two modifiers at most" + unchanged;
    case TypedVerdict::kNoCellLeft: return typed + "no cell left (Back returns to the last one)";
    case TypedVerdict::kAssign: break;
  }
  return {};
}
