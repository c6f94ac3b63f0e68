#include "StateReport.h"

#include "Json.h"
#include "ScreenLines.h"
#include "StateDialog.h"
#include "StateWindows.h"

#include <cemapi_host.h>
#include <coredll_host.h>
#include <effect_log.h>
#include <inbox_host.h>
#include <screen_host.h>
#include <shell_host.h>

#include <algorithm>
#include <cstdio>

namespace phone {

namespace {

std::string Hex(const std::vector<BYTE>& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (BYTE b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

// The fields of a logged effect as the members of an object.
void WriteFields(JsonWriter& json, const host::Effect& effect) {
    for (const host::EffectField& field : effect.fields) {
        json.Key(field.name);
        switch (field.type) {
            case host::EffectField::Type::Number:
                json.Number(field.number);
                break;
            case host::EffectField::Type::Bool:
                json.Bool(field.number != 0);
                break;
            case host::EffectField::Type::Text:
                json.String(field.text);
                break;
        }
    }
}

std::vector<host::Effect> Effects(std::string_view kind) {
    std::vector<host::Effect> effects;
    host::ReadEffects(&effects, kind);
    return effects;
}

void WriteCalls(JsonWriter& json) {
    json.BeginArray();
    for (const host::Effect& call : Effects(host::effect::kCall)) {
        const host::EffectField* number = call.Field("number");
        json.String(number ? number->text : std::u16string());
    }
    json.EndArray();
}

void WriteOpened(JsonWriter& json) {
    json.BeginArray();
    for (const host::Effect& opened : Effects(host::effect::kOpened)) {
        json.BeginObject();
        WriteFields(json, opened);
        json.EndObject();
    }
    json.EndArray();
}

// A box is open until the log says it was closed.
void WriteMessageBoxes(JsonWriter& json) {
    std::vector<int64_t> closed;
    for (const host::Effect& close : Effects(host::effect::kMessageBoxClosed))
        if (const host::EffectField* box = close.Field("box")) closed.push_back(box->number);
    json.BeginArray();
    for (const host::Effect& box : Effects(host::effect::kMessageBox)) {
        json.BeginObject();
        WriteFields(json, box);
        json.Key("open").Bool(std::find(closed.begin(), closed.end(), box.id) == closed.end());
        json.EndObject();
    }
    json.EndArray();
}

// Counted over this session, as the inbox service of the session showed them.
int StandardNotifications() {
    return host::CountEffects(host::effect::kStandardNotification, host::SessionStartEffect());
}

void WriteMessages(JsonWriter& json, host::MessageFolder folder) {
    json.BeginArray();
    for (const host::StoredMessage& m : host::ListMessages(folder)) {
        json.BeginObject()
            .Key("entry")
            .String(Hex(m.entry))
            .Key("class")
            .String(m.messageClass)
            .Key("subject")
            .String(m.subject)
            .Key("sender")
            .String(m.senderAddress)
            .Key("name")
            .String(m.senderName)
            .Key("read")
            .Bool(m.read)
            .EndObject();
    }
    json.EndArray();
}

void WriteLastRule(JsonWriter& json) {
    host::RuleResult rule = host::LastRuleResult();
    if (!rule.called) {
        json.Null();
        return;
    }
    json.BeginObject().Key("event");
    if (rule.eventType)
        json.Number(*rule.eventType);
    else
        json.Null();
    json.Key("handled");
    if (rule.handled)
        json.Number(*rule.handled);
    else
        json.Null();
    json.EndObject();
}

const char* HandledName(int handled) {
    switch (handled) {
        case 0:
            return "MRC_NOT_HANDLED";
        case 1:
            return "MRC_HANDLED_CONTINUE";
        case 2:
            return "MRC_HANDLED_DONTCONTINUE";
    }
    return "?";
}

void AppendMessages(std::string& text, const char* title, host::MessageFolder folder) {
    std::vector<host::StoredMessage> messages = host::ListMessages(folder);
    text += std::string(title) + " (" + std::to_string(messages.size()) + "):\n";
    int n = 0;
    // Appended piece by piece: a full inbox makes a long report.
    for (const host::StoredMessage& m : messages) {
        text += "  ";
        text += std::to_string(++n);
        text += m.read ? ". read   " : ". unread ";
        text += Printable(m.messageClass);
        text += " from ";
        text += Printable(m.senderAddress);
        if (!m.senderName.empty() && m.senderName != m.senderAddress) {
            text += " (";
            text += Printable(m.senderName);
            text += ")";
        }
        text += ": ";
        text += Printable(m.subject);
        text += "\n";
    }
}

// The desktop window that shows the session; null when none does.
void WriteWindow(JsonWriter& json, const Session& session) {
    if (!session.windowReport()) {
        json.Null();
        return;
    }
    const WindowReport window = session.windowReport()();
    json.BeginObject()
        .Key("scale")
        .Number(window.scale)
        .Key("frames")
        .Number(static_cast<int64_t>(window.frames))
        .Key("repaints")
        .Number(static_cast<int64_t>(window.repaints))
        .Key("behind")
        .Bool(window.behind)
        .Key("repaint_us")
        .Number(window.repaintMicroseconds)
        .EndObject();
}

std::string WindowText(const Session& session) {
    if (!session.windowReport()) return "";
    const WindowReport window = session.windowReport()();
    return "window: scale " + std::to_string(window.scale) + ", " + std::to_string(window.frames) + " frames, " +
           std::to_string(window.repaints) + " for changes of the screen, the last on the desktop " +
           std::to_string(window.repaintMicroseconds) + " µs after its change" +
           (window.behind ? "; one more to come" : "") + "\n";
}

}  // namespace

// A message's text on one line of the report: control characters (line
// breaks, escape sequences, the C1 controls some terminals obey) are shown
// as escapes, so that a text can neither fake entries nor drive the terminal.
std::string Printable(const std::u16string& text) {
    auto plainCharacter = [](char16_t c) { return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F); };
    // Most texts have nothing to escape: converted at once.
    if (std::all_of(text.begin(), text.end(), plainCharacter)) return host::ToUtf8(text);
    std::string out;
    std::u16string plain;
    auto flush = [&] {
        out += host::ToUtf8(plain);
        plain.clear();
    };
    for (char16_t c : text) {
        if (plainCharacter(c)) {
            plain += c;
            continue;
        }
        flush();
        if (c == u'\n')
            out += "\\n";
        else if (c == u'\r')
            out += "\\r";
        else if (c == u'\t')
            out += "\\t";
        else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(c));
            out += escape;
        }
    }
    flush();
    return out;
}

