#include "model/config_check.h"

#include <algorithm>
#include <cstring>

#include "model/key_text.h"

namespace {

constexpr KeyCode kCombinationMask = kModifierMask | kKeyNumberMask;
constexpr int kCombinationCount = kCombinationMask + 1;

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

// Duplicates and unnamed numbers, in the order of their first cell.
void FindKeyProblems(const ConfigModel& model, std::vector<Finding>& findings) {
  std::vector<int> slot(kCombinationCount, -1);  // combination -> index into groups
  std::vector<Finding> groups;
  std::vector<Finding> unnamed;
  std::vector<int> unnamedSlot(kCombinationCount, -1);
  for (int r = 0; r < model.rows; ++r) {
    for (int c = 0; c < model.columns; ++c) {
      const KeyCode combination = model.keys[r * kMatrixStride + c] & kCombinationMask;
      const int number = combination & kKeyNumberMask;
      if (number == 0) continue;
      if (slot[combination] < 0) {
        slot[combination] = static_cast<int>(groups.size());
        groups.push_back({FindingKind::kDuplicateKey, combination, {}, {}});
      }
      groups[slot[combination]].cells.push_back({r, c});
      if (KeyName(number) == nullptr) {
        if (unnamedSlot[combination] < 0) {
          unnamedSlot[combination] = static_cast<int>(unnamed.size());
          unnamed.push_back({FindingKind::kUnnamedKey, combination, {}, {}});
        }
        unnamed[unnamedSlot[combination]].cells.push_back({r, c});
      }
    }
  }
  for (Finding& group : groups) {
    if (group.cells.size() > 1) findings.push_back(std::move(group));
  }
  for (Finding& group : unnamed) findings.push_back(std::move(group));
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
  return findings;
}

std::vector<Finding> CheckImageBytes(const std::uint8_t* data, std::size_t size) {
  if (size < static_cast<std::size_t>(kImageSize)) {
    return {{FindingKind::kTooShort, static_cast<int>(size), {}, {}}};
  }
  ConfigImage image;
  std::memcpy(image.data(), data, image.size());
  const int rows = image[kImageRows];
  const int columns = image[kImageColumns];
  if (rows < 1 || rows > kMaxLines) return {{FindingKind::kRowsOutOfRange, rows, {}, {}}};
  if (columns < 1 || columns > kMaxLines) return {{FindingKind::kColumnsOutOfRange, columns, {}, {}}};
  if (rows + columns > kPinCount) return {{FindingKind::kTooManyLines, rows + columns, {}, {}}};
  for (int i = 0; i < rows + columns; ++i) {
    const int pin = image[kImagePinArea + i];
    if (pin < 1 || pin > kPinCount) {
      const LineRef line = i < columns ? LineRef{false, i} : LineRef{true, i - columns};
      return {{FindingKind::kPinOutOfRange, pin, {line}, {}}};
    }
  }
  ConfigModel model;
  ResetModel(model);
  DecodeImage(image, model);  // the header rules above are the ones it applies
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
  }
  return {};
}
