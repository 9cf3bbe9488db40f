// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "dice/chance.h"
#include "dice/odds.h"
#include "engine/checker.h"
#include "stats/goodness_of_fit.h"

namespace alearo {

// The statistics window's sentences about the checker and the fairness test,
// with percentages to one decimal and a dot for the decimal mark. A chance
// comes with the relative error it is known to, so that every digit shown is
// right.

// Before a Roll, such as "Chance that one roll reaches 15: 41.2%; expected
// 8.2 of 20 rolls." Empty with no mode.
QString Forecast(const Checker& checker, dice::Chance chance, double relativeError, int rolls);

// After a Roll in which `matches` of `rolls` met the checker, such as "12 of
// 20 rolls reached 15; expected 8.2; 12 or more happens 4.1% of the time."
// The chance given is that of a count at least as far from the expected one
// on the side where it fell. Empty with no mode.
QString CheckOutcome(const Checker& checker, double chance, int rolls, int matches);

// The checker's chance for a compared expression: "With 2d20kh1+5: 52.3%."
QString ComparedChance(const QString& name, dice::Chance chance, double relativeError);

// The chance of each verdict of a roll with "vs" (`versus` has the target or
// the opponent), with as many decimals as tell them apart: "hits 55.00%,
// misses 45.00%" or "wins 66.44%, ties 9.65%, loses 23.92%".
QString OddsText(const dice::Expression& versus, const dice::Odds& odds);

// One verdict as the dice tray shows it: "hit", "tie".
QString VerdictWord(dice::Verdict verdict);

// One plain sentence about the fit, such as "The totals fit the chances of
// this roll (chi-square 7.31, 9 degrees of freedom, p = 0.60)."
QString FitSentence(const GoodnessOfFit& fit);

}  // namespace alearo
