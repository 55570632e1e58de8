// Texts between this program and the system: file names are UTF-8 everywhere in
// the program and wide (UTF-16) at the Windows calls; failures carry the
// system's own reason.
#pragma once

#include <string>

#ifdef _WIN32
#include <vector>

// UTF-8 to UTF-16 and back.
std::wstring WideText(const std::string& text);
std::string Utf8Text(const std::wstring& text);

// A command line split into its arguments as the system splits it (the first is
// the program), in UTF-8: an ANSI code page cannot hold every file name.
std::vector<std::string> CommandLineArguments(const wchar_t* commandLine);
#endif

// The system's words for the last failed call (errno, or GetLastError on
// Windows), e.g. "No such file or directory".
std::string LastSystemReason();

// The last part of a path: "panel.img" of "configs/panel.img" (on Windows also
// after '\\' and a drive's ':').
std::string FileNameOf(const std::string& path);
// Everything before it, separator included: "configs/" (empty for a bare name).
std::string FolderOf(const std::string& path);
