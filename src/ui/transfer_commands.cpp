#include "ui/transfer_commands.h"

// Placeholders until the encoder link lands: the menu items do nothing.
void ReadCommand() {}
void WriteCommand() {}
