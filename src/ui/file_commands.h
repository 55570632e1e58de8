// The file side of the editor: the unsaved-changes question, Save and Open.
#pragma once

#include <string>

#include "model/config.h"

// Whether the calling command may go on (asks only while the modified flag is set).
bool ConfirmDiscard();
// Save command; true when the configuration was written to a file.
bool SaveConfigFile();
// Open command.
void OpenConfigFile();
// Opens the named file (UTF-8) as Open does once a name is chosen, after the
// unsaved-changes question: a file named on the command line or dropped on the
// main window.
void OpenNamedConfigFile(const std::string& name);

// Builds the image of the editor's configuration; when two scan lines share a pin,
// shows "Error: Pin X is used for multiple scan lines" and returns false.
bool BuildImageOrReport(ConfigImage& image);

// Room for the longest path the system takes (32,767 characters and the terminator).
constexpr unsigned kFileNameChars = 32768;
// Asks for the name of a file to write with Save's dialog, given in UTF-8; false
// when cancelled.
bool AskSaveFileName(std::string& name);
// The same dialog for one kind of file: filter holds its pairs of description and
// pattern, and a name typed without extension gets defaultExtension (no dot).
bool AskSaveFileName(std::string& name, const wchar_t* filter, const wchar_t* defaultExtension);
