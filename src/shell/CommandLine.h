#pragma once
// The program's two options, answered before any window or display exists. Every other
// argument is left to the GUI toolkit as before.

#include <string>

namespace CommandLine {

enum class Request { RunWindow, ShowVersion, ShowHelp };

// The first of --version or --help (-h) among the arguments; RunWindow when neither is there.
Request Parse(int argc, const char* const* argv);

// "tarvik-q5 5.3" and a line end.
std::string VersionText();

// The usage line, the options, the keys, the "Сервис" commands, the data folder and the
// preferences, and the environment the program reads.
std::string HelpText();

} // namespace CommandLine
