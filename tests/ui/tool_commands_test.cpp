// The Tools menu's Check Configuration and Compare with RQ57 under Wine: their list
// windows, the focus a finding gives, and comparisons after real transfers through
// the simulated encoder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "model/config.h"
#include "model/wiring_chart.h"
#include "sim/encoder_sim.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/list_window.h"
#include "ui/main_window.h"
#include "ui/platform/platform_sim.h"
#include "ui/progress.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

HWND ListWindowOf(ListWindowKind kind) {
  return FindToolWindow(kind == ListWindowKind::kCheck ? "Check Configuration" : "Compare with RQ57");
}

constexpr int kKeyA = 31;
constexpr int kKeyB = 50;
constexpr int kKeyF1 = 112;
constexpr int kUnnamedKey = 14;

std::string ClassName(HWND window) {
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

HWND ListOf(ListWindowKind kind) { return GetDlgItem(ListWindowOf(kind), IDC_LIST_LINES); }

std::vector<std::string> Lines(ListWindowKind kind) {
  HWND list = ListOf(kind);
  std::vector<std::string> lines;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text)) {
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    }
    lines.push_back(text);
  }
  return lines;
}

using Texts = std::vector<std::string>;

void RunTool(int id) {
  PostMessageA(MainWindow(), WM_COMMAND, id, 0);
  PumpUntilIdle();
}

// A real Enter on the list's line, as the user presses it.
void PressEnterOn(ListWindowKind kind, int line) {
  HWND window = ListWindowOf(kind);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  SetFocus(ListOf(kind));
  SendMessageA(ListOf(kind), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
  PumpUntilIdle();
  keybd_event(VK_RETURN, 0, 0, 0);
  keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
  PumpUntilIdle();
}

// A double click on the list's line, as the mouse gives it.
void DoubleClick(ListWindowKind kind, int line) {
  HWND list = ListOf(kind);
  SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(line), 0);
  RECT item = {};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
  const LPARAM where = MAKELPARAM(item.left + 2, item.top + 2);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageA(list, WM_LBUTTONUP, 0, where);
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
  SendMessageA(list, WM_LBUTTONUP, 0, where);
  PumpUntilIdle();
}

class ToolWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetEditor();
    EncoderSim& device = SimulatedEncoder();
    device.SetPresent(true);
    device.ClearFaults();
    device.SetLatency(0);
  }
  void TearDown() override {
    for (ListWindowKind kind : {ListWindowKind::kCompare, ListWindowKind::kCheck}) {
      if (ListWindowOf(kind) != nullptr) DestroyWindow(ListWindowOf(kind));
    }
    SetModified(false);
    PumpUntilIdle();
    ResetEditor();
  }
};

// Shared pin X on Column 2 and Row 8, Shift+A in three cells, an unnamed key.
void PlantProblems(ConfigModel& model) {
  model.columnPins[1] = 23;
  model.rowPins[7] = 23;
  model.rowPins[11] = 1;    // B, freed by column 2
  model.keys[0 * kMatrixStride + 0] = kModShift | kKeyA;
  model.keys[9 * kMatrixStride + 10] = kModShift | kKeyA;   // Row 10 Col 11, out of the first view
  model.keys[11 * kMatrixStride + 3] = kModShift | kKeyA;
  model.keys[3 * kMatrixStride + 2] = kUnnamedKey;
  model.keys[4 * kMatrixStride + 2] = kKeyA;                // once only: no problem
}

