// The Read and Write commands: the progress window around a transfer on the
// link, the result message, and loading a good image into the editor.
#include "ui/transfer_commands.h"

#include <windows.h>

#include "link/read_transfer.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "model/editor_messages.h"
#include "ui/app_core.h"
#include "ui/compare_window.h"
#include "ui/file_commands.h"
#include "ui/grid.h"
#include "session/transfer_session.h"
#include "ui/platform/transfer_platform.h"
#include "ui/platform/win32_link_platform.h"
#include "ui/progress.h"

namespace {

// Pause before and after a transfer while the progress window paints or goes.
constexpr int kSettleMs = 100;
constexpr char kTransferRunning[] =
    "Another program is transferring a configuration to or from the RQ57.\nTry again when it has finished.";

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

// A transfer in the editor's progress window, in a session whose lock rq57cfg's
// transfers take too; kTransferRefused (said) while another program's runs.
template <typename Transfer>
int RunTransfer(Transfer transfer) {
  TransferSession session(TransferSessionHost());
  if (!session.Open()) {
    ShowMessage(kTransferRunning, kErrorBox);
    return kTransferRefused;
  }
  // rq57cfg was killed in a transfer while the editor ran.
  if (session.Recovered()) ShowMessage(kRecoveredMessage, MB_OK);
  LinkPlatform& platform = session.Link();
  int result = kTransferLinkError;
  if (OpenTransferWindow(platform)) result = transfer(platform);
  CloseTransferWindow(platform);
  return result;
}

// Says a transfer's result; a refused one was said when refused.
void ShowResult(TransferKind kind, int result) {
  if (result == kTransferRefused) return;
  ShowMessage(TransferResultText(kind, result).c_str(), result == kTransferOk ? MB_OK : kErrorBox);
}

}  // namespace

int ReadEncoderImage(ConfigImage& image) {
  return RunTransfer([&image](LinkPlatform& platform) { return ReadFromEncoder(platform, image); });
}

bool DecodeReadImage(int result, const ConfigImage& image, ConfigModel& model) {
  if (result != kTransferOk) {
    ShowResult(TransferKind::kRead, result);
    return false;
  }
  if (!DecodeImage(image, model)) {
    ShowMessage(kInvalidConfigurationMessage, kErrorBox);
    return false;
  }
  EncoderWasRead(model);
  return true;
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
  ShowResult(TransferKind::kRead, kTransferOk);
}

void WriteCommand() {
  if (TransferRunning()) return;
  ConfigImage image{};
  if (!BuildImageOrReport(image)) return;
  const int result = RunTransfer([&image](LinkPlatform& platform) { return WriteToEncoder(platform, image); });
  if (result != kTransferRefused) EncoderWasWritten();
  ShowResult(TransferKind::kWrite, result);
}
