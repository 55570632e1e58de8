#include "ui_support.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "io/system_text.h"
#include "model/keystroke_of_key.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/list_window.h"
#include "ui/main_window.h"

namespace {

constexpr DWORD kPollMs = 10;           // longest wait between two looks at a condition
constexpr UINT kTickMs = USER_TIMER_MINIMUM;  // the answerer's timer; it ticks when nothing is queued
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kFileNameComboId = 1148;  // cmb13 of the common file dialogs
constexpr int kFileNameEditId = 1152;   // edt1, the older name field

DWORD Elapsed(DWORD start) { return GetTickCount() - start; }

enum class Pumped { kEmpty, kQuit, kBound };

// Dispatches everything queued, as the editor's own loop would, until the queue
// holds nothing (posted or sent, input, paint or timer due), at most maxMs. A
// WM_QUIT is put back so that the real loop still sees it.
Pumped DispatchQueued(DWORD maxMs = INFINITE) {
  const DWORD start = GetTickCount();
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return Pumped::kQuit;
    }
    if (!TranslateEditorAccelerator(message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (Elapsed(start) >= maxMs) return Pumped::kBound;
  }
  return Pumped::kEmpty;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct FindState {
  HWND found = nullptr;
};

BOOL CALLBACK FindModal(HWND window, LPARAM data) {
  auto* state = reinterpret_cast<FindState*>(data);
  // A modal window disables its owner; a modeless one (the progress window) does not.
  // The tool windows follow their owner a moment later.
  HWND owner = GetWindow(window, GW_OWNER);
  if (ClassOf(window) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window) &&
      (owner == nullptr || !IsWindowEnabled(owner)) && !IsToolWindow(window)) {
    state->found = window;
    return FALSE;
  }
  return TRUE;
}

struct TitleSearch {
  const char* title;
  HWND found;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TitleSearch*>(data);
  if (ClassOf(window) != "#32770" || WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK RecordChild(HWND child, LPARAM data) {
  auto* seen = reinterpret_cast<DialogSeen*>(data);
  const std::string kind = ClassOf(child);
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  if (_stricmp(kind.c_str(), "Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) seen->buttons.push_back(GetDlgCtrlID(child));
  } else if (_stricmp(kind.c_str(), "Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      if (style & WS_VISIBLE) {
        seen->hasIcon = true;
        seen->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
      }
    } else if (GetDlgCtrlID(child) != kMessageBoxTextId) {
      const std::string text = WindowText(child);
      if (!text.empty()) seen->text += (seen->text.empty() ? "" : "\n") + text;
    }
  }
  return TRUE;
}

DialogSeen Describe(HWND dialog) {
  DialogSeen seen;
  seen.window = dialog;
  seen.owner = GetWindow(dialog, GW_OWNER);
  seen.title = WindowText(dialog);
  EnumChildWindows(dialog, RecordChild, reinterpret_cast<LPARAM>(&seen));
  if (HWND text = GetDlgItem(dialog, kMessageBoxTextId)) seen.text = WindowText(text);
  return seen;
}

}  // namespace

void FillFileName(HWND dialog, const std::string& name) {
  HWND edit = nullptr;
  if (HWND combo = GetDlgItem(dialog, kFileNameComboId)) {
    edit = reinterpret_cast<HWND>(SendMessageA(combo, CBEM_GETEDITCONTROL, 0, 0));
    if (edit == nullptr) edit = combo;
  }
  if (edit == nullptr) edit = GetDlgItem(dialog, kFileNameEditId);
  // Wide, so that a name in UTF-8 arrives whole.
  if (edit != nullptr) SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideText(name).c_str()));
}

void ClickWithMouse(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

// Idle is nothing left to handle now; what comes later is waited for by condition.
bool PumpUntilIdle(DWORD maxMs) { return DispatchQueued(maxMs) != Pumped::kBound; }

bool PumpUntil(const std::function<bool()>& condition, DWORD maxMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (Elapsed(start) >= maxMs) return false;
    if (DispatchQueued() == Pumped::kQuit) return condition();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
  }
}

bool WaitUntilAt(const char* file, int line, const std::function<bool()>& condition,
                 const char* what, DWORD maxMs) {
  if (PumpUntil(condition, maxMs)) return true;
  ADD_FAILURE_AT(file, line) << "timed out after " << maxMs << " ms waiting for " << what;
  return false;
}

