#include "model/wiring_chart.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/config_check.h"
#include "model/key_text.h"
#include "model/untrusted_text.h"

namespace {

// Page geometry in millimetres: the printable area common to A4 and Letter.
constexpr double kPageWidth = 210;
constexpr double kPageHeight = 279;
constexpr double kMargin = 12;
constexpr double kTitleY = kMargin + 6;
constexpr double kSummaryY = kTitleY + 7;
constexpr double kPinTableY = kSummaryY + 6;
constexpr double kPinBoxHeight = 11;
constexpr int kPinsPerLine = 12;
constexpr double kGridY = kPinTableY + 2 * kPinBoxHeight + 10;
constexpr double kMaxCellWidth = 24;
constexpr double kMaxCellHeight = 14;
constexpr double kTextSize = 2.6;
constexpr double kCharWidth = 0.56;  // average advance of a sans-serif character, in font sizes
constexpr char kFont[] = "font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\"";

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

// XML text of any bytes. What XML 1.0 cannot carry at all, not even as a
// reference (control characters, invalid UTF-8, U+FFFE and U+FFFF), shows quoted
// as in messages.
std::string Escaped(const std::string& text) {
  static const char* const kNotCharacters[][2] = {{"\xEF\xBF\xBE", "\\ufffe"}, {"\xEF\xBF\xBF", "\\uffff"}};
  std::string quoted = QuoteUntrusted(text);
  for (const auto& [bytes, shown] : kNotCharacters) {
    for (std::size_t at = quoted.find(bytes); at != std::string::npos; at = quoted.find(bytes, at)) {
      quoted.replace(at, std::strlen(bytes), shown);
    }
  }
  std::string out;
  for (char c : quoted) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

class Page {
 public:
  void Rect(double x, double y, double w, double h, const char* fill) {
    svg_ += "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" + Number(w) + "\" height=\"" +
            Number(h) + "\" fill=\"" + fill + "\" stroke=\"black\" stroke-width=\"0.2\"/>\n";
  }

  // Centred lines of text in a box: a line too long for the box breaks after a
  // blank or a '+', and the text shrinks until the widest line fits.
  void Lines(double x, double y, double w, double h, const std::vector<std::string>& given, bool bold = false) {
    const auto fitting = static_cast<std::size_t>(std::max(1.0, (w - 1) / (kCharWidth * kTextSize)));
    std::vector<std::string> lines;
    for (std::string line : given) {
      while (line.size() > fitting) {
        const std::size_t cut = line.find_last_of(" +", fitting - 1);
        if (cut == std::string::npos || cut == 0) break;
        lines.push_back(line.substr(0, line[cut] == '+' ? cut + 1 : cut));
        line.erase(0, cut + 1);
      }
      lines.push_back(line);
    }
    std::size_t longest = 1;
    for (const std::string& line : lines) longest = std::max(longest, line.size());
    const double size = std::min({kTextSize, (w - 1) / (kCharWidth * static_cast<double>(longest)),
                                  (h - 1) / (1.2 * static_cast<double>(lines.size()))});
    const double top = y + h / 2 - size * 1.2 * static_cast<double>(lines.size()) / 2 + size;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      Text(x + w / 2, top + size * 1.2 * static_cast<double>(i), size, lines[i], "middle", bold);
    }
  }

  void Text(double x, double y, double size, const std::string& text, const char* anchor, bool bold) {
    svg_ += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" font-size=\"" + Number(size) + "\" " + kFont +
            " text-anchor=\"" + anchor + "\"" + (bold ? " font-weight=\"bold\"" : "") + ">" + Escaped(text) +
            "</text>\n";
  }

  std::string Finish() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(kPageWidth) + "mm\" height=\"" +
           Number(kPageHeight) + "mm\" viewBox=\"0 0 " + Number(kPageWidth) + " " + Number(kPageHeight) + "\">\n" +
           "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" + svg_ + "</svg>\n";
  }

 private:
  std::string svg_;
};

