// How the kernel's AT keyboard driver turns the evdev repeat settings into the
// keyboard's typematic command, and how the link's settings and keys map onto
// evdev: the pure part of rq57cfg's Linux provider.
#pragma once

#include "link/link_platform.h"

// The driver's tables: the delay and the period (ms) of each index it sends.
constexpr int kAtkbdDelaysMs[] = {250, 500, 750, 1000};
constexpr int kAtkbdPeriodsMs[] = {33,  37,  42,  46,  50,  54,  58,  63,  67,  75,  83,
                                   92,  100, 109, 116, 125, 133, 149, 167, 182, 200, 217,
                                   232, 250, 270, 303, 333, 370, 400, 435, 470, 500};

// The index the driver sends for a request: the first entry at or above it, the
// last for anything longer.
int AtkbdDelayIndex(int ms);
int AtkbdPeriodIndex(int ms);

// The link's delay is the delay index. Its speed (31 the fastest) is the rate
// index counted from the other end, so each speed selects a rate index of its own.
int LinkDelayOfMs(int ms);
int LinkSpeedOfPeriodMs(int ms);

// A request (ms) that the driver sends as the link's delay or speed and that
// differs from what the input core holds (`storedMs`, or the table entry the
// driver has rounded it to since), so that it is passed on even when the link
// repeats its last setting: the entry itself, else one or two ms below it.
int DelayRequestMs(int delay, int storedMs);
int PeriodRequestMs(int speed, int storedMs);

// An evdev key event as the link sees it: values 1 (press) and 2 (repeat) are
// key-downs, 0 a key-up. Ctrl, Shift, digits and letters take their
// virtual-key codes; other keys codes no link answer uses.
LinkMessage LinkMessageOfKeyEvent(int code, int value);
