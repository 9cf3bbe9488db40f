// SPDX-License-Identifier: MIT
// alearo-dice: rolls dice expressions and lists the chance of every total in
// a terminal. All output is gathered in one string and written at once, and
// the program never touches iostreams, whose start-up would cost more than
// a hundred rolls.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "dice/chances.h"
#include "dice/parse.h"
#include "dice/roll.h"
#include "stats/decimal_text.h"
#include "stats/distribution_table.h"

namespace {

using alearo::dice::Expression;

constexpr int kFailedOutput = 1;
constexpr int kBadUsage = 2;
constexpr int kMaxTimes = 10000;

constexpr const char* kHelp =
    "Usage: alearo-dice roll [--times N] [--seed S] [--verbose] EXPRESSION\n"
    "       alearo-dice chances [--format table|tsv|csv] EXPRESSION\n"
    "       alearo-dice chances (--at-least T | --at-most T | --exactly T) EXPRESSION\n"
    "       alearo-dice --help | --version\n"
    "\n"
    "Rolls dice written in dice notation, or lists the exact chance of every total.\n"
    "\n"
    "  roll            one total per line\n"
    "    --times N     roll N times (1 to 10000, default 1)\n"
    "    --seed S      start the random source from S (0 to 2^64-1) to repeat a run\n"
    "    --verbose     show each die after the total; dropped dice in parentheses\n"
    "  chances         every total with its chance, at least and at most\n"
    "    --format F    table (percentages, the default), tsv or csv (fractions)\n"
    "    --at-least T, --at-most T, --exactly T\n"
    "                  only that one chance, as a fraction\n"
    "  --              ends the options, for an expression that starts with \"-\"\n"
    "\n"
    "Notation: NdF rolls N dice of F faces (F up to 1000, % for 100, F for Fate\n"
    "dice of -1, 0 and +1); terms are joined by + and -. Modifiers of a term:\n"
    "  kN khN klN      keep the N highest (k, kh) or lowest (kl) dice\n"
    "  dhN dlN         drop the N highest or lowest dice\n"
    "  !               explode: a die showing its highest face rolls again and adds\n"
    "  rN roN          reroll a face N (or <N, >=N, ...): r until it differs, ro once\n"
    "  minN maxN       a die counts as at least N, at most N\n"
    "  >=N <N =N ...   count the dice that match instead of adding them\n"
    "Examples: 2d20kh1+5  4d6dl1  1d8+3d6+3  8d6!  10d10>=8  4dF  1d%\n"
    "\n"
    "Exit status: 0 done, 1 the output could not be written, 2 bad usage or expression.\n";

struct Options {
    std::string command;
    std::optional<std::string> expression;
    int times = 1;
    std::optional<std::uint64_t> seed;
    bool verbose = false;
    std::string format = "table";
    std::string single;  // "--at-least", "--at-most" or "--exactly"
    int singleTotal = 0;
    bool help = false;
    bool version = false;
    std::vector<std::string_view> given;  // the options, in the order given
};

struct UsageError {
    std::string message;
};

void AppendInt(std::string& out, long long value) {
    char buffer[24];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && !text.empty();
}

// Reads the arguments; returns an error for anything it cannot use.
std::optional<UsageError> ReadOptions(int argc, char** argv, Options& options) {
    std::vector<std::string_view> words;
    bool optionsEnded = false;
    // The value that follows an option, whatever it starts with.
    const auto value = [&](int& i) -> std::optional<std::string_view> {
        if (i + 1 >= argc) {
            return std::nullopt;
        }
        ++i;
        return std::string_view(argv[i]);
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        options.given.push_back(arg);
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--verbose" || arg == "-v") {
            options.verbose = true;
        } else if (arg == "--times" || arg == "--seed" || arg == "--format" ||
                   arg == "--at-least" || arg == "--at-most" || arg == "--exactly") {
            const std::optional<std::string_view> given = value(i);
            if (!given) {
                return UsageError{std::string(arg) + " needs a value"};
            }
            if (arg == "--times") {
                if (!ReadNumber(*given, options.times) || options.times < 1 ||
                    options.times > kMaxTimes) {
                    return UsageError{"--times takes a whole number from 1 to 10000"};
                }
            } else if (arg == "--seed") {
                std::uint64_t seed = 0;
                if (!ReadNumber(*given, seed)) {
                    return UsageError{"--seed takes a whole number from 0 to 18446744073709551615"};
                }
                options.seed = seed;
            } else if (arg == "--format") {
                options.format = std::string(*given);
                if (options.format != "table" && options.format != "tsv" &&
                    options.format != "csv") {
                    return UsageError{"--format is table, tsv or csv"};
                }
            } else {
                if (!options.single.empty()) {
                    return UsageError{"give only one of --at-least, --at-most and --exactly"};
                }
                options.single = std::string(arg);
                if (!ReadNumber(*given, options.singleTotal)) {
                    return UsageError{std::string(arg) +
                                      " takes a whole number from -2147483648 to 2147483647"};
                }
            }
        } else {
            std::string message = "unknown option " + std::string(arg);
            if (arg.size() > 1 &&
                (arg[1] == 'd' || arg[1] == 'D' || (arg[1] >= '0' && arg[1] <= '9'))) {
                message += " (put -- before the expression)";
            }
            return UsageError{message};
        }
    }
    if (options.help || options.version) {
        return std::nullopt;
    }
    if (words.empty()) {
        return UsageError{"no command: use roll or chances"};
    }
    options.command = std::string(words.front());
    if (options.command != "roll" && options.command != "chances") {
        return UsageError{"unknown command " + options.command + ": use roll or chances"};
    }
    // An expression typed with spaces may come as several words.
    if (words.size() > 1) {
        std::string joined;
        for (std::size_t i = 1; i < words.size(); ++i) {
            joined += (i > 1 ? " " : "");
            joined += words[i];
        }
        options.expression = joined;
    }
    if (!options.expression) {
        return UsageError{"no expression: give one such as 2d6+3"};
    }
    return std::nullopt;
}

