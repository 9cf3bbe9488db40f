#include "output/results_file.h"

#include "output/file_replace.h"

namespace alearo {

bool HasResults(const RollState& state) {
    if (state.m_pResultLines[1].empty()) {
        return false;
    }
    return state.m_nResultCount >= 1;
}

bool WriteResults(const RollState& state, bool numbersOnly, const std::string& path) {
    const std::string text =
        numbersOnly ? FormatNumbersOnlyResults(state) : FormatNormalResults(state);
    return ReplaceFileContents(path, text);
}

}  // namespace alearo
