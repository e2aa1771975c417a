// The commands of lvsend, one table for the command line and scenarios.
#ifndef LVSEND_COMMANDS_H
#define LVSEND_COMMANDS_H

#include <stdio.h>

#include "arguments.h"
#include "options.h"

// Runs one command; words[0] is its name. depth counts nested scenarios.
int RunCommand(const Options& options, const Words& words, int depth);

void PrintUsage(FILE* stream);

#endif