TEST_F(ToolWindowTest, CheckListsTheProblemsAndFocusesTheirCellsAndPins) {
  ChangeModel(PlantProblems);
  ShowWholeConfiguration();
  RunTool(IDM_TOOLS_CHECK);
  HWND window = ListWindowOf(ListWindowKind::kCheck);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowText(window), "Check Configuration");
  EXPECT_EQ(ClassName(ListOf(ListWindowKind::kCheck)), "ListBox");
  EXPECT_EQ(Lines(ListWindowKind::kCheck),
            (Texts{"pin X: Column 2 and Row 8", "key Shift+A in Row 1 Col 1, Row 10 Col 11 and Row 12 Col 4",
                   "key number without a name #14 in Row 4 Col 3"}));

  // Enter on the shared pin focuses Column 2's pin box.
  PressEnterOn(ListWindowKind::kCheck, 0);
  EXPECT_EQ(GetFocus(), PinBox(1));
  EXPECT_EQ(GetActiveWindow(), MainWindow());

  // A duplicated key focuses its first cell; the grid scrolls back to it.
  ShowModelCell(11, -1);
  PressEnterOn(ListWindowKind::kCheck, 1);
  EXPECT_EQ(RowOffset(), 0);
  EXPECT_EQ(GetFocus(), KeyButton(0));
  // The line stays selected, so that the next Enter goes to it again.
  EXPECT_EQ(SendMessageA(ListOf(ListWindowKind::kCheck), LB_GETCURSEL, 0, 0), 1);

  DoubleClick(ListWindowKind::kCheck, 2);
  EXPECT_EQ(GetFocus(), KeyButton(3 * 6 + 2));
  EXPECT_EQ(GetActiveWindow(), MainWindow());
  EXPECT_FALSE(EditorModel().modified);
}

TEST_F(ToolWindowTest, CheckScrollsToCellsAndPinsOutOfViewAndRefreshesItsWindow) {
  ChangeModel([](ConfigModel& model) {
    model.keys[9 * kMatrixStride + 10] = kKeyF1;
    model.keys[11 * kMatrixStride + 11] = kKeyF1;
    model.rowPins[10] = 0;     // Row 11 takes pin A from Column 1
    model.rowPins[0] = 0;      // ... and so does Row 1
    model.columnPins[0] = 12;  // Column 1 moves to M, freed by Row 1
  });
  ShowWholeConfiguration();
  RunTool(IDM_TOOLS_CHECK);
  HWND window = ListWindowOf(ListWindowKind::kCheck);
  ASSERT_EQ(Lines(ListWindowKind::kCheck),
            (Texts{"pin A: Row 1 and Row 11", "key F1 in Row 10 Col 11 and Row 12 Col 12"}));

  PressEnterOn(ListWindowKind::kCheck, 1);
  EXPECT_EQ(ColumnOffset(), 5);
  EXPECT_EQ(RowOffset(), 4);
  EXPECT_EQ(GetFocus(), KeyButton(5 * 6 + 5));

  // The first line names Row 1, which is in view again after scrolling back.
  PressEnterOn(ListWindowKind::kCheck, 0);
  EXPECT_EQ(RowOffset(), 0);
  EXPECT_EQ(GetFocus(), PinBox(6 + 0));

  // Mended, checked again: the same window says there is nothing left.
  ChangeModel([](ConfigModel& model) {
    model.rowPins[10] = 22;
    model.keys[11 * kMatrixStride + 11] = kKeyB;
  });
  RunTool(IDM_TOOLS_CHECK);
  EXPECT_EQ(ListWindowOf(ListWindowKind::kCheck), window);
  EXPECT_EQ(Lines(ListWindowKind::kCheck), Texts{"No problems found"});
  PressEnterOn(ListWindowKind::kCheck, 0);   // no target: nothing happens
  EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(ToolWindowTest, TheCheckWindowFollowsEditsAndUndo) {
  RunTool(IDM_TOOLS_CHECK);
  ASSERT_EQ(Lines(ListWindowKind::kCheck), Texts{"No problems found"});
  Editor().SetKey(0, 1, kModAlt | kModShift | kModCtrl | kKeyA);
  PumpUntilIdle();
  EXPECT_EQ(Lines(ListWindowKind::kCheck),
            Texts{"note: key Alt+Shift+Ctrl+A in Row 1 Col 2: the button shows only Alt and Shift"});
  SendMessageA(MainWindow(), WM_COMMAND, IDM_EDIT_UNDO, 0);
  PumpUntilIdle();
  EXPECT_EQ(Lines(ListWindowKind::kCheck), Texts{"No problems found"});
}

// Compare lists the editor against the newest read and follows every change
// without a transfer; after a Write only a new read tells what the RQ57 holds.
TEST_F(ToolWindowTest, CompareFollowsEditsReadsAndWrites) {
  ChangeModel([](ConfigModel& model) {
    model.keys[2 * kMatrixStride + 4] = kModShift | kKeyA;
    model.keys[8 * kMatrixStride + 9] = kKeyF1;
    model.typematic = true;
    model.modified = true;
  });
  ShowWholeConfiguration();
  std::vector<DialogSeen> seen = RunCommand(IDM_FILE_WRITE, {DialogAnswer{IDOK}});
  EXPECT_RESULT(seen, 0, "The configuration was successfully saved to the RQ57", false);

  seen = RunCommand(IDM_TOOLS_COMPARE, {});
  EXPECT_TRUE(seen.empty());
  HWND window = ListWindowOf(ListWindowKind::kCompare);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowText(window), "Compare with RQ57");
  EXPECT_EQ(ClassName(ListOf(ListWindowKind::kCompare)), "ListBox");
  EXPECT_EQ(Lines(ListWindowKind::kCompare),
            Texts{"Identical: the RQ57 holds the configuration shown in the editor"});

  // One edit as the user makes it: the window follows at once.
  ASSERT_TRUE(Editor().SetKey(8, 9, kModCtrl | kKeyB));
  const ConfigImage edited = ImageOf(EditorModel());
  PumpUntilIdle();
  const Texts differences{"Each line reads: editor -> RQ57", "Row 9 Col 10: Ctrl+B -> F1"};
  EXPECT_EQ(Lines(ListWindowKind::kCompare), differences);
  RunCommand(IDM_TOOLS_COMPARE, {});
  EXPECT_EQ(ListWindowOf(ListWindowKind::kCompare), window);
  EXPECT_EQ(Lines(ListWindowKind::kCompare), differences);
  // Comparing changed nothing of the editor's configuration or its flag.
  EXPECT_EQ(ImageOf(EditorModel()), edited);
  EXPECT_TRUE(EditorModel().modified);
  EXPECT_EQ(ProgressWindow(), nullptr);
  // Another tool window opens beside the main window too, but not on top of this one.
  RunTool(IDM_TOOLS_CHECK);
  RECT compare = {}, check = {};
  GetWindowRect(window, &compare);
  GetWindowRect(ListWindowOf(ListWindowKind::kCheck), &check);
  EXPECT_TRUE(compare.left != check.left || compare.top != check.top);
  const Texts outOfDate{"Out of date: the RQ57 was written since; choose Compare with RQ57 again."};
  RunCommand(IDM_FILE_WRITE, {DialogAnswer{IDOK}});
  EXPECT_EQ(Lines(ListWindowKind::kCompare), outOfDate);
  ASSERT_TRUE(Editor().SetKey(0, 0, kKeyA));
  PumpUntilIdle();
  EXPECT_EQ(Lines(ListWindowKind::kCompare), outOfDate);
  seen = RunCommand(IDM_FILE_READ, {DialogAnswer{IDNO}, DialogAnswer{IDOK}});
  EXPECT_RESULT(seen, 1, "The configuration was successfully read from the RQ57", false);
  EXPECT_EQ(Lines(ListWindowKind::kCompare),
            Texts{"Identical: the RQ57 holds the configuration shown in the editor"});
}

