// Read and Write through the menu, end to end: the link on the desktop's message
// queue, the simulated encoder typing real keystrokes, the result messages, and
// the editor's configuration and modified flag afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include "model/config.h"
#include "sim/encoder_sim.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/rules/grid_geometry.h"
#include "ui/main_window.h"
#include "ui/platform/platform_sim.h"
#include "ui/progress.h"
#include "ui/resources/resource.h"
#include "ui_support.h"

namespace {

constexpr char kQuestion[] = "The current configuration has changed.\nDo you want to save the changes?";

// Differs from a new configuration in counts, typematic, pins and keys.
void EditConfiguration() {
  ChangeModel([](ConfigModel& model) {
    FillSampleConfiguration(model);
    model.modified = true;
  });
  ShowWholeConfiguration();
}

DialogAnswer Press(int button) { return DialogAnswer{button, {}}; }

// Whether b holds every byte that a transfer of a carries.
bool CarriedBytesEqual(const ConfigImage& a, const ConfigImage& b) {
  const int data = a[kImageRows] * a[kImageColumns] * 2;
  for (int i = 0; i < data; ++i) {
    if (a[i] != b[i]) return false;
  }
  for (int i = kImagePinArea; i < kImageSize; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

int Selection(HWND dropDown) { return static_cast<int>(SendMessageA(dropDown, CB_GETCURSEL, 0, 0)); }


class TransferTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetEditor();
    EncoderSim& device = SimulatedEncoder();
    device.SetPresent(true);
    device.ClearFaults();
    device.SetLatency(0);
    device.SetUserKey(' ');
    device.SetSpeedMapping(EncoderSim::DefaultSpeedMapping());
  }
  void TearDown() override { SetUp(); }
};

TEST_F(TransferTest, WriteThenReadBringsTheConfigurationBack) {
  const ConfigModel& model = EditorModel();
  EditConfiguration();
  const ConfigModel written = model;
  const ConfigImage image = ImageOf(model);
  const int storedBefore = SimulatedEncoder().StoredWrites();
  const int postedBefore = SimulatedKeysPosted();

  std::vector<DialogSeen> seen = RunCommand(IDM_FILE_WRITE, {Press(IDOK)});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_RESULT(seen, 0, "The configuration was successfully saved to the RQ57", false);
  EXPECT_EQ(ProgressWindow(), nullptr);
  EXPECT_EQ(SimulatedEncoder().StoredWrites(), storedBefore + 1);
  EXPECT_TRUE(CarriedBytesEqual(image, SimulatedEncoder().Image()));
  EXPECT_TRUE(model.modified) << "a write leaves the flag alone";

  // The user starts anew, then reads, dropping the new edits.
  ChangeModel(ResetModel);
  ShowWholeConfiguration();
  SetModified(true);
  seen = RunCommand(IDM_FILE_READ, {Press(IDNO), Press(IDOK)});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, kQuestion);
  EXPECT_RESULT(seen, 1, "The configuration was successfully read from the RQ57", false);
  EXPECT_FALSE(model.modified);
  EXPECT_EQ(model.rows, 3);
  EXPECT_EQ(model.columns, 5);
  EXPECT_TRUE(model.typematic);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(model.columnPins[i], written.columnPins[i]) << i;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(model.rowPins[i], written.rowPins[i]) << i;
  EXPECT_EQ(ImageOf(model), image);

  // The grid shows it: the top drop-downs, the pin boxes and the key buttons.
  EXPECT_EQ(Selection(RowsDropDown()), 2);
  EXPECT_EQ(Selection(ColumnsDropDown()), 4);
  EXPECT_EQ(Selection(TypematicDropDown()), 1);
  EXPECT_EQ(VisibleColumnCount(), 5);
  EXPECT_EQ(VisibleRowCount(), 3);
  EXPECT_EQ(Selection(PinBox(0)), written.columnPins[0]);
  EXPECT_EQ(Selection(PinBox(5)), written.rowPins[0]);
  for (int button = 0; button < 15; ++button) {
    ModelCell cell = {};
    ASSERT_TRUE(KeyButtonCell(button, 5, 3, 0, 0, cell));
    char text[kKeyTextSize];
    FormatKeyCode(model.keys[cell.row * kMatrixStride + cell.column], text);
    EXPECT_EQ(WindowText(KeyButton(button)), text) << button;
    EXPECT_TRUE(IsWindowVisible(KeyButton(button))) << button;
  }
  EXPECT_FALSE(IsWindowVisible(KeyButton(15)));
  // The answers came as real keystrokes, the editor being in the foreground.
  EXPECT_EQ(SimulatedKeysPosted(), postedBefore);
  EXPECT_GT(SimulatedKeysInjected(), 0);
}

