// A dialog template (DLGTEMPLATE, not DIALOGEX) read from the bytes of a
// resource, field by field, as the dialog manager reads it.
#ifndef LUMEVIEW_TEST_DIALOG_TEMPLATE_H
#define LUMEVIEW_TEST_DIALOG_TEMPLATE_H

#include <windows.h>

#include <string>
#include <vector>

#include "resource_reader.h"

struct ParsedControl {
    int id = 0;
    std::string cls;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    WORD extra = 0;
};

struct ParsedDialog {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, cls, caption;
    WORD points = 0;
    std::string face;
    std::vector<ParsedControl> controls;
    bool complete = false;   // every byte read within the resource
    DWORD unreadBytes = 0;

    const ParsedControl* Find(int id) const
    {
        for (const ParsedControl& c : controls)
            if (c.id == id)
                return &c;
        return nullptr;
    }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const ParsedControl& c : controls)
            ids.push_back(c.id);
        return ids;
    }
};

// A DIALOGEX template is only marked `extended`, not read.
ParsedDialog ReadDialog(Bytes bytes);

#endif