// A cell's key on up to three lines: the modifiers, the key, and the whole
// code when bits 11-15 are set.
std::vector<std::string> CellLines(KeyCode code) {
  std::vector<std::string> lines;
  if ((code & kModifierMask) != 0) {
    const std::string modifiers = FormatKeyText(code & kModifierMask);  // "Alt+Ctrl+-"
    lines.push_back(modifiers.substr(0, modifiers.size() - kEmptyKeyText.size()));  // "Alt+Ctrl+"
  }
  const std::string key = FormatKeyText(code & ~kModifierMask);  // "A" or "A [0x801F]"
  const std::size_t bracket = key.rfind(kWholeCodeOpen);
  lines.push_back(key.substr(0, bracket));
  if (bracket != std::string::npos) lines.push_back(key.substr(bracket + 1));
  return lines;
}

void PinTable(Page& page, const ConfigModel& model) {
  std::vector<std::string> users[kPinCount];
  for (int i = 0; i < model.columns; ++i) users[model.columnPins[i]].push_back(LineName({false, i}));
  for (int i = 0; i < model.rows; ++i) users[model.rowPins[i]].push_back(LineName({true, i}));
  const double width = (kPageWidth - 2 * kMargin) / kPinsPerLine;
  for (int pin = 0; pin < kPinCount; ++pin) {
    const double x = kMargin + (pin % kPinsPerLine) * width;
    const double y = kPinTableY + (pin / kPinsPerLine) * kPinBoxHeight;
    const bool shared = users[pin].size() > 1;
    page.Rect(x, y, width, kPinBoxHeight, shared ? "#f4b0b0" : users[pin].empty() ? "#eeeeee" : "white");
    std::vector<std::string> lines = {std::string(1, PinLetter(pin))};
    if (users[pin].empty()) lines.push_back("free");
    lines.insert(lines.end(), users[pin].begin(), users[pin].end());
    page.Lines(x, y, width, kPinBoxHeight, lines);
  }
}

void Grid(Page& page, const ConfigModel& model) {
  const double cellWidth = std::min(kMaxCellWidth, (kPageWidth - 2 * kMargin) / (model.columns + 1));
  const double cellHeight = std::min(kMaxCellHeight, (kPageHeight - kMargin - kGridY) / (model.rows + 1));
  for (int c = 0; c < model.columns; ++c) {
    const double x = kMargin + (c + 1) * cellWidth;
    page.Rect(x, kGridY, cellWidth, cellHeight, "#dde6f2");
    page.Lines(x, kGridY, cellWidth, cellHeight,
               {"Col " + std::to_string(c + 1), std::string("pin ") + PinLetter(model.columnPins[c])}, true);
  }
  for (int r = 0; r < model.rows; ++r) {
    const double y = kGridY + (r + 1) * cellHeight;
    page.Rect(kMargin, y, cellWidth, cellHeight, "#dde6f2");
    page.Lines(kMargin, y, cellWidth, cellHeight,
               {"Row " + std::to_string(r + 1), std::string("pin ") + PinLetter(model.rowPins[r])}, true);
    for (int c = 0; c < model.columns; ++c) {
      const double x = kMargin + (c + 1) * cellWidth;
      const KeyCode code = model.keys[r * kMatrixStride + c];
      page.Rect(x, y, cellWidth, cellHeight, code == kKeyNotUsed ? "#f6f6f6" : "white");
      page.Lines(x, y, cellWidth, cellHeight, CellLines(code));
    }
  }
}

}  // namespace

std::string WiringChartSvg(const ConfigModel& model, const std::string& title) {
  Page page;
  page.Text(kMargin, kTitleY, 5, "Wiring chart: " + title, "start", true);
  page.Text(kMargin, kSummaryY, 3.2,
            std::to_string(model.rows) + " rows, " + std::to_string(model.columns) + " columns, typematic " +
                (model.typematic ? "on" : "off") + ". Pins:",
            "start", false);
  PinTable(page, model);
  Grid(page, model);
  return page.Finish();
}
