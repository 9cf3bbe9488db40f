// SPDX-License-Identifier: MIT
#include "dice/odds.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iterator>
#include <limits>

#include "dice/chances.h"

namespace alearo::dice {

Verdict VerdictOf(const Expression& expression, int total, int opponentTotal) {
    assert(expression.versus());
    if (expression.target) {
        return Matches(*expression.target, total) ? Verdict::kHit : Verdict::kMiss;
    }
    return total > opponentTotal    ? Verdict::kWin
           : total == opponentTotal ? Verdict::kTie
                                    : Verdict::kLoss;
}

std::vector<Verdict> PossibleVerdicts(const Expression& expression) {
    if (expression.target) {
        return {Verdict::kHit, Verdict::kMiss};
    }
    return {Verdict::kWin, Verdict::kTie, Verdict::kLoss};
}

const char* VerdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::kHit:
            return "hit";
        case Verdict::kMiss:
            return "miss";
        case Verdict::kWin:
            return "win";
        case Verdict::kTie:
            return "tie";
        case Verdict::kLoss:
            return "loss";
    }
    return "";
}

std::optional<Verdict> VerdictNamed(std::string_view text) {
    for (const Verdict verdict :
         {Verdict::kHit, Verdict::kMiss, Verdict::kWin, Verdict::kTie, Verdict::kLoss}) {
        if (text == VerdictText(verdict)) {
            return verdict;
        }
    }
    return std::nullopt;
}

Chance Odds::chanceOf(Verdict verdict) const {
    switch (verdict) {
        case Verdict::kHit:
        case Verdict::kWin:
            return win;
        case Verdict::kTie:
            return tie;
        case Verdict::kMiss:
        case Verdict::kLoss:
            return loss;
    }
    return 0;
}

namespace {

// A sum of chances, and how much more the totals too small to list may add.
struct Share {
    long double sum = 0;
    long double unlisted = 0;
};

// What the unlisted totals could add to a share, as a share of what is
// listed: infinite where nothing is.
long double UnlistedShare(const Share& share) {
    if (share.unlisted == 0) {
        return 0;
    }
    return share.sum == 0 ? std::numeric_limits<long double>::infinity()
                          : share.unlisted / share.sum;
}

// The odds once every share is summed, known to within `error` of each. A
// verdict the others leave no room for is certain, and a sum within
// round-off of 1 while another verdict can happen is kept below 1, which
// only certainty reaches.
Odds Settle(const Share& win, const Share& tie, const Share& loss, long double error) {
    const auto none = [](const Share& share) { return share.sum == 0 && share.unlisted == 0; };
    const auto below1 = [](long double sum) { return std::min(sum, std::nextafter(1.0L, 0.0L)); };
    Odds odds{below1(win.sum), below1(tie.sum), below1(loss.sum), static_cast<double>(error)};
    if (none(tie) && none(loss)) {
        odds.win = 1;
    } else if (none(win) && none(tie)) {
        odds.loss = 1;
    } else if (none(win) && none(loss)) {
        odds.tie = 1;
    }
    return odds;
}

// The round-off of n sums of positive products: at most (n - 1)u of the sum
// (Higham, Accuracy and Stability of Numerical Algorithms, 2002, section 4.2).
long double RoundOff(std::size_t terms) {
    return static_cast<long double>(terms) * std::numeric_limits<long double>::epsilon() / 2;
}

// Our chance of at least, exactly and at most a total t. Past the listed
// totals of a side without end each is bounded by the chance of all the
// totals beyond the listed ones on that side, which hold t.
Share AtLeast(const TotalDistribution& us, int t) {
    if (us.knows(t)) {
        return {us.chanceAtLeast(t), 0};
    }
    return t > us.maxTotal() ? Share{0, us.chanceAtLeast(us.maxTotal())}
                             : Share{us.chanceAtLeast(us.minTotal), us.chanceAtMost(us.minTotal)};
}

Share AtMost(const TotalDistribution& us, int t) {
    if (us.knows(t)) {
        return {us.chanceAtMost(t), 0};
    }
    return t < us.minTotal ? Share{0, us.chanceAtMost(us.minTotal)}
                           : Share{us.chanceAtMost(us.maxTotal()), us.chanceAtLeast(us.maxTotal())};
}

Share Exactly(const TotalDistribution& us, int t) {
    if (us.knows(t)) {
        return {us.chanceOf(t), 0};
    }
    return {0, t > us.maxTotal() ? us.chanceAtLeast(us.maxTotal()) : us.chanceAtMost(us.minTotal)};
}

// The most a share may come to: its sum and all it leaves unlisted.
long double Most(const Share& share) {
    return share.sum + share.unlisted;
}

void AddTimes(Share& sum, long double p, const Share& share) {
    sum.sum += p * share.sum;
    sum.unlisted += p * share.unlisted;
}

// The sums of each verdict's chances over the opponent's listed totals,
// before they are settled.
struct Tally {
    Share win;
    Share tie;
    Share loss;
    double lawsError = 0.0;
    std::size_t terms = 0;

