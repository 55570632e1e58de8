#include "model/config_check.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "model/key_text.h"

namespace {

constexpr KeyCode kWholeCodeMask = 0xFFFF;
constexpr KeyCode kHiddenBitsMask = kWholeCodeMask & ~kCombinationMask;

std::string NotAConfiguration(const std::string& why) { return "not a configuration: " + why; }

}  // namespace

void FindSharedPins(const ConfigModel& model, std::vector<Finding>& findings) {
  std::vector<LineRef> users[kPinCount];
  for (int i = 0; i < model.columns; ++i) users[model.columnPins[i]].push_back({false, i});
  for (int i = 0; i < model.rows; ++i) users[model.rowPins[i]].push_back({true, i});
  for (int pin = 0; pin < kPinCount; ++pin) {
    if (users[pin].size() > 1) findings.push_back({FindingKind::kSharedPin, pin, users[pin], {}});
  }
}

namespace {

// The cells within the counts grouped by the value that group() gives their code
// (-1: in no group), in the order of each group's first cell, row by row.
template <typename Group>
std::vector<Finding> GroupCells(const ConfigModel& model, FindingKind kind, Group group) {
  std::vector<Finding> groups;
  std::map<int, std::size_t> slot;
  for (int r = 0; r < model.rows; ++r) {
    for (int c = 0; c < model.columns; ++c) {
      const int value = group(model.keys[r * kMatrixStride + c] & kWholeCodeMask);
      if (value < 0) continue;
      const auto found = slot.emplace(value, groups.size());
      if (found.second) groups.push_back({kind, value, {}, {}});
      groups[found.first->second].cells.push_back({r, c});
    }
  }
  return groups;
}

void Append(std::vector<Finding>&& groups, std::vector<Finding>& findings) {
  for (Finding& group : groups) findings.push_back(std::move(group));
}

// Duplicates and unnamed numbers, in the order of their first cell.
void FindKeyProblems(const ConfigModel& model, std::vector<Finding>& findings) {
  const auto used = [](KeyCode code) {
    const KeyCode combination = code & kCombinationMask;
    return (combination & kKeyNumberMask) != 0 ? combination : -1;
  };
  for (Finding& group : GroupCells(model, FindingKind::kDuplicateKey, used)) {
    if (group.cells.size() > 1) findings.push_back(std::move(group));
  }
  Append(GroupCells(model, FindingKind::kUnnamedKey, [&](KeyCode code) {
           const int combination = used(code);
           return combination >= 0 && KeyName(combination & kKeyNumberMask) == nullptr ? combination : -1;
         }), findings);
}

// Codes that a key button cannot show whole: it shows two modifiers at most, and
// nothing of bits 11-15.
void FindHiddenCodes(const ConfigModel& model, std::vector<Finding>& findings) {
  Append(GroupCells(model, FindingKind::kAllModifiers,
                    [](KeyCode code) { return (code & kModifierMask) == kModifierMask ? code : -1; }),
         findings);
  Append(GroupCells(model, FindingKind::kHiddenBits,
                    [](KeyCode code) { return (code & kHiddenBitsMask) != 0 ? code : -1; }),
         findings);
}

}  // namespace

std::string LineName(const LineRef& line) {
  return (line.isRow ? "Row " : "Column ") + std::to_string(line.index + 1);
}

std::string CellName(const CellRef& cell) {
  return "Row " + std::to_string(cell.row + 1) + " Col " + std::to_string(cell.column + 1);
}

std::vector<Finding> CheckConfig(const ConfigModel& model) {
  std::vector<Finding> findings;
  FindSharedPins(model, findings);
  FindKeyProblems(model, findings);
  FindHiddenCodes(model, findings);
  return findings;
}

bool IsNote(const Finding& finding) {
  return finding.kind == FindingKind::kAllModifiers || finding.kind == FindingKind::kHiddenBits;
}

bool HasProblem(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return !IsNote(f); });
}

std::vector<Finding> CheckImageBytes(const std::uint8_t* data, std::size_t size) {
  if (size < static_cast<std::size_t>(kImageSize)) {
    return {{FindingKind::kTooShort, static_cast<int>(size), {}, {}}};
  }
  ConfigImage image;
  std::memcpy(image.data(), data, image.size());
  const HeaderCheck header = CheckImageHeader(image);
  switch (header.fault) {
    case HeaderFault::kNone: break;
    case HeaderFault::kRows: return {{FindingKind::kRowsOutOfRange, header.value, {}, {}}};
    case HeaderFault::kColumns: return {{FindingKind::kColumnsOutOfRange, header.value, {}, {}}};
    case HeaderFault::kTooManyLines: return {{FindingKind::kTooManyLines, header.value, {}, {}}};
    case HeaderFault::kPin: {
      const int columns = image[kImageColumns];
      const int i = header.pinEntry;
      const LineRef line = i < columns ? LineRef{false, i} : LineRef{true, i - columns};
      return {{FindingKind::kPinOutOfRange, header.value, {line}, {}}};
    }
  }
  ConfigModel model;
  ResetModel(model);
  DecodeImage(image, model);  // a good header is all it asks for
  return CheckConfig(model);
}

std::string FindingText(const Finding& f) {
  const std::string cells = JoinNames(f.cells, CellName);
  switch (f.kind) {
    case FindingKind::kTooShort:
      return NotAConfiguration("too short, " + std::to_string(f.value) + " of " + std::to_string(kImageSize) + " bytes");
    case FindingKind::kRowsOutOfRange:
      return NotAConfiguration("rows " + std::to_string(f.value) + ", not 1 to " + std::to_string(kMaxLines));
    case FindingKind::kColumnsOutOfRange:
      return NotAConfiguration("columns " + std::to_string(f.value) + ", not 1 to " + std::to_string(kMaxLines));
    case FindingKind::kTooManyLines:
      return NotAConfiguration("rows and columns " + std::to_string(f.value) + ", more than " +
                               std::to_string(kPinCount));
    case FindingKind::kPinOutOfRange:
      return NotAConfiguration("pin byte of " + JoinNames(f.lines, LineName) + " is " + std::to_string(f.value) +
                               ", not 1 to " + std::to_string(kPinCount));
    case FindingKind::kSharedPin:
      return std::string("pin ") + PinLetter(f.value) + ": " + JoinNames(f.lines, LineName);
    case FindingKind::kDuplicateKey:
      return "key " + FormatKeyText(f.value) + " in " + cells;
    case FindingKind::kUnnamedKey:
      return "key number without a name " + FormatKeyText(f.value) + " in " + cells;
    case FindingKind::kAllModifiers:
      return "key " + FormatKeyText(f.value) + " in " + cells + ": the button shows only Alt and Shift";
    case FindingKind::kHiddenBits:
      return "key " + FormatKeyText(f.value) + " in " + cells + ": the button does not show bits 11 to 15";
  }
  return {};
}