TEST_F(ToolWindowTest, CompareReportsAFailedReadAsReadDoesAndOpensNoWindow) {
  SimulatedEncoder().SetPresent(false);
  const std::vector<DialogSeen> seen = RunCommand(IDM_TOOLS_COMPARE, {DialogAnswer{IDOK}});
  EXPECT_RESULT(seen, 0, "The RQ57 was not found", true);
  EXPECT_EQ(ListWindowOf(ListWindowKind::kCompare), nullptr);
  EXPECT_FALSE(EditorModel().modified);
}

// Back Up and Export Wiring Chart write into a folder of their own.
class ToolFileTest : public ToolWindowTest {
 protected:
  void SetUp() override {
    ToolWindowTest::SetUp();
    char temp[MAX_PATH] = "";
    ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
    char name[64] = "";
    std::snprintf(name, sizeof name, "rq57-tools-%lu", GetCurrentProcessId());
    folder_ = std::string(temp) + name;
    CreateDirectoryA(folder_.c_str(), nullptr);
    stored_ = SimulatedEncoder().Image();
  }
  void TearDown() override {
    SimulatedEncoder().SetImage(stored_);
    for (const std::string& file : Files()) DeleteFileA((folder_ + "\\" + file).c_str());
    RemoveDirectoryA(folder_.c_str());
    ToolWindowTest::TearDown();
  }
  std::string Path(const char* name) const { return folder_ + "\\" + name; }
  // Names of the files in the folder.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }

