// The lookup of a phone number in the device's contact store. The rule
// client does not compare numbers itself: it hands the number as written,
// less its spaces and a leading "+", to the store's own caller-id matching
// (FindMatchingContact) and takes the answer as it comes.
#pragma once

#include "ComRef.h"
#include "NumberFinder.h"

#include <windows.h>
#include <pimstore.h>

// One logged-on connection to the contact store, for one rewriting pass;
// nothing is kept between passes. Closed (Logoff, Release) when it goes.
class ContactStoreConnection {
public:
    ContactStoreConnection() = default;
    ~ContactStoreConnection() { Close(); }
    ContactStoreConnection(const ContactStoreConnection&) = delete;
    ContactStoreConnection& operator=(const ContactStoreConnection&) = delete;

    // Creates the application object and logs on. On a failure the object,
    // if it was created, is kept for Close, but the connection is unusable.
    HRESULT Open();
    // Logoff (even after a failed Logon), then Release; safe to repeat.
    void Close();

    bool IsUsable() const { return usable_; }
    IPOutlookApp* App() const { return app_.Get(); }

private:
    ComRef<IPOutlookApp> app_;
    bool usable_ = false;
};

// A number that belongs to a contact.
struct ContactMatch {
    ComRef<IContact> contact;
    CEPROPID propId = 0;  // the phone property that matched
};

// The lookup key of a number: its characters from lookupStart to end,
// without spaces, in a LocalAlloc'd text (null when memory ran out).
LPWSTR BuildLookupKey(LPCWSTR text, const NumberSpan& span);

// True with the contact when the store answers exactly S_OK with an item
// that is a contact; any other answer means no contact has the number.
bool FindContactByNumber(const ContactStoreConnection& connection, LPCWSTR key, ContactMatch* match);
