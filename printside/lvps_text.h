// Bounded text steps of the library, on the Windows API alone: the
// library brings no C or C++ runtime into the driver that links it.
#ifndef LVPS_TEXT_H
#define LVPS_TEXT_H

#include <windows.h>

namespace lvps {

// Whether text has at most maxLength characters; never reads past them.
bool FitsIn(const char* text, DWORD maxLength);

// Appends source at the end of target (a buffer of size bytes); false,
// with target unchanged, when the whole of source does not fit.
bool Append(char* target, DWORD size, const char* source);

// The module that holds the library: the driver's DLL or the program, so
// that the job window's class belongs to the code that serves it.
HINSTANCE OwnModule();

}  // namespace lvps

#endif
