// SPDX-License-Identifier: MIT
#include "dice/support.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace alearo::dice {

namespace {

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

// The spans of `s` on the finer lattice of `step`, which divides s.step.
std::vector<Span> OnLattice(const Support& s, long long step) {
    const long long ratio = s.step / step;
    std::vector<Span> spans;
    for (const Span& span : s.spans) {
        if (ratio == 1) {
            spans.push_back(span);
            continue;
        }
        for (long long x = span.first; x <= span.last; ++x) {
            spans.push_back({x * ratio, x * ratio});
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

bool Support::Contains(long long value) const {
    const long long shifted = value - offset;
    if (shifted % step != 0) {
        return false;
    }
    const long long x = shifted / step;
    const auto after =
        std::upper_bound(spans.begin(), spans.end(), x,
                         [](long long v, const Span& span) { return v < span.first; });
    return after != spans.begin() && std::prev(after)->last >= x;
}

Support SupportOf(std::vector<Span> spans) {
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
    support.offset = lowest;
    support.step = step == 0 ? 1 : step;
    for (const Span& span : spans) {
        support.spans.push_back(
            {(span.first - lowest) / support.step, (span.last - lowest) / support.step});
    }
    support.spans = Merged(std::move(support.spans));
    return support;
}

Support SumOf(const Support& a, const Support& b, long long lowest, long long highest) {
    Support sum;
    if (a.Empty() || b.Empty()) {
        return sum;
    }
    // A single value sits on any lattice: taking its step of 1 would split
    // the other side into one span per value.
    const auto onePoint = [](const Support& s) {
        return s.spans.size() == 1 && s.spans.front().first == s.spans.front().last;
    };
    long long step = std::gcd(onePoint(a) ? 0 : a.step, onePoint(b) ? 0 : b.step);
    step = step == 0 ? 1 : step;
    const auto rebased = [&](const Support& s) {
        return onePoint(s) ? Support{s.Lowest(), step, {{0, 0}}} : s;
    };
    const Support first = rebased(a);
    const Support second = rebased(b);
    const std::vector<Span> left = OnLattice(first, step);
    const std::vector<Span> right = OnLattice(second, step);
    sum.offset = first.offset + second.offset;
    sum.step = step;
    const long long from = CeilDiv(lowest - sum.offset, step);
    const long long to = FloorDiv(highest - sum.offset, step);
    std::vector<Span> spans;
    for (const Span& x : left) {
        for (const Span& y : right) {
            const Span span{std::max(x.first + y.first, from), std::min(x.last + y.last, to)};
            if (span.first <= span.last) {
                spans.push_back(span);
            }
        }
    }
    sum.spans = Merged(std::move(spans));
    return sum;
}

Support MultipleOf(const Support& s, int times, long long lowest, long long highest) {
    if (s.Empty() || times < 1) {
        return {};
    }
    // A partial sum counts only if the members still to come can bring it
    // into the range.
    Support sum = s;
    for (int i = 1; i < times; ++i) {
        const long long left = times - i - 1;
        sum = SumOf(sum, s, lowest - left * s.Highest(), highest - left * s.Lowest());
        if (sum.Empty()) {
            break;
        }
    }
    if (times == 1) {
        sum = SumOf(s, Support{0, 1, {{0, 0}}}, lowest, highest);
    }
    return sum;
}

Support Negated(const Support& s) {
    Support negated;
    negated.offset = -s.offset;
    negated.step = s.step;
    for (auto span = s.spans.rbegin(); span != s.spans.rend(); ++span) {
        negated.spans.push_back({-span->last, -span->first});
    }
    return negated;
}

}  // namespace alearo::dice
