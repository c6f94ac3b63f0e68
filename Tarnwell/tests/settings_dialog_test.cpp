// The settings program through the real platform: what the dialog shows
// for the stored settings, what the boxes gate, the sample text, the
// profile list, and what Done and Exit leave in the registry.
#include "TarnwellSession.h"

#include "../resource.h"

#include <commctrl.h>
#include <coredll_host.h>
#include <screen_host.h>

#include <gtest/gtest.h>

using namespace tarnwell_test;

namespace {

const char16_t kDefaultPreview[] = u"Message you sent to Mirela Dovanne,m (+1234567890) has been delivered";

// Every control the master switch disables.
const int kGated[] = {IDC_SHOW_BUBBLES,    IDC_SHOW_DR,      IDC_TURN_OFF_SCREEN, IDC_NO_BUBBLES_IN_PROFILE,
                      IDC_PROFILES,        IDC_MARK_DR_READ, IDC_DELETE_DR,       IDC_USE_FILE_AS,
                      IDC_LAST_NAME_FIRST, IDC_SHOW_NUMBER,  IDC_APPEND_TYPE,     IDC_SMS,
                      IDC_USE_CUSTOM_TEXT, IDC_CUSTOM_TEXT};

DWORD Dword(const WCHAR* name) {
    DWORD value = 0xDEAD;
    EXPECT_TRUE(ReadDword(name, &value));
    return value;
}

std::u16string Text(const WCHAR* name) {
    std::u16string value = u"(missing)";
    EXPECT_TRUE(ReadText(name, &value));
    return value;
}

std::u16string ListText(HWND list, int index) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return u"(none)";
    std::u16string text(length + 1, u'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}

}  // namespace

TEST(SettingsDialog, OnAFreshPhoneShowsTheDefaultsAndDoneWritesEveryValue) {
    TarnwellSession s;
    ASSERT_TRUE(s.Start());
    EXPECT_EQ(s.Text(IDC_PREVIEW), kDefaultPreview);
    EXPECT_EQ(s.Text(IDC_SHOW_BUBBLES), u"Показ. всл. окно");
    EXPECT_TRUE(s.Checked(IDC_SHOW_BUBBLES));
    EXPECT_FALSE(s.Checked(IDC_DISABLE));
    EXPECT_TRUE(s.Checked(IDC_USE_FILE_AS));
    EXPECT_FALSE(s.Enabled(IDC_LAST_NAME_FIRST)) << "the file-as name has its own order";
    EXPECT_FALSE(s.Enabled(IDC_CUSTOM_TEXT));
    EXPECT_FALSE(s.Enabled(IDC_PROFILES)) << "neither profile setting is on";
    EXPECT_TRUE(s.Enabled(IDC_SHOW_DR));
    EXPECT_TRUE(s.Enabled(IDC_NO_BUBBLES_IN_PROFILE));
    EXPECT_EQ(SendMessageW(s.Item(IDC_PROFILES), LB_GETCOUNT, 0, 0), 0) << "no Profiles key";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey)) << "nothing is written before Done";

    s.Done();
    DWORD code = 99;
    ASSERT_TRUE(s.WaitForEnd(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Dword(u"ShowNumber"), 1u);
    EXPECT_EQ(Dword(u"LastNameFirst"), 1u);
    EXPECT_EQ(Dword(u"AppendNumberType"), 1u);
    EXPECT_EQ(Dword(u"SMS"), 1u);
    EXPECT_EQ(Dword(u"Disable"), 0u);
    EXPECT_EQ(Dword(u"ShowDR"), 0u);
    EXPECT_EQ(Dword(u"MarkDRAsRead"), 1u);
    EXPECT_EQ(Dword(u"DeleteDR"), 0u);
    EXPECT_EQ(Dword(u"ShowBubbles"), 1u);
    EXPECT_EQ(Dword(u"UseFileAs"), 1u);
    EXPECT_EQ(Dword(u"PhoneNumLen"), 7u);
    EXPECT_EQ(Dword(u"UseCustomText"), 0u);
    EXPECT_EQ(Dword(u"TurnOffScreen"), 0u);
    EXPECT_EQ(Dword(u"DisableBubblesInProfile"), 0u);
    EXPECT_EQ(Text(u"CustomText"), u"");
    EXPECT_EQ(Text(u"ExcludeProfile"), u"") << "an empty list keeps the loaded profile";
}