  std::string folder_;
  ConfigImage stored_{};
};

Bytes BytesOf(const ConfigImage& image) { return Bytes(image.begin(), image.end()); }

// What the encoder holds: the sample configuration.
ConfigImage EncoderImage() {
  ConfigModel model;
  FillSampleConfiguration(model);
  return ImageOf(model);
}

TEST_F(ToolFileTest, BackUpWritesWhatTheEncoderHoldsAndLeavesTheEditorAlone) {
  const ConfigImage held = EncoderImage();
  SimulatedEncoder().SetImage(held);
  ChangeModel([](ConfigModel& model) {
    model.keys[0] = kKeyF1;
    model.modified = true;
  });
  ShowWholeConfiguration();
  const ConfigImage editor = ImageOf(EditorModel());
  const std::string file = Path("backup.cfg");

  // No unsaved-changes question: the file name first, then the result.
  const std::vector<DialogSeen> seen =
      RunCommand(IDM_TOOLS_BACKUP, {DialogAnswer{IDOK, file}, DialogAnswer{IDOK}});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].title, "Save File");
  EXPECT_RESULT(seen, 1, ("The configuration of the RQ57 was backed up to\n" + file).c_str(), false);
  EXPECT_EQ(ReadAll(file), BytesOf(held));
  EXPECT_EQ(Files(), std::vector<std::string>{"backup.cfg"});
  EXPECT_EQ(ImageOf(EditorModel()), editor);
  EXPECT_TRUE(EditorModel().modified);
  EXPECT_EQ(ProgressWindow(), nullptr);
}

TEST_F(ToolFileTest, BackUpWritesNothingWhenTheReadFails) {
  SimulatedEncoder().SetImage(EncoderImage());
  // An older backup stays as it was when the encoder is missing.
  const std::string older = Path("older.cfg");
  const Bytes olderBytes(kImageSize, 7);
  if (std::FILE* out = std::fopen(older.c_str(), "wb")) {
    std::fwrite(olderBytes.data(), 1, olderBytes.size(), out);
    std::fclose(out);
  }
  SimulatedEncoder().SetPresent(false);
  std::vector<DialogSeen> seen = RunCommand(
      IDM_TOOLS_BACKUP, {DialogAnswer{IDOK, older}, DialogAnswer{IDYES}, DialogAnswer{IDOK}});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_RESULT(seen, 2, "The RQ57 was not found", true);
  EXPECT_EQ(ReadAll(older), olderBytes);

  // A keystroke spoiled in the middle of the transfer: no file at all.
  SimulatedEncoder().SetPresent(true);
  SimulatedEncoder().InjectFault(SimFault::kWrongKey, 40);
  seen = RunCommand(IDM_TOOLS_BACKUP, {DialogAnswer{IDOK, Path("new.cfg")}, DialogAnswer{IDOK}});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_RESULT(seen, 1, "Error while reading from the RQ57", true);
  EXPECT_EQ(Files(), std::vector<std::string>{"older.cfg"});

  // Cancelled in the file dialog: the encoder is not even asked.
  SimulatedEncoder().ClearFaults();
  const int answers = SimulatedEncoder().AnswerCount();
  seen = RunCommand(IDM_TOOLS_BACKUP, {DialogAnswer{IDCANCEL}});
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(SimulatedEncoder().AnswerCount(), answers);
}

TEST_F(ToolFileTest, ExportWiringChartSavesTheChartAsSvg) {
  ChangeModel([](ConfigModel& model) { model.keys[2 * kMatrixStride + 4] = kModShift | kKeyA; });
  ShowWholeConfiguration();
  const std::vector<DialogSeen> seen =
      RunCommand(IDM_TOOLS_CHART, {DialogAnswer{IDOK, Path("panel")}});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].owner, MainWindow());
  // The dialog gave the name its .svg.
  const std::string svg = WiringChartSvg(EditorModel(), "panel");
  EXPECT_EQ(ReadAll(Path("panel.svg")), Bytes(svg.begin(), svg.end()));
  EXPECT_EQ(Files(), std::vector<std::string>{"panel.svg"});
}

}  // namespace
