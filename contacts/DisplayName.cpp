#include "DisplayName.h"

#include "OwnedBstr.h"

namespace {

struct SuffixEntry {
    CEPROPID propId;
    LPCWSTR suffix;
};

const SuffixEntry kSuffixes[] = {
    {PIMPR_MOBILE_TELEPHONE_NUMBER, TEXT(",m")},     {PIMPR_BUSINESS_TELEPHONE_NUMBER, TEXT(",b")},
    {PIMPR_BUSINESS2_TELEPHONE_NUMBER, TEXT(",b2")}, {PIMPR_HOME_TELEPHONE_NUMBER, TEXT(",h")},
    {PIMPR_HOME2_TELEPHONE_NUMBER, TEXT(",h2")},     {PIMPR_PAGER_NUMBER, TEXT(",p")},
    {PIMPR_CAR_TELEPHONE_NUMBER, TEXT(",c")},        {PIMPR_RADIO_TELEPHONE_NUMBER, TEXT(",r")},
    {PIMPR_COMPANY_TELEPHONE_NUMBER, TEXT(",co")},   {PIMPR_ASSISTANT_TELEPHONE_NUMBER, TEXT(",a")},
};

bool AppendText(TextBuffer& buffer, LPCWSTR text) { return buffer.Append(text, static_cast<int>(wcslen(text))); }

bool AppendBstr(TextBuffer& buffer, const OwnedBstr& text) { return buffer.Append(text.Text(), text.Length()); }

}  // namespace

LPCWSTR NumberTypeSuffix(CEPROPID propId) {
    for (const SuffixEntry& entry : kSuffixes)
        if (entry.propId == propId) return entry.suffix;
    return nullptr;
}

// A part that cannot be read (the store out of memory) fails the name: a
// name short of a part would be written into the message as the contact's.
bool FormatContactName(IContact* contact, BOOL lastNameFirst, BOOL useFileAs, TextBuffer& name) {
    if (!contact) return !name.Failed();
    if (useFileAs) {
        OwnedBstr fileAs;
        if (FAILED(contact->get_FileAs(fileAs.Receive()))) return false;
        return AppendBstr(name, fileAs);
    }

    OwnedBstr first, last;
    if (FAILED(contact->get_FirstName(first.Receive())) || FAILED(contact->get_LastName(last.Receive()))) return false;
    if (first.Length() == 0 && last.Length() == 0) {
        OwnedBstr company;
        if (FAILED(contact->get_CompanyName(company.Receive()))) return false;
        return AppendBstr(name, company);
    }

    const OwnedBstr& leading = lastNameFirst ? last : first;
    const OwnedBstr& trailing = lastNameFirst ? first : last;
    AppendBstr(name, leading);
    if (leading.Length() > 0 && trailing.Length() > 0) name.AppendChar(TEXT(' '));
    return AppendBstr(name, trailing);
}

bool BuildDisplayName(IContact* contact, CEPROPID propId, LPCWSTR number, int numberLength, const Settings& settings,
                      TextBuffer& displayName) {
    const int start = displayName.Length();
    if (!FormatContactName(contact, settings.LastNameFirst, settings.UseFileAs, displayName)) return false;
    // The suffix alone would stand for the number and lose it: without a
    // name part and without the number there is nothing to show.
    if (displayName.Length() == start && !settings.ShowNumber) return displayName.Append(nullptr, 0);
    if (settings.AppendNumberType) {
        LPCWSTR suffix = NumberTypeSuffix(propId);
        if (suffix) AppendText(displayName, suffix);
    }
    if (settings.ShowNumber) {
        AppendText(displayName, TEXT(" ("));
        displayName.Append(number, numberLength);
        displayName.AppendChar(TEXT(')'));
    }
    // An empty name still makes a text, so that the number can be replaced by it.
    displayName.Append(nullptr, 0);
    return !displayName.Failed();
}