TEST(SettingsDialog, StoredValuesComeBackAsTheBoxesLeftThemAndExitWritesNothing) {
    TarnwellSession s;
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"ShowNumber", 2);
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"ShowBubbles", 2);
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"Disable", 7);
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"SMS", 3);
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"PhoneNumLen", 12);
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"UseFileAs", 0);
    WriteText(HKEY_LOCAL_MACHINE, kSettingsKey, u"ExcludeProfile", u"Meeting");

    // Exit: whatever was clicked, the registry keeps what it held.
    ASSERT_TRUE(s.Start());
    EXPECT_TRUE(s.Checked(IDC_DISABLE));
    for (int id : kGated) EXPECT_FALSE(s.Enabled(id)) << id;
    EXPECT_TRUE(s.Enabled(IDC_PREVIEW)) << "the sample is never disabled";
    s.Command(IDM_EXIT);
    DWORD code = 99;
    ASSERT_TRUE(s.WaitForEnd(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Dword(u"Disable"), 7u);
    DWORD missing = 0;
    EXPECT_FALSE(ReadDword(u"LastNameFirst", &missing)) << "Exit writes no value";

    // Done: the boxes OnInit read back hold 0 or 1, the others as stored.
    ASSERT_TRUE(s.Start());
    EXPECT_TRUE(s.Checked(IDC_SHOW_NUMBER));
    EXPECT_TRUE(s.Enabled(IDC_LAST_NAME_FIRST) == false) << "disabled by the master switch";
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Dword(u"ShowNumber"), 2u);
    EXPECT_EQ(Dword(u"SMS"), 3u);
    EXPECT_EQ(Dword(u"ShowBubbles"), 1u);
    EXPECT_EQ(Dword(u"Disable"), 1u);
    EXPECT_EQ(Dword(u"PhoneNumLen"), 12u);
    EXPECT_EQ(Dword(u"UseFileAs"), 0u);
    EXPECT_EQ(Text(u"ExcludeProfile"), u"Meeting") << "an empty list keeps the loaded profile";
}

TEST(SettingsDialog, EachBoxGatesWhatItShouldAndTheMasterSwitchRestoresByTheRules) {
    TarnwellSession s;
    ASSERT_TRUE(s.Start());

    // Use File As gates Last Name First and the name order of the sample.
    s.Click(IDC_USE_FILE_AS);
    EXPECT_FALSE(s.Checked(IDC_USE_FILE_AS));
    EXPECT_TRUE(s.Enabled(IDC_LAST_NAME_FIRST));
    EXPECT_EQ(s.Text(IDC_PREVIEW), u"Message you sent to Dovanne Mirela,m (+1234567890) has been delivered");
    s.Click(IDC_LAST_NAME_FIRST);
    EXPECT_EQ(s.Text(IDC_PREVIEW), u"Message you sent to Mirela Dovanne,m (+1234567890) has been delivered");
    s.Click(IDC_LAST_NAME_FIRST);
    s.Click(IDC_USE_FILE_AS);
    EXPECT_FALSE(s.Enabled(IDC_LAST_NAME_FIRST));
    EXPECT_EQ(s.Text(IDC_PREVIEW), kDefaultPreview);

    s.Click(IDC_SHOW_NUMBER);
    EXPECT_EQ(s.Text(IDC_PREVIEW), u"Message you sent to Mirela Dovanne,m has been delivered");
    s.Click(IDC_APPEND_TYPE);
    EXPECT_EQ(s.Text(IDC_PREVIEW), u"Message you sent to Mirela Dovanne has been delivered");
    s.Click(IDC_SHOW_NUMBER);
    s.Click(IDC_APPEND_TYPE);
    EXPECT_EQ(s.Text(IDC_PREVIEW), kDefaultPreview);

    // The profile list follows its two settings.
    s.Click(IDC_TURN_OFF_SCREEN);
    EXPECT_TRUE(s.Enabled(IDC_PROFILES));
    s.Click(IDC_TURN_OFF_SCREEN);
    EXPECT_FALSE(s.Enabled(IDC_PROFILES));
    s.Click(IDC_NO_BUBBLES_IN_PROFILE);
    EXPECT_TRUE(s.Enabled(IDC_PROFILES));

    // Show Bubbles gates its two boxes without changing them.
    s.Click(IDC_SHOW_DR);
    s.Click(IDC_SHOW_BUBBLES);
    EXPECT_FALSE(s.Enabled(IDC_SHOW_DR));
    EXPECT_FALSE(s.Enabled(IDC_NO_BUBBLES_IN_PROFILE));
    EXPECT_TRUE(s.Checked(IDC_SHOW_DR));
    EXPECT_TRUE(s.Checked(IDC_NO_BUBBLES_IN_PROFILE));
    EXPECT_FALSE(s.Enabled(IDC_PROFILES)) << "no pop-ups to suppress";

    // The master switch: everything off, then back by the table.
    s.Click(IDC_DISABLE);
    for (int id : kGated) EXPECT_FALSE(s.Enabled(id)) << id;
    EXPECT_TRUE(s.Enabled(IDC_PREVIEW));
    s.Click(IDC_DISABLE);
    EXPECT_TRUE(s.Enabled(IDC_SHOW_BUBBLES));
    EXPECT_FALSE(s.Enabled(IDC_SHOW_DR));
    EXPECT_FALSE(s.Enabled(IDC_NO_BUBBLES_IN_PROFILE));
    EXPECT_FALSE(s.Enabled(IDC_PROFILES));
    EXPECT_FALSE(s.Enabled(IDC_LAST_NAME_FIRST)) << "Use File As is still set";
    EXPECT_FALSE(s.Enabled(IDC_CUSTOM_TEXT));
    for (int id : {IDC_TURN_OFF_SCREEN, IDC_MARK_DR_READ, IDC_DELETE_DR, IDC_USE_FILE_AS, IDC_SHOW_NUMBER,
                   IDC_APPEND_TYPE, IDC_SMS, IDC_USE_CUSTOM_TEXT}) {
        EXPECT_TRUE(s.Enabled(id)) << id;
    }

    s.Click(IDC_MARK_DR_READ);
    s.Click(IDC_DELETE_DR);
    s.Click(IDC_SMS);
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Dword(u"ShowDR"), 1u);
    EXPECT_EQ(Dword(u"ShowBubbles"), 0u);
    EXPECT_EQ(Dword(u"DisableBubblesInProfile"), 1u);
    EXPECT_EQ(Dword(u"TurnOffScreen"), 0u);
    EXPECT_EQ(Dword(u"MarkDRAsRead"), 0u);
    EXPECT_EQ(Dword(u"DeleteDR"), 1u);
    EXPECT_EQ(Dword(u"SMS"), 0u);
    EXPECT_EQ(Dword(u"Disable"), 0u);
}

