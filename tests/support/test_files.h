// Whole files read and written as bytes.
#ifndef LUMEVIEW_TEST_TEST_FILES_H
#define LUMEVIEW_TEST_TEST_FILES_H

#include <string>

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

#endif
