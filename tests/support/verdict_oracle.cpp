// SPDX-License-Identifier: MIT
#include "verdict_oracle.h"

#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cstdio>

namespace alearo::oracle {

namespace {

bool Meets(long long total, const dice::Condition& target) {
    const long long value = target.value;
    switch (target.compare) {
        case dice::Compare::kGreaterOrEqual:
            return total >= value;
        case dice::Compare::kGreater:
            return total > value;
        case dice::Compare::kLessOrEqual:
            return total <= value;
        case dice::Compare::kLess:
            return total < value;
        case dice::Compare::kEqual:
            return total == value;
    }
    return false;
}

std::optional<ExactTotals> Counted(const dice::Expression& side, std::int64_t most) {
    std::optional<ExactTotals> totals = EnumerateTotals(side, 4, most);
    return totals && totals->unknown == 0 ? totals : std::nullopt;
}

// Each of our totals beats the opponent's totals below it, their count kept
// as it runs up from the lowest.
Verdicts Opposed(const ExactTotals& us, const ExactTotals& them) {
    Verdicts counted;
    auto next = them.weight.begin();
    Count below = 0;
    for (const auto& [total, ways] : us.weight) {
        while (next != them.weight.end() && next->first < total) {
            below += (next++)->second;
        }
        const Count equal =
            next != them.weight.end() && next->first == total ? next->second : Count(0);
        counted.win += ways * below;
        counted.tie += ways * equal;
        counted.loss += ways * (them.denominator - below - equal);
    }
    counted.all = us.denominator * them.denominator;
    return counted;
}

}  // namespace

std::optional<Verdicts> CountVerdicts(const dice::Expression& expression,
                                      std::int64_t mostCombinations) {
    const std::optional<ExactTotals> us = Counted(dice::RollSide(expression), mostCombinations);
    if (!us) {
        return std::nullopt;
    }
    if (expression.target) {
        Verdicts counted;
        for (const auto& [total, ways] : us->weight) {
            (Meets(total, *expression.target) ? counted.win : counted.loss) += ways;
        }
        counted.all = us->denominator;
        return counted;
    }
    const std::optional<ExactTotals> them =
        Counted(dice::OpponentSide(expression), mostCombinations);
    return them ? std::optional(Opposed(*us, *them)) : std::nullopt;
}

std::optional<std::string> OddsDisagreement(const dice::Odds& odds, const Verdicts& exact,
                                            double mostClaimed) {
    using Float = boost::multiprecision::cpp_bin_float_50;
    if (odds.relativeError > mostClaimed) {
        return "claimed error " + std::to_string(odds.relativeError);
    }
    for (const auto& [what, got, ways] : {std::tuple{"win", odds.win, &exact.win},
                                          {"tie", odds.tie, &exact.tie},
                                          {"loss", odds.loss, &exact.loss}}) {
        const Float want = Float(*ways) / Float(exact.all);
        const bool sure = *ways == 0 || *ways == exact.all;
        const bool agrees =
            sure ? Float(got) == want
                 : got > 0 && got < 1 && abs(Float(got) / want - 1) <= odds.relativeError + 1e-18L;
        if (!agrees) {
            char line[200];
            std::snprintf(line, sizeof line, "%s: %.20Lg, exactly %.20Lg", what, got,
                          static_cast<long double>(want));
            return std::string(line);
        }
    }
    return std::nullopt;
}

}  // namespace alearo::oracle
