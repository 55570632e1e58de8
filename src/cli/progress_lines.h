// rq57cfg's progress on standard error: a line whenever the text changes, at
// most ten a second. A text that comes too soon is shown when its time has come
// (ShowDue, called while the link waits), unless another replaced it.
#pragma once

#include <cstdint>
#include <string>

class ProgressLines {
 public:
  // nowMs: the link's millisecond clock (differences taken with wrap-around).
  void Show(const char* text, std::uint32_t nowMs);
  // Shows a text held back once its time has come.
  void ShowDue(std::uint32_t nowMs);
  // Shows a text still held back, now.
  void Flush(std::uint32_t nowMs);

 private:
  std::string pending_;
  std::string shown_;
  bool hasPending_ = false;
  bool shownBefore_ = false;
  std::uint32_t shownAt_ = 0;
};
