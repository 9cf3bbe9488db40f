// SPDX-License-Identifier: MIT
// alearo-dice: rolls dice expressions and lists the chance of every total in
// a terminal. Output goes out through a buffer of bounded size as it is
// made, and the program never touches iostreams, whose start-up would cost
// more than a hundred rolls.

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "dice/chances.h"
#include "dice/odds.h"
#include "dice/parse.h"
#include "dice/roll.h"
#include "dice/roll_text.h"
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
    "After the roll, vs sets a target or an opponent: 1d20+5 vs 15 hits on 15 or more\n"
    "(vs >15, vs <=8, vs <8 and vs =12 compare otherwise; a target is from -1000000 to\n"
    "1000000); 2d6+3 vs 2d6+1 rolls both and wins on a higher total. roll then gives\n"
    "the total (both, against an opponent) and the outcome (hit or miss; win, tie or\n"
    "loss), chances the chance of each outcome, and --at-least, --at-most and\n"
    "--exactly the chances of the roll's own totals.\n"
    "Limits: 100 dice in a term, 500 dice, 10 terms of dice and 500000 faces in all\n"
    "(both sides of vs together);\n"
    "only dice of up to 100 faces are kept, dropped or exploded.\n"
    "\n"
    "On a side without end, a total asked for on its own is answered as far as its\n"
    "chance is 1e-300 or more.\n"
    "\n"
    "Exit status: 0 done, 1 the output could not be written, 2 bad usage or expression,\n"
    "or a total asked for too far out.\n";

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

// Standard output, written as it fills and told apart from a failure of its
// own: the first error is kept, with its reason.
class Output {
  public:
    void append(std::string_view text) {
        m_buffer += text;
        if (m_buffer.size() >= kFlushAt) {
            flush();
        }
    }
    std::string& buffer() { return m_buffer; }

    // Exit status 0, or 1 after saying why the output could not be written.
    int finish() {
        flush();
        if (m_error == 0 && std::fflush(stdout) != 0) {
            m_error = errno;
        }
        if (m_error == 0) {
            return 0;
        }
        const std::string message =
            std::string("alearo-dice: cannot write the output: ") + std::strerror(m_error) + "\n";
        std::fwrite(message.data(), 1, message.size(), stderr);
        return kFailedOutput;
    }

  private:
    static constexpr std::size_t kFlushAt = 1 << 16;

    void flush() {
        if (m_error == 0 && !m_buffer.empty() &&
            std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout) != m_buffer.size()) {
            m_error = errno != 0 ? errno : EIO;
        }
        m_buffer.clear();
    }

    std::string m_buffer;
    int m_error = 0;
};

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

// "12 vs 9: win", or with --verbose each side's dice: "12 = [4 5] + 3 vs 9 =
// [3 5] + 1: win"; against a target "20: hit".
void AppendVersusRoll(std::string& out, const Expression& expression,
                      const alearo::dice::RollResult& result, bool verbose) {
    if (verbose) {
        alearo::dice::AppendRollText(out, expression, result);
    } else {
        alearo::dice::AppendNumber(out, result.total);
        if (expression.opposed()) {
            out += " vs ";
            alearo::dice::AppendNumber(out, result.opponentTotal);
        }
    }
    out += ": ";
    out += alearo::dice::VerdictText(
        alearo::dice::VerdictOf(expression, result.total, result.opponentTotal));
}

void Rolls(const Expression& expression, const Options& options, Output& output) {
    alearo::dice::Generator generator =
        options.seed ? alearo::dice::Generator(*options.seed) : alearo::dice::Generator();
    alearo::dice::RollResult result;
    for (int roll = 0; roll < options.times; ++roll) {
        std::string& out = output.buffer();
        if (expression.versus()) {
            alearo::dice::Roll(expression, generator, result);
            AppendVersusRoll(out, expression, result, options.verbose);
        } else if (!options.verbose) {
            alearo::dice::AppendNumber(out, alearo::dice::RollTotal(expression, generator));
        } else {
            alearo::dice::Roll(expression, generator, result);
            alearo::dice::AppendRollText(out, expression, result);
        }
        output.append("\n");
    }
}

int Fail(const std::string& message) {
    const std::string line = "alearo-dice: " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    return kBadUsage;
}

// The table for reading: columns aligned on the right, chances in percent.
// The cells are made twice, once for the widths of their columns and once to
// write them, rather than kept: the largest sums list half a million totals.
constexpr std::size_t kTableColumns = 4;
using TableRow = std::array<std::string, kTableColumns>;