std::optional<UsageError> CheckCommandOptions(const Options& options) {
    for (const std::string_view arg : options.given) {
        const bool rollOnly =
            arg == "--times" || arg == "--seed" || arg == "--verbose" || arg == "-v";
        const bool chancesOnly =
            arg == "--format" || arg == "--at-least" || arg == "--at-most" || arg == "--exactly";
        if ((rollOnly && options.command != "roll") ||
            (chancesOnly && options.command != "chances")) {
            return UsageError{std::string(arg) + " does not go with " + options.command};
        }
        if (arg == "--format" && !options.single.empty()) {
            return UsageError{"--format does not go with " + options.single};
        }
    }
    return std::nullopt;
}

// The dice of one term for --verbose: each die's faces joined by "+", after
// any faces a reroll set aside (each followed by "/"), then "=>" and what a
// min or max made of it, "*" on a success, all in parentheses if dropped.
void AppendDice(std::string& out, const alearo::dice::TermRoll& term) {
    out += '[';
    for (std::size_t i = 0; i < term.dice.size(); ++i) {
        const alearo::dice::DieRoll& die = term.dice[i];
        out += i > 0 ? " " : "";
        out += die.dropped ? "(" : "";
        for (const int face : die.rerolled) {
            AppendInt(out, face);
            out += '/';
        }
        int sum = 0;
        for (std::size_t f = 0; f < die.faces.size(); ++f) {
            out += f > 0 ? "+" : "";
            AppendInt(out, die.faces[f]);
            sum += die.faces[f];
        }
        if (sum != die.value) {
            out += "=>";
            AppendInt(out, die.value);
        }
        out += die.success ? "*" : "";
        out += die.dropped ? ")" : "";
    }
    out += ']';
}

