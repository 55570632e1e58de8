#include "ui/compare_window.h"

#include <string>
#include <vector>

#include "model/config_diff.h"
#include "ui/app_core.h"
#include "ui/list_window.h"

namespace {

constexpr char kCompareTitle[] = "Compare with RQ57";
constexpr char kCompareSides[] = "Each line reads: editor -> RQ57";
constexpr char kIdentical[] = "Identical: the RQ57 holds the configuration shown in the editor";
constexpr char kOutOfDate[] = "Out of date: the RQ57 was written since; choose Compare with RQ57 again.";

struct CompareState {
  ConfigModel encoder;        // as last read
  bool writtenSince = false;  // a write ran after that read
} compare;

// The window's lines for the editor's configuration as it is now.
std::vector<std::string> CompareLines() {
  if (compare.writtenSince) return {kOutOfDate};
  std::vector<std::string> lines = DiffConfigs(EditorModel(), compare.encoder);
  if (lines.empty()) return {kIdentical};
  lines.insert(lines.begin(), kCompareSides);
  return lines;
}

}  // namespace

void EncoderWasRead(const ConfigModel& encoder) {
  compare.encoder = encoder;
  compare.writtenSince = false;
  RefreshCompareWindow();
}

void EncoderWasWritten() {
  compare.writtenSince = true;
  RefreshCompareWindow();
}

void ShowCompareWindow() {
  ShowListWindow(ListWindowKind::kCompare, kCompareTitle, CompareLines(), nullptr);
}

void RefreshCompareWindow() {
  if (ListWindowOpen(ListWindowKind::kCompare)) RefillListWindow(ListWindowKind::kCompare, CompareLines());
}
