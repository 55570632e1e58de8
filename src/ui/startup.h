// Start-up checks that come before the main window.
#pragma once

// Warns when the current directory is the root of the volume labelled "RQ57"
// (the installation medium).
void WarnIfRunFromInstallationVolume();
// Whether a volume label is that of the installation medium.
bool IsInstallationVolumeLabel(const char* label);
