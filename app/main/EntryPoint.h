#pragma once

// True when one of the arguments, the program name included, is exactly the option.
bool hasOption(int argc, char** argv, const char* option);

// The program: fills the settings defaults, creates the front-end the command line asks for
// and returns its exit code.
int runVeltmark(int argc, char** argv);
