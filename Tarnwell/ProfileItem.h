// The item data of an entry of the profile list: the profile's registry key
// name, which is what the settings keep (the display name may change with
// the language).
#pragma once

#include "WString.h"

struct ProfileItem {
    WString KeyName;
};