std::string Rolls(const Expression& expression, const Options& options) {
    alearo::dice::Generator generator =
        options.seed ? alearo::dice::Generator(*options.seed) : alearo::dice::Generator();
    std::string out;
    for (int roll = 0; roll < options.times; ++roll) {
        if (!options.verbose) {
            AppendInt(out, alearo::dice::RollTotal(expression, generator));
            out += '\n';
            continue;
        }
        const alearo::dice::RollResult result = alearo::dice::Roll(expression, generator);
        AppendInt(out, result.total);
        out += " =";
        for (std::size_t i = 0; i < result.terms.size(); ++i) {
            const alearo::dice::Term& term = expression.terms[i];
            if (term.negative || i > 0) {
                out += term.negative ? " -" : " +";
            }
            out += ' ';
            if (term.isDice) {
                AppendDice(out, result.terms[i]);
            } else {
                AppendInt(out, term.number);
            }
        }
        out += '\n';
    }
    return out;
}

std::string Padded(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

// The table for reading: columns aligned on the right, chances in percent.
std::string ReadableTable(const alearo::TotalDistribution& distribution) {
    const int decimals = alearo::TableDecimals(distribution.exactly);
    std::vector<std::vector<std::string>> rows{{"Total", "Chance", "At least", "At most"}};
    for (std::size_t i = 0; i < distribution.exactly.size(); ++i) {
        rows.push_back({alearo::IntegerText(distribution.minTotal + static_cast<int>(i)),
                        alearo::PercentText(distribution.exactly[i], decimals),
                        alearo::PercentText(distribution.atLeast[i], decimals),
                        alearo::PercentText(distribution.atMost[i], decimals)});
    }
    std::vector<std::size_t> widths(4, 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            out += (c > 0 ? "  " : "") + Padded(row[c], widths[c]);
        }
        out += '\n';
    }
    return out;
}

std::string Chances(const Expression& expression, const Options& options) {
    const alearo::TotalDistribution distribution = alearo::dice::ExactChances(expression);
    if (!options.single.empty()) {
        const int total = options.singleTotal;
        const double chance = options.single == "--at-least"  ? distribution.AtLeast(total)
                              : options.single == "--at-most" ? distribution.AtMost(total)
                                                              : distribution.Exactly(total);
        return alearo::ChanceFraction(chance) + "\n";
    }
    if (options.format == "tsv") {
        return alearo::TabSeparatedTable(distribution);
    }
    if (options.format == "csv") {
        return alearo::CsvTable(distribution);
    }
    return ReadableTable(distribution);
}

int Fail(const std::string& message) {
    const std::string line = "alearo-dice: " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    return kBadUsage;
}

// The expression with a caret under the column where it goes wrong; tabs
// are kept so that the caret lines up in a terminal.
int FailExpression(const std::string& text, const alearo::dice::ParseError& error) {
    std::string marker = "    ";
    for (int i = 0; i + 1 < error.column && static_cast<std::size_t>(i) < text.size(); ++i) {
        marker += text[static_cast<std::size_t>(i)] == '\t' ? '\t' : ' ';
    }
    return Fail("column " + std::to_string(error.column) + ": " + error.message + "\n    " + text +
                "\n" + marker + "^");
}

int Write(const std::string& out) {
    const bool written = std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
    if (std::fflush(stdout) != 0 || !written || std::ferror(stdout) != 0) {
        const std::string message = "alearo-dice: cannot write the output\n";
        std::fwrite(message.data(), 1, message.size(), stderr);
        return kFailedOutput;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const std::optional<UsageError> error = ReadOptions(argc, argv, options)) {
        return Fail(error->message + " (see alearo-dice --help)");
    }
    if (options.help) {
        return Write(kHelp);
    }
    if (options.version) {
        return Write(std::string("alearo-dice ") + ALEARO_VERSION + "\n");
    }
    if (const std::optional<UsageError> error = CheckCommandOptions(options)) {
        return Fail(error->message + " (see alearo-dice --help)");
    }
    const alearo::dice::ParseResult parsed = alearo::dice::ParseExpression(*options.expression);
    if (!parsed.Ok()) {
        return FailExpression(*options.expression, parsed.error);
    }
    return Write(options.command == "roll" ? Rolls(*parsed.expression, options)
                                           : Chances(*parsed.expression, options));
}
