// The log of outside effects: everything the phone would show a person that
// the platform does on its own behalf (the screen put to sleep, a
// notification of the inbox service, a call placed, a window of the
// messaging application opened, a message box). The platform appends to it
// as it acts; the emulator reads it back for its state report. It is kept
// in the device (effects.db), so several processes append to one log and it
// outlives a session; a fresh device starts with an empty log.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The kinds of effects and the fields each carries.
namespace effect {
// The display went dark or lit again: "on" (bool).
inline constexpr std::string_view kScreen = "screen";
// The inbox service showed its own notification for a message no rule
// client took over: "class" (text), "sender" (text).
inline constexpr std::string_view kStandardNotification = "standard_notification";
// A call placed through the telephony call request: "number" (text, as passed).
inline constexpr std::string_view kCall = "call";
// A window of the messaging application opened: "app" (text: "composer",
// "reader", "inbox") and what applies to it of "to", "account", "class"
// (text) and "entry" (text, the entry identifier in hex).
inline constexpr std::string_view kOpened = "opened";
// A message box shown: "caption", "text" (text), "icon" (number). Its close
// is an effect of its own, kMessageBoxClosed with "box" (number), the id
// of the kMessageBox effect, so that the log is only ever appended to.
inline constexpr std::string_view kMessageBox = "message_box";
inline constexpr std::string_view kMessageBoxClosed = "message_box_closed";
}  // namespace effect

struct EffectField {
    enum class Type { Number, Bool, Text };
    std::string name;
    Type type = Type::Number;
    int64_t number = 0;  // Number, and Bool as 0 or 1
    std::u16string text;

    static EffectField Number(std::string name, int64_t value) { return {std::move(name), Type::Number, value, {}}; }
    static EffectField Bool(std::string name, bool value) { return {std::move(name), Type::Bool, value ? 1 : 0, {}}; }
    static EffectField Text(std::string name, std::u16string value) {
        return {std::move(name), Type::Text, 0, std::move(value)};
    }
};

struct Effect {
    int64_t id = 0;  // grows with every effect of the device
    std::string kind;
    std::vector<EffectField> fields;  // in the order they were given

    // The field of that name, or null.
    const EffectField* Field(std::string_view name) const;
};

// Appends an effect, in one transaction; its id, or 0 when the device has
// no log to write to (no device open, or the store cannot be written).
int64_t AppendEffect(std::string_view kind, const std::vector<EffectField>& fields = {});

// The effects of that kind (every kind for an empty one) with an id above
// after, oldest first. False when the log cannot be read (a device without
// a log yet reads as empty).
bool ReadEffects(std::vector<Effect>* effects, std::string_view kind = {}, int64_t after = 0);

// The newest effect of that kind with an id above after, if any.
std::optional<Effect> LastEffect(std::string_view kind, int64_t after = 0);
// How many effects of that kind have an id above after.
int CountEffects(std::string_view kind, int64_t after = 0);

// The id of the newest effect when this process first used the device's
// log: effects above it are this session's.
int64_t SessionStartEffect();

}  // namespace host
