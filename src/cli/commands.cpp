#include "cli/commands.h"

#include "cli/show_table.h"
#include "io/file_read.h"
#include "io/file_write.h"
#include "io/system_text.h"
#include "model/config_check.h"
#include "model/config_diff.h"
#include "model/config_file.h"
#include "model/config_json.h"
#include "model/untrusted_text.h"
#include "model/wiring_chart.h"

namespace {

// A configuration file as read: its bytes, the configuration as the editor loads
// it, and which file it was.
struct LoadedConfig {
  ConfigImage image{};
  ConfigModel model;
  FileIdentity identity;
};

// One line per error: the file name and the JSON texts in it are quoted, so that
// none can forge a line or reach the terminal as a control.
void ReportError(CommandOutput& io, const std::string& place, const std::string& message) {
  io.err += QuoteUntrusted(place + ": " + message) + "\n";
}

// Reads the first limit bytes of an input file, or says why it cannot.
bool ReadInput(const std::string& path, std::size_t limit, InputFile& file, CommandOutput& io) {
  if (ReadRegularFile(path, limit, file)) return true;
  ReportError(io, path, "cannot open: " + file.reason);
  return false;
}

// Loads a configuration file as the editor opens it: into the defaults of a new
// configuration, refusing what the editor refuses.
bool LoadConfig(const std::string& path, LoadedConfig& config, CommandOutput& io) {
  InputFile file;
  if (!ReadInput(path, kImageSize, file, io)) return false;
  config.identity = file.identity;
  ResetModel(config.model);
  if (!ImageFromFileBytes(file.content, config.image) || !DecodeImage(config.image, config.model)) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.content.data());
    ReportError(io, path, FindingText(CheckImageBytes(bytes, file.content.size()).front()));
    return false;
  }
  return true;
}

// Writes an output whole, or to standard output for "-". An empty name and the
// input file itself are refused before anything is written.
bool WriteOutput(const std::string& output, const std::string& content, const FileIdentity& input,
                 CommandOutput& io) {
  if (output == kStandardOutputName) {
    io.out += content;
    return true;
  }
  FileIdentity existing;
  std::string reason;
  if (output.empty()) {
    reason = "the name is empty";
  } else if (IdentityOf(output, existing) && existing == input) {
    reason = "it is the input file";
  } else if (WriteFileWhole(output, content, reason)) {
    return true;
  }
  ReportError(io, output.empty() ? "output" : output, "cannot write: " + reason);
  return false;
}

// The files a path stands for: itself, or the regular files in a folder by name.
bool ExpandPath(const std::string& path, std::vector<std::string>& files, CommandOutput& io) {
  if (!IsFolder(path)) {
    files.push_back(path);
    return true;
  }
  const std::size_t before = files.size();
  std::string reason;
  if (!ListRegularFiles(path, files, reason)) {
    ReportError(io, path, "cannot read the folder: " + reason);
    return false;
  }
  if (files.size() > before) return true;
  ReportError(io, path, "no files in this folder");
  return false;
}

}  // namespace

int ShowCommand(const std::string& file, CommandOutput& io) {
  LoadedConfig config;
  if (!LoadConfig(file, config, io)) return kExitError;
  io.out += ShowTable(config.model) + ShowUnloadedKeys(config.model, config.image);
  return kExitOk;
}

int CheckCommand(const std::vector<std::string>& paths, CommandOutput& io) {
  bool unreadable = false;
  bool problems = false;
  std::vector<std::string> files;
  for (const std::string& path : paths) unreadable = !ExpandPath(path, files, io) || unreadable;
  for (const std::string& file : files) {
    InputFile input;
    if (!ReadInput(file, kImageSize, input, io)) {
      unreadable = true;
      continue;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(input.content.data());
    const std::vector<Finding> findings = CheckImageBytes(bytes, input.content.size());
    const std::string name = QuoteUntrusted(file);
    // Notes name valid codes, so they leave the file ok and the exit code alone.
    const bool problem = HasProblem(findings);
    if (!problem) io.out += name + ": ok\n";
    for (const Finding& finding : findings) {
      io.out += (IsNote(finding) ? kNotePrefix : "") + name + ": " + FindingText(finding) + "\n";
    }
    problems = problems || problem;
  }
  return unreadable ? kExitError : problems ? kExitFindings : kExitOk;
}

int DiffCommand(const std::string& a, const std::string& b, CommandOutput& io) {
  LoadedConfig first;
  LoadedConfig second;
  const bool firstOk = LoadConfig(a, first, io);
  if (!LoadConfig(b, second, io) || !firstOk) return kExitError;
  const std::vector<std::string> lines = DiffConfigs(first.model, second.model);
  for (const std::string& line : lines) io.out += line + "\n";
  return lines.empty() ? kExitOk : kExitFindings;
}

int ExportCommand(const std::string& file, const std::string& output, CommandOutput& io) {
  LoadedConfig config;
  if (!LoadConfig(file, config, io)) return kExitError;
  return WriteOutput(output, ExportConfigJson(config.model), config.identity, io) ? kExitOk : kExitError;
}

int ImportCommand(const std::string& input, const std::string& output, CommandOutput& io) {
  InputFile file;
  if (!ReadInput(input, kJsonMaxSize, file, io)) return kExitError;
  if (file.more) {
    ReportError(io, input, "larger than " + std::to_string(kJsonMaxSize) + " bytes");
    return kExitError;
  }
  ConfigModel model;
  std::vector<std::string> errors;
  if (!ImportConfigJson(file.content, model, errors)) {
    for (const std::string& error : errors) ReportError(io, input, error);
    return kExitError;
  }
  ConfigImage image{};
  EncodeImage(model, image, nullptr);  // cannot fail: import refuses shared pins
  return WriteOutput(output, FileBytesOfImage(image), file.identity, io) ? kExitOk : kExitError;
}

int ChartCommand(const std::string& file, const std::string& output, CommandOutput& io) {
  LoadedConfig config;
  if (!LoadConfig(file, config, io)) return kExitError;
  const std::string chart = WiringChartSvg(config.model, FileNameOf(file));
  return WriteOutput(output, chart, config.identity, io) ? kExitOk : kExitError;
}
