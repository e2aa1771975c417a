// Reading back what the monitor's panel shows, from outside its process.
#ifndef LVSEND_PANEL_READER_H
#define LVSEND_PANEL_READER_H

#include <string>

#include "options.h"

// Prints the status text, the document name, the pages line, the buttons'
// state and the window's state, texts as UTF-8.
int ReadPanel(const Options& options);

// Clicks a button of the panel as a user would: close, help, cancel-job,
// options, queue or properties.
int PressPanelButton(const Options& options, const std::string& name);

#endif
