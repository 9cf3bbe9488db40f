// SPDX-License-Identifier: MIT
#include "random_expression.h"

#include <algorithm>
#include <array>
#include <vector>

namespace alearo::oracle {

int ByteSource::below(int bound) {
    if (bound <= 1 || m_position >= m_size) {
        return 0;
    }
    return m_data[m_position++] % bound;
}

namespace {

std::string Comparison(ByteSource& bytes, bool mayBeEqual) {
    static constexpr std::array<const char*, 5> kCompare{"<", ">", "<=", ">=", "="};
    return kCompare[static_cast<std::size_t>(bytes.below(mayBeEqual ? 5 : 4))];
}

std::string DiceTerm(ByteSource& bytes) {
    static constexpr std::array<const char*, 9> kFaces{"1", "2", "3", "4", "6",
                                                       "8", "F", "5", "10"};
    const int count = 1 + bytes.below(4);
    const std::string faces = kFaces[static_cast<std::size_t>(bytes.below(9))];
    const int top = faces == "F" ? 1 : std::stoi(faces);
    std::string text =
        (bytes.below(4) == 0 && count == 1 ? "" : std::to_string(count)) + "d" + faces;
    std::vector<std::string> modifiers;
    if (bytes.below(3) == 0) {
        std::string reroll = bytes.below(2) == 0 ? "r" : "ro";
        if (bytes.below(2) == 0) {
            reroll += Comparison(bytes, true);
        }
        modifiers.push_back(reroll + std::to_string(bytes.below(top + 2)));
    }
    if (bytes.below(3) == 0) {
        modifiers.push_back("!");
    }
    if (bytes.below(4) == 0) {
        modifiers.push_back("min" + std::to_string(bytes.below(top + 4)));
    }
    if (bytes.below(4) == 0) {
        modifiers.push_back("max" + std::to_string(bytes.below(2 * top + 4)));
    }
    if (bytes.below(2) == 0) {
        static constexpr std::array<const char*, 6> kSelect{"k", "kh", "kl", "dh", "dl", "k"};
        const std::string select = kSelect[static_cast<std::size_t>(bytes.below(6))];
        const bool drop = select[0] == 'd';
        const int n = drop ? 1 + bytes.below(std::max(1, count - 1)) : 1 + bytes.below(count);
        modifiers.push_back(select + (bytes.below(3) == 0 && n == 1 ? "" : std::to_string(n)));
    }
    if (bytes.below(3) == 0) {
        modifiers.push_back(Comparison(bytes, true) + std::to_string(bytes.below(top + 4)));
    }
    // The order typed does not change how they act.
    for (std::size_t i = modifiers.size(); i > 1; --i) {
        std::swap(modifiers[i - 1],
                  modifiers[static_cast<std::size_t>(bytes.below(static_cast<int>(i)))]);
    }
    for (const std::string& modifier : modifiers) {
        text += modifier;
    }
    return text;
}

}  // namespace

std::string RandomExpressionText(ByteSource& bytes) {
    const int terms = 1 + bytes.below(3);
    std::string text;
    for (int i = 0; i < terms; ++i) {
        const bool negative = bytes.below(4) == 0;
        if (negative) {
            text += '-';
        } else if (i > 0) {
            text += '+';
        }
        text += bytes.below(5) == 0 ? std::to_string(bytes.below(21)) : DiceTerm(bytes);
    }
    return text;
}

}  // namespace alearo::oracle
