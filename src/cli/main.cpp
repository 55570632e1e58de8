// rq57cfg: configuration files on the command line.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/transfer_commands.h"

namespace {

void Write(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"rq57cfg: show, check, compare, convert and chart RQ57 configuration files; read and write the RQ57"};
  app.require_subcommand(1);
  // Arguments that begin with '/' are paths, never options, on every system.
  app.allow_windows_style_options(false);

  std::string file, other, output;
  std::vector<std::string> paths;

  CLI::App* show = app.add_subcommand("show", "Print a configuration as a table of its pins and keys");
  show->add_option("FILE", file, "Configuration file")->required();

  CLI::App* check = app.add_subcommand("check", "Check configuration files (a directory stands for its files)");
  check->add_option("PATHS", paths, "Configuration files and directories")->required();

  CLI::App* diff = app.add_subcommand("diff", "Print the differences of two configurations");
  diff->add_option("A", file, "First configuration file")->required();
  diff->add_option("B", other, "Second configuration file")->required();

  CLI::App* exportJson = app.add_subcommand("export", "Write a configuration as JSON");
  exportJson->add_option("FILE", file, "Configuration file")->required();
  exportJson->add_option("-o,--output", output, "JSON file to write (default: standard output)");

  CLI::App* importJson = app.add_subcommand("import", "Make a configuration file from JSON");
  importJson->add_option("IN", file, "JSON file")->required();
  importJson->add_option("-o,--output", output, "Configuration file to write")->required();

  CLI::App* chart = app.add_subcommand("chart", "Write a printable wiring chart as SVG");
  chart->add_option("FILE", file, "Configuration file")->required();
  chart->add_option("-o,--output", output, "SVG file to write (default: standard output)");

  // Transfers with the encoder (Windows).
  bool verify = false;
  CLI::App* read = app.add_subcommand("read", "Read the RQ57 into a configuration file (Windows)");
  read->add_option("-o,--output", output, "Configuration file to write")->required();
  CLI::App* write = app.add_subcommand("write", "Write a configuration file to the RQ57 (Windows)");
  write->add_option("FILE", file, "Configuration file")->required();
  write->add_flag("--verify", verify, "Read the RQ57 back and compare every byte sent");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);  // prints help or the error
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
  else if (*read) code = ReadEncoderCommand(output);
  else if (*write) code = WriteEncoderCommand(file, verify);
  Write(stdout, io.out);
  Write(stderr, io.err);
  return code;
}
