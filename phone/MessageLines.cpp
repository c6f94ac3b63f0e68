// Scenario lines about messages: arrivals, and the messaging application's
// read, unread and delete.
#include "ScenarioLines.h"

#include <cemapi_host.h>
#include <coredll_host.h>
#include <inbox_host.h>
#include <screen_host.h>

namespace phone {

namespace {

void Deliver(const host::ArrivingMessage& message) {
    std::string error;
    if (!host::DeliverArrivingMessage(message, &error)) throw LineError(error);
    host::WaitForIdle();
}

host::EntryId InboxEntry(const std::vector<std::string>& args, const char* command) {
    if (args.size() != 1) throw LineError(std::string("usage: ") + command + " N (1 = the newest inbox message)");
    int n = LineNumberArgument(args[0], "message number", 1, 1000000);
    host::EntryId entry = host::NthNewestMessage(host::MessageFolder::Inbox, n);
    if (!entry.empty()) return entry;
    host::FolderCounts inbox;
    if (!host::GetFolderCounts(host::MessageFolder::Inbox, &inbox)) throw LineError("cannot read the inbox");
    throw LineError("the inbox holds " + std::to_string(inbox.count) + (inbox.count == 1 ? " message" : " messages") +
                    ", not " + std::to_string(n));
}

}  // namespace

void SmsLine(Session&, const std::vector<std::string>& args) {
    if (!(args.size() == 2 || (args.size() == 4 && args[2] == "name")))
        throw LineError("usage: sms FROM TEXT [name NAME]");
    host::ArrivingMessage message;
    message.messageClass = u"IPM.SMStext";
    message.senderAddress = host::FromUtf8(args[0]);
    message.text = host::FromUtf8(args[1]);
    if (args.size() == 4) message.senderName = host::FromUtf8(args[3]);
    if (message.senderAddress.empty()) throw LineError("the sender address is empty");
    Deliver(message);
}

void ReportLine(Session&, const std::vector<std::string>& args) {
    if (!(args.size() == 2 || (args.size() == 3 && args[2] == "failed")))
        throw LineError("usage: report FROM TEXT [failed]");
    host::ArrivingMessage message;
    message.messageClass = args.size() == 3 ? u"REPORT.IPM.SMStext.NDR" : u"REPORT.IPM.SMStext.DR";
    message.senderAddress = host::FromUtf8(args[0]);
    message.text = host::FromUtf8(args[1]);
    if (message.senderAddress.empty()) throw LineError("the sender address is empty");
    Deliver(message);
}

// What the change caused (a bubble that the watcher takes down, say) has
// been handled before the next line: a later arrival cannot meet it.
void ReadLine(Session&, const std::vector<std::string>& args) {
    if (!host::SetMessageRead(InboxEntry(args, "read"), true)) throw LineError("cannot mark the message read");
    host::WaitForIdle();
}

void UnreadLine(Session&, const std::vector<std::string>& args) {
    if (!host::SetMessageRead(InboxEntry(args, "unread"), false)) throw LineError("cannot mark the message unread");
    host::WaitForIdle();
}

void DeleteLine(Session&, const std::vector<std::string>& args) {
    if (!host::DeleteMessage(InboxEntry(args, "delete"))) throw LineError("cannot delete the message");
    host::WaitForIdle();
}

}  // namespace phone