TEST(SettingsDialog, TheCustomTextIsShownAsTheRuleWritesItAndNeverUsedAsAFormat) {
    TarnwellSession s;
    ASSERT_TRUE(s.Start());

    // Checking the box with no text moves the focus into the field and
    // leaves the sample; leaving it empty unchecks the box again.
    s.Click(IDC_USE_CUSTOM_TEXT);
    EXPECT_TRUE(s.Enabled(IDC_CUSTOM_TEXT));
    EXPECT_EQ(s.Text(IDC_PREVIEW), kDefaultPreview);
    s.Focus(IDC_SMS);
    EXPECT_FALSE(s.Checked(IDC_USE_CUSTOM_TEXT));
    EXPECT_FALSE(s.Enabled(IDC_CUSTOM_TEXT));

    struct Case {
        const char16_t* typed;
        const char16_t* shown;
    } cases[] = {
        {u"Got @s!", u"Got Mirela Dovanne,m (+1234567890)!"},
        {u"Delivered", u"Delivered"},
        {u"100% to @s %s %d %n", u"100% to Mirela Dovanne,m (+1234567890) %s %d %n"},
        {u"@d then @s", u"@d then @s"},
        {u"@", u"@"},
    };
    for (const Case& c : cases) {
        if (!s.Checked(IDC_USE_CUSTOM_TEXT)) s.Click(IDC_USE_CUSTOM_TEXT);
        s.Focus(IDC_CUSTOM_TEXT);
        SetWindowTextW(s.Item(IDC_CUSTOM_TEXT), c.typed);
        host::WaitForIdle();
        s.Focus(IDC_SMS);
        EXPECT_EQ(s.Text(IDC_PREVIEW), c.shown);
    }

    // Longer than any fixed buffer: shown whole, nothing overrun.
    std::u16string longText = u"@s" + std::u16string(1000, u'x');
    s.Focus(IDC_CUSTOM_TEXT);
    SetWindowTextW(s.Item(IDC_CUSTOM_TEXT), longText.c_str());
    host::WaitForIdle();
    s.Focus(IDC_SMS);
    EXPECT_EQ(s.Text(IDC_PREVIEW), u"Mirela Dovanne,m (+1234567890)" + std::u16string(1000, u'x'));

    // Typed and not yet left: Done still keeps it.
    s.Focus(IDC_CUSTOM_TEXT);
    SetWindowTextW(s.Item(IDC_CUSTOM_TEXT), u"Read by @s");
    host::WaitForIdle();
    EXPECT_EQ(s.Text(IDC_PREVIEW), u"Mirela Dovanne,m (+1234567890)" + std::u16string(1000, u'x'))
        << "typing alone changes nothing";
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Text(u"CustomText"), u"Read by @s");
    EXPECT_EQ(Dword(u"UseCustomText"), 1u);

    // Loaded checked with an empty text: the standard sentence.
    WriteText(HKEY_LOCAL_MACHINE, kSettingsKey, u"CustomText", u"");
    ASSERT_TRUE(s.Start());
    EXPECT_EQ(s.Text(IDC_PREVIEW), kDefaultPreview);
}

