#pragma once

#include <array>
#include <cstdint>

#include <cassert>

#include "engine/die_types.h"
#include "engine/roll_state.h"

namespace alearo {

// Control ids of the main window.
namespace control_id {
inline constexpr int kCancel = 2;
inline constexpr int kCheck = 3;
inline constexpr int kRolls = 1001;
inline constexpr int kDice = 1004;
inline constexpr int kRoll = 1007;
inline constexpr int kD4 = kDieTypes[0].controlId;
inline constexpr int kD6 = kDieTypes[1].controlId;
inline constexpr int kD8 = kDieTypes[2].controlId;
inline constexpr int kD10 = kDieTypes[3].controlId;
inline constexpr int kD12 = kDieTypes[4].controlId;
inline constexpr int kD20 = kDieTypes[5].controlId;
inline constexpr int kD100 = kDieTypes[6].controlId;
inline constexpr int kResults = 1017;
inline constexpr int kEachModifier = 1018;
inline constexpr int kTotalModifier = 1019;
inline constexpr int kClear = 1021;
inline constexpr int kHeader = 1022;
inline constexpr int kGreaterThan = 1030;
inline constexpr int kLessThan = 1031;
inline constexpr int kCheckTarget = 1032;
inline constexpr int kEqualTo = 1033;
inline constexpr int kCheckerLine = 1034;
inline constexpr int kEachModifierUpDown = 1041;
inline constexpr int kRollsUpDown = 1042;
inline constexpr int kDiceUpDown = 1043;
inline constexpr int kTotalModifierUpDown = 1044;
inline constexpr int kRollIcon = 1047;

// The About box.
inline constexpr int kAboutOk = 1;
inline constexpr int kAboutEmail = 1048;
}  // namespace control_id

// Menu command ids of the main window.
namespace command_id {
inline constexpr int kHelpContents = 32771;
inline constexpr int kAbout = 32772;
inline constexpr int kRoll = 32773;
inline constexpr int kClearEntries = 32774;
inline constexpr int kExit = 32778;
inline constexpr int kNoInstantUpdate = 32780;
inline constexpr int kNoRollsBelowOne = 32783;
inline constexpr int kDropLowest = 32784;
inline constexpr int kWebsite = 32787;
inline constexpr int kSendToPrinter = 32788;
inline constexpr int kSendToPrinterViaNotepad = 32789;
inline constexpr int kResultsNormalFormat = 32790;
inline constexpr int kResultsNoText = 32791;
inline constexpr int kStatistics = 32792;
}  // namespace command_id

// The checker's radio buttons in the order of the modes they select.
inline constexpr std::array<int, 3> kCheckerRadios{control_id::kGreaterThan, control_id::kLessThan,
                                                   control_id::kEqualTo};

// A number box of the main window: the field it is bound to, the range the
// form checks on load, and the up-down beside it (0 for none).
struct NumberBox {
    int editId;
    int upDownId;
    std::int16_t RollState::*field;
    int minimum;
    int maximum;
};

inline constexpr std::array<NumberBox, 5> kNumberBoxes{{
    {control_id::kRolls, control_id::kRollsUpDown, &RollState::m_nRolls, 1, kMaxResults},
    {control_id::kDice, control_id::kDiceUpDown, &RollState::m_nDice, 1, 100},
    {control_id::kEachModifier, control_id::kEachModifierUpDown, &RollState::m_nEachModifier, -100,
     100},
    {control_id::kTotalModifier, control_id::kTotalModifierUpDown, &RollState::m_nTotalModifier,
     -100, 100},
    {control_id::kCheckTarget, 0, &RollState::m_nCheckTarget, 0, 100},
}};

// The box with this id, which must be one of the five.
inline const NumberBox& NumberBoxOf(int editId) {
    for (const NumberBox& box : kNumberBoxes) {
        if (box.editId == editId) {
            return box;
        }
    }
    assert(false && "not a number box");
    return kNumberBoxes[0];
}

}  // namespace alearo
