// SPDX-License-Identifier: MIT
// Fairness of the dice: draws ten million faces per die type through
// RandomRange, seeded exactly as the program seeds it, and prints a Markdown
// table of chi-square goodness of fit and lag-1 serial correlation.
//
//   alearo_fairness                      the full table
//   alearo_fairness --first 20 --sides 6 the first faces of a fresh process,
//                                        after the second it started in
//   alearo_fairness --check-tail         the p-value function against printed tables
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "chi_square_check.h"
#include "engine/die_type.h"
#include "engine/random_range.h"
#include "face_statistics.h"

namespace {

constexpr long kFacesPerDie = 10'000'000;

std::string WithThousands(long value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

int RunTable() {
    std::vector<int> faces(static_cast<std::size_t>(kFacesPerDie));
    std::string facesSeen;
    bool allInRange = true;
    std::vector<std::string> rows;
    for (const alearo::DieType& die : alearo::kDieTypes) {
        for (int& face : faces) {
            face = alearo::RandomRange(1, die.sides);
        }
        const alearo::fairness::FaceStatistics stats =
            alearo::fairness::MeasureFaces(faces, die.sides);
        char row[160];
        std::snprintf(row, sizeof row, "| %s | %s | %.2f | %d | %.4f | %+.5f |", die.label,
                      WithThousands(kFacesPerDie).c_str(), stats.chiSquare, stats.degreesOfFreedom,
                      stats.pValue, stats.lag1Correlation);
        rows.emplace_back(row);
        char seen[48];
        std::snprintf(seen, sizeof seen, "%s%s %d to %d", facesSeen.empty() ? "" : ", ", die.label,
                      stats.minFace, stats.maxFace);
        facesSeen += seen;
        allInRange = allInRange && stats.minFace >= 1 && stats.maxFace <= die.sides;
    }

    std::printf(
        "RandomRange(1, sides) with its real seeding: %s faces per die, all in one process "
        "(%s reseeds).\n\n",
        WithThousands(kFacesPerDie).c_str(), WithThousands(alearo::RandomReseedCount()).c_str());
    std::printf("| Die | Faces | Chi-square | df | p-value | Lag-1 correlation |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const std::string& row : rows) {
        std::printf("%s\n", row.c_str());
    }
    std::printf("\nFaces seen: %s.\n", facesSeen.c_str());
    return allInRange ? EXIT_SUCCESS : EXIT_FAILURE;
}

// The second is read just before the first roll, the moment the source reads
// the clock for its first seed.
int RunFirstFaces(int count, int sides) {
    const std::time_t second = std::time(nullptr);
    std::string line;
    for (int i = 0; i < count; ++i) {
        line += ' ';
        line += std::to_string(alearo::RandomRange(1, sides));
    }
    std::printf("second %lld faces%s\n", static_cast<long long>(second), line.c_str());
    return EXIT_SUCCESS;
}

bool ParsePositive(const char* text, int limit, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 1 || parsed > limit) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: alearo_fairness [--first COUNT --sides SIDES | --check-tail]\n"
                 "  COUNT 1 to 1000, SIDES 1 to 1000000\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) {
        return RunTable();
    }
    if (argc == 2 && std::strcmp(argv[1], "--check-tail") == 0) {
        return alearo::fairness::CheckChiSquareUpperTail(stdout) ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    int count = 0;
    int sides = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const bool known =
            (std::strcmp(argv[i], "--first") == 0 && ParsePositive(argv[i + 1], 1000, count)) ||
            (std::strcmp(argv[i], "--sides") == 0 && ParsePositive(argv[i + 1], 1000000, sides));
        if (!known) {
            return Usage();
        }
    }
    if (argc % 2 == 0 || count == 0 || sides == 0) {
        return Usage();
    }
    return RunFirstFaces(count, sides);
}
