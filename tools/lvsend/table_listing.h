// The status table as the program holds it, for integrators' documents.
#ifndef LVSEND_TABLE_LISTING_H
#define LVSEND_TABLE_LISTING_H

// One row per table row: category, code, code name, text and the state
// the report leads to; Markdown or tab-separated.
int PrintStatusTable(bool markdown);

#endif
