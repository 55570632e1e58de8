#include "ui/file_commands.h"

#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <string>
#include <vector>

#include "io/file_read.h"
#include "io/file_write.h"
#include "io/system_text.h"
#include "model/config_file.h"
#include "model/editor_messages.h"
#include "ui/app_core.h"
#include "ui/grid.h"

namespace {

// The common dialogs get the structure size of their first 32-bit layout.
// (OPENFILENAME_SIZE_VERSION_400: the members up to lpTemplateName).
constexpr DWORD kFileDialogStructSize =
    offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(OPENFILENAMEW::lpTemplateName);
static_assert(sizeof(void*) != 4 || kFileDialogStructSize == 76, "32-bit OPENFILENAME layout");

constexpr wchar_t kFileFilter[] = L"All files\0*.*\0";
constexpr wchar_t kSaveTitle[] = L"Save File";
constexpr wchar_t kOpenTitle[] = L"Open File";
// No OFN_FILEMUSTEXIST here: it would only accept names of files that already exist,
// and saving must be able to create a new file.
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

constexpr char kDiscardQuestion[] =
    "The current configuration has changed.\nDo you want to save the changes?";

enum class FileDialog { kSave, kOpen };

// Asks for a file name (wide, so that any name can be chosen) and gives it in
// UTF-8; false when the user cancelled.
bool AskFileName(FileDialog kind, std::string& name, const wchar_t* filter = kFileFilter,
                 const wchar_t* defaultExtension = nullptr) {
  std::vector<wchar_t> chosen(kFileNameChars, L'\0');
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = kFileDialogStructSize;
  dialog.hwndOwner = MainWindow();
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = kFileNameChars;
  dialog.lpstrDefExt = defaultExtension;
  dialog.lpstrTitle = kind == FileDialog::kSave ? kSaveTitle : kOpenTitle;
  dialog.Flags = kind == FileDialog::kSave ? kSaveFlags : kOpenFlags;
  const BOOL chose = kind == FileDialog::kSave ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  name = chose ? Utf8Text(chosen.data()) : std::string();
  return chose != FALSE;
}

// Reads a configuration file into the editor, saying what refuses it.
void LoadConfigFile(const std::string& name) {
  InputFile file;
  if (!ReadRegularFile(name, kImageSize, file)) {
    ShowMessage(kOpenErrorMessage, kErrorBox);
    return;
  }
  // Lines and cells past the file's counts keep what the editor had.
  ConfigModel opened = EditorModel();
  if (!DecodeFileBytes(file.content, opened)) {
    ShowMessage(kInvalidFileMessage, kErrorBox);
    return;
  }
  Editor().Replace(opened);
  ShowWholeConfiguration();
}

}  // namespace

bool AskSaveFileName(std::string& name) { return AskFileName(FileDialog::kSave, name); }

bool AskSaveFileName(std::string& name, const wchar_t* filter, const wchar_t* defaultExtension) {
  return AskFileName(FileDialog::kSave, name, filter, defaultExtension);
}

bool BuildImageOrReport(ConfigImage& image) {
  int sharedPin = -1;
  if (EncodeImage(EditorModel(), image, &sharedPin)) return true;
  ShowMessage(SharedPinMessage(sharedPin).c_str(), kErrorBox);
  return false;
}

bool ConfirmDiscard() {
  if (!Editor().Modified()) return true;
  switch (ShowMessage(kDiscardQuestion, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1)) {
    case IDYES:
      // A change that the saved file does not hold stops the command too.
      return SaveConfigFile() && !Editor().Modified();
    case IDNO:
      return true;
    default:  // Cancel, Esc or the close box
      return false;
  }
}

bool SaveConfigFile() {
  ConfigImage image = {};
  // The file holds the configuration of this moment: what changes while the dialog
  // is open stays unsaved.
  const HistoryPoint built = Editor().Point();
  if (!BuildImageOrReport(image)) return false;
  std::string name;
  if (!AskFileName(FileDialog::kSave, name)) return false;
  // Written whole or not at all: a failed save keeps the old file.
  std::string reason;
  if (!WriteFileWhole(name, FileBytesOfImage(image), reason)) {
    ShowMessage(kSaveErrorMessage, kErrorBox);
    return false;
  }
  Editor().MarkSaved(built);
  return true;
}

void OpenConfigFile() {
  if (!ConfirmDiscard()) return;
  std::string name;
  if (AskFileName(FileDialog::kOpen, name)) LoadConfigFile(name);
}

void OpenNamedConfigFile(const std::string& name) {
  if (ConfirmDiscard()) LoadConfigFile(name);
}
