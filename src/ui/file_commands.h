// The file side of the editor: the unsaved-changes question, Save and Open.
#pragma once

// Whether the calling command may go on (asks only while the modified flag is set).
bool ConfirmDiscard();
// Save command; true when the configuration was written to a file.
bool SaveConfigFile();
// Open command.
void OpenConfigFile();
