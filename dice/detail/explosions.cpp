// SPDX-License-Identifier: MIT
#include "dice/detail/explosions.h"

#include <cstddef>

namespace alearo::dice {

namespace {

bool OnlyExplodes(const DiceTerm& term) {
    return term.explode && !term.fate && !term.reroll && !term.minimum && !term.maximum &&
           term.selection == Selection::kAll && !term.success;
}

// F times the explosions of `dice` dice: n explosions, each at chance 1/F,
// before the dice all stop has chance C(n + dice - 1, n) (1 - 1/F)^dice F^-n.
// Past the mean each chance is at most `ratio` times the one before, so the
// chances past n add up to at most chance(n) ratio / (1 - ratio).
std::vector<Chance> ExplosionChances(int faces, int dice, Chance negligible, long long reach) {
    const Chance stop = 1.0L - 1.0L / faces;
    Chance chance = 1.0L;
    for (int i = 0; i < dice; ++i) {
        chance *= stop;
    }
    std::vector<Chance> law{chance};
    for (long long n = 0;; ++n) {
        const Chance ratio = static_cast<Chance>(n + dice) / static_cast<Chance>(n + 1) / faces;
        const bool pastNegligible = ratio < 1.0L && chance * ratio / (1.0L - ratio) <= negligible;
        if (reach > 0 ? n * faces >= reach : pastNegligible) {
            break;
        }
        chance *= ratio;
        law.resize(law.size() + static_cast<std::size_t>(faces - 1), 0.0L);
        law.push_back(chance);
    }
    return law;
}

}  // namespace

std::optional<std::vector<std::unique_ptr<Factor>>> SplitExploding(const DiceTerm& term, int dice,
                                                                   Chance negligible,
                                                                   long long reach) {
    if (!OnlyExplodes(term) || term.faces < 2) {
        return std::nullopt;
    }
    std::vector<std::unique_ptr<Factor>> parts;
    const int faces = term.faces;
    const int lowest = 1 + term.faceOffset;
    // A die of two faces always stops on its lowest.
    const long long stoppedAt = faces == 2 ? static_cast<long long>(dice) * lowest : 0;
    if (faces > 2) {
        const std::vector<Chance> stopped(static_cast<std::size_t>(faces - 1),
                                          1.0L / static_cast<Chance>(faces - 1));
        parts.push_back(PowerOf(lowest, stopped, dice));
    }
    parts.push_back(PowerOf(stoppedAt, ExplosionChances(faces, dice, negligible, reach), 1));
    return parts;
}

}  // namespace alearo::dice
