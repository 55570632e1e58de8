// rq57cfg talks to the encoder attached as the keyboard.
#include "cli/platform/console_link_platform.h"

TransferHost* ConsoleTransferHost() {
  static ConsoleLinkPlatform link;
  static ConsoleHost host(link);
  return &host;
}
