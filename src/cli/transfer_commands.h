// rq57cfg read and write: transfers with the encoder from the command line.
// Progress goes to standard error, the result line to standard output (failures
// to standard error); the return value is the exit code.
#pragma once

#include <string>

constexpr int kExitNotFound = 10;
constexpr int kExitLinkError = 11;
constexpr int kExitInvalid = 12;     // invalid configuration read, too few speeds, Save refused
constexpr int kExitDifferent = 13;   // verification found differences
constexpr int kExitStopped = 130;    // Ctrl+C or Ctrl+Break

// Reads the encoder into output: what Read followed by Save would write.
// device: the keyboard's node the user named (Linux), empty for the system's.
int ReadEncoderCommand(const std::string& output, const std::string& device = "");
// Writes what the editor writes after opening file; with verify, reads the
// encoder back and compares every byte the transfers carry.
int WriteEncoderCommand(const std::string& file, bool verify, const std::string& device = "");
