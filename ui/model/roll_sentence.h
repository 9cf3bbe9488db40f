// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "dice/expression.h"
#include "dice/roll.h"

namespace alearo {

// A roll as one sentence for screen readers: "Longsword attack, 2d20kh1+5:
// 23. Dice 18 and 4, the 4 dropped." Each term of dice says its dice, then
// those dropped, rerolled, exploded, raised or lowered by a min or max, and
// for a count of successes which dice counted.
QString RollSentence(const QString& label, const dice::Expression& expression,
                     const dice::RollResult& roll);

}  // namespace alearo
