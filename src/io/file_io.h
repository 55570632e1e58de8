// Reading inputs with a size bound, and writing outputs whole or not at all.
#pragma once

#include <cstddef>
#include <string>

enum class ReadResult { kOk, kCannotOpen, kTooLarge };

// Reads at most limit bytes of the file into content; kTooLarge when it holds more.
ReadResult ReadFileBounded(const std::string& path, std::size_t limit, std::string& content);

// Writes content to path through a temporary file beside it that then replaces
// the target, so the target is either the old file or the whole new one. No
// temporary file is left behind. Returns false (target untouched) on failure.
bool WriteFileWhole(const std::string& path, const std::string& content);
