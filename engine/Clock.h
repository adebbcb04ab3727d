#pragma once

#include <cstdint>

// A monotonic clock in 100-nanosecond ticks from an arbitrary origin: a step of the wall clock
// must neither end a search early nor let it overrun.
int64_t clockTicks();
// Puts another clock behind clockTicks (nullptr: the monotonic one again); only while no search
// runs. Tests use a clock that advances with every reading, so that a time budget ends a
// one-thread search at the same cut-off in every build.
void setClockSource(int64_t (*source)());
