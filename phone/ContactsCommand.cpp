// phone contacts: importing vCard files into the device's contact store and
// listing what it holds.
#include "Cli.h"
#include "ContactsImport.h"
#include "Json.h"

#include <coredll_host.h>
#include <pimstore_host.h>

#include <cstdio>

namespace phone {

namespace {

// One line per contact: a name or a number must not break the line.
std::string OneLine(const std::u16string& text) {
    std::string out = host::ToUtf8(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return out;
}

std::string TextLine(const host::ContactRecord& c) {
    std::string line = OneLine(!c.fileAs.empty() ? c.fileAs : c.companyName);
    if (line.empty()) line = "(no name)";
    for (size_t i = 0; i < c.phones.size(); ++i)
        if (!c.phones[i].empty())
            line += std::string("\t") + host::kContactPhoneKinds[i].name + ": " + OneLine(c.phones[i]);
    return line;
}

std::string JsonLine(const host::ContactRecord& c) {
    JsonWriter json;
    json.BeginObject()
        .Key("oid")
        .Number(c.oid)
        .Key("file_as")
        .String(c.fileAs)
        .Key("first_name")
        .String(c.firstName)
        .Key("last_name")
        .String(c.lastName)
        .Key("company_name")
        .String(c.companyName)
        .Key("phones")
        .BeginObject();
    for (size_t i = 0; i < c.phones.size(); ++i) json.Key(host::kContactPhoneKinds[i].name).String(c.phones[i]);
    json.EndObject().EndObject();
    return json.str();
}

int Import(Args& args) {
    const std::string path = args.at(1, "FILE.vcf");
    args.ExpectAtMost(2);
    // The whole file is read before the device is touched.
    ContactsFile file = ReadContactsFile(path);
    OpenDeviceOrFail(args.device);
    size_t stored = StoreContacts(file);
    std::printf("imported %zu contact%s from %s\n", stored, stored == 1 ? "" : "s", path.c_str());
    return kExitOk;
}

int List(Args& args) {
    bool json = args.TakeFlag("--json");
    args.ExpectAtMost(1);
    OpenDeviceOrFail(args.device);
    std::vector<host::ContactRecord> contacts;
    if (!host::ListContacts(&contacts)) throw CommandError("cannot read the contact store of the device");
    for (const host::ContactRecord& c : contacts) std::printf("%s\n", (json ? JsonLine(c) : TextLine(c)).c_str());
    return kExitOk;
}

}  // namespace

int RunContacts(Args& args) {
    const std::string what = args.at(0, "contacts command (import or list)");
    if (what == "import") return Import(args);
    if (what == "list") return List(args);
    throw UsageError("unknown contacts command " + what + " (import or list)");
}

}  // namespace phone