std::string WindowText(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool HasVisibleStyle(HWND window) {
  return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT ChildRect(HWND child) {
  RECT rect = {};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void SetClientSize(HWND window, int width, int height) {
  RECT frame = {0, 0, width, height};
  AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                   GetMenu(window) != nullptr);
  int outerWidth = frame.right - frame.left;
  int outerHeight = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, 0, 0, outerWidth, outerHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A narrow window wraps its menu bar onto more lines than the frame computation
  // assumes: make up for what the client area still lacks.
  RECT client = {};
  GetClientRect(window, &client);
  if (client.right == width && client.bottom == height) return;
  outerWidth += width - client.right;
  outerHeight += height - client.bottom;
  SetWindowPos(window, nullptr, 0, 0, outerWidth, outerHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ExpectPlacementAt(const char* file, int line, HWND child, int x, int y, int width,
                       int height) {
  const RECT rect = ChildRect(child);
  const bool placed = rect.left == x && rect.top == y &&
                      (width < 0 || rect.right - rect.left == width) &&
                      (height < 0 || rect.bottom - rect.top == height);
  if (!placed) {
    ADD_FAILURE_AT(file, line) << "control at (" << rect.left << ", " << rect.top << ") size "
                               << rect.right - rect.left << " x " << rect.bottom - rect.top
                               << ", expected (" << x << ", " << y << ") size " << width
                               << " x " << height;
  }
}

DialogPlace DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height) {
  // One horizontal base unit is 4 dialog units wide, one vertical one 8 high.
  RECT base = {0, 0, 4, 8};
  MapDialogRect(dialog, &base);
  return {MulDiv(x, base.right, 4), MulDiv(y, base.bottom, 8), MulDiv(width, base.right, 4),
          MulDiv(height, base.bottom, 8)};
}

void ExpectDialogPlacementAt(const char* file, int line, HWND child, int x, int y, int width,
                             int height) {
  const DialogPlace place = DialogUnitsToPixels(GetParent(child), x, y, width, height);
  ExpectPlacementAt(file, line, child, place.x, place.y, place.width, place.height);
}

void ChangeModel(const std::function<void(ConfigModel&)>& change) {
  ConfigModel model = EditorModel();
  change(model);
  Editor().Replace(model);
  if (model.modified) SetModified(true);
}

void SetModified(bool modified) {
  if (modified) {
    Editor().SetTypematic(EditorModel().typematic);
  } else {
    Editor().MarkSaved();
  }
}

void ResetEditor() {
  constexpr int kStartCells = 6;   // 469 x 405 at 96 DPI
  const GridMetrics metrics = UiMetrics();
  const int kStartClientWidth = ClientWidthFor(metrics, kStartCells);
  const int kStartClientHeight = ClientHeightFor(metrics, kStartCells);
  HWND main = MainWindow();
  if (IsZoomed(main) || IsIconic(main)) ShowWindow(main, SW_RESTORE);
  // Through a size without cells, so that the layout places every control anew.
  SetClientSize(main, 1, 1);
  SetClientSize(main, kStartClientWidth, kStartClientHeight);
  ChangeModel(ResetModel);
  SetScrollPos(HorizontalScrollBar(), SB_CTL, 0, TRUE);
  SetScrollPos(VerticalScrollBar(), SB_CTL, 0, TRUE);
  ShowWholeConfiguration();
  FocusControl(main);
}

Bytes ReadAll(const std::string& path) {
  Bytes bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
  }
  return bytes;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<DialogSeen> RunAnswered(const std::function<void()>& command, std::vector<DialogAnswer> answers) {
  const std::size_t expected = answers.size();
  ModalAnswerer answerer(std::move(answers), kTransferMs);
  command();
  answerer.Finish(kTransferMs);
  PumpUntilIdle();
  EXPECT_EQ(answerer.Unexpected(), 0) << "windows that were not expected:" << answerer.UnexpectedTexts();
  std::vector<DialogSeen> seen = answerer.Seen();
  std::string titles;
  for (const DialogSeen& window : seen) titles += " [" + window.title + ": " + window.text + "]";
  EXPECT_EQ(seen.size(), expected) << "windows answered:" << titles;
  seen.resize(expected);
  return seen;
}

std::vector<DialogSeen> RunCommand(int id, std::vector<DialogAnswer> answers) {
  return RunAnswered(
      [id] {
        PostMessageA(MainWindow(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        PumpUntilIdle();
      },
      std::move(answers));
}

void ExpectResultAt(const char* file, int line, const std::vector<DialogSeen>& seen,
                    std::size_t index, const char* text, bool icon) {
  if (seen.size() <= index) {
    ADD_FAILURE_AT(file, line) << "no result message; " << seen.size() << " windows seen";
    return;
  }
  const DialogSeen& box = seen[index];
  const HICON expectedIcon = icon ? LoadIconA(nullptr, IDI_ERROR) : nullptr;
  if (box.text != text || box.icon != expectedIcon || box.title != kAppTitle || box.owner != MainWindow() ||
      box.buttons != std::vector<int>{IDOK}) {
    ADD_FAILURE_AT(file, line) << "message \"" << box.text << "\" (icon " << box.icon << ", title \""
                               << box.title << "\", " << box.buttons.size()
                               << " buttons), expected \"" << text << "\" (icon " << expectedIcon << ")";
  }
}

void ChooseItem(HWND dropDown, int index) {
  SendMessageA(dropDown, CB_SETCURSEL, index, 0);
  SendMessageA(GetParent(dropDown), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(dropDown), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(dropDown));
  PumpUntilIdle();
}

HWND FindToolWindow(const char* title) {
  TitleSearch search = {title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindTitled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindModalWindow(DWORD threadId) {
  FindState state;
  EnumThreadWindows(threadId, FindModal, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

namespace {

ModalAnswerer* activeAnswerer = nullptr;

bool InMenuMode() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
}

}  // namespace

ModalAnswerer::ModalAnswerer(std::vector<ModalStep> steps, DWORD timeoutMs)
    : steps_(std::move(steps)), ends_(steps_.size(), false), start_(GetTickCount()), timeoutMs_(timeoutMs) {
  EXPECT_EQ(activeAnswerer, nullptr) << "one modal answerer at a time";
  activeAnswerer = this;
  timer_ = SetTimer(nullptr, 0, kTickMs, Tick);
}

ModalAnswerer::ModalAnswerer(std::vector<DialogAnswer> answers, DWORD timeoutMs)
    : ModalAnswerer(std::vector<ModalStep>{}, timeoutMs) {
  for (DialogAnswer& answer : answers) {
    steps_.push_back([this, answer](HWND modal) {
      seen_.push_back(Describe(modal));
      if (!answer.fileName.empty()) FillFileName(modal, answer.fileName);
      PostMessageA(modal, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(modal, answer.button)));
    });
    ends_.push_back(true);
  }
}

ModalAnswerer::ModalAnswerer(int button, DWORD timeoutMs)
    : ModalAnswerer(std::vector<DialogAnswer>{DialogAnswer{button}}, timeoutMs) {}

ModalAnswerer::~ModalAnswerer() {
  KillTimer(nullptr, timer_);
  activeAnswerer = nullptr;
}

bool ModalAnswerer::Done() const { return AllStepsRan() || Elapsed(start_) >= timeoutMs_; }

int ModalAnswerer::Finish(DWORD maxMs) {
  PumpUntil([this] { return Done(); }, maxMs);
  return static_cast<int>(seen_.size());
}

void CALLBACK ModalAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (activeAnswerer != nullptr && !activeAnswerer->stepping_) activeAnswerer->Step();
}

void ModalAnswerer::Step() {
  if (InMenuMode() && Done()) {
    ++unexpected_;
    unexpectedTexts_ += " [a menu]";
    EndMenu();
    return;
  }
  HWND modal = FindModalWindow(GetCurrentThreadId());
  if (modal == nullptr) return;
  if (std::find(answered_.begin(), answered_.end(), modal) != answered_.end()) {
    // Answered or closed, and still up when the time ran out: ended, as a last resort.
    if (Elapsed(start_) >= timeoutMs_) {
      ++unexpected_;
      EndDialog(modal, IDCANCEL);
    }
    return;
  }
  if (Done()) {
    CloseUnexpected(modal);
    return;
  }
  // A step may open a modal window of its own, whose loop ticks too.
  const std::size_t step = next_++;
  if (ends_[step]) answered_.push_back(modal);
  stepping_ = true;
  steps_[step](modal);
  stepping_ = false;
}

void ModalAnswerer::CloseUnexpected(HWND modal) {
  ++unexpected_;
  unexpectedTexts_ += " [" + WindowText(modal);
  if (HWND text = GetDlgItem(modal, kMessageBoxTextId)) unexpectedTexts_ += ": " + WindowText(text);
  unexpectedTexts_ += "]";
  answered_.push_back(modal);
  // As the user would: Cancel where there is one (EndDialog would make a file
  // dialog report success), else No, else OK.
  const int button = GetDlgItem(modal, IDCANCEL) ? IDCANCEL : GetDlgItem(modal, IDNO) ? IDNO : IDOK;
  PostMessageA(modal, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

void FocusControl(HWND target) {
  HWND main = MainWindow();
  SetForegroundWindow(main);
  SetActiveWindow(main);
  SetFocus(target);
  PumpUntilIdle();
}

void PressKey(HWND target, WORD virtualKey, int modifiers) {
  FocusControl(target);
  const struct { int flag; BYTE key; } held[] = {
      {kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}, {kAlt, VK_MENU}};
  for (const auto& h : held) {
    if (modifiers & h.flag) keybd_event(h.key, 0, 0, 0);
  }
  keybd_event(static_cast<BYTE>(virtualKey), 0, 0, 0);
  keybd_event(static_cast<BYTE>(virtualKey), 0, KEYEVENTF_KEYUP, 0);
  for (int i = 2; i >= 0; --i) {
    if (modifiers & held[i].flag) keybd_event(held[i].key, 0, KEYEVENTF_KEYUP, 0);
  }
  PumpUntilIdle();
}

void SendKey(const Keystroke& stroke, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(stroke.virtualKey);
  input.ki.wScan = static_cast<WORD>(stroke.scanCode);
  input.ki.dwFlags = (stroke.extended ? KEYEVENTF_EXTENDEDKEY : 0) | (down ? 0 : KEYEVENTF_KEYUP);
  SendInput(1, &input, sizeof input);
}

Keystroke StrokeOf(int keyNumber) {
  Keystroke stroke;
  EXPECT_TRUE(KeystrokeOfKeyNumber(keyNumber, stroke)) << keyNumber;
  return stroke;
}

void TypeCombo(KeyCode code) {
  const struct { KeyCode bit; int key; } modifiers[] = {
      {kModCtrl, kKeyLeftCtrl}, {kModShift, kKeyLeftShift}, {kModAlt, kKeyLeftAlt}};
  for (const auto& m : modifiers) {
    if (code & m.bit) SendKey(StrokeOf(m.key), true);
  }
  const Keystroke key = StrokeOf(code & kKeyNumberMask);
  SendKey(key, true);
  SendKey(key, false);
  for (int i = 2; i >= 0; --i) {
    if (code & modifiers[i].bit) SendKey(StrokeOf(modifiers[i].key), false);
  }
  PumpUntilIdle();
}

bool StartUnixCommand(const std::string& command) {
  std::string line = "sh -c \"" + command + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  const BOOL ok = CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &started);
  for (HANDLE handle : {started.hProcess, started.hThread}) {
    if (handle != nullptr) CloseHandle(handle);
  }
  return ok != FALSE;
}

bool RunModalScript(const std::function<void()>& open, std::vector<ModalStep> steps, DWORD maxMs) {
  ModalAnswerer script(std::move(steps), maxMs);
  open();
  PumpUntilIdle();
  return script.AllStepsRan() && script.Unexpected() == 0;
}

ModalStep PressKeyStep(WORD virtualKey) {
  return [virtualKey](HWND) {
    keybd_event(static_cast<BYTE>(virtualKey), 0, 0, 0);
    keybd_event(static_cast<BYTE>(virtualKey), 0, KEYEVENTF_KEYUP, 0);
  };
}

ModalStep ClickStep(int controlId) {
  return [controlId](HWND modal) {
    HWND control = GetDlgItem(modal, controlId);
    if (control == nullptr) {
      ADD_FAILURE() << "no control " << controlId << " in the modal window";
      return;
    }
    SendMessageA(control, BM_CLICK, 0, 0);
  };
}

void FillSampleConfiguration(ConfigModel& model) {
  ResetModel(model);
  model.rows = 3;
  model.columns = 5;
  model.typematic = true;
  const int columnPins[] = {20, 2, 7, 11, 0};
  const int rowPins[] = {5, 23, 14};
  for (int i = 0; i < 5; ++i) model.columnPins[i] = columnPins[i];
  for (int i = 0; i < 3; ++i) model.rowPins[i] = rowPins[i];
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 5; ++c) {
      model.keys[r * kMatrixStride + c] = (r * 5 + c + 17) | (c % 2 == 0 ? kModShift : kModCtrl);
    }
  }
}

ConfigImage ImageOf(const ConfigModel& model) {
  ConfigImage image{};
  EXPECT_TRUE(EncodeImage(model, image, nullptr));
  return image;
}
