// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "dice/chance.h"

// Which whole numbers a die, a term or a total can come to at all, apart from
// how likely they are: a total that cannot happen has chance 0, one that can
// never has, however far its chance lies below what the transform resolves.
// Internal to the dice library.

namespace alearo::dice {

struct Span {
    long long first = 0;
    long long last = 0;
};

// The numbers offset + step * x for every x in the spans, which are sorted and
// neither overlap nor touch. Dice whose values share a common step, such as
// the odd values of an exploding d2, keep few spans this way.
class Support {
  public:
    Support() = default;

    // The values of the entries of positive chance, chance[i] being that of
    // lowest + i.
    static Support OfChances(long long lowest, const std::vector<Chance>& chance);
    static Support Point(long long value);
    // Every number from `first` to `last`, none when last < first.
    static Support Run(long long first, long long last);

    bool empty() const { return m_spans.empty(); }
    // Whether it holds every number from its lowest to its highest.
    bool isRun() const { return m_spans.size() == 1 && m_step == 1; }
    long long lowest() const { return m_offset + m_step * m_spans.front().first; }
    long long highest() const { return m_offset + m_step * m_spans.back().last; }
    bool contains(long long value) const;

    // Every a + b, kept only from `lowest` to `highest`.
    friend Support SumOf(const Support& a, const Support& b, long long lowest, long long highest);
    // Every sum of `times` members (repeats allowed), from `lowest` to `highest`.
    Support multiple(int times, long long lowest, long long highest) const;
    Support negated() const;

  private:
    static Support OfSpans(std::vector<Span> spans);

    long long m_offset = 0;
    long long m_step = 1;
    std::vector<Span> m_spans;
};

Support SumOf(const Support& a, const Support& b, long long lowest, long long highest);

}  // namespace alearo::dice
