// The user's settings: one record, one registry value per field, shared by
// the rule client (which reads it afresh for every message) and the settings
// program (which writes it).
#pragma once

#include "WString.h"

#include <windows.h>

// HKEY_LOCAL_MACHINE\Software\Orvane\Lumenrest
#define SETTINGS_KEY TEXT("Software\\Orvane\\Lumenrest")

struct Settings {
    LONG ShowNumber = 1;               // a replaced number is followed by the number in parentheses
    LONG LastNameFirst = 1;            // contact names are built last name first
    LONG AppendNumberType = 1;         // the kind of the matched number follows the name
    LONG SMS = 1;                      // numbers in ordinary text messages are replaced by names
    LONG Disable = 0;                  // the rule client does nothing
    LONG ShowDR = 0;                   // delivery reports are announced in the bubble
    LONG MarkDRAsRead = 1;             // delivery reports are marked read on arrival
    LONG DeleteDR = 0;                 // delivery reports are moved to Deleted Items on arrival
    LONG ShowBubbles = 1;              // incoming messages are announced in the bubble
    LONG UseFileAs = 1;                // the contact's file-as name is its display name
    LONG PhoneNumLen = 7;              // minimum length of a run of characters taken for a number
    LONG UseCustomText = 0;            // a delivered report's text is replaced by CustomText
    WString CustomText;                // its first "@s" stands for the contact's name
    WString ExcludeProfile;            // registry key name of a sound profile
    LONG TurnOffScreen = 0;            // screen to sleep on arrival while ExcludeProfile is active
    LONG DisableBubblesInProfile = 0;  // no bubble while ExcludeProfile is active
};

// Reads the record from the registry; false (record unchanged) when the key
// cannot be opened. Missing flags keep their values; missing texts empty.
bool LoadSettings(Settings& settings);

// Writes every value of the record; false, with the key as it was, when the
// key cannot be created or a value cannot be written.
bool SaveSettings(const Settings& settings);
