#include "ui/check_window.h"

#include <windows.h>

#include <string>
#include <vector>

#include "model/config_check.h"
#include "ui/app_core.h"
#include "ui/cell_view.h"
#include "ui/list_window.h"

namespace {

constexpr char kCheckTitle[] = "Check Configuration";
constexpr char kNoProblems[] = "No problems found";

// What the window's lines stand for, in their order: the findings of the check
// that filled it.
struct CheckWindowState {
  std::vector<Finding> findings;
} check;

// Puts the focus on the cell or pin box that a finding names first.
void FocusFinding(int line) {
  if (line < 0 || line >= static_cast<int>(check.findings.size())) return;
  const Finding& finding = check.findings[static_cast<std::size_t>(line)];
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

// The window's lines for the configuration as it is now; notes are marked as such.
std::vector<std::string> CheckLines() {
  check.findings = CheckConfig(EditorModel());
  std::vector<std::string> lines;
  for (const Finding& finding : check.findings) {
    lines.push_back((IsNote(finding) ? kNotePrefix : "") + FindingText(finding));
  }
  if (lines.empty()) lines.push_back(kNoProblems);
  return lines;
}

}  // namespace

void ShowCheckWindow() { ShowListWindow(ListWindowKind::kCheck, kCheckTitle, CheckLines(), FocusFinding); }

void RefreshCheckWindow() {
  if (ListWindowOpen(ListWindowKind::kCheck)) RefillListWindow(ListWindowKind::kCheck, CheckLines());
}
