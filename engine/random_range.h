// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

namespace alearo {

// A die face: a value in the inclusive range between lo and hi, in either
// order. The C library generator is reseeded on the first call and then on
// every 1000th call after it (calls 1, 1001, 2001, ...).
int RandomRange(int lo, int hi);

// One raw 15-bit draw (0 to 32767) from the generator, without the reseed
// schedule. Two of these make one RandomRange call.
int RandomDraw15();

// Where the seeds come from. Tests replace these to make the source
// reproducible; empty members fall back to the real clock and entropy.
struct RandomSourceHooks {
    std::function<std::time_t()> clock;
    std::function<std::uint32_t()> entropy;
};

// Restarts the source as at process start: the next RandomRange call reseeds.
void ResetRandomSource(RandomSourceHooks hooks = {});

// How many times the generator has been reseeded since start (or the last reset).
long RandomReseedCount();

}  // namespace alearo
