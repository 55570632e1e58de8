#include "cli/progress_lines.h"

#include <cstdio>

namespace {

constexpr std::uint32_t kProgressIntervalMs = 100;  // ten texts a second at most

}  // namespace

void ProgressLines::Show(const char* text, std::uint32_t nowMs) {
  if (text == (hasPending_ ? pending_ : shown_)) return;  // no change
  pending_ = text;
  hasPending_ = true;
  ShowDue(nowMs);
}

void ProgressLines::ShowDue(std::uint32_t nowMs) {
  if (shownBefore_ && static_cast<std::uint32_t>(nowMs - shownAt_) < kProgressIntervalMs) return;
  Flush(nowMs);
}

void ProgressLines::Flush(std::uint32_t nowMs) {
  if (!hasPending_) return;
  std::fputs((pending_ + "\n").c_str(), stderr);
  std::fflush(stderr);
  shown_ = pending_;
  hasPending_ = false;
  shownBefore_ = true;
  shownAt_ = nowMs;
}
