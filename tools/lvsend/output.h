// What lvsend prints: results on stdout in UTF-8, one-line errors on stderr.
#ifndef LVSEND_OUTPUT_H
#define LVSEND_OUTPUT_H

#include <windows.h>

#include <string>

// Exit codes.
enum ExitCode {
    ExitOk = 0,
    ExitUsage = 1,       // unknown command, wrong arguments, not a number
    ExitNoMonitor = 2,   // no monitor window, or it did not answer in time
    ExitFailure = 3,     // registry, file or process start failed
};

// Makes stdout and stderr carry bytes unchanged (no CR added) and asks a
// console to show UTF-8; the console's own code page comes back at exit.
void PrepareOutput();

// Prints one line on stdout, flushed at once so that a reader of a pipe
// sees it while lvsend keeps running.
void PrintLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Prints "lvsend: [where: ]message" on stderr and returns code. The
// message is made of code page 1252 texts (arguments, paths, words of a
// scenario) and is written as UTF-8, its control characters escaped as
// WithoutControls does.
int Fail(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Set while a scenario runs, e.g. "job.txt:12"; empty otherwise.
void SetErrorPlace(const std::string& place);

std::string Utf8FromWide(const wchar_t* text, int length);
std::string Utf8FromCp1252(const std::string& text);
// Scenario files are UTF-8; a line that is not valid UTF-8 is taken as
// code page 1252 already. False, with the character as "U+0416" in *bad,
// when a character has no form in code page 1252 (no near one stands in).
bool Cp1252FromUtf8(const std::string& text, std::string* out, std::string* bad);

// A UTF-8 text in double quotes with \n, \r, \t, \" and \\ escaped, so that
// blanks and line feeds stay visible on one line; every other control
// character is written \xNN (\u00NN for C1), never sent to the terminal.
std::string Quoted(const std::string& utf8);
// The same escapes without the quotes, '"' and '\' left as they are: for
// error lines, whose paths keep their backslashes.
std::string WithoutControls(const std::string& utf8);

#endif
