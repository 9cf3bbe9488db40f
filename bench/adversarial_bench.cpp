// SPDX-License-Identifier: MIT
// Looks for the dice expressions that cost alearo-dice the most: each answer
// the terminal program gives, the chance of every total in each format and
// 10000 rolls listed die by die, run as a user runs it, in a process of its
// own whose time and peak memory are measured. First the expressions built to
// be costly, every limit at its maximum and every pair of modifiers on the
// largest dice allowed, then random ones for a fixed time. Prints the ten
// slowest answers with their peak memory.
//
//   alearo_adversarial_bench [--seconds S] [--seed N]
//
// Against the promise of a tenth of a second and 64 MB for every answer.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "dice/parse.h"

namespace {

struct Answer {
    std::vector<std::string> argv;
    std::string arguments;
    double milliseconds = 0.0;
    long kilobytes = 0;  // peak resident memory
    int status = 0;
};

// One run of the program with its output thrown away.
Answer Run(const std::vector<std::string>& arguments) {
    Answer answer;
    answer.argv = arguments;
    for (const std::string& argument : arguments) {
        answer.arguments += (answer.arguments.empty() ? "" : " ") + argument;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::vector<char*> argv{const_cast<char*>(ALEARO_DICE_PROGRAM)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(ALEARO_DICE_PROGRAM, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    answer.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    answer.kilobytes = usage.ru_maxrss;
    answer.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return answer;
}

// The answers asked of one expression.
void AskAll(const std::string& expression, std::vector<Answer>& answers) {
    if (!alearo::dice::ParseExpression(expression).ok()) {
        return;
    }
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"chances", "--", expression},
             {"chances", "--format", "csv", "--", expression},
             {"roll", "--times", "10000", "--verbose", "--", expression}}) {
        answers.push_back(Run(arguments));
    }
}

// Expressions built to cost the most: the largest sums, subtracted
// exploding dice, rerolls that leave one face, keeping and exploding the
// largest dice allowed, every pair of modifiers on them, and rolls against
// a target or an opponent.
std::vector<std::string> BuiltToCost() {
    std::vector<std::string> built = {
        "100d100",
        "10d1000",
        "100d1000+100d1000+100d1000+100d1000+100d1000",
        "100d1000+100d999+100d998+100d997+100d996",
        "50d1000+50d999+50d998+50d997+50d996+50d995+50d994+50d993+50d992+50d991",
        "100d1000r<500+100d999ro<500+100d998min200max800+100d997>=500+100d996r1",
        "100d100!kh50+100d99!kh50+100d98!kh50+100d97!kh50+100d96!kh50",
        "100d100!kl50+100d99!kl50+100d98!kl50+100d97!kl50+100d96!kl50",
        "100d100!dl1-100d99!dh1+100d98!r<50kh50-100d97!min20kl3+100d96!>=90",
        "100d100!kh50",
        "2d20!kh1",
        "10d100!kh3",
        "10d999+10d998+10d997+10d996+10d995+10d994+10d993+10d992+10d991+10d990",
        "100d100kh50",
        "100d100dl1",
        "100d100kh99",
        "100d100kl50",
        "100d100dh50",
        "100d100!",
        "50d2!-50d3!",
        "20d2!-20d3!+20d4!-20d5!+20d6!",
        "100d100r<100",
        "10d1000r<1000",
        "100d100ro<100",
        "100d100!r<100",
        "100d10!kh50",
        "100d10!dl1",
        "100d10!kl50",
        "100d8!kl50",
        "50d10!kl25",
        "20d10!kh10",
        "15d10!kh7",
        "50d10!kh25-50d10!kl25",
        "50d10!dh1+50d10!dl1",
        "17d10!kh8+17d10!kl8+16d10!dh1+50d100!",
        "28d4-9d1000+25d3!dh3+10d10>=5max4+28d10!r<6dh2",
        // A kept term whose law leaps at its top, beside one of a wide
        // range: its top end stays to the sums, and the other end to tilts
        // of its own.
        "100d2-100d4+100d3kl3-100d1000",
        "100d100kh50!-100d100kh50!+100d100kh50!-100d100kh50!+100d100kh50!",
        "100d100min50max60kh30",
        "100dF",
        "100d100>=50kh50",
        "100d100!>=100",
        "50d100!-50d100!",
        "1d100!-1d100!+1d100!-1d100!+1d100!",
        // Opposed rolls: the largest sums split between the sides, kept
        // exploding dice far apart, and a target far in a tail.
        "50d1000+50d999+50d998+50d997+50d996 vs 50d995+50d994+50d993+50d992+50d991",
        "100d1000+100d1000+100d1000 vs 100d1000+100d1000",
        "100d100!kh50+100d99!kh50+100d98!kh50 vs 100d97!kl50+100d96!kl50",
        "100d100!kh50+100d99!kh50 vs 100d98!kl50+100d97!kl50",
        "100d100!kl50 vs 100d100!kh50+100d100!",
        "100d100!-100d100! vs 100d100!-100d100!",
        "1d100! vs 100d100!+100d100!+100d100!+100d100!",
        "100d1000+100d1000+100d1000+100d1000+100d1000 vs 490000",
        "100d100!kh50+100d99!kh50+100d98!kh50+100d97!kh50+100d96!kh50 vs =9000",
    };
    const std::vector<std::string> modifiers = {"kh50",  "kl50",  "dl1",   "!",    "r<50",
                                                "ro<50", "min30", "max70", ">=50", "r1"};
    for (std::size_t i = 0; i < modifiers.size(); ++i) {
        for (std::size_t j = i + 1; j < modifiers.size(); ++j) {
            const std::string dice = "100d" + std::to_string(alearo::dice::kMaxSelectedFaces);
            built.push_back(dice + modifiers[i] + modifiers[j]);
            // Five such terms, the most dice allowed.
            std::string five;
            for (int t = 0; t < 5; ++t) {
                five +=
                    (t == 0 ? "" : (t % 2 == 0 ? "+" : "-")) + dice + modifiers[i] + modifiers[j];
            }
            built.push_back(five);
        }
    }
    return built;
}

// A random expression near the limits: up to ten terms of dice sharing the
// dice and faces allowed in all, with any modifiers.
std::string RandomCostly(std::mt19937_64& random) {
    const auto below = [&random](int bound) {
        return static_cast<int>(random() % static_cast<std::uint64_t>(bound));
    };
    static const int kFaces[] = {2, 3, 4, 6, 8, 10, 12, 20, 100, 1000};
    const int terms = 1 + below(alearo::dice::kMaxDiceTerms);
    int dice = alearo::dice::kMaxDiceInAll;
    int faces = alearo::dice::kMaxFacesInAll;
    std::string text;
    for (int t = 0; t < terms && dice > 0; ++t) {
        const int f = kFaces[below(10)];
        const int n = std::max(1, std::min({dice / (terms - t) + below(20), dice, faces / f,
                                            alearo::dice::kMaxDicePerTerm}));
        if (n < 1 || n * f > faces) {
            continue;
        }
        dice -= n;
        faces -= n * f;
        text += (text.empty() ? "" : (below(3) == 0 ? "-" : "+")) + std::to_string(n) + "d" +
                std::to_string(f);
        if (below(2) == 0) {
            text += "!";
        }
        const std::string choices[] = {"kh", "kl", "dl", "dh", "r<", "ro<", "min", "max", ">=", ""};
        for (int m = below(3); m > 0; --m) {
            const std::string& choice = choices[below(10)];
            text += choice + std::to_string(1 + below(std::max(1, std::min(n, f))));
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 20.0;
    std::uint64_t seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seconds") {
            seconds = std::atof(argv[i + 1]);
        } else if (option == "--seed") {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        }
    }
    std::vector<Answer> answers;
    for (const std::string& expression : BuiltToCost()) {
        AskAll(expression, answers);
    }
    std::mt19937_64 random(seed);
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int searched = 0;
    while (std::chrono::steady_clock::now() < until) {
        AskAll(RandomCostly(random), answers);
        ++searched;
    }
    const auto slowestFirst = [](const Answer& a, const Answer& b) {
        return a.milliseconds > b.milliseconds;
    };
    std::sort(answers.begin(), answers.end(), slowestFirst);
    // A machine that is busy for a moment slows any one run: the slowest
    // are timed again, each keeping its best of four runs.
    for (std::size_t i = 0; i < std::min<std::size_t>(40, answers.size()); ++i) {
        for (int again = 0; again < 3; ++again) {
            const Answer rerun = Run(answers[i].argv);
            answers[i].milliseconds = std::min(answers[i].milliseconds, rerun.milliseconds);
            answers[i].kilobytes = std::max(answers[i].kilobytes, rerun.kilobytes);
        }
    }
    std::sort(answers.begin(), answers.end(), slowestFirst);
    long most = 0;
    for (const Answer& answer : answers) {
        most = std::max(most, answer.kilobytes);
    }
    std::printf("%zu answers, %d random expressions; the most memory: %.1f MB\n\n", answers.size(),
                searched, static_cast<double>(most) / 1024.0);
    std::printf("| alearo-dice | time | peak memory |\n|---|---|---|\n");
    for (std::size_t i = 0; i < std::min<std::size_t>(10, answers.size()); ++i) {
        std::printf("| `%s` | %.0f ms | %.1f MB |\n", answers[i].arguments.c_str(),
                    answers[i].milliseconds, static_cast<double>(answers[i].kilobytes) / 1024.0);
    }
    return 0;
}
