// The editor talks to the encoder attached as the keyboard.
#include "ui/platform/transfer_platform.h"
#include "ui/platform/win32_link_platform.h"

LinkPlatform& TransferPlatform() {
  static Win32LinkPlatform platform;
  return platform;
}

SessionHost& TransferSessionHost() {
  static EditorSessionHost host(TransferPlatform(), true);
  return host;
}

const char* SimulatedLinkName() { return nullptr; }
