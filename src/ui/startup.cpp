#include "ui/startup.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "io/system_text.h"
#include "model/editor_messages.h"
#include "session/transfer_session.h"
#include "ui/app_core.h"
#include "ui/file_commands.h"
#include "ui/platform/transfer_platform.h"

namespace {

constexpr DWORD kPathBufferSize = 255;
constexpr char kInstallationLabel[] = "RQ57";
constexpr char kInstallationWarning[] =
    "Warning: The RQ57 programs must be copied to and run\n"
    "from its own folder on the PC's harddrive. The CD itself\n"
    "should be reserved for backup purposes only.";

}  // namespace

bool IsInstallationVolumeLabel(const char* label) {
  return std::strcmp(label, kInstallationLabel) == 0;
}

void WarnIfRunFromInstallationVolume() {
  char directory[kPathBufferSize] = "";
  char label[kPathBufferSize] = "";
  char fileSystem[kPathBufferSize] = "";
  // A directory that does not fit (or no directory) cannot be a volume's root.
  const DWORD length = GetCurrentDirectoryA(kPathBufferSize, directory);
  if (length == 0 || length >= kPathBufferSize) return;
  if (!GetVolumeInformationA(directory, label, kPathBufferSize, nullptr, nullptr, nullptr,
                             fileSystem, kPathBufferSize)) {
    return;
  }
  label[kPathBufferSize - 1] = '\0';
  if (IsInstallationVolumeLabel(label)) {
    MessageBoxA(nullptr, kInstallationWarning, kAppTitle, MB_OK);
  }
}

void RecoverInterruptedTransfer() {
  if (RecoverKilledTransfer(TransferSessionHost())) MessageBoxA(nullptr, kRecoveredMessage, kAppTitle, MB_OK);
}

void OpenFileNamedOnCommandLine(const wchar_t* commandLine) {
  const std::vector<std::string> arguments = CommandLineArguments(commandLine);
  if (arguments.size() > 1) OpenNamedConfigFile(arguments[1]);
}
