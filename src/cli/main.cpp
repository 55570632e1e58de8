// rq57cfg: configuration files on the command line.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/transfer_commands.h"
#include "io/system_text.h"
#include "model/untrusted_text.h"

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#endif

namespace {

#ifdef _WIN32
// The arguments as the user typed them, in UTF-8: the ANSI code page of main's
// argv cannot hold every file name.
std::vector<std::string> ProgramArguments(int, char**) { return CommandLineArguments(GetCommandLineW()); }

// A console shows UTF-8 only as wide text; files and pipes get the bytes as they are.
bool WriteToConsole(std::FILE* stream, const std::string& text) {
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return false;
  const std::wstring wide = WideText(text);
  DWORD written = 0;
  return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) ||
         wide.empty();
}
#else
std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

bool WriteToConsole(std::FILE*, const std::string&) { return false; }
#endif

// Writes text whole to a standard stream; false with the reason when it could not.
bool Write(std::FILE* stream, const std::string& text, std::string& reason) {
  if (text.empty() || WriteToConsole(stream, text)) return true;
#ifdef _WIN32
  _setmode(_fileno(stream), _O_BINARY);  // outputs are the same bytes as in a file
#endif
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0) return true;
  reason = errno != 0 ? LastSystemReason() : "write error";
  return false;
}

// Each line of text quoted as outside text, the line ends kept.
std::string QuoteLines(const std::string& text) {
  std::string quoted;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) quoted += QuoteUntrusted(line) + "\n";
  return quoted;
}

// The exit codes, which --help ends with; a meaning goes on under itself after '\n'.
std::string ExitCodesText() {
  constexpr std::size_t kCodeColumn = 5;
  const std::string indent = "\n  " + std::string(kCodeColumn, ' ');
  const struct {
    int code;
    const char* meaning;
  } codes[] = {
      {kExitOk, "done (check: notes alone included; write --verify: \"verified\")"},
      {kExitFindings, "check found problems, diff found differences"},
      {kExitError, "bad arguments, a file that cannot be read or is no configuration,\n"
                   "an output not written"},
      {kExitNotFound, "read, write: the RQ57 was not found"},
      {kExitLinkError, "read, write: a link error, or another transfer with the RQ57 is running"},
      {kExitInvalid, "read, write: an invalid configuration read, too few speeds the RQ57\n"
                     "tells apart, or a read that Save would refuse (a pin used twice)"},
      {kExitDifferent, "write --verify: the read-back differs from the file"},
      {kExitStopped, "stopped by Ctrl+C or Ctrl+Break"},
  };
  std::string text = "Exit codes:";
  for (const auto& c : codes) {
    std::string number = std::to_string(c.code);
    number.resize(kCodeColumn, ' ');
    text += "\n  " + number;
    for (const char* at = c.meaning; *at != '\0'; ++at) text += *at == '\n' ? indent : std::string(1, *at);
  }
  return text;
}

// When the first argument is neither an option nor a command: what to say, with
// the commands there are; empty otherwise.
std::string UnknownCommandText(CLI::App& app, const std::vector<std::string>& arguments) {
  if (arguments.size() < 2 || arguments[1].empty() || arguments[1][0] == '-') return "";
  std::string names;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (command->check_name(arguments[1])) return "";
    names += (names.empty() ? "" : ", ") + command->get_name();
  }
  return "unknown command '" + arguments[1] + "'\nCommands: " + names + "\nRun with --help for more information.\n";
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"rq57cfg: show, check, diff, export, import and chart RQ57 configuration files; read and write the RQ57"};
  app.require_subcommand(1);
  // Arguments that begin with '/' are paths, never options, on every system.
  app.allow_windows_style_options(false);

  std::string file, other, output = kStandardOutputName;
  std::vector<std::string> paths;

  CLI::App* show = app.add_subcommand("show", "Print a configuration as a table of its pins and keys");
  show->add_option("FILE", file, "Configuration file")->required();

  CLI::App* check = app.add_subcommand("check", "Check configuration files (a folder stands for its files)");
  check->add_option("PATHS", paths, "Configuration files and folders")->required();

  CLI::App* diff = app.add_subcommand("diff", "Print the differences of two configurations");
  diff->add_option("A", file, "First configuration file")->required();
  diff->add_option("B", other, "Second configuration file")->required();

  CLI::App* exportJson = app.add_subcommand("export", "Write a configuration as JSON");
  exportJson->add_option("FILE", file, "Configuration file")->required();
  exportJson->add_option("-o,--output", output, "JSON file to write, - for standard output (the default)");

  CLI::App* importJson = app.add_subcommand("import", "Make a configuration file from JSON");
  importJson->add_option("IN", file, "JSON file")->required();
  importJson->add_option("-o,--output", output, "Configuration file to write, - for standard output")->required();

  CLI::App* chart = app.add_subcommand("chart", "Write a printable wiring chart as SVG");
  chart->add_option("FILE", file, "Configuration file")->required();
  chart->add_option("-o,--output", output, "SVG file to write, - for standard output (the default)");

  // Transfers with the encoder (Windows, Linux).
  bool verify = false;
  std::string device;
  const char* deviceHelp = "Linux: the PS/2 keyboard's event node (found by itself when not given)";
  CLI::App* read = app.add_subcommand("read", "Read the RQ57 into a configuration file (Windows, Linux)");
  read->add_option("-o,--output", output, "Configuration file to write")->required();
  read->add_option("--device", device, deviceHelp);
  CLI::App* write = app.add_subcommand("write", "Write a configuration file to the RQ57 (Windows, Linux)");
  write->add_option("FILE", file, "Configuration file")->required();
  write->add_flag("--verify", verify, "Read the RQ57 back and compare every byte sent");
  write->add_option("--device", device, deviceHelp);

  app.footer(ExitCodesText());

  std::vector<std::string> arguments = ProgramArguments(argc, argv);
  // Usage lines name the program as its file is named, without the folder.
  if (!arguments.empty()) app.name(FileNameOf(arguments[0]));
  const std::string unknown = UnknownCommandText(app, arguments);
  if (!unknown.empty()) {
    std::string reason;
    Write(stderr, QuoteLines(unknown), reason);
    return kExitError;
  }
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(&argument[0]);
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::ParseError& e) {
    // Help, or the error, which may repeat an argument: quoted line by line.
    std::ostringstream out, err;
    const int code = app.exit(e, out, err);
    std::string reason;
    Write(stdout, out.str(), reason);
    Write(stderr, QuoteLines(err.str()), reason);
    return code == 0 ? kExitOk : kExitError;
  }

  CommandOutput io;
  int code = kExitError;
  if (*show) code = ShowCommand(file, io);
  else if (*check) code = CheckCommand(paths, io);
  else if (*diff) code = DiffCommand(file, other, io);
  else if (*exportJson) code = ExportCommand(file, output, io);
  else if (*importJson) code = ImportCommand(file, output, io);
  else if (*chart) code = ChartCommand(file, output, io);
  else if (*read) code = ReadEncoderCommand(output, device);
  else if (*write) code = WriteEncoderCommand(file, verify, device);
  std::string reason;
  if (!Write(stdout, io.out, reason)) {
    io.err += "standard output: cannot write: " + reason + "\n";
    code = kExitError;
  }
  Write(stderr, io.err, reason);
  return code;
}
