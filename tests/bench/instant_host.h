// A hook whose natives answer at once, for timing the script's own cost: the
// game's answers are fixed (a human in focus, on screen), and the calls of a
// pass can be recorded to be replayed bare.
#pragma once

#include <cstdint>

struct InstantCall {
    uint64_t hash;
    int argument_count;
    uint64_t arguments[16];
};

// Starts or stops recording the calls made into a fixed list.
void instant_host_record(bool on);
int instant_host_recorded_count();
const InstantCall* instant_host_recorded();
