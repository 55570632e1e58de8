// Helpers for the tests of the editor's windows under Wine: message pumping until
// nothing is left to handle, waits on conditions, the one harness for modal windows,
// real keystrokes, and checks that report at the caller's file and line.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/config.h"
#include "model/keystroke.h"

constexpr DWORD kIdleMs = 2000;       // default bound of PumpUntilIdle
constexpr DWORD kWaitMs = 5000;       // default bound of the waits below

// Dispatches queued messages until nothing is left to handle (no message posted or
// sent, no input, paint or timer due), at most maxMs. Returns false when the bound
// was reached first. It waits for nothing that comes later: wait for that with
// PumpUntil or WAIT_UNTIL.
bool PumpUntilIdle(DWORD maxMs = kIdleMs);

// Pumps messages until condition() holds, at most maxMs; returns whether it held.
bool PumpUntil(const std::function<bool()>& condition, DWORD maxMs = kWaitMs);

// Same, and reports a test failure at file:line naming what was awaited.
bool WaitUntilAt(const char* file, int line, const std::function<bool()>& condition,
                 const char* what, DWORD maxMs = kWaitMs);
#define WAIT_UNTIL(condition, ...) \
  WaitUntilAt(__FILE__, __LINE__, [&] { return static_cast<bool>(condition); }, #condition, ##__VA_ARGS__)

// Text of a window (control, dialog, message box part).
std::string WindowText(HWND window);
// Whether a control has WS_VISIBLE itself (independent of its parent).
bool HasVisibleStyle(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// Sets a top-level window's outer size so that its client area is width x height.
void SetClientSize(HWND window, int width, int height);

// Checks a child's place and size; a negative width or height is not checked.
void ExpectPlacementAt(const char* file, int line, HWND child, int x, int y, int width,
                       int height);
#define EXPECT_PLACEMENT(child, x, y, width, height) \
  ExpectPlacementAt(__FILE__, __LINE__, child, x, y, width, height)

// A rectangle given in dialog units, in pixels of the given dialog. Mapped as the
// dialog manager places controls: x, y, width and height each on its own with the
// dialog's base units, so the expectation holds whatever font the dialog got.
struct DialogPlace {
  int x, y, width, height;
};
DialogPlace DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height);
// Checks a dialog control's place and size, given in its dialog's units.
void ExpectDialogPlacementAt(const char* file, int line, HWND child, int x, int y, int width,
                             int height);
#define EXPECT_DIALOG_PLACEMENT(child, x, y, width, height) \
  ExpectDialogPlacementAt(__FILE__, __LINE__, child, x, y, width, height)

// One modal window to answer, in the order in which they appear.
struct DialogAnswer {
  DialogAnswer(int pressed = IDOK, std::string name = {})
      : button(pressed), fileName(std::move(name)) {}
  int button;               // control id whose click ends it (IDYES, IDNO, a key id, ...)
  std::string fileName;     // when set, typed into a common file dialog's name field first
};

// What the answerer saw of one modal window.
struct DialogSeen {
  HWND window = nullptr;
  HWND owner = nullptr;
  std::string title;
  std::string text;         // a message box's text, else all static texts joined by '\n'
  std::vector<int> buttons; // ids of its push buttons, in z-order
  bool hasIcon = false;     // a static icon is shown (message box icon)
  HICON icon = nullptr;     // that icon (compare with LoadIcon(nullptr, IDI_ERROR) etc.)
};

// One thing done to the modal window (#32770) that is up; the window it is given.
using ModalStep = std::function<void(HWND modal)>;

// The one harness for modal windows: runs steps on the modal windows that this
// thread opens, from a timer of this thread, which ticks only when nothing else is
// queued, so each step comes once the window is up and the one before has been
// handled. An answer (DialogAnswer) records its window, fills a file name if asked
// and clicks a button; that window is not stepped again. A modal window or menu
// found once the steps have run (or past timeoutMs) is closed as a user would
// (Cancel, else No, else OK) and counted as unexpected. Example:
//   ModalAnswerer answerer({DialogAnswer{IDOK, "a.cfg"}, DialogAnswer{IDYES}});
//   PostMessageA(MainWindow(), WM_COMMAND, IDM_FILE_SAVE, 0);
//   ASSERT_EQ(answerer.Finish(), 2);
class ModalAnswerer {
 public:
  explicit ModalAnswerer(std::vector<DialogAnswer> answers, DWORD timeoutMs = kWaitMs);
  // One window, ended with the given button.
  explicit ModalAnswerer(int button, DWORD timeoutMs = kWaitMs);
  explicit ModalAnswerer(std::vector<ModalStep> steps, DWORD timeoutMs = kWaitMs);
  ~ModalAnswerer();
  ModalAnswerer(const ModalAnswerer&) = delete;
  ModalAnswerer& operator=(const ModalAnswerer&) = delete;

  // Whether every step ran (or the time ran out).
  bool Done() const;
  bool AllStepsRan() const { return next_ == steps_.size(); }
  // Pumps until Done, at most maxMs. Returns how many windows were answered.
  int Finish(DWORD maxMs = kWaitMs);
  // The windows answered so far.
  const std::vector<DialogSeen>& Seen() const { return seen_; }
  // The windows and menus closed as unexpected, and what they said.
  int Unexpected() const { return unexpected_; }
  const std::string& UnexpectedTexts() const { return unexpectedTexts_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Step();
  void CloseUnexpected(HWND modal);

  std::vector<ModalStep> steps_;
  std::vector<bool> ends_;     // whether steps_[i] ends its window (an answer)
  std::size_t next_ = 0;
  std::vector<HWND> answered_;
  std::vector<DialogSeen> seen_;
  int unexpected_ = 0;
  std::string unexpectedTexts_;
  DWORD start_;
  DWORD timeoutMs_;
  UINT_PTR timer_ = 0;
  bool stepping_ = false;
};

// Changes the editor's configuration directly, as a test's set-up: no undo step;
// the modified flag ends as the changed model's modified field says.
void ChangeModel(const std::function<void(ConfigModel&)>& change);
// 3 rows, 5 columns, typematic on, own pins and keys with modifiers: differs from a
// new configuration in everything a transfer carries.
void FillSampleConfiguration(ConfigModel& model);
// The image of a configuration whose lines all have their own pins.
ConfigImage ImageOf(const ConfigModel& model);
// Sets or clears the editor's modified flag (set through an edit that keeps every
// value, cleared as a save does).
void SetModified(bool modified);
// Runs command() (which opens modal windows on this thread) while a ModalAnswerer
// answers its windows in turn, allowing a transfer's time; returns what was seen.
// Fails at the caller's test when other windows came or fewer than the answers.
constexpr DWORD kTransferMs = 20000;
std::vector<DialogSeen> RunAnswered(const std::function<void()>& command, std::vector<DialogAnswer> answers);
// The same for a menu command, posted as the menu posts it.
std::vector<DialogSeen> RunCommand(int id, std::vector<DialogAnswer> answers);

// Checks that seen[index] is a message box of the editor with this text and OK
// alone, with the error icon or none.
void ExpectResultAt(const char* file, int line, const std::vector<DialogSeen>& seen,
                    std::size_t index, const char* text, bool icon);
#define EXPECT_RESULT(seen, index, text, icon) ExpectResultAt(__FILE__, __LINE__, seen, index, text, icon)

// A file's bytes (none when it cannot be read), and whether it exists.
using Bytes = std::vector<unsigned char>;
Bytes ReadAll(const std::string& path);
bool Exists(const std::string& path);

// Puts the editor back to its start state between tests: restored window with the
// start client size, a new configuration, offsets 0, focus on the main window.
void ResetEditor();

// Chooses an item of a drop-down as the user does: selects it and notifies the
// parent of the selection change.
void ChooseItem(HWND dropDown, int index);

// The visible, enabled modal window (#32770, its owner disabled) of the given thread,
// or nullptr.
HWND FindModalWindow(DWORD threadId);
// The editor's dialog window (#32770) with this title on the calling thread, as a
// user finds it by its title; nullptr when there is none.
HWND FindToolWindow(const char* title);

// Types a name into a common file dialog's name field.
void FillFileName(HWND dialog, const std::string& name);
// A real click of the left mouse button on the middle of a window.
void ClickWithMouse(HWND window);

// Makes the main window active and puts the focus on target.
void FocusControl(HWND target);
// Presses and releases a virtual key with keybd_event, modifiers held around it,
// with the focus on target first; then pumps until idle.
enum KeyModifiers { kNoModifier = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
void PressKey(HWND target, WORD virtualKey, int modifiers = kNoModifier);

// Real key events as the keyboard (the encoder) sends them, scan code and all, to
// whatever window has the keyboard.
void SendKey(const Keystroke& stroke, bool down);
// The keystroke of a named key number (the test fails for another number).
Keystroke StrokeOf(int keyNumber);
// Types a key code: modifiers down, the key down and up, modifiers up; then pumps.
void TypeCombo(KeyCode code);
// Starts a command of Wine's host (xdotool) through its shell; Wine gives no handle to wait on.
bool StartUnixCommand(const std::string& command);

// Runs open(), which opens a modal window on this thread and returns when it closes,
// while a ModalAnswerer runs the steps on it. Returns whether every step ran, the
// window then closed by itself and no other window came.
bool RunModalScript(const std::function<void()>& open, std::vector<ModalStep> steps,
                    DWORD maxMs = kWaitMs);
// Steps: a real keystroke (keybd_event) to the focused control; a real click (BM_CLICK)
// on the modal window's control with the given id.
ModalStep PressKeyStep(WORD virtualKey);
ModalStep ClickStep(int controlId);
