// The file side of the editor: the unsaved-changes question, Save and Open.
#pragma once

#include "model/config.h"

// Whether the calling command may go on (asks only while the modified flag is set).
bool ConfirmDiscard();
// Save command; true when the configuration was written to a file.
bool SaveConfigFile();
// Open command.
void OpenConfigFile();

// Builds the image of the editor's configuration; when two scan lines share a pin,
// shows "Error: Pin X is used for multiple scan lines" and returns false.
bool BuildImageOrReport(ConfigImage& image);
