// The user's keyboard delay and speed, kept in a small file while a transfer has
// replaced them, so that a run after one that was killed can put them back.
#pragma once

#include <string>

class LinkPlatform;

enum class RecordFound { kNone, kRestored, kUnreadable };

// Ends the transfer a record was left by (end signal, pause), puts back the
// settings it holds and removes it. kUnreadable (record removed, nothing set)
// when it holds no valid delay and speed.
RecordFound RestoreRecordedSettings(LinkPlatform& platform, const std::string& path);
// Records the desktop's settings now; false when they or the file cannot be written.
bool RecordSettings(LinkPlatform& platform, const std::string& path);
// Removes the record once the settings have been put back.
void DropSettingsRecord(const std::string& path);
