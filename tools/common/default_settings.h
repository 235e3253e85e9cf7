// The default settings file that ships beside the plug-in, built into the
// tools, so that they work wherever they are copied and can quote its values.
#pragma once

#include "config.h"

// The text of the shipped Ondrelle.ini.
extern const char kDefaultSettingsText[];

// Its values, read with the plug-in's own parser.
const Settings& default_settings();