TEST_F(TransferTest, FailedReadsKeepTheConfigurationAndTheFlag) {
  const ConfigModel& model = EditorModel();
  ConfigImage invalid = SimulatedEncoder().Image();
  invalid[kImageRows] = 0;
  const struct {
    const char* name;
    bool present;
    int faultAt;  // answer spoiled with a wrong key, or -1
    bool invalidImage;
    const char* message;
  } cases[] = {
      {"no encoder", false, -1, false, "The RQ57 was not found"},
      {"wrong symbol", true, 9, false, "Error while reading from the RQ57"},
      {"invalid counts", true, -1, true, "Invalid configuration"},
  };
  const ConfigImage stored = SimulatedEncoder().Image();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EditConfiguration();
    const ConfigImage before = ImageOf(model);
    SimulatedEncoder().SetPresent(c.present);
    if (c.faultAt >= 0) SimulatedEncoder().InjectFault(SimFault::kWrongKey, c.faultAt);
    SimulatedEncoder().SetImage(c.invalidImage ? invalid : stored);
    const std::vector<DialogSeen> seen = RunCommand(IDM_FILE_READ, {Press(IDNO), Press(IDOK)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_RESULT(seen, 1, c.message, true);
    EXPECT_TRUE(model.modified);
    EXPECT_EQ(ImageOf(model), before);
    EXPECT_EQ(Selection(RowsDropDown()), 2);
    EXPECT_EQ(VisibleColumnCount(), 5);
    EXPECT_EQ(ProgressWindow(), nullptr);
    SimulatedEncoder().ClearFaults();
  }
  SimulatedEncoder().SetImage(stored);
}

// The last byte is 0x46 (K, 6). A user's keystroke "0" just before the
// encoder's K makes, with K, a byte with good check bits, and only the unread 6
// tells that the read went wrong. Just before the 6, "0" reads 0x40; when the
// user then holds Alt and the encoder's 6 comes 200 ms late, it arrives as a
// system key, and the link must still see it before the end signal.
TEST_F(TransferTest, AStrayKeystrokeTakenForTheLastAnswerFailsTheRead) {
  const ConfigModel& model = EditorModel();
  const struct { const char* name; int symbol; bool altHeld; } cases[] = {
      {"before the first symbol", 1, false},
      {"before the second symbol, Alt held, the answer late", 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EditConfiguration();
    const ConfigImage before = ImageOf(model);
    const ConfigImage stored = SimulatedEncoder().Image();
    ConfigImage image = before;
    const int dataBytes = image[kImageRows] * image[kImageColumns] * 2;
    image[dataBytes - 1] = 0x46;
    const int answer = c.symbol + 2 * (31 + dataBytes);
    EncoderSim& device = SimulatedEncoder();
    device.SetImage(image);
    device.InjectUserEvents(answer, {{'0', true}, {'0', false}});
    if (c.altHeld) {
      device.InjectUserEvents(answer, {{VK_MENU, true}}, 50);
      device.InjectFault(SimFault::kLateAnswer, answer, 200);
      device.InjectUserEvents(answer, {{VK_MENU, false}}, 350);
    }
    const int injectedBefore = SimulatedKeysInjected();
    const int postedBefore = SimulatedKeysPosted();
    const std::vector<DialogSeen> seen = RunCommand(IDM_FILE_READ, {Press(IDNO), Press(IDOK)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_RESULT(seen, 1, "Error while reading from the RQ57", true);
    EXPECT_TRUE(model.modified);
    EXPECT_EQ(ImageOf(model), before);
    // Only real input makes system keys: the answers (two symbols a byte, each
    // a key-down and a key-up) and the user's keys all went through SendInput.
    EXPECT_EQ(SimulatedKeysPosted(), postedBefore);
    EXPECT_GE(SimulatedKeysInjected() - injectedBefore, 4 * (32 + dataBytes));
    EXPECT_EQ(GetKeyState(VK_MENU) & 0x8000, 0) << "Alt is up again";
    device.SetImage(stored);
  }
}

TEST_F(TransferTest, CancelInTheQuestionSendsNothing) {
  const ConfigModel& model = EditorModel();
  EditConfiguration();
  const int answersBefore = SimulatedEncoder().AnswerCount();
  const int injectedBefore = SimulatedKeysInjected();
  const std::vector<DialogSeen> seen = RunCommand(IDM_FILE_READ, {Press(IDCANCEL)});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, kQuestion);
  EXPECT_TRUE(model.modified);
  EXPECT_EQ(SimulatedEncoder().AnswerCount(), answersBefore);
  EXPECT_EQ(SimulatedKeysInjected(), injectedBefore);
}

TEST_F(TransferTest, FailedWritesReportTheirResult) {
  EncoderSim::SpeedMapping alike{};
  alike.fill(4);
  const struct {
    const char* name;
    bool present;
    bool alikeSpeeds;
    int faultAt;
    const char* message;
  } cases[] = {
      {"no encoder", false, false, -1, "The RQ57 was not found"},
      {"speeds alike", true, true, -1, "Unknown error (3)"},
      {"wrong acknowledgement", true, false, 60, "Error while writing to the RQ57"},
  };
  const ConfigModel& model = EditorModel();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EditConfiguration();
    const ConfigImage stored = SimulatedEncoder().Image();
    SimulatedEncoder().SetPresent(c.present);
    SimulatedEncoder().SetSpeedMapping(c.alikeSpeeds ? alike : EncoderSim::DefaultSpeedMapping());
    if (c.faultAt >= 0) SimulatedEncoder().InjectFault(SimFault::kWrongKey, c.faultAt);
    const std::vector<DialogSeen> seen = RunCommand(IDM_FILE_WRITE, {Press(IDOK)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_RESULT(seen, 0, c.message, true);
    EXPECT_TRUE(model.modified);
    EXPECT_EQ(SimulatedEncoder().Image(), stored);
    SimulatedEncoder().ClearFaults();
  }
}

TEST_F(TransferTest, SharedPinStopsTheWriteBeforeTheEncoder) {
  EditConfiguration();
  ChangeModel([](ConfigModel& m) { m.rowPins[1] = m.columnPins[3]; });
  const int answersBefore = SimulatedEncoder().AnswerCount();
  const std::vector<DialogSeen> seen = RunCommand(IDM_FILE_WRITE, {Press(IDOK)});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Error: Pin L is used for multiple scan lines");
  EXPECT_EQ(SimulatedEncoder().AnswerCount(), answersBefore);
}

}  // namespace
