// The status text of the panel at rest.
#ifndef LUMEVIEW_IDLE_TEXT_H
#define LUMEVIEW_IDLE_TEXT_H

// "Disponible": shown after a reset, and the caption of an ended operation.
extern const char* const textAvailable;

#endif