TEST(SettingsDialog, TheProfileListShowsDisplayNamesSortedAndDoneStoresTheKeyName) {
    TarnwellSession s;
    AddProfile(u"Normal", u"", u"Обычный");
    AddProfile(u"Automatic", u"", u"Авто");
    AddProfile(u"Meeting", u"Встреча", u"Совещание", u"Meeting");
    AddProfile(u"Silent", u"", u"", u"Без звука");
    AddProfile(u"Outdoor", u"", u"Обычный");  // the same display name as Normal
    WriteText(HKEY_LOCAL_MACHINE, kSettingsKey, u"ExcludeProfile", u"Normal");
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"TurnOffScreen", 1);

    ASSERT_TRUE(s.Start());
    HWND list = s.Item(IDC_PROFILES);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4) << "Automatic is never listed";
    EXPECT_EQ(ListText(list, 0), u"Без звука");
    EXPECT_EQ(ListText(list, 1), u"Встреча");
    EXPECT_EQ(ListText(list, 2), u"Обычный");
    EXPECT_EQ(ListText(list, 3), u"Обычный");
    LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    ASSERT_TRUE(selected == 2 || selected == 3);
    LRESULT item = SendMessageW(list, LB_GETITEMDATA, selected, 0);
    ASSERT_NE(item, 0);
    EXPECT_TRUE(s.Enabled(IDC_PROFILES));

    // The selection follows the key name, and Done stores it.
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Text(u"ExcludeProfile"), u"Normal");

    // A profile that no longer exists: the first entry. Another letter case
    // of the phone's own profile is the user's and is listed.
    ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"ControlPanel\\Profiles\\Automatic"), ERROR_SUCCESS);
    AddProfile(u"automatic");
    WriteText(HKEY_LOCAL_MACHINE, kSettingsKey, u"ExcludeProfile", u"Gone");
    ASSERT_TRUE(s.Start());
    EXPECT_EQ(SendMessageW(s.Item(IDC_PROFILES), LB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(ListText(s.Item(IDC_PROFILES), 0), u"automatic") << "no display name: the key name";
    EXPECT_EQ(SendMessageW(s.Item(IDC_PROFILES), LB_GETCURSEL, 0, 0), 0);
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Text(u"ExcludeProfile"), u"automatic");

    // No selection at all: the loaded profile stays, nothing is read that is not there.
    WriteText(HKEY_LOCAL_MACHINE, kSettingsKey, u"ExcludeProfile", u"Silent");
    ASSERT_TRUE(s.Start());
    SendMessageW(s.Item(IDC_PROFILES), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Text(u"ExcludeProfile"), u"Silent");
}

