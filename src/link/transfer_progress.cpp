#include "link/transfer_progress.h"

#include <cstdio>

#include "link/link_platform.h"
#include "link/transfer_order.h"

namespace {

constexpr int kProgressTextSize = 96;

}  // namespace

void ShowConfigProgress(LinkPlatform& platform, const char* verb, int position) {
  char text[kProgressTextSize];
  std::snprintf(text, sizeof text, "%s configuration - %d%%\n%s data - 0%%", verb,
                ConfigProgress(position), verb);
  platform.ShowProgress(text);
}

void ShowDataProgress(LinkPlatform& platform, const char* verb, int percent) {
  char text[kProgressTextSize];
  std::snprintf(text, sizeof text, "%s configuration - 100%%\n%s data - %d%%", verb, verb, percent);
  platform.ShowProgress(text);
}