TableRow ReadableRow(const alearo::TotalDistribution& distribution, std::size_t i, int decimals) {
    const double error = distribution.relativeError;
    return {alearo::IntegerText(distribution.minTotal + static_cast<int>(i)),
            alearo::PercentText(distribution.exactly[i], decimals, error),
            alearo::PercentText(distribution.atLeast[i], decimals, error),
            alearo::PercentText(distribution.atMost[i], decimals, error)};
}

void ReadableTable(const alearo::TotalDistribution& distribution, Output& output) {
    const int decimals = alearo::TableDecimals(distribution.exactly, distribution.relativeError);
    const TableRow headings = {"Total", "Chance", "At least", "At most"};
    std::array<std::size_t, kTableColumns> widths{};
    const auto widen = [&widths](const TableRow& row) {
        for (std::size_t column = 0; column < kTableColumns; ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    };
    const auto write = [&widths, &output](const TableRow& row) {
        std::string& out = output.buffer();
        for (std::size_t column = 0; column < kTableColumns; ++column) {
            out.append((column > 0 ? 2 : 0) + widths[column] - row[column].size(), ' ');
            out.append(row[column]);
        }
        output.append("\n");
    };
    widen(headings);
    for (std::size_t i = 0; i < distribution.exactly.size(); ++i) {
        widen(ReadableRow(distribution, i, decimals));
    }
    write(headings);
    for (std::size_t i = 0; i < distribution.exactly.size(); ++i) {
        write(ReadableRow(distribution, i, decimals));
    }
}

// The chance of each outcome of a roll with "vs": a table of percentages to
// read, or fractions.
int OddsTable(const Expression& expression, const Options& options, Output& output) {
    const std::optional<alearo::dice::Odds> odds = alearo::dice::ExactOdds(expression);
    if (!odds) {
        return Fail("a chance of this roll is below 1e-300, too small to work out");
    }
    if (options.format != "table") {
        alearo::WriteOddsTable(expression, *odds,
                               options.format == "tsv" ? alearo::TableFormat::kTabSeparated
                                                       : alearo::TableFormat::kCommaSeparated,
                               [&output](std::string_view text) { output.append(text); });
        return 0;
    }
    const std::vector<alearo::dice::Verdict> verdicts = alearo::dice::PossibleVerdicts(expression);
    const std::vector<std::string> percents = alearo::OddsPercents(expression, *odds);
    output.append("Outcome  Chance\n");
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const std::string_view word = alearo::dice::VerdictText(verdicts[i]);
        std::string& out = output.buffer();
        out.append(7 - word.size(), ' ').append(word).append("  ").append(percents[i]);
        output.append("\n");
    }
    return 0;
}

// The chances of the expression in the format asked for; 2 when a single
// total asked for lies too far past the end of a side without end.
int Chances(const Expression& expression, const Options& options, Output& output) {
    if (expression.versus() && options.single.empty()) {
        return OddsTable(expression, options, output);
    }
    if (!options.single.empty()) {
        const int total = options.singleTotal;
        const alearo::TotalDistribution distribution =
            alearo::dice::ExactChances(expression, alearo::dice::TotalRange{total, total});
        if (!distribution.knows(total)) {
            const std::string what = options.single == "--at-least"  ? "at least "
                                     : options.single == "--at-most" ? "at most "
                                                                     : "exactly ";
            return Fail("the chance of " + what + std::to_string(total) +
                        " is below 1e-300, too small to work out");
        }
        const alearo::dice::Chance chance =
            options.single == "--at-least"  ? distribution.chanceAtLeast(total)
            : options.single == "--at-most" ? distribution.chanceAtMost(total)
                                            : distribution.chanceOf(total);
        output.append(alearo::ChanceFraction(chance, distribution.relativeError) + "\n");
        return 0;
    }
    const alearo::TotalDistribution distribution = alearo::dice::ExactChances(expression);
    if (options.format == "table") {
        ReadableTable(distribution, output);
        return 0;
    }
    alearo::WriteTable(distribution, nullptr,
                       options.format == "tsv" ? alearo::TableFormat::kTabSeparated
                                               : alearo::TableFormat::kCommaSeparated,
                       [&output](std::string_view text) { output.append(text); });
    return 0;
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

int Write(const std::string& text) {
    Output output;
    output.append(text);
    return output.finish();
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
    if (!parsed.ok()) {
        return FailExpression(*options.expression, parsed.error);
    }
    Output output;
    if (options.command == "roll") {
        Rolls(*parsed.expression, options, output);
    } else if (const int status = Chances(*parsed.expression, options, output); status != 0) {
        return status;
    }
    return output.finish();
}
