// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

// Which whole numbers a die, a term or a total can come to at all, apart from
// how likely they are: a total that cannot happen has chance 0, one that can
// never does, however far its chance underflows. Internal to the dice library.

namespace alearo::dice {

struct Span {
    long long first = 0;
    long long last = 0;
};

// The numbers offset + step * x for every x in the spans, which are sorted and
// neither overlap nor touch. Dice whose values share a common step, such as
// the odd values of an exploding d2, keep few spans this way.
struct Support {
    long long offset = 0;
    long long step = 1;
    std::vector<Span> spans;

    bool Empty() const { return spans.empty(); }
    long long Lowest() const { return offset + step * spans.front().first; }
    long long Highest() const { return offset + step * spans.back().last; }
    bool Contains(long long value) const;
};

// The set of the values in `spans` (any order, may overlap), with the largest
// step that describes it.
Support SupportOf(std::vector<Span> spans);

// Every a + b, kept only from `lowest` to `highest`.
Support SumOf(const Support& a, const Support& b, long long lowest, long long highest);

// Every sum of `times` members (repeats allowed), from `lowest` to `highest`.
Support MultipleOf(const Support& s, int times, long long lowest, long long highest);

Support Negated(const Support& s);

}  // namespace alearo::dice
