// SPDX-License-Identifier: MIT
#include "output/results_file.h"

#include <algorithm>

#include "engine/texts.h"
#include "files/replace_file.h"

namespace alearo {

namespace {

constexpr int kColumnRows = 47;
constexpr int kContinuedFrom = 2 * kColumnRows + 1;
constexpr const char* kColumnSeparator = "                ";  // 16 spaces
constexpr const char* kContinuedMarker = "Continued...";
constexpr const char* kLineEnd = "\r\n";

std::string NormalText(const std::vector<RollResult>& results) {
    const int count = static_cast<int>(results.size());
    const auto line = [&results](int number) {
        return ResultLine(number, results[static_cast<std::size_t>(number - 1)]);
    };
    std::string text;
    for (int row = 1; row <= std::min(count, kColumnRows); ++row) {
        text += line(row);
        if (row + kColumnRows <= count) {
            text += kColumnSeparator;
            text += line(row + kColumnRows);
        }
        text += kLineEnd;
    }
    if (count >= kContinuedFrom) {
        text += kContinuedMarker;
        text += kLineEnd;
        for (int number = kContinuedFrom; number <= count; ++number) {
            text += line(number);
            text += kLineEnd;
        }
    }
    return text;
}

std::string NumbersOnlyText(const std::vector<RollResult>& results) {
    std::string text;
    for (const RollResult& result : results) {
        text += std::to_string(result.total);
        text += kLineEnd;
    }
    return text;
}

}  // namespace

std::string ResultsFileText(const std::vector<RollResult>& results, ResultsFormat format) {
    return format == ResultsFormat::kNormal ? NormalText(results) : NumbersOnlyText(results);
}

std::error_code WriteResultsFile(const std::vector<RollResult>& results, ResultsFormat format,
                                 const std::string& path) {
    return ReplaceFileContents(path, ResultsFileText(results, format));
}

}  // namespace alearo
