#include "ui/file_commands.h"

#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <cstdio>

#include "model/config_file.h"
#include "model/editor_messages.h"
#include "ui/grid.h"
#include "ui/main_window.h"

namespace {

// The common dialogs get the structure size of their first 32-bit layout.
// (OPENFILENAME_SIZE_VERSION_400: the members up to lpTemplateName).
constexpr DWORD kFileDialogStructSize =
    offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName);
static_assert(sizeof(void*) != 4 || kFileDialogStructSize == 76, "32-bit OPENFILENAME layout");

constexpr char kFileFilter[] = "All files\0*.*\0";
constexpr char kSaveTitle[] = "Save File";
constexpr char kOpenTitle[] = "Open File";
// No OFN_FILEMUSTEXIST here: it would only accept names of files that already exist,
// and saving must be able to create a new file.
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

constexpr char kDiscardQuestion[] =
    "The current configuration has changed.\nDo you want to save the changes?";

enum class FileDialog { kSave, kOpen };

// Asks for a file name; false when the user cancelled.
bool AskFileName(FileDialog kind, char (&name)[kFileNameChars], const char* filter = kFileFilter,
                 const char* defaultExtension = nullptr) {
  name[0] = '\0';
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = kFileDialogStructSize;
  dialog.hwndOwner = MainWindow();
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = name;
  dialog.nMaxFile = kFileNameChars;
  dialog.lpstrDefExt = defaultExtension;
  if (kind == FileDialog::kSave) {
    dialog.lpstrTitle = kSaveTitle;
    dialog.Flags = kSaveFlags;
    return GetSaveFileNameA(&dialog) != FALSE;
  }
  dialog.lpstrTitle = kOpenTitle;
  dialog.Flags = kOpenFlags;
  return GetOpenFileNameA(&dialog) != FALSE;
}

}  // namespace

bool AskSaveFileName(char (&name)[kFileNameChars]) { return AskFileName(FileDialog::kSave, name); }

bool AskSaveFileName(char (&name)[kFileNameChars], const char* filter, const char* defaultExtension) {
  return AskFileName(FileDialog::kSave, name, filter, defaultExtension);
}

bool BuildImageOrReport(ConfigImage& image) { return EncodeImageOrReport(EditorModel(), image); }

bool EncodeImageOrReport(const ConfigModel& model, ConfigImage& image) {
  int sharedPin = -1;
  if (EncodeImage(model, image, &sharedPin)) return true;
  char text[64] = "";
  const char letter = sharedPin >= 0 && sharedPin < kPinCount ? PinLetter(sharedPin) : '?';
  std::snprintf(text, sizeof text, kSharedPinFormat, letter);
  ShowMessage(text, kErrorBox);
  return false;
}

bool ConfirmDiscard() {
  if (!Editor().Modified()) return true;
  switch (ShowMessage(kDiscardQuestion, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1)) {
    case IDYES:
      return SaveConfigFile();
    case IDNO:
      return true;
    default:  // Cancel, Esc or the close box
      return false;
  }
}

bool SaveConfigFile() {
  ConfigImage image = {};
  if (!BuildImageOrReport(image)) return false;
  char name[kFileNameChars] = "";
  if (!AskFileName(FileDialog::kSave, name)) return false;
  // A file that could not be written completely is no saved configuration.
  if (WriteImageFile(name, image) != FileWriteResult::kOk) {
    ShowMessage(kSaveErrorMessage, kErrorBox);
    return false;
  }
  Editor().MarkSaved();
  return true;
}

void OpenConfigFile() {
  if (!ConfirmDiscard()) return;
  char name[kFileNameChars] = "";
  if (!AskFileName(FileDialog::kOpen, name)) return;
  ConfigImage image = {};
  switch (ReadImageFile(name, image)) {
    case FileReadResult::kOk:
      break;
    case FileReadResult::kCannotOpen:
      ShowMessage(kOpenErrorMessage, kErrorBox);
      return;
    case FileReadResult::kTooShort:  // never hand undefined bytes to the decoder
      ShowMessage(kInvalidFileMessage, kErrorBox);
      return;
  }
  // Lines and cells past the file's counts keep what the editor had.
  ConfigModel opened = EditorModel();
  if (!DecodeImage(image, opened)) {
    ShowMessage(kInvalidFileMessage, kErrorBox);
    return;
  }
  Editor().Replace(opened);
  ShowWholeConfiguration();
}
