// corractl state: everything the program can set on the card, its effects
// engine and its mixer, saved to a text file of named settings and restored
// from one (or from the [Card] section of the program's settings file).
#pragma once

#include <string>
#include <vector>

namespace corractl {

// The usage lines of the command, for corractl's help.
extern const char kStateHelp[];

// Runs "state ARGS…" (the words after "state"); out holds what goes to
// standard output (a state saved without FILE), err the messages. `input`
// stands for standard input (restore without FILE). Exit status: 0 all of it
// saved or written, 1 a part of it, 2 nothing, a bad file or a bad argument.
int RunState(const std::vector<std::wstring>& args, const std::string& input, std::string& out, std::string& err);

// corractl's entry: the words from the process's wide command line.
int StateMain();

}  // namespace corractl
