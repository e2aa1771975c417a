// Scenario files: one lvsend command a line, `wait MS` between them,
// '#' comments, UTF-8 text.
#ifndef LVSEND_SCENARIO_H
#define LVSEND_SCENARIO_H

#include <string>

#include "options.h"

// Runs the lines in order and stops at the first that fails, naming its
// file and line in the error.
int PlayScenario(const Options& options, const std::string& path, int depth);

#endif