TEST(SettingsDialog, TurningThePhoneRelaysTheDialogOutAndKeepsEverything) {
    TarnwellSession s;
    AddProfile(u"Normal", u"", u"Обычный");
    AddProfile(u"Silent", u"", u"Без звука");
    WriteText(HKEY_LOCAL_MACHINE, kSettingsKey, u"ExcludeProfile", u"Normal");
    ASSERT_TRUE(s.Start());
    s.Click(IDC_TURN_OFF_SCREEN);
    s.Click(IDC_USE_CUSTOM_TEXT);
    SetWindowTextW(s.Item(IDC_CUSTOM_TEXT), u"typing @s");
    host::WaitForIdle();
    RECT before{};
    GetWindowRect(s.Item(IDC_SHOW_BUBBLES), &before);

    host::RotateScreen();
    host::WaitForIdle();
    EXPECT_EQ(s.Text(IDC_SHOW_BUBBLES), u"Показать всл. окно");
    EXPECT_EQ(s.Text(IDC_DELETE_DR), u"Удалить DR");
    RECT after{};
    GetWindowRect(s.Item(IDC_SHOW_BUBBLES), &after);
    EXPECT_NE(before.top, after.top) << "moved under the master switch";
    EXPECT_TRUE(s.Checked(IDC_TURN_OFF_SCREEN));
    EXPECT_TRUE(s.Checked(IDC_USE_CUSTOM_TEXT));
    EXPECT_EQ(s.Text(IDC_CUSTOM_TEXT), u"typing @s");
    EXPECT_EQ(SendMessageW(s.Item(IDC_PROFILES), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(s.Item(IDC_PROFILES), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(s.Item(IDC_PROFILES_SPIN), UDM_GETBUDDY, 0, 0)),
              s.Item(IDC_PROFILES));
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(s.Item(IDC_CUSTOM_TEXT_SPIN), UDM_GETBUDDY, 0, 0)),
              s.Item(IDC_CUSTOM_TEXT));

    host::RotateScreen();
    host::WaitForIdle();
    EXPECT_EQ(s.Text(IDC_SHOW_BUBBLES), u"Показ. всл. окно");
    EXPECT_EQ(s.Text(IDC_CUSTOM_TEXT), u"typing @s");
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Text(u"CustomText"), u"typing @s");
    EXPECT_EQ(Text(u"ExcludeProfile"), u"Normal");
}

TEST(SettingsDialog, TheAboutBoxReadsItsVersionInBothOrientationsAndASecondStartEnds) {
    TarnwellSession s;
    ASSERT_TRUE(s.Start());
    PostMessageW(s.Dialog(), WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    for (int i = 0; i < 50 && !about; ++i) {
        host::WaitForIdle();
        about = FindWindowW(u"Dialog", u"О программе");
    }
    ASSERT_NE(about, nullptr);
    auto version = [&] {
        WCHAR text[16] = {};
        GetWindowTextW(GetDlgItem(about, IDC_ABOUT_VERSION), text, 16);
        return std::u16string(text);
    };
    EXPECT_EQ(version(), u"1.0");
    EXPECT_FALSE(IsWindowEnabled(s.Dialog())) << "the settings take no input meanwhile";
    host::RotateScreen();
    host::WaitForIdle();
    EXPECT_EQ(version(), u"1.0");
    host::RotateScreen();
    host::WaitForIdle();
    s.Press(VK_TSOFT1);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(IsWindow(s.Dialog())) << "the About box's Done ends only the box";

    // A second start brings the running dialog forward and ends.
    DWORD thread = 0;
    std::string error;
    ASSERT_TRUE(host::StartProgram(u"Tarnwell.exe", u"", &error, &thread)) << error;
    ASSERT_TRUE(host::WaitForProgram(thread, 5000));
    EXPECT_EQ(host::ListPrograms().back().exitCode, 0u);
    EXPECT_TRUE(IsWindow(s.Dialog()));
    EXPECT_EQ(GetForegroundWindow(), s.Dialog());
}

TEST(SettingsDialog, OnInitLeavesTheFiveItReadsBackAtZeroOrOneAndTheOthersAsStored) {
    TarnwellSession s;
    const struct {
        const char16_t* name;
        DWORD stored;
        DWORD written;
    } values[] = {
        {u"Disable", 0, 0},
        {u"ShowBubbles", 2, 1},
        {u"ShowDR", 3, 3},
        {u"TurnOffScreen", 4, 4},
        {u"DisableBubblesInProfile", 5, 1},
        {u"MarkDRAsRead", 6, 6},
        {u"DeleteDR", 7, 7},
        {u"UseFileAs", 8, 1},
        {u"LastNameFirst", 9, 9},
        {u"ShowNumber", 2, 2},
        {u"AppendNumberType", 10, 10},
        {u"SMS", 11, 11},
        {u"UseCustomText", 12, 1},
        {u"PhoneNumLen", 3, 3},
    };
    for (const auto& v : values) WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, v.name, v.stored);
    WriteText(HKEY_LOCAL_MACHINE, kSettingsKey, u"CustomText", u"Got @s");

    ASSERT_TRUE(s.Start());
    for (int id : kGated) {
        if (id == IDC_PROFILES || id == IDC_CUSTOM_TEXT) continue;
        EXPECT_TRUE(s.Checked(id)) << id << " stored nonzero";
    }
    EXPECT_FALSE(s.Checked(IDC_DISABLE));
    EXPECT_TRUE(s.Enabled(IDC_PROFILES)) << "pop-ups off in a profile";
    EXPECT_FALSE(s.Enabled(IDC_LAST_NAME_FIRST)) << "the file-as name";
    EXPECT_TRUE(s.Enabled(IDC_CUSTOM_TEXT));
    EXPECT_EQ(s.Text(IDC_CUSTOM_TEXT), u"Got @s");
    EXPECT_EQ(s.Text(IDC_PREVIEW), u"Got Mirela Dovanne,m (+1234567890)") << "the preview is made last";
    EXPECT_EQ(host::ForegroundFocus(), s.Item(IDC_DISABLE)) << "OnInit's 1 puts it on the first tab stop";
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    for (const auto& v : values) EXPECT_EQ(Dword(v.name), v.written) << host::ToUtf8(v.name);
    EXPECT_EQ(Text(u"CustomText"), u"Got @s");

    // Switched off with the custom text on: the field the 1008 handler gave
    // the focus is disabled after it, and the focus is on the master switch.
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"Disable", 4);
    ASSERT_TRUE(s.Start());
    EXPECT_TRUE(s.Checked(IDC_DISABLE));
    EXPECT_FALSE(s.Enabled(IDC_CUSTOM_TEXT));
    EXPECT_EQ(host::ForegroundFocus(), s.Item(IDC_DISABLE));
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Dword(u"Disable"), 1u);
    EXPECT_EQ(Dword(u"ShowDR"), 3u) << "a disabled box keeps its value";
}

