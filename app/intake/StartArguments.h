// The program's command line, read before anything else starts: a link to print, nothing (the settings
// window), --help or --version (printed here, with no display and without touching the data folder), or
// anything else, which is refused with a message and logged as a refused argument, not as a print job.
#pragma once

#include <optional>

// The exit code when the run ends with the command line (help or version printed: 0; an argument refused: 1),
// nothing when the program goes on with its link or its settings window. Version is the program's version.
std::optional<int> AnswerCommandLine(int argc, char** argv, const char* Version);
