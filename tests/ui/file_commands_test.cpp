// Save, Open and the unsaved-changes question through the real message boxes and
// file dialogs, answered from a second thread.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "io/file_read.h"
#include "io/file_write.h"
#include "io/system_text.h"
#include "model/config.h"
#include "model/key_code.h"
#include "ui/controls.h"
#include "ui/file_commands.h"
#include "ui/grid.h"
#include "ui/main_window.h"
#include "ui/progress.h"
#include "ui/resources/resource.h"
#include "ui/startup.h"
#include "ui_support.h"

namespace {

constexpr char kQuestion[] =
    "The current configuration has changed.\nDo you want to save the changes?";
constexpr char kSaveError[] = "Error saving the file";
constexpr char kOpenError[] = "Error opening the file";
constexpr char kInvalidFile[] = "Invalid configuration file";
constexpr char kSaveTitle[] = "Save File";
constexpr char kOpenTitle[] = "Open File";

void ExpectMessageAt(const char* file, int line, const DialogSeen& seen, const char* text,
                     LPCSTR icon, std::vector<int> buttons) {
  SCOPED_TRACE(testing::Message() << "message at " << file << ":" << line);
  EXPECT_EQ(seen.text, text);
  EXPECT_EQ(seen.title, kAppTitle);
  EXPECT_EQ(seen.owner, MainWindow());
  EXPECT_EQ(seen.icon, LoadIconA(nullptr, icon));
  std::vector<int> shown = seen.buttons;
  std::sort(shown.begin(), shown.end());
  std::sort(buttons.begin(), buttons.end());
  EXPECT_EQ(shown, buttons);
}
#define EXPECT_MESSAGE(seen, text, icon, ...) \
  ExpectMessageAt(__FILE__, __LINE__, seen, text, icon, std::vector<int>{__VA_ARGS__})

void ExpectFileDialogAt(const char* file, int line, const DialogSeen& seen, const char* title) {
  SCOPED_TRACE(testing::Message() << "file dialog at " << file << ":" << line);
  EXPECT_EQ(seen.title, title);
  EXPECT_EQ(seen.owner, MainWindow());
}
#define EXPECT_FILE_DIALOG(seen, title) ExpectFileDialogAt(__FILE__, __LINE__, seen, title)

// --- files -----------------------------------------------------------------------

void WriteAll(const std::string& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// The image of a new configuration: no key data, columns on pins A-L and rows on M-X
// (stored as 1..24), the marker, no flags, 12 rows and 12 columns.
Bytes NewConfigurationImage() {
  Bytes image(kImageSize, 0);
  for (int i = 0; i < 24; ++i) image[480 + i] = static_cast<unsigned char>(i + 1);
  image[504] = 0x52;
  image[508] = 12;
  image[509] = 12;
  return image;
}

// 2 rows and 3 columns, typematic on. Columns 1-3 on pins C, A, B; rows 1-2 on E, D.
// Key data runs by column pin (A, B, C), then row pin (D, E).
constexpr KeyCode kCtrlShiftKey = 0x0300 | 31;
constexpr KeyCode kAltKey = 0x0400 | 40;
Bytes SmallImage() {
  Bytes image(kImageSize, 0);
  // entry 0: column on A (column 2), row on D (row 2); entry 5: column on C (column 1),
  // row on E (row 1)
  image[0] = kCtrlShiftKey >> 8;
  image[1] = kCtrlShiftKey & 0xFF;
  image[10] = kAltKey >> 8;
  image[11] = kAltKey & 0xFF;
  const unsigned char pins[] = {3, 1, 2, 5, 4};
  for (int i = 0; i < 5; ++i) image[480 + i] = pins[i];
  image[504] = 0x52;
  image[507] = 0x40;
  image[508] = 2;
  image[509] = 3;
  return image;
}

std::string KeyText(KeyCode code) {
  char text[kKeyTextSize];
  return FormatKeyCode(code, text);
}

int Selection(HWND dropDown) {
  return static_cast<int>(SendMessageA(dropDown, CB_GETCURSEL, 0, 0));
}

// Marks the configuration as edited, the way a user's choice in the typematic list does.
void EditTypematic() {
  ChooseItem(TypematicDropDown(), 1);
  ASSERT_TRUE(EditorModel().modified);
}

class FileCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = "";
    ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
    char name[64] = "";
    std::snprintf(name, sizeof name, "rq57-files-%lu", GetCurrentProcessId());
    folder_ = std::string(temp) + name;
    CreateDirectoryA(folder_.c_str(), nullptr);
    ResetEditor();
  }
  void TearDown() override {
    SetModified(false);
    ResetEditor();
    for (const std::string& path : made_) DeleteFileW(WideText(path).c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string Path(const char* name) {
    made_.push_back(folder_ + "\\" + name);
    return made_.back();
  }

  // The names in the test folder.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry = {};
    HANDLE search = FindFirstFileW(WideText(folder_ + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = Utf8Text(entry.cFileName);
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
  }

  std::string folder_;
  std::vector<std::string> made_;
};

// --- Save ------------------------------------------------------------------------

TEST_F(FileCommandsTest, SavingANewConfigurationUnderANewNameWritesTheDefaultImage) {
  const std::string path = Path("new.cfg");
  ASSERT_FALSE(Exists(path));
  const auto seen = RunCommand(IDM_FILE_SAVE, {{IDOK, path}});
  EXPECT_FILE_DIALOG(seen[0], kSaveTitle);
  EXPECT_EQ(ReadAll(path), NewConfigurationImage());
  EXPECT_FALSE(EditorModel().modified);
}

// The flag is clear exactly where the history stood when the file was saved; Open
// and New start a fresh history.
TEST_F(FileCommandsTest, SaveMarksTheHistoryAndOpenAndNewClearIt) {
  const std::string path = Path("undo.cfg");
  ChooseItem(TypematicDropDown(), 1);
  ChooseItem(RowsDropDown(), 4);
  RunCommand(IDM_FILE_SAVE, {{IDOK, path}});
  EXPECT_FALSE(EditorModel().modified);
  RunCommand(IDM_EDIT_UNDO, {});
  EXPECT_EQ(EditorModel().rows, 12);
  EXPECT_TRUE(EditorModel().modified);
  RunCommand(IDM_EDIT_REDO, {});
  EXPECT_FALSE(EditorModel().modified);
  ChooseItem(TypematicDropDown(), 0);
  RunCommand(IDM_FILE_OPEN, {{IDNO}, {IDOK, path}});
  EXPECT_TRUE(EditorModel().typematic);
  EXPECT_FALSE(Editor().CanUndo());
  ChooseItem(TypematicDropDown(), 0);
  RunCommand(IDM_FILE_NEW, {{IDNO}});
  EXPECT_FALSE(Editor().CanUndo());
  EXPECT_FALSE(Editor().CanRedo());
  EXPECT_FALSE(EditorModel().modified);
}

TEST_F(FileCommandsTest, SavingClearsTheModifiedFlagAndOverwritesAfterAsking) {
  const std::string path = Path("old.cfg");
  WriteAll(path, Bytes(700, 0xAA));
  EditTypematic();
  bool saved = false;
  const auto seen = RunAnswered([&] { saved = SaveConfigFile(); }, {{IDOK, path}, {IDYES}});
  EXPECT_FILE_DIALOG(seen[0], kSaveTitle);
  EXPECT_EQ(seen[1].owner, seen[0].window);  // the overwrite question of the dialog
  EXPECT_TRUE(saved);
  Bytes expected = NewConfigurationImage();
  expected[507] = 0x40;
  EXPECT_EQ(ReadAll(path), expected);
  EXPECT_FALSE(EditorModel().modified);
}

TEST_F(FileCommandsTest, CancellingTheSaveDialogSavesNothing) {
  EditTypematic();
  bool saved = true;
  RunAnswered([&] { saved = SaveConfigFile(); }, {{IDCANCEL}});
  EXPECT_FALSE(saved);
  EXPECT_TRUE(EditorModel().modified);
}

TEST_F(FileCommandsTest, ASharedPinIsReportedBeforeAnyFileDialog) {
  const struct {
    const char* name;
    int column, row;            // which list entry gets the pin; -1 leaves it
    int pin;
    const char* message;
  } cases[] = {
      {"column and row on C", 5, -1, 2, "Error: Pin C is used for multiple scan lines"},
      {"two rows on X", -1, 3, 23, "Error: Pin X is used for multiple scan lines"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChangeModel(ResetModel);
    if (c.column >= 0) ChangeModel([&](ConfigModel& m) { m.columnPins[c.column] = c.pin; });
    if (c.row >= 0) ChangeModel([&](ConfigModel& m) { m.rowPins[c.row] = c.pin; });
    SetModified(true);
    bool saved = true;
    const auto seen = RunAnswered([&] { saved = SaveConfigFile(); }, {{IDOK}});
    EXPECT_MESSAGE(seen[0], c.message, IDI_ERROR, IDOK);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(EditorModel().modified);
  }
}

// A file held open by another program cannot be replaced; it is not saved.
// (A write that fails after the file was opened takes the same way; the image file
// tests cover that it is reported.)
TEST_F(FileCommandsTest, AFileThatCannotBeWrittenIsReportedAndStaysUnsaved) {
  const std::string path = Path("locked.cfg");
  WriteAll(path, Bytes(3, 1));
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EditTypematic();
  bool saved = true;
  const auto seen = RunAnswered([&] { saved = SaveConfigFile(); }, {{IDOK, path}, {IDYES}, {IDOK}});
  CloseHandle(holder);
  EXPECT_MESSAGE(seen[2], kSaveError, IDI_ERROR, IDOK);
  EXPECT_FALSE(saved);
  EXPECT_TRUE(EditorModel().modified);
  EXPECT_EQ(ReadAll(path), Bytes(3, 1));
}

bool FailWhileWriting(WriteStep step) { return step == WriteStep::kWrite; }

// A save that fails after the old file was chosen (here a failure planted in the
// writing through the writer's test seam) keeps the old file whole.
TEST_F(FileCommandsTest, ASaveThatFailsWhileWritingKeepsTheOldFile) {
  const std::string path = Path("kept.cfg");
  WriteAll(path, SmallImage());
  EditTypematic();
  SetWriteFailureSeam(FailWhileWriting);
  bool saved = true;
  const auto seen = RunAnswered([&] { saved = SaveConfigFile(); }, {{IDOK, path}, {IDYES}, {IDOK}});
  SetWriteFailureSeam(nullptr);
  EXPECT_MESSAGE(seen[2], kSaveError, IDI_ERROR, IDOK);
  EXPECT_FALSE(saved);
  EXPECT_TRUE(EditorModel().modified);
  EXPECT_EQ(ReadAll(path), SmallImage());
  EXPECT_EQ(Names(), std::vector<std::string>{"kept.cfg"});
}

// Names outside the ANSI code page are saved and opened as they are.
TEST_F(FileCommandsTest, ANameInAnyScriptIsSavedAndOpened) {
  const std::string name = "\u00FCn\u00EFc\u00F8d\u00E9\u2014\u540D\u524D.img";  // ünïcødé—名前.img
  const std::string path = Path(name.c_str());
  EditTypematic();
  RunCommand(IDM_FILE_SAVE, {{IDOK, path}});
  EXPECT_EQ(Names(), std::vector<std::string>{name});
  InputFile file;
  ASSERT_TRUE(ReadRegularFile(path, kImageSize, file)) << file.reason;
  Bytes expected = NewConfigurationImage();
  expected[507] = 0x40;
  EXPECT_EQ(Bytes(file.content.begin(), file.content.end()), expected);
  RunCommand(IDM_FILE_NEW, {});
  RunCommand(IDM_FILE_OPEN, {{IDOK, path}});
  EXPECT_TRUE(EditorModel().typematic);
}

// --- the question ----------------------------------------------------------------

TEST_F(FileCommandsTest, QuestionYesSavesThenNewGoesOn) {
  const std::string path = Path("before-new.cfg");
  EditTypematic();
  const auto seen = RunCommand(IDM_FILE_NEW, {{IDYES}, {IDOK, path}});
  EXPECT_MESSAGE(seen[0], kQuestion, IDI_QUESTION, IDYES, IDNO, IDCANCEL);
  EXPECT_FILE_DIALOG(seen[1], kSaveTitle);
  ASSERT_EQ(ReadAll(path).size(), 512u);
  EXPECT_EQ(ReadAll(path)[507], 0x40);  // the edited configuration went to the file
  EXPECT_FALSE(EditorModel().typematic);  // and New replaced it
  EXPECT_EQ(Selection(TypematicDropDown()), 0);
  EXPECT_FALSE(EditorModel().modified);
}

// A save that does not happen stops the command that asked: nothing is replaced
// or closed, and the changes stay marked.
TEST_F(FileCommandsTest, QuestionYesWithoutASaveStopsTheCommand) {
  const struct {
    const char* name;
    bool sharedPin;   // the pin check refuses; else the Save dialog is cancelled
    int command;      // a menu command, or 0 for the close box
  } cases[] = {
      {"New, Save cancelled", false, IDM_FILE_NEW},
      {"New, pin shared", true, IDM_FILE_NEW},
      {"Open, Save cancelled", false, IDM_FILE_OPEN},
      {"Exit, Save cancelled", false, IDM_FILE_EXIT},
      {"Exit, pin shared", true, IDM_FILE_EXIT},
      {"close box, Save cancelled", false, 0},
      {"close box, pin shared", true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChangeModel(ResetModel);
    ShowWholeConfiguration();
    EditTypematic();
    if (c.sharedPin) ChangeModel([&](ConfigModel& m) { m.rowPins[0] = 0; });  // row 1 and column 1 on A
    const std::vector<DialogAnswer> answers = {{IDYES}, {c.sharedPin ? IDOK : IDCANCEL}};
    const auto seen =
        c.command != 0 ? RunCommand(c.command, answers) : RunAnswered([] {
          PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
          PumpUntilIdle();
        }, answers);
    EXPECT_MESSAGE(seen[0], kQuestion, IDI_QUESTION, IDYES, IDNO, IDCANCEL);
    if (c.sharedPin) {
      EXPECT_MESSAGE(seen[1], "Error: Pin A is used for multiple scan lines", IDI_ERROR, IDOK);
    } else {
      EXPECT_FILE_DIALOG(seen[1], kSaveTitle);
    }
    EXPECT_TRUE(IsWindow(MainWindow()));
    EXPECT_TRUE(EditorModel().typematic);
    EXPECT_EQ(Selection(TypematicDropDown()), 1);
    EXPECT_TRUE(EditorModel().modified);
  }
}

TEST_F(FileCommandsTest, QuestionCancelStopsAndNoGoesOnWithoutSaving) {
  EditTypematic();
  auto seen = RunCommand(IDM_FILE_OPEN, {{IDCANCEL}});
  EXPECT_MESSAGE(seen[0], kQuestion, IDI_QUESTION, IDYES, IDNO, IDCANCEL);
  EXPECT_TRUE(EditorModel().modified);

  // No, then the Open dialog cancelled: still the same edited configuration, and the
  // next command asks again.
  seen = RunCommand(IDM_FILE_OPEN, {{IDNO}, {IDCANCEL}});
  EXPECT_FILE_DIALOG(seen[1], kOpenTitle);
  EXPECT_TRUE(EditorModel().typematic);
  EXPECT_TRUE(EditorModel().modified);

  seen = RunCommand(IDM_FILE_NEW, {{IDNO}});
  EXPECT_MESSAGE(seen[0], kQuestion, IDI_QUESTION, IDYES, IDNO, IDCANCEL);
  EXPECT_FALSE(EditorModel().typematic);
  EXPECT_FALSE(EditorModel().modified);
}

TEST_F(FileCommandsTest, WithoutChangesNothingIsAsked) {
  const std::string path = Path("quiet.cfg");
  WriteAll(path, SmallImage());
  bool goOn = false;
  RunAnswered([&] { goOn = ConfirmDiscard(); }, {});
  EXPECT_TRUE(goOn);
  const auto seen = RunCommand(IDM_FILE_OPEN, {{IDOK, path}});
  EXPECT_FILE_DIALOG(seen[0], kOpenTitle);
  EXPECT_EQ(EditorModel().rows, 2);
}

// --- Open ------------------------------------------------------------------------

TEST_F(FileCommandsTest, OpenLoadsTheFileAndShowsIt) {
  const struct { const char* name; Bytes content; } cases[] = {
      {"exactly 512 bytes", SmallImage()},
      {"longer file", [] {
         Bytes b = SmallImage();
         b.resize(900, 0x77);
         return b;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChangeModel(ResetModel);
    ShowWholeConfiguration();
    EditTypematic();
    const std::string path = Path("small.cfg");
    WriteAll(path, c.content);
    const auto seen = RunCommand(IDM_FILE_OPEN, {{IDNO}, {IDOK, path}});
    EXPECT_FILE_DIALOG(seen[1], kOpenTitle);

    const ConfigModel& model = EditorModel();
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(model.rows, 2);
    EXPECT_EQ(model.columns, 3);
    EXPECT_TRUE(model.typematic);
    EXPECT_EQ(model.columnPins[0], 2);
    EXPECT_EQ(model.rowPins[1], 3);
    EXPECT_EQ(model.keys[1 * kMatrixStride + 1], kCtrlShiftKey);
    EXPECT_EQ(model.keys[0 * kMatrixStride + 0], kAltKey);
    // The screen follows: top lists, grid size, pins and key texts.
    EXPECT_EQ(Selection(RowsDropDown()), 1);
    EXPECT_EQ(Selection(ColumnsDropDown()), 2);
    EXPECT_EQ(Selection(TypematicDropDown()), 1);
    ASSERT_EQ(VisibleColumnCount(), 3);
    ASSERT_EQ(VisibleRowCount(), 2);
    EXPECT_EQ(Selection(PinBox(0)), 2);
    EXPECT_EQ(Selection(PinBox(3)), 4);  // row 1, after the three column boxes
    EXPECT_EQ(WindowText(KeyButton(0)), KeyText(kAltKey));
    EXPECT_EQ(WindowText(KeyButton(1 * 3 + 1)), KeyText(kCtrlShiftKey));
    EXPECT_EQ(WindowText(KeyButton(1)), "Not Used");
    EXPECT_FALSE(HasVisibleStyle(KeyButton(6)));
  }
}

TEST_F(FileCommandsTest, OpenRefusesFilesThatAreNoConfiguration) {
  const struct { const char* name; Bytes content; } cases[] = {
      {"512 zero bytes", Bytes(kImageSize, 0)},
      {"empty file", Bytes()},
      {"valid image cut to 511 bytes", [] {
         Bytes b = SmallImage();
         b.resize(511);
         return b;
       }()},
      {"only its first 100 bytes", [] {
         Bytes b = SmallImage();
         b.resize(100);
         return b;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChangeModel(ResetModel);
    ShowWholeConfiguration();
    EditTypematic();
    const std::string path = Path("bad.cfg");
    WriteAll(path, c.content);
    const auto seen = RunCommand(IDM_FILE_OPEN, {{IDNO}, {IDOK, path}, {IDOK}});
    EXPECT_MESSAGE(seen[2], kInvalidFile, IDI_ERROR, IDOK);
    EXPECT_EQ(EditorModel().rows, 12);
    EXPECT_TRUE(EditorModel().typematic);
    EXPECT_EQ(Selection(RowsDropDown()), 11);
    EXPECT_EQ(Selection(TypematicDropDown()), 1);
    EXPECT_TRUE(EditorModel().modified);
  }
}

TEST_F(FileCommandsTest, AFileThatCannotBeReadIsReported) {
  const std::string path = Path("held.cfg");
  WriteAll(path, SmallImage());
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const auto seen = RunCommand(IDM_FILE_OPEN, {{IDOK, path}, {IDOK}});
  CloseHandle(holder);
  EXPECT_MESSAGE(seen[1], kOpenError, IDI_ERROR, IDOK);
  EXPECT_EQ(EditorModel().rows, 12);
  EXPECT_FALSE(EditorModel().modified);
}

TEST_F(FileCommandsTest, QuestionYesSavesThenOpenGoesOn) {
  const std::string saved = Path("saved.cfg");
  const std::string opened = Path("opened.cfg");
  WriteAll(opened, SmallImage());
  EditTypematic();
  const auto seen = RunCommand(IDM_FILE_OPEN, {{IDYES}, {IDOK, saved}, {IDOK, opened}});
  EXPECT_FILE_DIALOG(seen[1], kSaveTitle);
  EXPECT_FILE_DIALOG(seen[2], kOpenTitle);
  EXPECT_EQ(ReadAll(saved).size(), 512u);
  EXPECT_EQ(EditorModel().columns, 3);
  EXPECT_FALSE(EditorModel().modified);
}

// What is saved opens again as the same configuration.
TEST_F(FileCommandsTest, ASavedConfigurationOpensAsItWas) {
  const std::string path = Path("round.cfg");
  WriteAll(path, SmallImage());
  RunCommand(IDM_FILE_OPEN, {{IDOK, path}});
  ChangeModel([&](ConfigModel& m) { m.keys[0] = kCtrlShiftKey; });   // row 1, column 1
  SetModified(true);
  const std::string copy = Path("copy.cfg");
  RunCommand(IDM_FILE_SAVE, {{IDOK, copy}});
  const ConfigModel before = EditorModel();
  RunCommand(IDM_FILE_NEW, {});
  RunCommand(IDM_FILE_OPEN, {{IDOK, copy}});
  EXPECT_EQ(EditorModel().rows, before.rows);
  EXPECT_EQ(EditorModel().columns, before.columns);
  for (int r = 0; r < before.rows; ++r) {
    for (int k = 0; k < before.columns; ++k) {
      EXPECT_EQ(EditorModel().keys[r * kMatrixStride + k], before.keys[r * kMatrixStride + k])
          << r << ", " << k;
    }
  }
  EXPECT_EQ(WindowText(KeyButton(0)), KeyText(kCtrlShiftKey));
}

// The files dropped at once, as the shell hands them over; the receiver frees it.
HGLOBAL DropOf(const std::vector<std::string>& paths) {
  std::wstring list;
  for (const std::string& path : paths) list += WideText(path) + L'\0';
  const std::size_t bytes = (list.size() + 1) * sizeof(wchar_t);  // with the list's end
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  *drop = DROPFILES{sizeof(DROPFILES), {}, FALSE, TRUE};  // the names follow, wide
  std::memcpy(drop + 1, list.c_str(), bytes);
  GlobalUnlock(memory);
  return memory;
}

// A file named on the command line (as "Open with" starts the editor) or dropped on
// the window opens as Open opens it; a drop is refused where a command would be.
TEST_F(FileCommandsTest, FilesNamedOnTheCommandLineOrDroppedOpenAsOpenDoes) {
  const std::string small = Path("a panel.rq57"), zero = Path("zero.rq57");
  WriteAll(small, SmallImage());
  WriteAll(zero, Bytes(kImageSize, 0));
  const auto line = [](const std::string& path) { return "rq57load.exe \"" + path + "\""; };
  constexpr int kTransfer = -1;
  const struct {
    const char* name;
    std::string commandLine;
    std::vector<std::string> drop;  // posted as the shell posts it
    int before;                     // a menu command posted ahead of the drop, or kTransfer
    bool edited;
    std::vector<DialogAnswer> answers;
    const char* message;            // the last window's text
    int rows;
  } cases[] = {
      {"command line, a file", line(small), {}, 0, false, {}, nullptr, 2},
      {"command line, nothing named", "rq57load.exe", {}, 0, false, {}, nullptr, 12},
      {"command line, no configuration", line(zero), {}, 0, false, {{IDOK}}, kInvalidFile, 12},
      {"command line, no such file", line(Path("missing.rq57")), {}, 0, false, {{IDOK}}, kOpenError, 12},
      {"dropped with another, after the question", "", {small, zero}, 0, true, {{IDNO}}, kQuestion, 2},
      {"dropped, question cancelled", "", {small}, 0, true, {{IDCANCEL}}, kQuestion, 12},
      {"dropped while a modal window is open", "", {small}, IDM_HELP_ABOUT, false, {{IDOK}}, nullptr, 12},
      {"dropped during a transfer", "", {small}, kTransfer, false, {}, nullptr, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEditor();
    SetModified(c.edited);
    if (c.before == kTransfer) OpenProgressWindow();
    const auto seen = RunAnswered([&] {
      if (!c.commandLine.empty()) OpenFileNamedOnCommandLine(WideText(c.commandLine).c_str());
      if (c.before > 0) PostMessageA(MainWindow(), WM_COMMAND, c.before, 0);
      if (!c.drop.empty()) PostMessageA(MainWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(c.drop)), 0);
      PumpUntilIdle();
    }, c.answers);
    CloseProgressWindow();
    if (c.message != nullptr) { EXPECT_EQ(seen.back().text, c.message); }
    EXPECT_EQ(EditorModel().rows, c.rows);
  }
}

}  // namespace
