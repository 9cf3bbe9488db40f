// SPDX-License-Identifier: MIT
#include "dice/detail/support.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <numeric>
#include <utility>

namespace alearo::dice {

namespace {

// Spans sorted, each first <= last, with a gap of at least one number between
// neighbours: what Merged leaves and every query assumes.
[[maybe_unused]] bool SortedApart(const std::vector<Span>& spans) {
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (spans[i].first > spans[i].last || (i > 0 && spans[i - 1].last + 1 >= spans[i].first)) {
            return false;
        }
    }
    return true;
}

// Sorts and joins spans that overlap or touch.
std::vector<Span> Merged(std::vector<Span> spans) {
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.first < b.first; });
    std::vector<Span> merged;
    for (const Span& span : spans) {
        if (!merged.empty() && span.first <= merged.back().last + 1) {
            merged.back().last = std::max(merged.back().last, span.last);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

// Whether every x + y, x in `a` and y in `b` (both sorted), is one run: each
// gap of `a` no wider than any span of `b` fills, and each gap of `b` no
// wider than `a` reaches from its lowest to its highest. The values of
// exploding dice, a run of faces between explosions, are such.
bool FillEachOther(const std::vector<Span>& a, const std::vector<Span>& b) {
    long long widestGap = 0;
    for (std::size_t i = 1; i < a.size(); ++i) {
        widestGap = std::max(widestGap, a[i].first - a[i - 1].last - 1);
    }
    for (std::size_t i = 0; i < b.size(); ++i) {
        const long long gap = i > 0 ? b[i].first - b[i - 1].last - 1 : 0;
        if (b[i].last - b[i].first < widestGap || gap > a.back().last - a.front().first) {
            return false;
        }
    }
    return true;
}

// The spans x + y for every x in `left` and y in `right`, kept from `from` to
// `to`, sorted and joined. Many small spans, as the values of an exploding
// die, are counted on the numbers themselves rather than sorted.
std::vector<Span> Union(const std::vector<Span>& left, const std::vector<Span>& right,
                        long long from, long long to) {
    if (from > to) {
        return {};
    }
    if (FillEachOther(left, right) || FillEachOther(right, left)) {
        const Span run{std::max(left.front().first + right.front().first, from),
                       std::min(left.back().last + right.back().last, to)};
        return run.first <= run.last ? std::vector<Span>{run} : std::vector<Span>{};
    }
    const double pairs = static_cast<double>(left.size()) * static_cast<double>(right.size());
    const double width = static_cast<double>(to - from) + 1.0;
    if (width > 8.0 * pairs) {
        std::vector<Span> spans;
        for (const Span& x : left) {
            for (const Span& y : right) {
                const Span span{std::max(x.first + y.first, from), std::min(x.last + y.last, to)};
                if (span.first <= span.last) {
                    spans.push_back(span);
                }
            }
        }
        return Merged(std::move(spans));
    }
    // How many spans begin at each number, less how many ended before it.
    std::vector<int> opened(static_cast<std::size_t>(to - from) + 2, 0);
    for (const Span& x : left) {
        for (const Span& y : right) {
            const long long first = std::max(x.first + y.first, from);
            const long long last = std::min(x.last + y.last, to);
            if (first <= last) {
                ++opened[static_cast<std::size_t>(first - from)];
                --opened[static_cast<std::size_t>(last - from) + 1];
            }
        }
    }
    std::vector<Span> spans;
    int open = 0;
    for (long long v = from; v <= to; ++v) {
        const int before = open;
        open += opened[static_cast<std::size_t>(v - from)];
        if (open > 0 && before == 0) {
            spans.push_back({v, v});
        } else if (open > 0) {
            spans.back().last = v;
        }
    }
    return spans;
}

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

long long CeilDiv(long long a, long long b) {
    return -FloorDiv(-a, b);
}

}  // namespace

Support Support::OfChances(long long lowest, const std::vector<Chance>& chance) {
    std::vector<Span> spans;
    for (std::size_t i = 0; i < chance.size(); ++i) {
        if (chance[i] > 0.0L) {
            const long long value = lowest + static_cast<long long>(i);
            if (!spans.empty() && spans.back().last + 1 == value) {
                spans.back().last = value;
            } else {
                spans.push_back({value, value});
            }
        }
    }
    return OfSpans(std::move(spans));
}

Support Support::Point(long long value) {
    return Run(value, value);
}

Support Support::Run(long long first, long long last) {
    Support support;
    if (first <= last) {
        support.m_offset = first;
        support.m_spans.push_back({0, last - first});
    }
    return support;
}

Support Support::OfSpans(std::vector<Span> spans) {
    Support support;
    spans = Merged(std::move(spans));
    if (spans.empty()) {
        return support;
    }
    const long long lowest = spans.front().first;
    long long step = 0;
    for (const Span& span : spans) {
        step = std::gcd(step, span.first - lowest);
        if (span.last > span.first) {
            step = 1;
            break;
        }
    }
    support.m_offset = lowest;
    support.m_step = step == 0 ? 1 : step;
    for (const Span& span : spans) {
        support.m_spans.push_back(
            {(span.first - lowest) / support.m_step, (span.last - lowest) / support.m_step});
    }
    support.m_spans = Merged(std::move(support.m_spans));
    assert(SortedApart(support.m_spans));
    return support;
}

bool Support::contains(long long value) const {
    const long long shifted = value - m_offset;
    if (m_spans.empty() || shifted % m_step != 0) {
        return false;
    }
    const long long x = shifted / m_step;
    const auto after =
        std::upper_bound(m_spans.begin(), m_spans.end(), x,
                         [](long long v, const Span& span) { return v < span.first; });
    return after != m_spans.begin() && std::prev(after)->last >= x;
}

Support SumOf(const Support& a, const Support& b, long long lowest, long long highest) {
    if (a.empty() || b.empty()) {
        return {};
    }
    if (a.isRun() && b.isRun()) {
        return Support::Run(std::max(a.lowest() + b.lowest(), lowest),
                            std::min(a.highest() + b.highest(), highest));
    }
    // A single value sits on any lattice: taking its step of 1 would split
    // the other side into one span per value.
    const auto onePoint = [](const Support& s) {
        return s.m_spans.size() == 1 && s.m_spans.front().first == s.m_spans.front().last;
    };
    long long step = std::gcd(onePoint(a) ? 0 : a.m_step, onePoint(b) ? 0 : b.m_step);
    step = step == 0 ? 1 : step;
    // The spans of each side on the finer lattice of `step`.
    const auto onLattice = [step, &onePoint](const Support& s) {
        std::vector<Span> spans;
        if (onePoint(s)) {
            return std::vector<Span>{{0, 0}};
        }
        const long long ratio = s.m_step / step;
        for (const Span& span : s.m_spans) {
            if (ratio == 1) {
                spans.push_back(span);
                continue;
            }
            for (long long x = span.first; x <= span.last; ++x) {
                spans.push_back({x * ratio, x * ratio});
            }
        }
        return spans;
    };
    const std::vector<Span> left = onLattice(a);
    const std::vector<Span> right = onLattice(b);
    const long long offset = a.lowest() + b.lowest();
    const long long from = CeilDiv(lowest - offset, step);
    const long long to = FloorDiv(highest - offset, step);
    // Spans on the lattice, counted from `offset`.
    std::vector<Span> spans = Union(left, right, from, to);
    if (step == 1) {
        for (Span& span : spans) {
            span = {offset + span.first, offset + span.last};
        }
        return Support::OfSpans(std::move(spans));
    }
    // On a coarse lattice the spans stay in the lattice's own units.
    Support sum;
    sum.m_spans = std::move(spans);
    if (sum.m_spans.empty()) {
        return sum;
    }
    const long long first = sum.m_spans.front().first;
    for (Span& span : sum.m_spans) {
        span = {span.first - first, span.last - first};
    }
    sum.m_offset = offset + step * first;
    sum.m_step = step;
    assert(SortedApart(sum.m_spans));
    return sum;
}

Support Support::multiple(int times, long long lowest, long long highest) const {
    if (empty() || times < 1) {
        return {};
    }
    // By doubling: the sums of 1, 2, 4, ... members, and of the members
    // taken so far (Knuth, TAOCP vol. 2, 4.6.3). A partial sum of `count`
    // members counts only if the members still to come can bring it into
    // the range.
    const auto within = [&](const Support& a, const Support& b, int count) {
        const long long left = times - count;
        return SumOf(a, b, lowest - left * this->highest(), highest - left * this->lowest());
    };
    Support sum = Point(0);
    Support power = *this;
    int taken = 0;
    for (int rest = times, each = 1; rest > 0 && !sum.empty(); rest >>= 1, each *= 2) {
        if ((rest & 1) != 0) {
            taken += each;
            sum = within(sum, power, taken);
        }
        if (rest > 1) {
            power = within(power, power, 2 * each);
        }
    }
    return sum;
}

Support Support::negated() const {
    Support negated;
    if (empty()) {
        return negated;
    }
    negated.m_offset = -highest();
    negated.m_step = m_step;
    const long long top = m_spans.back().last;
    for (auto span = m_spans.rbegin(); span != m_spans.rend(); ++span) {
        negated.m_spans.push_back({top - span->last, top - span->first});
    }
    return negated;
}

}  // namespace alearo::dice
