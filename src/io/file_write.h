// The one way the programs write a file: the editor's Save, Back Up and chart
// export, and every output of rq57cfg.
#pragma once

#include <string>

// Writes content to path whole or not at all. The content goes to a new
// temporary file, created exclusively under an unpredictable short name in the
// folder of the file that path stands for (after following links), is flushed
// to disk and then put in that file's place, with its permissions. Through a
// link the linked file is updated and the link stays. A name that stands for a
// device, FIFO or folder is refused and left alone.
// A target that could not be written (see CheckWritableTarget) is refused
// before anything is created.
// Returns false with the system's reason when anything failed; the target is
// then as it was and no temporary file remains.
bool WriteFileWhole(const std::string& path, const std::string& content, std::string& reason);

// Whether WriteFileWhole could put a file under that name now: false with the
// system's reason for a folder, FIFO or device, a folder that does not exist or
// may not be written, and a read-only file (one this user could not open for
// writing; on Windows one with the read-only attribute). Callers ask it before
// work that would be lost if the output were refused at the end.
bool CheckWritableTarget(const std::string& path, std::string& reason);

// Removes a file the program made itself (a record of its own); false when it
// could not.
bool RemoveFile(const std::string& path);

// Test seam: tests plant a failure at one step of writing through it; the
// programs never set it. The seam returns true for the step that should fail.
enum class WriteStep { kCreate, kWrite, kFlush, kReplace };
using WriteFailureSeam = bool (*)(WriteStep step);
void SetWriteFailureSeam(WriteFailureSeam seam);
