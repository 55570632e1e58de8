#include "ui/tool_commands.h"

#include <windows.h>

#include <string>
#include <vector>

#include "model/config_check.h"
#include "model/config_diff.h"
#include "ui/cell_view.h"
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

}  // namespace

void RunToolCommand(int id) {
  switch (id) {
    case IDM_TOOLS_KEY_TESTER: OpenKeyTester(); break;
    case IDM_TOOLS_COMPARE: CompareCommand(); break;
    case IDM_TOOLS_CHECK: CheckCommand(); break;
    default: break;
  }
}
