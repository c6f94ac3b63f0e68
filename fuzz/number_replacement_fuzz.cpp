// Numbers replaced by contact names in a text made from the input, over a
// fixed set of contacts in a temporary device's real contact store. The
// first byte chooses the settings and whether the text is a delivered
// report, the second is PhoneNumLen (as a signed byte). The result is
// bounded (the message and 65,536 characters), a text without a number
// never changes, and the settings record is left as it was.
#include "FuzzCheck.h"
#include "FuzzDevice.h"
#include "FuzzText.h"
#include "NumberFinder.h"
#include "NumberReplacement.h"

#include <objbase.h>
#include <pimstore_host.h>

#include <string>

namespace {

void Add(const std::u16string& first, const std::u16string& last, const std::u16string& company, CEPROPID kind,
         const std::u16string& number) {
    host::ContactRecord record;
    record.firstName = first;
    record.lastName = last;
    record.companyName = company;
    for (size_t i = 0; i < host::kContactPhoneKinds.size(); ++i)
        if (host::kContactPhoneKinds[i].propid == kind) record.phones[i] = number;
    FUZZ_CHECK(host::AddContact(record) != 0);
}

// Names as people store them, and as strangers might: markup, format
// specifiers, an "@s", no name at all, the longest name a contact holds,
// digits of another script, two numbers that agree on their last seven.
void AddContacts() {
    Add(u"Mirela", u"Dovanne", u"", PIMPR_MOBILE_TELEPHONE_NUMBER, u"89161234567");
    Add(u"", u"", u"Orvane Ltd", PIMPR_BUSINESS_TELEPHONE_NUMBER, u"+7 495 111-22-33");
    Add(u"%s%n <b>&'\"", u"@s", u"", PIMPR_HOME_TELEPHONE_NUMBER, u"1234567");
    Add(u"", u"", u"", PIMPR_PAGER_NUMBER, u"7654321");
    Add(std::u16string(host::kMaxContactText, u'L'), u"", u"", PIMPR_CAR_TELEPHONE_NUMBER, u"5550001");
    Add(u"\u0416\u0435\u043D\u044F", u"", u"", PIMPR_RADIO_TELEPHONE_NUMBER,
        u"\u0669\u0668\u0667\u0666\u0665\u0664\u0663");
    Add(u"Ana", u"", u"", PIMPR_HOME2_TELEPHONE_NUMBER, u"1112223334");
    Add(u"Ina", u"", u"", PIMPR_ASSISTANT_TELEPHONE_NUMBER, u"9992223334");
}

bool SameFlags(const Settings& a, const Settings& b) {
    return a.ShowNumber == b.ShowNumber && a.LastNameFirst == b.LastNameFirst &&
           a.AppendNumberType == b.AppendNumberType && a.UseFileAs == b.UseFileAs &&
           a.UseCustomText == b.UseCustomText && a.PhoneNumLen == b.PhoneNumLen;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseTemporaryDevice();
    FUZZ_CHECK(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    FUZZ_CHECK(host::RegisterContactStore());
    AddContacts();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    Settings settings;
    settings.ShowNumber = data[0] & 1;
    settings.LastNameFirst = (data[0] >> 1) & 1;
    settings.AppendNumberType = (data[0] >> 2) & 1;
    settings.UseFileAs = (data[0] >> 3) & 1;
    settings.UseCustomText = (data[0] >> 4) & 1;
    const BOOL deliveredReport = (data[0] >> 5) & 1;
    settings.PhoneNumLen = static_cast<int8_t>(data[1]);
    settings.CustomText = WString::FromText(u"Delivered to @s! %s %n @s");
    const Settings before = settings;

    std::u16string whole = fuzz::TextOf(data + 2, size - 2);
    const fuzz::ExactText text(whole.substr(0, whole.find(u'\0')), true);

    LPWSTR rewritten = reinterpret_cast<LPWSTR>(1);
    BOOL replaced = ReplaceNumbersWithNames(text.get(), settings, &rewritten, deliveredReport);
    FUZZ_CHECK(SameFlags(settings, before));
    if (!replaced) {
        FUZZ_CHECK(rewritten == nullptr);
        return 0;
    }
    NumberSpan span;
    FUZZ_CHECK(FindNextNumber(text.get(), text.length(), settings.PhoneNumLen, 0, &span));
    FUZZ_CHECK(rewritten != nullptr);
    FUZZ_CHECK(wcslen(rewritten) <= static_cast<size_t>(text.length()) + 65536);
    LocalFree(rewritten);
    return 0;
}