    // Nothing while the totals not listed leave too few digits; the error of
    // the laws themselves goes into the claim as it is.
    std::optional<Odds> settled() const {
        const long double shares[] = {UnlistedShare(win), UnlistedShare(tie), UnlistedShare(loss)};
        if (*std::max_element(std::begin(shares), std::end(shares)) > kEnoughError) {
            return std::nullopt;
        }
        return Settle(win, tie, loss,
                      lawsError + RoundOff(terms) + shares[0] + shares[1] + shares[2]);
    }
    // The least chance worth listing so that each verdict's unlisted share
    // could come within the error allowed, judging by what is listed.
    Chance deeper(Chance listedTo) const {
        Chance least = listedTo * 1e-10L;
        for (const Share& share : {win, tie, loss}) {
            if (share.unlisted > 0 && share.sum > 0) {
                least = std::min(least, share.sum * 1e-15L);
            }
        }
        return std::max(least, kLeastReachableChance);
    }
};

// P(A > B), P(A = B) and P(A < B) as sums over the opponent's listed totals
// b of P(B = b) times P(A > b), P(A = b) and P(A < b): the law of A - B at 0
// and its two tails, with no difference of chances taken.
Tally TallyOf(const TotalDistribution& us, const TotalDistribution& them) {
    const int first = them.minTotal;
    const int last = them.maxTotal();
    Tally tally;
    for (int b = first; b <= last; ++b) {
        const long double p = them.chanceOf(b);
        AddTimes(tally.win, p, AtLeast(us, b + 1));
        AddTimes(tally.tie, p, Exactly(us, b));
        AddTimes(tally.loss, p, AtMost(us, b - 1));
    }
    // The opponent's totals past its last listed one (bounded by the chance
    // of at least the last, which holds them): we beat or meet one only from
    // past the last ourselves; and the same below its first.
    if (!them.hasHighest) {
        const Chance beyond = them.chanceAtLeast(last);
        const long double reach = Most(AtLeast(us, last + 1));
        AddTimes(tally.loss, 1, {0, beyond});
        AddTimes(tally.win, beyond, {0, reach});
        AddTimes(tally.tie, beyond, {0, reach});
    }
    if (!them.hasLowest) {
        const Chance beyond = them.chanceAtMost(first);
        const long double reach = Most(AtMost(us, first - 1));
        AddTimes(tally.win, 1, {0, beyond});
        AddTimes(tally.tie, beyond, {0, reach});
        AddTimes(tally.loss, beyond, {0, reach});
    }
    tally.lawsError = us.relativeError + them.relativeError + us.relativeError * them.relativeError;
    tally.terms = them.exactly.size() + 1;
    return tally;
}

bool HasBothEnds(const TotalDistribution& law) {
    return law.hasLowest && law.hasHighest;
}

// From our chances worked out already. Sides without end are listed deeper,
// as deep as the verdicts' chances found so far ask, until every chance has
// its digits or the least reachable chance is passed.
std::optional<Odds> OpposedOdds(const Expression& roll, const Expression& opponent,
                                TotalDistribution us) {
    Chance listedTo = kLeastListedChance;
    TotalDistribution them = ExactChances(opponent);
    while (true) {
        const Tally tally = TallyOf(us, them);
        if (std::optional<Odds> odds = tally.settled()) {
            return odds;
        }
        if (listedTo <= kLeastReachableChance || (HasBothEnds(us) && HasBothEnds(them))) {
            return std::nullopt;
        }
        listedTo = tally.deeper(listedTo);
        if (!HasBothEnds(us)) {
            us = ExactChancesListedTo(roll, listedTo);
        }
        if (!HasBothEnds(them)) {
            them = ExactChancesListedTo(opponent, listedTo);
        }
    }
}

}  // namespace

// The chances of totals that meet the target, and of those that do not, each
// summed from its own end so that a small one keeps its digits.
std::optional<Odds> OddsAgainstTarget(const TotalDistribution& law, const Condition& target) {
    const int value = target.value;
    if (!law.knows(value - 1) || !law.knows(value + 1)) {
        return std::nullopt;
    }
    Share hit;
    Share miss;
    switch (target.compare) {
        case Compare::kGreaterOrEqual:
            hit.sum = law.chanceAtLeast(value);
            miss.sum = law.chanceAtMost(value - 1);
            break;
        case Compare::kGreater:
            hit.sum = law.chanceAtLeast(value + 1);
            miss.sum = law.chanceAtMost(value);
            break;
        case Compare::kLessOrEqual:
            hit.sum = law.chanceAtMost(value);
            miss.sum = law.chanceAtLeast(value + 1);
            break;
        case Compare::kLess:
            hit.sum = law.chanceAtMost(value - 1);
            miss.sum = law.chanceAtLeast(value);
            break;
        case Compare::kEqual:
            hit.sum = law.chanceOf(value);
            miss.sum = law.chanceAtMost(value - 1) + law.chanceAtLeast(value + 1);
            break;
    }
    return Settle(hit, {}, miss, law.relativeError + RoundOff(2));
}

std::optional<Odds> OddsAgainst(const TotalDistribution& us, const TotalDistribution& them) {
    return TallyOf(us, them).settled();
}

std::optional<Odds> ExactOdds(const Expression& expression) {
    assert(expression.versus());
    if (expression.target) {
        const int value = expression.target->value;
        return OddsAgainstTarget(
            ExactChances(RollSide(expression), TotalRange{value - 1, value + 1}),
            *expression.target);
    }
    return OpposedOdds(RollSide(expression), OpponentSide(expression),
                       ExactChances(RollSide(expression)));
}

std::optional<Odds> ExactOdds(const Expression& expression, const TotalDistribution& roll) {
    assert(expression.versus());
    if (!expression.target) {
        return OpposedOdds(RollSide(expression), OpponentSide(expression), roll);
    }
    const std::optional<Odds> odds = OddsAgainstTarget(roll, *expression.target);
    return odds ? odds : ExactOdds(expression);
}

}  // namespace alearo::dice
