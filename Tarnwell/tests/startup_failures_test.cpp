// The settings program when the platform refuses it something: the common
// controls, the full-screen set-up or a soft-key bar. The user is told in a
// box captioned "Error", the dialog that cannot be set up ends, and nothing
// is written.
#include "TarnwellSession.h"

#include "../resource.h"

#include <aygshell.h>
#include <coredll_host.h>
#include <screen_host.h>

#include <gtest/gtest.h>

using namespace tarnwell_test;

namespace {

const char16_t kNoMemory[] = u"Not enough memory resources are available to complete this operation.\r\n";

std::u16string TextOf(const host::Effect& box, const char* field) {
    const host::EffectField* f = box.Field(field);
    return f ? f->text : u"(none)";
}

int64_t IconOf(const host::Effect& box) {
    const host::EffectField* f = box.Field("icon");
    return f ? f->number : -1;
}

// The system's text for some error code, as the last-error box shows it.
bool IsSystemText(const std::u16string& text) {
    return text.size() > 2 && text.compare(text.size() - 2, 2, u"\r\n") == 0;
}

}  // namespace

TEST(StartupFailures, WithoutTheCommonControlsTheProgramSaysWhyAndEndsWithOne) {
    TarnwellSession s;
    int64_t seen = host::SessionStartEffect();
    host::FailCall("InitCommonControlsEx", 1, ERROR_OUTOFMEMORY);
    ASSERT_TRUE(s.Launch());
    host::Effect box = s.NextBox(&seen);
    ASSERT_NE(box.id, 0) << "no box came";
    EXPECT_EQ(TextOf(box, "caption"), u"Error");
    EXPECT_EQ(TextOf(box, "text"), kNoMemory) << "the system's text for the error";
    EXPECT_EQ(IconOf(box), int64_t{MB_ICONERROR});
    EXPECT_EQ(FindWindowW(u"Dialog", u"Настройки"), nullptr) << "no dialog is made";
    s.CloseBox();
    DWORD code = 0;
    ASSERT_TRUE(s.WaitForEnd(&code));
    EXPECT_EQ(code, 1u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
}

TEST(StartupFailures, ADialogThatCannotBeSetUpEndsAfterTwoBoxesAndWritesNothing) {
    TarnwellSession s;
    WriteDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"Disable", 1);
    int64_t seen = host::SessionStartEffect();

    // Not sized to the screen: "Init dialog failed", and OnInit never runs.
    host::FailCall("SHInitDialog", 1, ERROR_OUTOFMEMORY);
    ASSERT_TRUE(s.Launch());
    host::Effect box = s.NextBox(&seen);
    ASSERT_NE(box.id, 0);
    EXPECT_EQ(TextOf(box, "caption"), u"Error");
    EXPECT_EQ(TextOf(box, "text"), u"Init dialog failed");
    EXPECT_EQ(IconOf(box), int64_t{MB_ICONERROR});
    HWND dialog = FindWindowW(u"Dialog", u"Настройки");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SHFindMenuBar(dialog), nullptr) << "no soft keys: OnInit did not run";
    EXPECT_NE(SendDlgItemMessageW(dialog, IDC_DISABLE, BM_GETCHECK, 0, 0), BST_CHECKED) << "nothing was loaded";
    s.CloseBox();
    // The dialog's result was -1: the last error follows.
    box = s.NextBox(&seen);
    ASSERT_NE(box.id, 0);
    EXPECT_EQ(TextOf(box, "caption"), u"Error");
    EXPECT_TRUE(IsSystemText(TextOf(box, "text"))) << host::ToUtf8(TextOf(box, "text"));
    EXPECT_EQ(IconOf(box), int64_t{MB_ICONERROR});
    EXPECT_FALSE(IsWindow(dialog));
    s.CloseBox();
    DWORD code = 99;
    ASSERT_TRUE(s.WaitForEnd(&code));
    EXPECT_EQ(code, 0u) << "a dialog that ended with -1 still ends the program with 0";

    // No soft-key bar: "Cannot create menu bar" before anything is loaded.
    host::FailCall("SHCreateMenuBar", 1, ERROR_OUTOFMEMORY);
    ASSERT_TRUE(s.Launch());
    box = s.NextBox(&seen);
    ASSERT_NE(box.id, 0);
    EXPECT_EQ(TextOf(box, "caption"), u"Error");
    EXPECT_EQ(TextOf(box, "text"), u"Cannot create menu bar");
    EXPECT_EQ(IconOf(box), int64_t{MB_ICONERROR});
    dialog = FindWindowW(u"Dialog", u"Настройки");
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(SendDlgItemMessageW(dialog, IDC_DISABLE, BM_GETCHECK, 0, 0), BST_CHECKED) << "nothing was loaded";
    EXPECT_NE(SendDlgItemMessageW(dialog, IDC_SHOW_BUBBLES, BM_GETCHECK, 0, 0), BST_CHECKED);
    s.CloseBox();
    box = s.NextBox(&seen);
    ASSERT_NE(box.id, 0);
    EXPECT_EQ(TextOf(box, "caption"), u"Error");
    EXPECT_TRUE(IsSystemText(TextOf(box, "text"))) << host::ToUtf8(TextOf(box, "text"));
    s.CloseBox();
    code = 99;
    ASSERT_TRUE(s.WaitForEnd(&code));
    EXPECT_EQ(code, 0u);

    DWORD value = 0;
    EXPECT_FALSE(ReadDword(u"ShowBubbles", &value)) << "nothing is written";
    EXPECT_TRUE(ReadDword(u"Disable", &value));
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(host::CountEffects(host::effect::kMessageBox, host::SessionStartEffect()), 4);
}

TEST(StartupFailures, AnAboutBoxWithoutSoftKeysEndsAndTheSettingsCarryOn) {
    TarnwellSession s;
    ASSERT_TRUE(s.Start());
    int64_t seen = host::SessionStartEffect();
    host::FailCall("SHCreateMenuBar", 1, ERROR_OUTOFMEMORY);
    s.Command(IDM_ABOUT);
    host::Effect box = s.NextBox(&seen);
    ASSERT_NE(box.id, 0);
    EXPECT_EQ(TextOf(box, "caption"), u"Error");
    EXPECT_EQ(TextOf(box, "text"), u"Cannot create menu bar");
    EXPECT_EQ(IconOf(box), int64_t{MB_ICONERROR});
    HWND about = FindWindowW(u"Dialog", u"О программе");
    ASSERT_NE(about, nullptr);
    s.CloseBox();
    box = s.NextBox(&seen);
    ASSERT_NE(box.id, 0);
    EXPECT_EQ(TextOf(box, "caption"), u"Error");
    EXPECT_TRUE(IsSystemText(TextOf(box, "text"))) << host::ToUtf8(TextOf(box, "text"));
    s.CloseBox();

    EXPECT_FALSE(IsWindow(about));
    ASSERT_TRUE(IsWindow(s.Dialog()));
    EXPECT_TRUE(IsWindowEnabled(s.Dialog())) << "the settings take input again";
    EXPECT_EQ(GetForegroundWindow(), s.Dialog());
    s.Click(IDC_SHOW_DR);
    s.Done();
    DWORD code = 99;
    ASSERT_TRUE(s.WaitForEnd(&code));
    EXPECT_EQ(code, 0u);
    DWORD shown = 0;
    EXPECT_TRUE(ReadDword(u"ShowDR", &shown));
    EXPECT_EQ(shown, 1u);
}
