// The log of outside effects: kept in the device, shared by processes,
// read back oldest first.
#include <TempDevice.h>
#include <coredll_host.h>
#include <effect_log.h>
#include <gtest/gtest.h>
#include <pm.h>
#include <screen_host.h>
#include <windows.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using host::Effect;
using host::EffectField;

std::vector<Effect> All() {
    std::vector<Effect> effects;
    EXPECT_TRUE(host::ReadEffects(&effects));
    return effects;
}

TEST(EffectLog, FieldsComeBackAsWrittenOldestFirst) {
    testing_support::TempDevice device;
    EXPECT_TRUE(All().empty());
    EXPECT_EQ(host::SessionStartEffect(), 0);

    const std::u16string odd = {u'a', 0xD800, u'\n', 0, u'b'};
    int64_t first = host::AppendEffect(
        host::effect::kMessageBox,
        {EffectField::Text("caption", u"Ошибка"), EffectField::Text("text", odd), EffectField::Number("icon", 64)});
    int64_t second = host::AppendEffect(host::effect::kOpened,
                                        {EffectField::Text("app", u"inbox"), EffectField::Text("account", u"")});
    int64_t third = host::AppendEffect(host::effect::kMessageBoxClosed, {EffectField::Number("box", first)});
    ASSERT_GT(first, 0);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);

    std::vector<Effect> effects = All();
    ASSERT_EQ(effects.size(), 3u);
    EXPECT_EQ(effects[0].id, first);
    EXPECT_EQ(effects[0].kind, host::effect::kMessageBox);
    ASSERT_EQ(effects[0].fields.size(), 3u);
    EXPECT_EQ(effects[0].fields[0].name, "caption");
    EXPECT_EQ(effects[0].fields[0].text, u"Ошибка");
    EXPECT_EQ(effects[0].Field("text")->text, odd);
    EXPECT_EQ(effects[0].Field("icon")->type, EffectField::Type::Number);
    EXPECT_EQ(effects[0].Field("icon")->number, 64);
    EXPECT_EQ(effects[1].Field("account")->type, EffectField::Type::Text);
    EXPECT_EQ(effects[1].Field("account")->text, u"");
    EXPECT_EQ(effects[1].Field("to"), nullptr);
    EXPECT_EQ(effects[2].Field("box")->number, first);

    // By kind, after a point, the newest, and counted.
    std::vector<Effect> boxes;
    ASSERT_TRUE(host::ReadEffects(&boxes, host::effect::kMessageBox));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].id, first);
    ASSERT_TRUE(host::ReadEffects(&boxes, {}, first));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].id, second);
    host::AppendEffect(host::effect::kOpened, {EffectField::Text("app", u"reader")});
    std::optional<Effect> last = host::LastEffect(host::effect::kOpened);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Field("app")->text, u"reader");
    EXPECT_EQ(host::CountEffects(host::effect::kOpened), 2);
    EXPECT_EQ(host::CountEffects(host::effect::kOpened, second), 1);
    EXPECT_FALSE(host::LastEffect(host::effect::kCall));
}

TEST(EffectLog, TwoProcessesAppendToOneLogAndNothingIsLost) {
    testing_support::TempDevice device;
    constexpr int kEach = 200;
    // The child opens the device for itself: SQLite connections are not
    // shared across a fork, and this process has not opened the log yet.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    const char16_t* who = child == 0 ? u"child" : u"parent";
    if (child == 0) host::OpenDevice(device.folder());
    bool ok = true;
    for (int i = 0; i < kEach; ++i)
        ok = ok &&
             host::AppendEffect(host::effect::kCall, {EffectField::Text("by", who), EffectField::Number("n", i)}) > 0;
    if (child == 0) _exit(ok ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(ok);

    std::vector<Effect> effects = All();
    ASSERT_EQ(effects.size(), 2u * kEach);
    int next[2] = {0, 0};
    for (size_t i = 0; i < effects.size(); ++i) {
        if (i) {
            EXPECT_LT(effects[i - 1].id, effects[i].id);
        }
        int side = effects[i].Field("by")->text == u"child" ? 1 : 0;
        EXPECT_EQ(effects[i].Field("n")->number, next[side]++);
    }
    EXPECT_EQ(next[0], kEach);
    EXPECT_EQ(next[1], kEach);
}

TEST(EffectLog, KeptInTheDeviceAcrossSessionsAndAFreshDeviceStartsEmpty) {
    testing_support::TempFolder folder;
    std::string path = folder.path() + "/device";
    ASSERT_TRUE(host::OpenDevice(path));
    host::SetScreenOn(true);
    ASSERT_EQ(SetSystemPowerState(nullptr, POWER_STATE_USERIDLE, 0), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(host::ScreenIsOn());
    std::optional<Effect> dark = host::LastEffect(host::effect::kScreen);
    ASSERT_TRUE(dark);
    EXPECT_EQ(dark->Field("on")->type, EffectField::Type::Bool);
    EXPECT_EQ(dark->Field("on")->number, 0);
    host::AppendEffect(host::effect::kCall, {EffectField::Text("number", u"89161234567")});
    int64_t newest = host::LastEffect(host::effect::kCall)->id;
    host::CloseDevice();

    // The next session finds the log as it was, begins after it, and
    // starts with the display lit.
    ASSERT_TRUE(host::OpenDevice(path));
    std::vector<Effect> effects = All();
    ASSERT_EQ(effects.size(), 2u);
    EXPECT_EQ(effects[0].kind, host::effect::kScreen);
    EXPECT_EQ(effects[1].Field("number")->text, u"89161234567");
    EXPECT_EQ(host::SessionStartEffect(), newest);
    EXPECT_EQ(host::CountEffects(host::effect::kScreen, host::SessionStartEffect()), 0);
    EXPECT_TRUE(host::ScreenIsOn());
    host::CloseDevice();

    testing_support::TempDevice fresh;
    EXPECT_TRUE(All().empty());
    EXPECT_EQ(host::SessionStartEffect(), 0);
}

}  // namespace
