// Runs a built program the way a user or a script does: bytes in on standard
// input, every byte it writes captured, and how it ended.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Outcome {
    std::string out;  // standard output; on a terminal, all the terminal showed
    std::string err;
    int status = -1;  // exit status, 128 + signal, or -1 when it had to be killed
};

struct Options {
    // Standard input and output on a pseudo-terminal instead of pipes.
    bool terminal = false;
    // Hold the input back until the output holds this, as a person would.
    std::string_view await;
    // Standard input from this file, or closed, instead of the input given.
    const char* stdin_path = nullptr;
    bool close_stdin = false;
    // Standard output to this file, or closed, instead of captured.
    const char* stdout_path = nullptr;
    bool close_stdout = false;
    // Files may grow to this many bytes, and no further (RLIMIT_FSIZE).
    long file_size_limit = -1;
    std::vector<std::string> args;
    // A tool of this machine, never run under the emulator of the programs.
    bool host_tool = false;
    // NAME=value entries that take precedence over the inherited environment.
    std::vector<std::string> env;
};

// A program is one of the project's, found as $PROGRAMS/NAME/NAME and
// started under $LAUNCHER (an emulator, words separated by blanks) if set;
// or, with host_tool, a path to a tool of this machine.
Outcome run(const char* program, std::string_view input, const Options& options = {});

// What a terminal shows for text written to it: each line feed as CR LF.
std::string on_terminal(std::string_view text);

// A run that succeeded: exactly this output, nothing on standard error, status 0.
void expect_success(const Outcome& outcome, std::string_view out);
