#include "ui/tool_commands.h"

#include <windows.h>

#include <string>
#include <vector>

#include "io/file_write.h"
#include "io/system_text.h"
#include "model/config_file.h"
#include "model/editor_messages.h"
#include "model/untrusted_text.h"
#include "model/wiring_chart.h"
#include "ui/app_core.h"
#include "ui/compare_window.h"
#include "ui/file_commands.h"
#include "ui/transfer_commands.h"

namespace {

constexpr char kBackedUp[] = "The configuration of the RQ57 was backed up to\n";
constexpr wchar_t kChartFilter[] = L"SVG pictures (*.svg)\0*.svg\0All files\0*.*\0";
constexpr wchar_t kChartExtension[] = L"svg";

}  // namespace

// Reads the encoder and lists how its configuration differs from the editor's; the
// editor's configuration and its modified flag stay as they are.
void CompareCommand() {
  ConfigImage image{};
  const int result = ReadEncoderImage(image);
  ConfigModel encoder;
  ResetModel(encoder);
  if (DecodeReadImage(result, image, encoder)) ShowCompareWindow();
}

// Reads the encoder into a file that holds what Read followed by Save would write.
// The file is written only after a good read, whole or not at all; the editor's
// configuration and its modified flag stay as they are.
void BackUpCommand() {
  std::string name;
  if (!AskSaveFileName(name)) return;
  ConfigImage read{};
  const int result = ReadEncoderImage(read);
  ConfigModel encoder;
  ResetModel(encoder);
  if (!DecodeReadImage(result, read, encoder)) return;
  std::string bytes;
  int sharedPin = -1;
  if (FileBytesOfReadImage(read, bytes, sharedPin) != ImageFault::kNone) {
    ShowMessage(SharedPinMessage(sharedPin).c_str(), kErrorBox);
    return;
  }
  std::string reason;
  if (!WriteFileWhole(name, bytes, reason)) {
    ShowMessage(kSaveErrorMessage, kErrorBox);
    return;
  }
  // The file name may hold any character: this one message is shown wide.
  MessageBoxW(MainWindow(), WideText(kBackedUp + QuoteUntrusted(name)).c_str(), WideText(kAppTitle).c_str(), MB_OK);
}

namespace {

// The chart's title: the name the user gave it, without folder or extension.
std::string ChartTitle(const std::string& path) {
  std::string title = FileNameOf(path);
  const std::size_t dot = title.find_last_of('.');
  if (dot != std::string::npos && dot > 0) title.erase(dot);
  return title;
}

}  // namespace

void ExportChartCommand() {
  std::string name;
  std::string reason;
  if (!AskSaveFileName(name, kChartFilter, kChartExtension)) return;
  if (!WriteFileWhole(name, WiringChartSvg(EditorModel(), ChartTitle(name)), reason)) {
    ShowMessage(kSaveErrorMessage, kErrorBox);
  }
}
