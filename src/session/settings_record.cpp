#include "session/settings_record.h"

#include <cstdio>

#include "io/file_read.h"
#include "io/file_write.h"
#include "link/typematic_link.h"

namespace {

// "delay speed\n": a few bytes; anything longer is not a record of ours.
constexpr std::size_t kRecordLimit = 64;
constexpr int kMaxDelay = 3;
constexpr int kMaxSpeed = 31;

bool ParseRecord(const std::string& text, TypematicSettings& settings) {
  int delay = -1;
  int speed = -1;
  char end = '\0';
  if (std::sscanf(text.c_str(), "%d %d%c", &delay, &speed, &end) != 3 || end != '\n') return false;
  if (delay < 0 || delay > kMaxDelay || speed < 0 || speed > kMaxSpeed) return false;
  settings.delay = delay;
  settings.speed = speed;
  return true;
}

}  // namespace

RecordFound RestoreRecordedSettings(LinkPlatform& platform, const std::string& path) {
  InputFile record;
  if (!ReadRegularFile(path, kRecordLimit, record)) return RecordFound::kNone;
  TypematicSettings settings;
  const bool valid = !record.more && ParseRecord(record.content, settings);
  // The encoder may still be in the killed transfer: the end signal comes
  // first, so that the user's delay cannot reach it as a request.
  if (valid) RestoreTypematicSettings(platform, settings, true);
  DropSettingsRecord(path);
  return valid ? RecordFound::kRestored : RecordFound::kUnreadable;
}

bool RecordSettings(LinkPlatform& platform, const std::string& path) {
  TypematicSettings settings;
  if (!SaveTypematicSettings(platform, settings)) return false;
  std::string reason;
  return WriteFileWhole(path, std::to_string(settings.delay) + " " + std::to_string(settings.speed) + "\n", reason);
}

void DropSettingsRecord(const std::string& path) { RemoveFile(path); }
