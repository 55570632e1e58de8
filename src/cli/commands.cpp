#include "cli/commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "io/file_io.h"
#include "cli/show_table.h"
#include "model/config_check.h"
#include "model/config_diff.h"
#include "model/config_json.h"
#include "model/wiring_chart.h"

namespace fs = std::filesystem;

namespace {

// The first bytes of a file, as many as it has up to size; false if it cannot be read.
bool ReadPrefix(const std::string& path, std::uint8_t* data, std::size_t size, std::size_t& got) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  got = std::fread(data, 1, size, file);
  const bool failed = got < size && std::ferror(file) != 0;
  std::fclose(file);
  return !failed;
}

void Say(CommandOutput& io, const std::string& place, const std::string& message) {
  io.err += place + ": " + message + "\n";
}

// Loads a configuration file as the editor opens it: into the defaults of a new
// configuration, refusing what the editor refuses.
bool LoadConfig(const std::string& path, ConfigModel& model, CommandOutput& io) {
  ConfigImage image{};
  std::size_t got = 0;
  if (!ReadPrefix(path, image.data(), image.size(), got)) {
    Say(io, path, "cannot open");
    return false;
  }
  ResetModel(model);
  if (got < image.size() || !DecodeImage(image, model)) {
    Say(io, path, FindingText(CheckImageBytes(image.data(), got).front()));
    return false;
  }
  return true;
}

bool Emit(const std::string& output, const std::string& content, CommandOutput& io) {
  if (output.empty()) {
    io.out += content;
    return true;
  }
  if (WriteFileWhole(output, content)) return true;
  Say(io, output, "cannot write");
  return false;
}

// The files a path stands for: itself, or the files in a directory by name.
bool ExpandPath(const std::string& path, std::vector<std::string>& files, CommandOutput& io) {
  std::error_code error;
  if (!fs::is_directory(path, error)) {
    files.push_back(path);
    return true;
  }
  std::vector<std::string> found;
  for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) found.push_back(it->path().string());
  }
  if (error) {
    Say(io, path, "cannot read the directory");
    return false;
  }
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
  return true;
}

}  // namespace

int ShowCommand(const std::string& file, CommandOutput& io) {
  ConfigModel model;
  if (!LoadConfig(file, model, io)) return kExitError;
  io.out += ShowTable(model);
  return kExitOk;
}

int CheckCommand(const std::vector<std::string>& paths, CommandOutput& io) {
  bool unreadable = false;
  bool problems = false;
  std::vector<std::string> files;
  for (const std::string& path : paths) unreadable = !ExpandPath(path, files, io) || unreadable;
  for (const std::string& file : files) {
    ConfigImage image{};
    std::size_t got = 0;
    if (!ReadPrefix(file, image.data(), image.size(), got)) {
      Say(io, file, "cannot open");
      unreadable = true;
      continue;
    }
    const std::vector<Finding> findings = CheckImageBytes(image.data(), got);
    // Notes name valid codes, so they leave the file ok and the exit code alone.
    const bool problem = HasProblem(findings);
    if (!problem) io.out += file + ": ok\n";
    for (const Finding& finding : findings) {
      io.out += (IsNote(finding) ? kNotePrefix : "") + file + ": " + FindingText(finding) + "\n";
    }
    problems = problems || problem;
  }
  return unreadable ? kExitError : problems ? kExitFindings : kExitOk;
}

int DiffCommand(const std::string& a, const std::string& b, CommandOutput& io) {
  ConfigModel first;
  ConfigModel second;
  const bool firstOk = LoadConfig(a, first, io);
  if (!LoadConfig(b, second, io) || !firstOk) return kExitError;
  const std::vector<std::string> lines = DiffConfigs(first, second);
  for (const std::string& line : lines) io.out += line + "\n";
  return lines.empty() ? kExitOk : kExitFindings;
}

int ExportCommand(const std::string& file, const std::string& output, CommandOutput& io) {
  ConfigModel model;
  if (!LoadConfig(file, model, io)) return kExitError;
  return Emit(output, ExportConfigJson(model), io) ? kExitOk : kExitError;
}

int ImportCommand(const std::string& input, const std::string& output, CommandOutput& io) {
  std::string text;
  switch (ReadFileBounded(input, kJsonMaxSize, text)) {
    case ReadResult::kOk: break;
    case ReadResult::kCannotOpen: Say(io, input, "cannot open"); return kExitError;
    case ReadResult::kTooLarge:
      Say(io, input, "larger than " + std::to_string(kJsonMaxSize) + " bytes");
      return kExitError;
  }
  ConfigModel model;
  std::vector<std::string> errors;
  if (!ImportConfigJson(text, model, errors)) {
    for (const std::string& error : errors) Say(io, input, error);
    return kExitError;
  }
  ConfigImage image{};
  EncodeImage(model, image, nullptr);  // cannot fail: import refuses shared pins
  return Emit(output, std::string(image.begin(), image.end()), io) ? kExitOk : kExitError;
}

int ChartCommand(const std::string& file, const std::string& output, CommandOutput& io) {
  ConfigModel model;
  if (!LoadConfig(file, model, io)) return kExitError;
  return Emit(output, WiringChartSvg(model, fs::path(file).filename().string()), io) ? kExitOk : kExitError;
}
