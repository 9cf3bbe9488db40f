#include "stats/roll_spec.h"

#include <tuple>

namespace alearo {

namespace {

auto Fields(const RollSpec& s) {
    return std::tie(s.dice, s.sides, s.eachModifier, s.totalModifier, s.raiseToOne, s.dropLowest);
}

bool WithinModifierLimit(int modifier) {
    return modifier >= -kMaxStatModifier && modifier <= kMaxStatModifier;
}

}  // namespace

bool operator==(const RollSpec& a, const RollSpec& b) {
    return Fields(a) == Fields(b);
}

bool operator!=(const RollSpec& a, const RollSpec& b) {
    return !(a == b);
}

bool IsComputable(const RollSpec& spec) {
    return spec.dice >= 1 && spec.dice <= kMaxStatDice && spec.sides >= 1 &&
           spec.sides <= kMaxStatSides && WithinModifierLimit(spec.eachModifier) &&
           WithinModifierLimit(spec.totalModifier);
}

RollSpec RollSpecOf(const RollState& state) {
    RollSpec spec;
    spec.dice = state.m_nDice;
    spec.sides = state.m_nDieSides;
    spec.eachModifier = state.m_nEachModifier;
    spec.totalModifier = state.m_nTotalModifier;
    spec.raiseToOne = state.m_bNoRollsBelowOne;
    spec.dropLowest = state.m_bDropLowest && spec.dice >= 2;
    return spec;
}

}  // namespace alearo
