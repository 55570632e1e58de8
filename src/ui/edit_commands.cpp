#include "ui/edit_commands.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

#include "io/system_text.h"
#include "model/key_text.h"
#include "model/untrusted_text.h"
#include "ui/app_core.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/resources/resource.h"
#include "ui/rules/grid_geometry.h"

namespace {

// A key code on the clipboard: its 16 meaningful bits, low byte first.
constexpr std::size_t kCodeBytes = 2;
constexpr KeyCode kCodeMask = 0xFFFF;

constexpr char kNoKeyMessage[] = "The clipboard holds no key";
// How much of the clipboard's text that message shows.
constexpr std::size_t kShownClipboardChars = 40;
constexpr char kCutMark[] = "...";
// Bytes 10xxxxxx continue a UTF-8 sequence.
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationBits = 0x80;

UINT KeyCodeFormat() { return RegisterClipboardFormatA(kKeyCodeClipboardFormat); }

KeyCode CellCode(const ModelCell& cell) {
  return EditorModel().keys[cell.row * kMatrixStride + cell.column];
}

// Global memory holding size bytes copied from data, or nullptr.
HGLOBAL CopyToGlobal(const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, data, size);
  GlobalUnlock(memory);
  return memory;
}

// Hands memory to the clipboard, which then owns it; frees it when refused.
void PutOnClipboard(UINT format, HGLOBAL memory) {
  if (memory != nullptr && SetClipboardData(format, memory) == nullptr) GlobalFree(memory);
}

void CopyCell(const ModelCell& cell) {
  if (!OpenClipboard(MainWindow())) return;
  EmptyClipboard();
  const KeyCode code = CellCode(cell);
  const std::string text = FormatKeyText(code, kNotUsedKeyText);
  PutOnClipboard(CF_TEXT, CopyToGlobal(text.c_str(), text.size() + 1));
  const std::uint8_t bytes[kCodeBytes] = {static_cast<std::uint8_t>(code & 0xFF),
                                          static_cast<std::uint8_t>((code >> 8) & 0xFF)};
  PutOnClipboard(KeyCodeFormat(), CopyToGlobal(bytes, sizeof bytes));
  CloseClipboard();
}

// The code in the private format, when present and whole.
bool ReadPrivateCode(KeyCode& code) {
  HANDLE data = GetClipboardData(KeyCodeFormat());
  if (data == nullptr || GlobalSize(data) < kCodeBytes) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(data));
  if (bytes == nullptr) return false;
  code = (bytes[0] | bytes[1] << 8) & kCodeMask;
  GlobalUnlock(data);
  return true;
}

// The clipboard's text (UTF-8, within the memory's bounds) read as a key.
bool ReadTextCode(KeyCode& code, std::string& line) {
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return false;
  const std::size_t size = GlobalSize(data) / sizeof(wchar_t);
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (text == nullptr) return false;
  line = Utf8Text(std::wstring(text, wcsnlen(text, size)));
  GlobalUnlock(data);
  return ParseKeyText(line, code);
}

// The key on the clipboard: the exact code of a copied cell, else its text read as
// a key. False when it holds none; text is then the clipboard's text, if any.
bool ClipboardCode(KeyCode& code, std::string& text) {
  if (!OpenClipboard(MainWindow())) return false;
  const bool found = ReadPrivateCode(code) || ReadTextCode(code, text);
  CloseClipboard();
  return found;
}

// At most kShownClipboardChars characters of text (a UTF-8 sequence counts as one).
std::string ShortText(const std::string& text) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(text[i]) & kContinuationMask) != kContinuationBits;
    if (startsCharacter && ++characters > kShownClipboardChars) return text.substr(0, i) + kCutMark;
  }
  return text;
}

// Says that the clipboard holds no key, with the start of its text quoted safely.
void ReportNoKey(const std::string& text) {
  std::string message = kNoKeyMessage;
  if (!text.empty()) message += ": \"" + QuoteUntrusted(ShortText(text)) + "\"";
  ShowMessage(message.c_str(), kErrorBox);
}

