#include "stats/checker_chance.h"

#include <algorithm>

#include <boost/math/distributions/binomial.hpp>

#include "engine/summary_lines.h"
#include "stats/decimal_text.h"
#include "stats/distribution_table.h"

namespace alearo {

namespace {

constexpr int kPercentDecimals = 1;

struct ModeWords {
    const char* forecast;  // "Chance that one roll reaches 15"
    const char* outcome;   // "12 of 20 rolls reached 15"
};

std::optional<ModeWords> WordsFor(int checkMode) {
    switch (checkMode) {
        case kCheckAtLeast:
            return ModeWords{"reaches", "reached"};
        case kCheckAtMost:
            return ModeWords{"stays at or below", "stayed at or below"};
        case kCheckEqual:
            return ModeWords{"comes out exactly", "came out exactly"};
        default:
            return std::nullopt;
    }
}

boost::math::binomial_distribution<double> Binomial(int rolls, double chance) {
    // Summed chances may stray past 0 or 1 by round-off, which the
    // distribution would refuse.
    return boost::math::binomial_distribution<double>(rolls, std::clamp(chance, 0.0, 1.0));
}

std::string RollsText(int rolls) {
    return IntegerText(rolls) + (rolls == 1 ? " roll" : " rolls");
}

}  // namespace

std::optional<double> CheckerChance(const TotalDistribution& distribution, int checkMode,
                                    int target) {
    switch (checkMode) {
        case kCheckAtLeast:
            return distribution.AtLeast(target);
        case kCheckAtMost:
            return distribution.AtMost(target);
        case kCheckEqual:
            return distribution.Exactly(target);
        default:
            return std::nullopt;
    }
}

double ChanceOfAtLeast(int count, int rolls, double chance) {
    if (count <= 0) {
        return 1.0;
    }
    if (count > rolls) {
        return 0.0;
    }
    // P(X >= k) = P(X > k - 1), from the upper tail itself so that a small
    // chance is not lost in 1 - P(X <= k - 1).
    return boost::math::cdf(boost::math::complement(Binomial(rolls, chance), count - 1));
}

double ChanceOfAtMost(int count, int rolls, double chance) {
    if (count < 0) {
        return 0.0;
    }
    if (count >= rolls) {
        return 1.0;
    }
    return boost::math::cdf(Binomial(rolls, chance), count);
}

std::string CheckerForecast(const TotalDistribution& distribution, int checkMode, int target,
                            int rolls) {
    const std::optional<ModeWords> words = WordsFor(checkMode);
    if (!words || rolls < 1) {
        return {};
    }
    const double chance = *CheckerChance(distribution, checkMode, target);
    return "Chance that one roll " + std::string(words->forecast) + " " + IntegerText(target) +
           ": " + PercentText(chance, kPercentDecimals) + "; expected " +
           FixedText(chance * rolls, 1) + " of " + RollsText(rolls) + ".";
}

std::string CheckerOutcome(const TotalDistribution& distribution, int checkMode, int target,
                           int rolls, int matches) {
    const std::optional<ModeWords> words = WordsFor(checkMode);
    if (!words || rolls < 1) {
        return {};
    }
    const double chance = *CheckerChance(distribution, checkMode, target);
    const double expected = chance * rolls;
    const bool high = matches >= expected;
    std::string extreme;
    if (high) {
        extreme = matches >= rolls ? IntegerText(rolls) + " of " + IntegerText(rolls)
                                   : IntegerText(matches) + " or more";
    } else {
        extreme = matches <= 0 ? "0 of " + IntegerText(rolls) : IntegerText(matches) + " or fewer";
    }
    const double tail =
        high ? ChanceOfAtLeast(matches, rolls, chance) : ChanceOfAtMost(matches, rolls, chance);
    return IntegerText(matches) + " of " + RollsText(rolls) + " " + words->outcome + " " +
           IntegerText(target) + "; expected " + FixedText(expected, 1) + "; " + extreme +
           " happens " + PercentText(tail, kPercentDecimals) + " of the time.";
}

}  // namespace alearo
