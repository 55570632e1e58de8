// Start-up checks that come before the main window.
#pragma once

// Warns when the current directory is the root of the volume labelled "RQ57"
// (the installation medium).
void WarnIfRunFromInstallationVolume();
// Ends a transfer that a killed run (of the editor or rq57cfg) left, puts the
// keyboard delay and speed back and says so; nothing while a transfer runs.
void RecoverInterruptedTransfer();
// Whether a volume label is that of the installation medium.
bool IsInstallationVolumeLabel(const char* label);
