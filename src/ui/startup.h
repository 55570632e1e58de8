// Start-up steps around the main window: the check that comes before it, and the
// file that it opens once it shows.
#pragma once

// Warns when the current directory is the root of the volume labelled "RQ57"
// (the installation medium).
void WarnIfRunFromInstallationVolume();
// Ends a transfer that a killed run (of the editor or rq57cfg) left, puts the
// keyboard delay and speed back and says so; nothing while a transfer runs.
void RecoverInterruptedTransfer();
// Whether a volume label is that of the installation medium.
bool IsInstallationVolumeLabel(const char* label);

// Once the main window shows: opens the file named first on the command line as
// Open opens it (how "Open with", a double click on an associated file and a drop
// on the program's icon start it); nothing when no file is named.
void OpenFileNamedOnCommandLine(const wchar_t* commandLine);
