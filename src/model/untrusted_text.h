// Text that came from outside (file names, JSON member names, clipboard text)
// made safe to show in a message, a listing or a terminal.
#pragma once

#include <string>
#include <string_view>

// The text with every control character and every byte that is not part of
// valid UTF-8 quoted, so that nothing in it can move the cursor, colour a
// terminal or start a line of its own: a byte as "\x1b" or "\xff", a control
// character of more than one byte (C1) as "\u009b". Valid UTF-8 is kept as it is.
std::string QuoteUntrusted(std::string_view text);
