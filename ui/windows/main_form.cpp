#include "ui/forms/form_table_shorthand.h"
#include "ui/windows/control_ids.h"
#include "ui/windows/window_tables.h"

namespace alearo {

const FormSpec& MainFormSpec() {
    using namespace form_table;
    namespace id = control_id;
    static const FormSpec spec{
        "Alearo",
        194,
        226,
        {
            {-1, K::GroupBox, "Number of:", 0, 7, 5, 55, 42, "numberOfGroup"},
            {-1, K::Label, "&Rolls", G, 11, 17, 19, 8, "rollsLabel"},
            {id::kRolls, K::Edit, "", T | B | C | N, 32, 13, 27, 14, "rollsEdit"},
            {id::kRollsUpDown, K::UpDown, "", 0, 52, 12, 9, 14, "rollsUpDown"},
            {-1, K::Label, "&Dice", G, 11, 31, 16, 8, "diceLabel"},
            {id::kDice, K::Edit, "", T | B | C | N, 32, 29, 27, 14, "diceEdit"},
            {id::kDiceUpDown, K::UpDown, "", 0, 53, 29, 9, 14, "diceUpDown"},
            {-1, K::GroupBox, "Die Type:", G, 7, 52, 42, 99, "dieTypeGroup"},
            {id::kD4, K::RadioButton, "d&4", G | T, 13, 66, 28, 10, "d4Radio"},
            {id::kD6, K::RadioButton, "d&6", 0, 13, 77, 28, 10, "d6Radio"},
            {id::kD8, K::RadioButton, "d&8", 0, 13, 88, 28, 10, "d8Radio"},
            {id::kD10, K::RadioButton, "d1&0", 0, 13, 99, 28, 10, "d10Radio"},
            {id::kD12, K::RadioButton, "d12", 0, 13, 110, 28, 10, "d12Radio"},
            {id::kD20, K::RadioButton, "d&20", 0, 13, 121, 28, 10, "d20Radio"},
            {id::kD100, K::RadioButton, "d100", 0, 13, 132, 28, 10, "d100Radio"},
            {-1, K::GroupBox, "Modifiers to:", 0, 66, 5, 64, 42, "modifiersGroup"},
            {-1, K::Label, "&Each roll", G, 69, 16, 28, 8, "eachRollLabel"},
            {id::kEachModifier, K::Edit, "", G | T | B, 99, 13, 27, 14, "eachModifierEdit"},
            {id::kEachModifierUpDown, K::UpDown, "", 0, 121, 13, 8, 14, "eachModifierUpDown"},
            {-1, K::Label, "&Total", G, 69, 31, 20, 8, "totalLabel"},
            {id::kTotalModifier, K::Edit, "", T | B, 99, 29, 27, 14, "totalModifierEdit"},
            {id::kTotalModifierUpDown, K::UpDown, "", 0, 119, 28, 9, 14, "totalModifierUpDown"},
            {-1, K::GroupBox, "Roll Checker", G, 7, 175, 180, 44, "rollCheckerGroup"},
            {-1, K::Label, "Check for:", G | R, 70, 188, 33, 8, "checkForLabel"},
            {id::kCheckTarget, K::Edit, "", G | T | B, 105, 185, 19, 14, "checkTargetEdit"},
            {id::kGreaterThan, K::RadioButton, "Greater Than", G | T, 129, 184, 56, 10,
             "greaterThanRadio"},
            {id::kLessThan, K::RadioButton, "Less Than", 0, 129, 194, 49, 10, "lessThanRadio"},
            {id::kEqualTo, K::RadioButton, "Equal To", 0, 129, 204, 52, 10, "equalToRadio"},
            {id::kCheck, K::PushButton, "Chec&k", G | T, 13, 184, 54, 14, "checkButton"},
            {id::kCheckerLine, K::StaticText, "Checker Results", G | E, 14, 202, 110, 11,
             "checkerLine"},
            {id::kRoll, K::DefaultPushButton, "Roll", G | T, 61, 156, 126, 14, "rollButton"},
            {id::kClear, K::PushButton, "C&lear", T, 136, 11, 51, 14, "clearButton"},
            {id::kCancel, K::PushButton, "&Cancel", G | T, 136, 27, 51, 14, "cancelButton"},
            {id::kHeader, K::StaticText, "Results", G | C | V | E, 62, 55, 125, 10, "headerLine"},
            {id::kResults, K::ResultsBox, "", G | T | B | E | C, 61, 65, 126, 86, "resultsBox"},
            {id::kRollIcon, K::Icon, "", 0, 25, 153, 20, 20, "rollIcon"},
        },
    };
    return spec;
}

}  // namespace alearo
