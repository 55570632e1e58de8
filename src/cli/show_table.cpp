#include "cli/show_table.h"

#include <algorithm>
#include <vector>

#include "model/config_check.h"
#include "model/key_text.h"

namespace {

constexpr char kGap[] = "  ";

std::string LineLabel(const char* kind, int index, int pin) {
  return kind + std::to_string(index + 1) + ":" + PinLetter(pin);
}

// How many different pins the first count entries use.
int DistinctPins(const int* pins, int count) {
  bool used[kPinCount] = {};
  int distinct = 0;
  for (int i = 0; i < count; ++i) {
    distinct += used[pins[i]] ? 0 : 1;
    used[pins[i]] = true;
  }
  return distinct;
}

}  // namespace

std::string ShowTable(const ConfigModel& model) {
  // table[0] is the header; column 0 holds the row labels.
  std::vector<std::vector<std::string>> table(model.rows + 1, std::vector<std::string>(model.columns + 1));
  for (int c = 0; c < model.columns; ++c) table[0][c + 1] = LineLabel("Col ", c, model.columnPins[c]);
  for (int r = 0; r < model.rows; ++r) {
    table[r + 1][0] = LineLabel("Row ", r, model.rowPins[r]);
    for (int c = 0; c < model.columns; ++c) table[r + 1][c + 1] = FormatKeyText(model.keys[r * kMatrixStride + c]);
  }
  std::vector<std::size_t> widths(model.columns + 1, 0);
  for (const auto& line : table) {
    for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], line[c].size());
  }

  std::string text = "rows: " + std::to_string(model.rows) + "\ncolumns: " + std::to_string(model.columns) +
                     "\ntypematic: " + (model.typematic ? "on" : "off") + "\n";
  for (const auto& line : table) {
    std::string out;
    for (std::size_t c = 0; c < line.size(); ++c) {
      if (c > 0) out += kGap;
      out += line[c];
      if (c + 1 < line.size()) out.append(widths[c] - line[c].size(), ' ');
    }
    text += out.substr(0, out.find_last_not_of(' ') + 1) + "\n";
  }
  return text;
}

std::string ShowUnloadedKeys(const ConfigModel& model, const ConfigImage& image) {
  std::string text;
  std::vector<Finding> shared;
  FindSharedPins(model, shared);
  for (const Finding& finding : shared) {
    // A column on the pin of an earlier column (a row likewise) loses its keys;
    // a column and a row may share a pin without that.
    const LineRef* first[2] = {nullptr, nullptr};
    for (const LineRef& line : finding.lines) {
      const LineRef*& earlier = first[line.isRow ? 1 : 0];
      if (earlier == nullptr) {
        earlier = &line;
        continue;
      }
      text += "not shown: " + LineName(line) + " is on pin " + PinLetter(finding.value) + " like " +
              LineName(*earlier) + "; keys are stored by pin, so its cells show none of their own\n";
    }
  }
  // Entry e of block b holds the cell of the b-th column pin and the n-th row pin
  // (e = b * rows + n); entries beyond the pins in use are never loaded.
  const int columnPins = DistinctPins(model.columnPins, model.columns);
  const int rowPins = DistinctPins(model.rowPins, model.rows);
  std::string unloaded;
  for (int e = 0; e < model.rows * model.columns; ++e) {
    if (e / model.rows < columnPins && e % model.rows < rowPins) continue;
    const KeyCode code = image[2 * e] << 8 | image[2 * e + 1];
    unloaded += "  entry " + std::to_string(e) + " (bytes " + std::to_string(2 * e) + "-" + std::to_string(2 * e + 1) +
                "): " + FormatKeyText(code) + "\n";
  }
  if (!unloaded.empty()) text += "not shown: key data that no pin takes:\n" + unloaded;
  return text;
}
