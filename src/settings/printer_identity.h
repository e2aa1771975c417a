// The names the print side publishes under its registry key: the printer
// (with win.ini's default printer as fallback) and the document being
// printed.
#ifndef LUMEVIEW_PRINTER_IDENTITY_H
#define LUMEVIEW_PRINTER_IDENTITY_H

#include <stddef.h>

#include "state/setting_names.h"

// Name of the current printer into kPrinterNameSize bytes; returns 1.
int PrinterIdentity(char* out);

// Reads the document name the print side published; empty when it cannot
// be read or is longer than kDocumentNameReadSize - 1 characters, cut to
// the buffer when longer than that.
void ReadDocumentName(char* out, size_t size);

#endif
