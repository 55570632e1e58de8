// The Read and Write commands: the progress window around a transfer on the
// link, the result message, and loading a good image into the editor.
#include "ui/transfer_commands.h"

#include <windows.h>

#include <cstdio>

#include "link/read_transfer.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "ui/app_core.h"
#include "ui/file_commands.h"
#include "ui/grid.h"
#include "ui/platform/transfer_platform.h"
#include "ui/platform/win32_link_platform.h"
#include "ui/progress.h"

namespace {

// Pause before and after a transfer while the progress window paints or goes.
constexpr int kSettleMs = 100;
constexpr int kMessageSize = 64;
constexpr char kInvalidConfiguration[] = "Invalid configuration";

// Opens the progress window; false when it could not be created, since then
// neither the device's keystrokes nor the guard against other commands would work.
bool OpenTransferWindow(LinkPlatform& platform) {
  if (!OpenProgressWindow()) return false;
  PumpFor(platform, kSettleMs);
  return true;
}

void CloseTransferWindow(LinkPlatform& platform) {
  CloseProgressWindow();
  PumpFor(platform, kSettleMs);
  PostKeptQuitMessage();
}

void ShowUnknownError(int result) {
  char text[kMessageSize];
  std::snprintf(text, sizeof text, "Unknown error (%d)", result);
  ShowMessage(text, kErrorBox);
}

void ReportWrite(int result) {
  switch (result) {
    case kTransferOk: ShowMessage("The configuration was successfully saved to the RQ57", MB_OK); return;
    case kTransferNotFound: ShowMessage("The RQ57 was not found", kErrorBox); return;
    case kTransferLinkError: ShowMessage("Error while writing to the RQ57", kErrorBox); return;
    default: ShowUnknownError(result); return;
  }
}

}  // namespace

int ReadEncoderImage(ConfigImage& image) {
  LinkPlatform& platform = TransferPlatform();
  int result = kTransferLinkError;
  if (OpenTransferWindow(platform)) result = ReadFromEncoder(platform, image);
  CloseTransferWindow(platform);
  return result;
}

bool DecodeReadImage(int result, const ConfigImage& image, ConfigModel& model) {
  switch (result) {
    case kTransferOk:
      if (DecodeImage(image, model)) return true;
      ShowMessage(kInvalidConfiguration, kErrorBox);
      return false;
    case kTransferNotFound: ShowMessage("The RQ57 was not found", kErrorBox); return false;
    case kTransferLinkError: ShowMessage("Error while reading from the RQ57", kErrorBox); return false;
    case kTransferInvalidConfig: ShowMessage(kInvalidConfiguration, kErrorBox); return false;
    default: ShowUnknownError(result); return false;
  }
}

// A failed read leaves the editor's configuration and its modified flag alone.
void ReadCommand() {
  if (TransferRunning()) return;  // one transfer at a time
  if (!ConfirmDiscard()) return;
  ConfigImage image{};
  const int result = ReadEncoderImage(image);
  ConfigModel read = EditorModel();  // lines past the counts keep their values
  if (!DecodeReadImage(result, image, read)) return;
  Editor().Replace(read);
  ShowWholeConfiguration();
  ShowMessage("The configuration was successfully read from the RQ57", MB_OK);
}

void WriteCommand() {
  if (TransferRunning()) return;
  ConfigImage image{};
  if (!BuildImageOrReport(image)) return;
  LinkPlatform& platform = TransferPlatform();
  int result = kTransferLinkError;
  if (OpenTransferWindow(platform)) result = WriteToEncoder(platform, image);
  CloseTransferWindow(platform);
  ReportWrite(result);
}