TEST(SettingsDialog, AProfilesKeyWithNothingToListLeavesTheListEmptyAndTheProfileAsLoaded) {
    TarnwellSession s;
    HKEY profiles = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Profiles", 0, nullptr, 0, 0, nullptr, &profiles, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(profiles);
    WriteText(HKEY_LOCAL_MACHINE, kSettingsKey, u"ExcludeProfile", u"Meeting");
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"TurnOffScreen", 1);

    // The key is there, with no subkeys.
    ASSERT_TRUE(s.Start());
    EXPECT_EQ(SendMessageW(s.Item(IDC_PROFILES), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(s.Item(IDC_PROFILES), LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_TRUE(s.Enabled(IDC_PROFILES)) << "the rule does not look at the entries";
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Text(u"ExcludeProfile"), u"Meeting");

    // Its one subkey is the phone's own profile, which is never listed.
    AddProfile(u"Automatic", u"", u"Авто");
    ASSERT_TRUE(s.Start());
    EXPECT_EQ(SendMessageW(s.Item(IDC_PROFILES), LB_GETCOUNT, 0, 0), 0);
    s.Done();
    ASSERT_TRUE(s.WaitForEnd());
    EXPECT_EQ(Text(u"ExcludeProfile"), u"Meeting");
}

TEST(SettingsDialog, ASecondStartWhileTheAboutBoxIsOpenLeavesTheBoxInFrontOfItsDialog) {
    TarnwellSession s;
    ASSERT_TRUE(s.Start());
    s.Command(IDM_ABOUT);
    HWND about = FindWindowW(u"Dialog", u"О программе");
    ASSERT_NE(about, nullptr);
    ASSERT_EQ(GetForegroundWindow(), about);

    DWORD thread = 0;
    std::string error;
    ASSERT_TRUE(host::StartProgram(u"Tarnwell.exe", u"", &error, &thread)) << error;
    ASSERT_TRUE(host::WaitForProgram(thread, 5000));
    host::WaitForIdle();
    EXPECT_EQ(host::ListPrograms().back().exitCode, 0u);
    EXPECT_EQ(GetForegroundWindow(), about) << "the box stays in front of the dialog that owns it";
    EXPECT_FALSE(IsWindowEnabled(s.Dialog()));
    s.Press(VK_TSOFT1);
    EXPECT_FALSE(IsWindow(about)) << "the box's Done still reaches it";
    EXPECT_EQ(GetForegroundWindow(), s.Dialog());
    EXPECT_TRUE(IsWindowEnabled(s.Dialog()));
    s.Click(IDC_SHOW_DR);
    EXPECT_TRUE(s.Checked(IDC_SHOW_DR)) << "the dialog takes the keys again";
}
