// F1's lookup: the help topic of the control that has the focus, from a
// window's table of its controls' topics.
#ifndef LUMEVIEW_HELP_TOPIC_LOOKUP_H
#define LUMEVIEW_HELP_TOPIC_LOOKUP_H

#include <windows.h>

#include <stddef.h>

struct ControlTopic {
    int control;
    DWORD topic;
};

// The topic of `control` in the table, or `otherwise` when it has none.
template <size_t N>
DWORD HelpTopicOf(const ControlTopic (&table)[N], int control, DWORD otherwise)
{
    for (const ControlTopic& entry : table) {
        if (entry.control == control)
            return entry.topic;
    }
    return otherwise;
}

#endif