void SetCell(const ModelCell& cell, KeyCode code) {
  Editor().SetKey(cell.row, cell.column, code);
  RefreshGrid();
}

// Shows what an undo or redo step changed: the counts and typematic in the top
// row, a key or a pin scrolled into view.
void ShowStep(const EditStep* step) {
  if (step == nullptr) return;
  switch (step->kind) {
    case EditKind::kKey: ShowModelCell(step->row, step->column); break;
    case EditKind::kColumnPin: ShowModelCell(-1, step->column); break;
    case EditKind::kRowPin: ShowModelCell(step->row, -1); break;
    case EditKind::kRows:
    case EditKind::kColumns:
    case EditKind::kTypematic: ShowWholeConfiguration(); break;
  }
}

void SetItem(HMENU menu, int id, const std::string& text, bool enabled) {
  ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id,
              text.c_str());
}

// "&Undo Key Row 2 Col 5\tCtrl+Z", or "&Undo\tCtrl+Z" when there is no step.
std::string StepItemText(const char* verb, const std::string& step, const char* shortcut) {
  std::string text = verb;
  if (!step.empty()) text += " " + step;
  return text + "\t" + shortcut;
}

}  // namespace

const EditStep* UndoCommand() {
  const EditStep* step = Editor().Undo();
  ShowStep(step);
  return step;
}
void RedoCommand() { ShowStep(Editor().Redo()); }

void CutCommand() {
  ModelCell cell = {};
  if (!FocusedKeyCell(cell)) return;
  CopyCell(cell);
  SetCell(cell, kKeyNotUsed);
}

void CopyCommand() {
  ModelCell cell = {};
  if (FocusedKeyCell(cell)) CopyCell(cell);
}

void PasteCommand() {
  ModelCell cell = {};
  if (!FocusedKeyCell(cell)) return;
  KeyCode pasted = kKeyNotUsed;
  std::string text;
  if (ClipboardCode(pasted, text)) {
    SetCell(cell, pasted);
  } else {
    ReportNoKey(text);
  }
}

void ClearCommand() {
  ModelCell cell = {};
  if (FocusedKeyCell(cell)) SetCell(cell, kKeyNotUsed);
}

void UpdateEditMenu(HMENU menu) {
  if (menu == nullptr || GetMenuState(menu, IDM_EDIT_UNDO, MF_BYCOMMAND) == static_cast<UINT>(-1)) {
    return;
  }
  const ConfigEditor& editor = Editor();
  const bool idle = !TransferRunning();
  SetItem(menu, IDM_EDIT_UNDO, StepItemText("&Undo", editor.UndoName(), "Ctrl+Z"),
          idle && editor.CanUndo());
  SetItem(menu, IDM_EDIT_REDO, StepItemText("&Redo", editor.RedoName(), "Ctrl+Y"),
          idle && editor.CanRedo());
  UpdateClipboardItems(menu);
}

void UpdateClipboardItems(HMENU menu) {
  const UINT onKey = !TransferRunning() && KeyButtonHasFocus() ? MF_ENABLED : MF_GRAYED;
  for (int id : {IDM_EDIT_CUT, IDM_EDIT_COPY, IDM_EDIT_PASTE, IDM_EDIT_CLEAR}) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | onKey);
  }
}

bool FocusedKeyCell(ModelCell& cell) {
  const int columns = VisibleColumnCount();
  const int rows = VisibleRowCount();
  const int button = FindKeyButton(GetFocus(), columns * rows);
  return button >= 0 && KeyButtonCell(button, columns, rows, ColumnOffset(), RowOffset(), cell);
}

bool KeyButtonHasFocus() {
  ModelCell cell = {};
  return FocusedKeyCell(cell);
}

bool IsClipboardKeystroke(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  switch (message.wParam) {
    case VK_DELETE:
    case 'X':
    case 'C':
    case 'V':
      return true;
    default:
      return false;
  }
}
