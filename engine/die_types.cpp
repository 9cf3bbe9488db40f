#include "engine/die_types.h"

namespace alearo {

bool SelectDieType(RollState& state, int index) {
    if (index < 0 || index >= static_cast<int>(kDieTypes.size())) {
        return false;
    }
    state.m_nDieSides = kDieTypes[index].sides;
    state.m_nDieTypeIndex = index;
    return true;
}

int DieIndexForSides(int sides) {
    for (const DieType& die : kDieTypes) {
        if (die.sides == sides) {
            return die.index;
        }
    }
    return -1;
}

}  // namespace alearo