std::string StateAsJson(const Session& session) {
    JsonWriter json;
    json.BeginObject();
    WriteScreenState(json);
    json.Key("last_rule");
    WriteLastRule(json);
    json.Key("bubble");
    WriteBubble(json);
    json.Key("home").BeginObject().Key("unread").Number(host::UnreadCount()).EndObject();
    json.Key("inbox");
    WriteMessages(json, host::MessageFolder::Inbox);
    json.Key("deleted");
    WriteMessages(json, host::MessageFolder::DeletedItems);
    json.Key("calls");
    WriteCalls(json);
    json.Key("opened");
    WriteOpened(json);
    json.Key("message_boxes");
    WriteMessageBoxes(json);
    json.Key("soft_keys");
    WriteSoftKeys(json);
    json.Key("popup");
    WritePopup(json);
    json.Key("dialog");
    WriteDialog(json);
    json.Key("toolkit");
    WriteToolkit(json);
    json.Key("standard_notifications").Number(StandardNotifications());
    json.Key("window");
    WriteWindow(json, session);
    json.EndObject();
    return json.str();
}

std::string StateAsText(const Session& session) {
    std::string text = ScreenStateText();
    host::RuleResult rule = host::LastRuleResult();
    if (!rule.called) {
        text += "last rule: none\n";
    } else {
        char event[32] = "none";
        if (rule.eventType) std::snprintf(event, sizeof event, "0x%02X", static_cast<unsigned>(*rule.eventType));
        text += std::string("last rule: event ") + event + ", handled " +
                (rule.handled ? std::to_string(*rule.handled) + " (" + HandledName(*rule.handled) + ")"
                              : "not written") +
                "\n";
    }
    text += WindowsStateText();
    text += DialogStateText();
    text += "home screen: " + std::to_string(host::UnreadCount()) + " unread\n";
    AppendMessages(text, "inbox", host::MessageFolder::Inbox);
    AppendMessages(text, "deleted", host::MessageFolder::DeletedItems);
    text += "standard notifications: " + std::to_string(StandardNotifications()) + "\n";
    text += WindowText(session);
    return text;
}

}  // namespace phone
