// What all the programs share: the dialogue on a pipe and on a terminal,
// failing streams, and indifference to arguments and locale.
#include "run.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

struct Program {
    const char* name;
    std::string_view prompt;
    std::string_view input;   // a typical answer, one line
    std::string_view report;  // what is printed for it
    std::string_view zeros;   // what is printed when no number is read
};

const Program programs[] = {
    {"trigab", "3 числа через пробел: ", "1 2 3\n", "a: 1.339518\nb: 2.875000",
     "a: 3.464102\nb: 1.000000"},
    {"rtriangle", "Длины двух катетов через пробел: ", "3 4\n",
     "Гипотенуза: 5.000000\nПлощадь: 6.000000", "Гипотенуза: 0.000000\nПлощадь: 0.000000"},
    {"cubecalc", "Дана длина ребра куба: ", "3\n", "Объем: 27\nПлощадь боковой поверхности: 36",
     "Объем: 0\nПлощадь боковой поверхности: 0"},
};

std::string cat(std::string_view a, std::string_view b, std::string_view c = {})
{
    return std::string(a).append(b).append(c);
}

TEST(Programs, PipeDialogue)
{
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        // The input is held back until the prompt arrives: a prompt left in
        // the buffer while the program reads would hang here.
        expect_success(run(p.name, p.input, {.await = p.prompt}), cat(p.prompt, p.report));
    }
}

TEST(Programs, TerminalDialogue)
{
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        // The terminal echoes the typed line; the cursor stays after the last digit.
        expect_success(run(p.name, p.input, {.terminal = true, .await = p.prompt}),
                       cat(p.prompt, on_terminal(p.input), on_terminal(p.report)));
    }
}

TEST(Programs, ArgumentsAreIgnored)
{
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        expect_success(run(p.name, p.input, {.args = {"--help", "-", "7"}}), cat(p.prompt, p.report));
    }
}

TEST(Programs, StreamErrorsFailTheRun)
{
    struct Failure {
        Options options;
        bool prints;  // whether standard output still shows the dialogue
        std::string_view message;
    };
    std::string file = testing::TempDir() + "out-XXXXXX";
    const int made = mkstemp(file.data());
    ASSERT_NE(made, -1);
    close(made);
    const Failure failures[] = {
        {{.stdout_path = "/dev/full"}, false, "write error: No space left on device"},
        // Room for the longest prompt, not for any report.
        {{.stdout_path = file.c_str(), .file_size_limit = 60}, false, "write error: File too large"},
        {{.close_stdout = true}, false, "write error: Bad file descriptor"},
        // A read error is not end of input: the report still comes, from zeros.
        {{.stdin_path = "/"}, true, "read error: Is a directory"},
        {{.close_stdin = true}, true, "read error: Bad file descriptor"},
    };
    for (const auto& p : programs) {
        for (const auto& f : failures) {
            SCOPED_TRACE(cat(p.name, ": ", f.message));
            const auto r = run(p.name, p.input, f.options);
            EXPECT_EQ(r.out, f.prints ? cat(p.prompt, p.zeros) : "");
            EXPECT_EQ(r.err, cat(p.name, ": ", f.message).append("\n"));
            EXPECT_EQ(r.status, 1);
        }
    }
    std::filesystem::remove(file);
}

TEST(Programs, DecimalPointWhateverTheLocale)
{
    // A locale whose decimal separator is a comma, built here so that the
    // test does not depend on what the machine has installed.
    std::string dir = testing::TempDir() + "locale-XXXXXX";
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    const auto made = run("/usr/bin/localedef", "", {.args = {"-i", "ru_RU", "-f", "UTF-8", dir + "/ru_RU.UTF-8"}, .host_tool = true});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::vector<std::string> russian = {"LOCPATH=" + dir, "LC_ALL=ru_RU.UTF-8", "LANG=ru_RU.UTF-8"};
    const auto probe = run("/usr/bin/locale", "", {.args = {"decimal_point"}, .host_tool = true, .env = russian});
    ASSERT_EQ(probe.out, ",\n") << "the locale was not built";

    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        expect_success(run(p.name, p.input, {.env = russian}), cat(p.prompt, p.report));
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
