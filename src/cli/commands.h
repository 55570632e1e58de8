// The commands of rq57cfg. Each writes its normal output to out and its
// messages to err, and returns the program's exit code.
#pragma once

#include <string>
#include <vector>

constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;  // check found problems, diff found differences
constexpr int kExitError = 2;     // bad arguments, unreadable or invalid input, an output not written

// The output name that stands for standard output.
constexpr char kStandardOutputName[] = "-";

struct CommandOutput {
  std::string out;
  std::string err;
};

int ShowCommand(const std::string& file, CommandOutput& io);
int CheckCommand(const std::vector<std::string>& paths, CommandOutput& io);
int DiffCommand(const std::string& a, const std::string& b, CommandOutput& io);
// Outputs are written whole or not at all, never onto an input.
int ExportCommand(const std::string& file, const std::string& output, CommandOutput& io);
int ImportCommand(const std::string& input, const std::string& output, CommandOutput& io);
int ChartCommand(const std::string& file, const std::string& output, CommandOutput& io);
