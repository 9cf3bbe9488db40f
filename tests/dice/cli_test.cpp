// SPDX-License-Identifier: MIT
// The terminal program as a user runs it: its output, messages and exit
// status for each kind of use, in a scratch folder of each test's own.

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dice/chances.h"
#include "dice/parse.h"
#include "stats/goodness_of_fit.h"
#include "test_files.h"

namespace alearo {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class DiceCliTest : public ScratchFolder {
  protected:
    // Runs the program through the shell from the scratch folder; `to`
    // redirects its standard output, and `around` wraps the whole command.
    Outcome Run(const std::string& arguments, const std::string& to = "out",
                const std::string& around = "%s") {
        std::string command =
            std::string(ALEARO_DICE_PROGRAM) + " " + arguments + " >" + to + " 2>err";
        command =
            around.substr(0, around.find("%s")) + command + around.substr(around.find("%s") + 2);
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile("out"), ReadFile("err")};
    }
};

TEST_F(DiceCliTest, OutputAndExitStatus) {
    using testing::ContainsRegex;
    const struct {
        const char* arguments;
        int status;
        const char* out;  // a regular expression the output matches; "^$" for none
        const char* err;
    } cases[] = {
        // clang-format off
        {"--version", 0, "^alearo-dice " ALEARO_VERSION "\n$", "^$"},
        {"--help", 0, "^Usage: alearo-dice roll .*--at-least T", "^$"},
        {"roll --times 3 --seed 7 3d6", 0, "^([0-9]+\n){3}$", "^$"},
        {"roll --verbose --seed 1 '4d6dl1 + 2'", 0, "^[0-9]+ = \\[[0-9 ]*\\([0-9]\\)[0-9 ]*\\] \\+ 2\n$", "^$"},
        {"roll --verbose --seed 3 --times 50 1d2!", 0, "= \\[2\\+1\\]\n", "^$"},
        {"roll --verbose --seed 3 --times 50 '1d6r<6'", 0, "= \\[[1-5]/6\\]\n", "^$"},
        {"chances --format tsv 2d6", 0, "^Total\tChance\tAt least\tAt most\n2\t0.0277777777778\t1\t0.0277777777778\n", "^$"},
        {"chances --format csv 1d2", 0, "^Total,Chance,At least,At most\r\n1,0.5,1,0.5\r\n2,0.5,0.5,1\r\n$", "^$"},
        {"chances 1d4", 0, "^Total +Chance +At least +At most\n +1 +25.00% +100% +25.00%\n", "^$"},
        {"chances --at-least 11 2d6", 0, "^0.0833333333333\n$", "^$"},
        {"chances --at-most 2 -- -1d4+5", 0, "^0.5\n$", "^$"},
        {"chances --exactly 600 100d6", 0, "^1.53064670749e-78\n$", "^$"},
        {"chances --at-least 182 '8d6!'", 0, "^4.2841978671[0-9]e-15\n$", "^$"},
        {"chances --at-least 5000 '1d2!'", 2, "^$", "at least 5000 is below 1e-300"},
        {"chances 4d6k5", 2, "^$", "column 4: Cannot keep 5 of 4 dice.\n    4d6k5\n       \\^\n$"},
        {"roll ''", 2, "^$", "Nothing to roll"},
        {"chances -1d4", 2, "^$", "put -- before the expression"},
        {"toss 2d6", 2, "^$", "unknown command toss"},
        {"roll --times 10001 2d6", 2, "^$", "--times takes"},
        {"roll --format csv 2d6", 2, "^$", "--format does not go with roll"},
        {"chances --exactly 3 --at-most 4 2d6", 2, "^$", "only one of"},
        {"roll", 2, "^$", "no expression"},
        // A target or an opponent: both totals and the outcome, each side's
        // dice with --verbose, the chance of each outcome, and roll's
        // status 0 whatever the outcome.
        {"roll --times 40 --seed 2 '1d20+5 vs 15'", 0, "^(([2-9]|1[0-4]): miss\n|(1[5-9]|2[0-5]): hit\n){40}$", "^$"},
        {"roll --verbose --seed 2 '2d6+3 vs 2d6-1d4'", 0, "^[0-9]+ = \\[[1-6] [1-6]\\] \\+ 3 vs -?[0-9]+ = \\[[1-6] [1-6]\\] - \\[[1-4]\\]: (win|tie|loss)\n$", "^$"},
        {"roll --times 200 --seed 5 '1d2 vs 1d2'", 0, "1 vs 2: loss\n.*2 vs 2: tie\n.*2 vs 1: win\n", "^$"},
        {"chances '1d20+5 vs 15'", 0, "^Outcome  Chance\n    hit  55.00%\n   miss  45.00%\n$", "^$"},
        {"chances --format tsv '2d6+3 vs 2d6+1'", 0, "^Outcome\tChance\nwin\t0.664351851852\ntie\t0.096450617284\nloss\t0.239197530864\n$", "^$"},
        {"chances --format csv '1d6 vs 0'", 0, "^Outcome,Chance\r\nhit,1\r\nmiss,0\r\n$", "^$"},
        {"chances --at-least 15 '1d20+5 vs 15'", 0, "^0.55\n$", "^$"},
        {"chances '1d6! vs 3000'", 2, "^$", "too small to work out"},
        {"roll '1d20 vs >='", 2, "^$", "column 11: \">=\" needs a number"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = Run(c.arguments);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_THAT(outcome.out, ContainsRegex(c.out));
        EXPECT_THAT(outcome.err, ContainsRegex(c.err));
    }
}

// Rolled from a seed, the totals repeat and together fit the exact chances:
// a fault in how the program rolls shows as a fit far worse than luck.
TEST_F(DiceCliTest, RollsRepeatAndFitTheExactChances) {
    for (const char* text :
         {"4d6dl1", "3d8kl2+1d4", "4d6r1", "4d6ro1", "3d6!", "2d10!kh1", "3d6ro6!", "2d4!min5",
          "8d6>=5", "6d10kh3>=7", "4dF", "2d6-1d6", "2d20r<15"}) {
        SCOPED_TRACE(text);
        const std::string arguments = std::string("roll --times 10000 --seed 5 '") + text + "'";
        const Outcome first = Run(arguments);
        ASSERT_EQ(first.status, 0);
        EXPECT_EQ(Run(arguments).out, first.out);
        std::vector<int> totals;
        std::istringstream lines(first.out);
        for (int total = 0; lines >> total;) {
            totals.push_back(total);
        }
        ASSERT_EQ(totals.size(), 10000u);
        const GoodnessOfFit fit =
            TestFit(dice::ExactChances(*dice::ParseExpression(text).expression), totals);
        EXPECT_EQ(fit.verdict, FitVerdict::kTested);
        EXPECT_GT(fit.pValue, 1e-4) << fit.chiSquare;
    }
    EXPECT_NE(Run("roll --times 20 --seed 98 '3d6!+1d20kh1'").out,
              Run("roll --times 20 --seed 99 '3d6!+1d20kh1'").out);
}

// Output that cannot be written ends in status 1 and says why: a full disk
// (a small one mounted for the program alone), and a descriptor open for
// reading only.
TEST_F(DiceCliTest, OutputThatCannotBeWrittenFails) {
    const std::string fullDisk =
        "unshare --map-root-user --mount sh -c 'mkdir -p disk && mount -t tmpfs -o size=8k "
        "alearo disk && exec %s'";
    if (std::system("unshare --map-root-user --mount true 2>/dev/null") != 0) {
        GTEST_SKIP() << "no namespace to mount a small disk in";
    }
    for (const char* arguments :
         {"roll --times 10000 2d6", "chances 100d100kh50", "roll --verbose --times 99 100d6"}) {
        SCOPED_TRACE(arguments);
        const Outcome full = Run(arguments, "disk/out", fullDisk);
        EXPECT_EQ(full.status, 1);
        EXPECT_THAT(full.err,
                    testing::HasSubstr("cannot write the output: No space left on device"));
    }
    std::system("touch locked");
    const Outcome readOnly = Run("chances 3d6", "out 1<locked");
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_THAT(readOnly.err, testing::HasSubstr("cannot write the output: Bad file descriptor"));
}

}  // namespace
}  // namespace alearo
