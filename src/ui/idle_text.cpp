#include "ui/idle_text.h"

const char* const textAvailable = "Disponible";
