#include "ui/tool_commands.h"

#include <windows.h>

#include <string>
#include <vector>

#include "io/file_io.h"
#include "model/config_check.h"
#include "model/config_diff.h"
#include "model/editor_messages.h"
#include "model/wiring_chart.h"
#include "ui/cell_view.h"
#include "ui/file_commands.h"
#include "ui/key_tester.h"
#include "ui/list_window.h"
#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui/transfer_commands.h"

namespace {

constexpr char kCompareTitle[] = "Compare with RQ57";
constexpr char kIdentical[] = "Identical: the RQ57 holds the configuration shown in the editor";
constexpr char kCheckTitle[] = "Check Configuration";
constexpr char kNoProblems[] = "No problems found";
constexpr char kBackedUp[] = "The configuration of the RQ57 was backed up to\n";
constexpr char kChartFilter[] = "SVG pictures (*.svg)\0*.svg\0All files\0*.*\0";
constexpr char kChartExtension[] = "svg";

// What the lines of the Check window stand for, in their order.
std::vector<Finding> checkFindings;

// Puts the focus on the cell or pin box that a finding names first.
void FocusFinding(int line) {
  if (line < 0 || line >= static_cast<int>(checkFindings.size())) return;
  const Finding& finding = checkFindings[static_cast<std::size_t>(line)];
  HWND target = nullptr;
  if (!finding.cells.empty()) {
    const CellRef& cell = finding.cells.front();
    ScrollCellIntoView(cell.row, cell.column);
    target = KeyButtonShowing(cell.row, cell.column);
  } else if (!finding.lines.empty()) {
    target = ShowLinePinBox(finding.lines.front().isRow, finding.lines.front().index);
  }
  if (target == nullptr) return;
  SetForegroundWindow(MainWindow());
  SetActiveWindow(MainWindow());
  SetFocus(target);
}

void CheckCommand() {
  checkFindings = CheckConfig(EditorModel());
  std::vector<std::string> lines;
  for (const Finding& finding : checkFindings) lines.push_back(FindingText(finding));
  if (lines.empty()) lines.push_back(kNoProblems);
  ShowListWindow(ListWindowKind::kCheck, kCheckTitle, lines, FocusFinding);
}

// Lists how the encoder's configuration differs from the editor's (editor -> RQ57);
// the editor's configuration and its modified flag stay as they are.
void CompareCommand() {
  ConfigImage image{};
  const int result = ReadEncoderImage(image);
  ConfigModel encoder;
  ResetModel(encoder);
  if (!DecodeReadImage(result, image, encoder)) return;
  std::vector<std::string> lines = DiffConfigs(EditorModel(), encoder);
  if (lines.empty()) lines.push_back(kIdentical);
  ShowListWindow(ListWindowKind::kCompare, kCompareTitle, lines, nullptr);
}

// Reads the encoder into a file that holds what Read followed by Save would write.
// The file is written only after a good read, whole or not at all; the editor's
// configuration and its modified flag stay as they are.
void BackUpCommand() {
  char name[kFileNameChars] = "";
  if (!AskSaveFileName(name)) return;
  ConfigImage read{};
  const int result = ReadEncoderImage(read);
  ConfigModel encoder;
  ResetModel(encoder);
  if (!DecodeReadImage(result, read, encoder)) return;
  ConfigImage image{};
  if (!EncodeImageOrReport(encoder, image)) return;
  if (!WriteFileWhole(name, std::string(image.begin(), image.end()))) {
    ShowMessage(kSaveErrorMessage, kErrorBox);
    return;
  }
  ShowMessage((kBackedUp + std::string(name)).c_str(), MB_OK);
}

// The chart's title: the name the user gave it, without folder or extension.
std::string ChartTitle(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/:");
  std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = title.find_last_of('.');
  if (dot != std::string::npos && dot > 0) title.erase(dot);
  return title;
}

void ExportChartCommand() {
  char name[kFileNameChars] = "";
  if (!AskSaveFileName(name, kChartFilter, kChartExtension)) return;
  if (!WriteFileWhole(name, WiringChartSvg(EditorModel(), ChartTitle(name)))) {
    ShowMessage(kSaveErrorMessage, kErrorBox);
  }
}

}  // namespace

void RunToolCommand(int id) {
  switch (id) {
    case IDM_TOOLS_KEY_TESTER: OpenKeyTester(); break;
    case IDM_TOOLS_BACKUP: BackUpCommand(); break;
    case IDM_TOOLS_COMPARE: CompareCommand(); break;
    case IDM_TOOLS_CHECK: CheckCommand(); break;
    case IDM_TOOLS_CHART: ExportChartCommand(); break;
    default: break;
  }
}
