#include "state/app_settings.h"

AppSettings appSettings;
