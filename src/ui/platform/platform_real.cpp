// The editor talks to the encoder attached as the keyboard.
#include "ui/transfer_platform.h"
#include "ui/win32_link_platform.h"

LinkPlatform& TransferPlatform() {
  static Win32LinkPlatform platform;
  return platform;
}
