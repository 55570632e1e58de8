// The Compare with RQ57 window: how the editor's configuration differs from the
// newest one read from the encoder (by Compare, Read or Back Up), kept true after
// every change in the editor and every read. After a write only a new read tells
// what the encoder holds, and the window says so.
#pragma once

#include "model/config.h"

// A read brought the encoder's configuration: the window compares with it from now on.
void EncoderWasRead(const ConfigModel& encoder);
// A write to the encoder ran: the last read no longer tells what it holds.
void EncoderWasWritten();
// Shows the window with the differences from the newest read.
void ShowCompareWindow();
// Compares again while the window is open.
void RefreshCompareWindow();
