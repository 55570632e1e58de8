// What kind of file a name stands for, shared by the reader and the writer:
// only regular files are read or replaced.
#pragma once

#include <string>

#include "io/system_text.h"

#ifdef _WIN32
#include <windows.h>

// Opens a name only to look at it (no data access; folders too), following links.
HANDLE OpenToLookAt(const std::wstring& path);
// "a folder", "a device" or "a pipe"; nullptr for a regular file.
const char* NonRegularKind(HANDLE file);
#else
#include <sys/types.h>

// "a folder", "a FIFO", "a device" or "a socket"; nullptr for a regular file.
const char* NonRegularKind(mode_t mode);
#endif

// The reason given for a file that is not a regular one: "a FIFO, not a regular file".
std::string NotRegularReason(const char* kind);
