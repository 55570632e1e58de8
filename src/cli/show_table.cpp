#include "cli/show_table.h"

#include <algorithm>
#include <vector>

#include "model/key_text.h"

namespace {

constexpr char kGap[] = "  ";

std::string LineLabel(const char* kind, int index, int pin) {
  return kind + std::to_string(index + 1) + ":" + PinLetter(pin);
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
