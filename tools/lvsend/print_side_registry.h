// The names the print side publishes for the monitor under
// HKEY_CLASSES_ROOT\PrinterService\StatusMonitor\Document.
#ifndef LVSEND_PRINT_SIDE_REGISTRY_H
#define LVSEND_PRINT_SIDE_REGISTRY_H

#include <string>

// Each returns an exit code and prints what it did.
int PublishDocumentName(const std::string& name);
int RemoveDocumentName();
int PublishPrinterName(const std::string& name);

#endif
