// SPDX-License-Identifier: MIT
// The terminal program as a user runs it: its output, messages and exit
// status for each kind of use.

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "test_files.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program through the shell; `to` redirects its standard output.
Outcome RunProgram(const std::string& arguments, const std::string& to = "") {
    const std::string out = testing::TempDir() + "dice_cli_out";
    const std::string err = testing::TempDir() + "dice_cli_err";
    const std::string command = std::string(ALEARO_DICE_PROGRAM) + " " + arguments + " >" +
                                (to.empty() ? out : to) + " 2>" + err;
    std::remove(out.c_str());
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, alearo::ReadFile(out), alearo::ReadFile(err)};
}

TEST(dice_cli, OutputAndExitStatus) {
    using testing::ContainsRegex;
    const struct {
        const char* arguments;
        int status;
        const char* out;  // a regular expression the output matches; "^$" for none
        const char* err;
    } cases[] = {
        {"--version", 0, "^alearo-dice " ALEARO_VERSION "\n$", "^$"},
        {"--help", 0, "^Usage: alearo-dice roll .*--at-least T", "^$"},
        {"roll --times 3 --seed 7 3d6", 0, "^([0-9]+\n){3}$", "^$"},
        {"roll --verbose --seed 1 '4d6dl1 + 2'", 0,
         "^[0-9]+ = \\[[0-9 ]*\\([0-9]\\)[0-9 ]*\\] \\+ 2\n$", "^$"},
        {"roll --verbose --seed 3 --times 50 1d2!", 0, "= \\[2\\+1\\]\n", "^$"},
        {"chances --format tsv 2d6", 0,
         "^Total\tChance\tAt least\tAt most\n2\t0.0277777777778\t1\t0.0277777777778\n", "^$"},
        {"chances --format csv 1d2", 0,
         "^Total,Chance,At least,At most\r\n1,0.5,1,0.5\r\n2,0.5,0.5,1\r\n$", "^$"},
        {"chances 1d4", 0, "^Total +Chance +At least +At most\n +1 +25.00% +100% +25.00%\n", "^$"},
        {"chances --at-least 11 2d6", 0, "^0.0833333333333\n$", "^$"},
        {"chances --at-most 2 -- -1d4+5", 0, "^0.5\n$", "^$"},
        {"chances 4d6k5", 2, "^$", "column 4: Cannot keep 5 of 4 dice.\n    4d6k5\n       \\^\n$"},
        {"roll ''", 2, "^$", "Nothing to roll"},
        {"chances -1d4", 2, "^$", "put -- before the expression"},
        {"toss 2d6", 2, "^$", "unknown command toss"},
        {"roll --times 10001 2d6", 2, "^$", "--times takes"},
        {"roll --format csv 2d6", 2, "^$", "--format does not go with roll"},
        {"chances --exactly 3 --at-most 4 2d6", 2, "^$", "only one of"},
        {"roll", 2, "^$", "no expression"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = RunProgram(c.arguments);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_THAT(outcome.out, ContainsRegex(c.out));
        EXPECT_THAT(outcome.err, ContainsRegex(c.err));
    }
}

TEST(dice_cli, SameSeedSameRolls) {
    const Outcome first = RunProgram("roll --times 20 --seed 99 '3d6!+1d20kh1'");
    EXPECT_EQ(RunProgram("roll --times 20 --seed 99 '3d6!+1d20kh1'").out, first.out);
    EXPECT_NE(RunProgram("roll --times 20 --seed 98 '3d6!+1d20kh1'").out, first.out);
}

TEST(dice_cli, OutputThatCannotBeWrittenFails) {
    for (const char* arguments : {"roll --times 100 2d6", "chances 100d100kh50", "--help"}) {
        EXPECT_EQ(RunProgram(arguments, "/dev/full").status, 1) << arguments;
    }
}

}  // namespace
