// Turning command words into values: numbers as the protocol carries them
// and the words of a scenario line.
#ifndef LVSEND_ARGUMENTS_H
#define LVSEND_ARGUMENTS_H

#include <windows.h>

#include <string>
#include <vector>

typedef std::vector<std::string> Words;

// A 32-bit value written in decimal or with 0x in hex, optionally negative:
// "12", "0x0C", "-1" and "0xFFFFFFFF" are all accepted; -1 and 0xFFFFFFFF
// give the same bits. False for anything else, or out of 32 bits.
bool ParseNumber(const std::string& word, DWORD* value);

// Splits a scenario line into words at blanks and tabs. Double quotes
// group words ("Rapport annuel.doc"); a word starting with '#' outside
// quotes begins a comment. False, with a reason, for an unclosed quote.
bool SplitLine(const std::string& line, Words* words, std::string* error);

#endif
