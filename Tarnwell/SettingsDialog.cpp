#include "SettingsDialog.h"

#include "AboutDialog.h"
#include "ProfileItem.h"
#include "resource.h"

namespace {

const int kControlIds[16] = {
    IDC_DISABLE,     IDC_SHOW_BUBBLES, IDC_SHOW_DR,   IDC_TURN_OFF_SCREEN, IDC_NO_BUBBLES_IN_PROFILE,
    IDC_PROFILES,    IDC_MARK_DR_READ, IDC_DELETE_DR, IDC_USE_FILE_AS,     IDC_LAST_NAME_FIRST,
    IDC_SHOW_NUMBER, IDC_APPEND_TYPE,  IDC_SMS,       IDC_USE_CUSTOM_TEXT, IDC_CUSTOM_TEXT,
    IDC_PREVIEW,
};

}  // namespace

HWND SettingsDialog::Control(int id) const {
    for (int i = 0; i < 16; ++i) {
        if (kControlIds[i] == id) return controls_[i];
    }
    return nullptr;
}

void SettingsDialog::SetCheck(int id, LONG value) const {
    SendMessageW(Control(id), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

LONG SettingsDialog::StoreCheck(int id, LONG& setting) const {
    setting = SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    return setting;
}

void SettingsDialog::Enable(int id, bool enabled) const { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

BOOL SettingsDialog::OnInit() {
    if (!CreateSoftKeys(IDR_SETTINGS_MENU)) return TRUE;
    LoadSettings(settings_);
    for (int i = 0; i < 16; ++i) controls_[i] = GetDlgItem(Window(), kControlIds[i]);

    SetCheck(IDC_SHOW_BUBBLES, settings_.ShowBubbles);
    SetCheck(IDC_SHOW_DR, settings_.ShowDR);
    SetCheck(IDC_TURN_OFF_SCREEN, settings_.TurnOffScreen);
    SetCheck(IDC_NO_BUBBLES_IN_PROFILE, settings_.DisableBubblesInProfile);
    OnProfileBox(settings_.DisableBubblesInProfile, IDC_NO_BUBBLES_IN_PROFILE);

    SendMessageW(Control(IDC_PROFILES), LB_SETCURSEL, FillProfileList(settings_.ExcludeProfile), 0);

    SetCheck(IDC_MARK_DR_READ, settings_.MarkDRAsRead);
    SetCheck(IDC_DELETE_DR, settings_.DeleteDR);
    SetCheck(IDC_USE_FILE_AS, settings_.UseFileAs);
    OnUseFileAs();

    SetCheck(IDC_LAST_NAME_FIRST, settings_.LastNameFirst);
    SetCheck(IDC_SHOW_NUMBER, settings_.ShowNumber);
    SetCheck(IDC_APPEND_TYPE, settings_.AppendNumberType);
    SetCheck(IDC_SMS, settings_.SMS);
    SetCheck(IDC_USE_CUSTOM_TEXT, settings_.UseCustomText);
    OnUseCustomText();

    SetWindowTextW(Control(IDC_CUSTOM_TEXT), settings_.CustomText.Text() ? settings_.CustomText.Text() : TEXT(""));
    SetCheck(IDC_DISABLE, settings_.Disable);

    OnShowBubbles();
    OnDisable();
    UpdatePreview();
    return TRUE;
}

BOOL SettingsDialog::OnCommand(WPARAM command, LPARAM) {
    int id = LOWORD(command);
    int code = HIWORD(command);
    switch (id) {
        case IDM_DONE:
            Done();
            return TRUE;
        case IDM_EXIT:
            Exit();
            return TRUE;
        case IDM_ABOUT: {
            AboutDialog about(Window(), Instance());
            about.RunModal(IDD_ABOUT, IDD_ABOUT_WIDE);
            return TRUE;
        }
    }
    if (code == BN_CLICKED) return OnCheckBox(id) ? TRUE : FALSE;
    if (id == IDC_CUSTOM_TEXT && code == EN_KILLFOCUS) CommitCustomText();
    return FALSE;
}

bool SettingsDialog::OnCheckBox(int id) {
    switch (id) {
        case IDC_DISABLE:
            OnDisable();
            return true;
        case IDC_SHOW_NUMBER:
            OnShowNumber();
            return true;
        case IDC_SHOW_BUBBLES:
            OnShowBubbles();
            return true;
        case IDC_USE_FILE_AS:
            OnUseFileAs();
            return true;
        case IDC_MARK_DR_READ:
            StoreCheck(id, settings_.MarkDRAsRead);
            return true;
        case IDC_DELETE_DR:
            StoreCheck(id, settings_.DeleteDR);
            return true;
        case IDC_SHOW_DR:
            StoreCheck(id, settings_.ShowDR);
            return true;
        case IDC_USE_CUSTOM_TEXT:
            OnUseCustomText();
            return true;
        case IDC_LAST_NAME_FIRST:
            OnPreviewBox(settings_.LastNameFirst, id);
            return true;
        case IDC_APPEND_TYPE:
            OnPreviewBox(settings_.AppendNumberType, id);
            return true;
        case IDC_SMS:
            OnPreviewBox(settings_.SMS, id);
            return true;
        case IDC_TURN_OFF_SCREEN:
            OnProfileBox(settings_.TurnOffScreen, id);
            return true;
        case IDC_NO_BUBBLES_IN_PROFILE:
            OnProfileBox(settings_.DisableBubblesInProfile, id);
            return true;
    }
    return false;
}

void SettingsDialog::OnDisable() {
    StoreCheck(IDC_DISABLE, settings_.Disable);
    ApplyEnableRules();
}

void SettingsDialog::OnShowNumber() {
    StoreCheck(IDC_SHOW_NUMBER, settings_.ShowNumber);
    UpdatePreview();
}

void SettingsDialog::OnShowBubbles() {
    bool shown = StoreCheck(IDC_SHOW_BUBBLES, settings_.ShowBubbles) != 0;
    Enable(IDC_SHOW_DR, shown);
    Enable(IDC_NO_BUBBLES_IN_PROFILE, shown);
    OnProfileBox(settings_.DisableBubblesInProfile, IDC_NO_BUBBLES_IN_PROFILE);
}

// The contact's file-as name already has its own order.
void SettingsDialog::OnUseFileAs() {
    Enable(IDC_LAST_NAME_FIRST, StoreCheck(IDC_USE_FILE_AS, settings_.UseFileAs) == 0);
    UpdatePreview();
}

void SettingsDialog::OnUseCustomText() {
    bool custom = StoreCheck(IDC_USE_CUSTOM_TEXT, settings_.UseCustomText) != 0;
    Enable(IDC_CUSTOM_TEXT, custom);
    // A disabled field cannot take the focus: it stays on the box.
    if (custom) SetFocus(Control(IDC_CUSTOM_TEXT));
    if (settings_.CustomText.Length() != 0) UpdatePreview();
}

void SettingsDialog::OnProfileBox(LONG& setting, int id) {
    StoreCheck(id, setting);
    ApplyProfileListRule();
}

void SettingsDialog::OnPreviewBox(LONG& setting, int id) {
    StoreCheck(id, setting);
    UpdatePreview();
}

// The profile matters only to the two settings that act in it.
void SettingsDialog::ApplyProfileListRule() {
    Enable(IDC_PROFILES, (settings_.DisableBubblesInProfile && settings_.ShowBubbles) || settings_.TurnOffScreen);
}

void SettingsDialog::ApplyEnableRules() {
    if (settings_.Disable) {
        for (int i = 1; i <= 14; ++i) EnableWindow(controls_[i], FALSE);
        return;
    }
    Enable(IDC_SHOW_BUBBLES, true);
    Enable(IDC_SHOW_DR, settings_.ShowBubbles != 0);
    Enable(IDC_TURN_OFF_SCREEN, true);
    Enable(IDC_NO_BUBBLES_IN_PROFILE, settings_.ShowBubbles != 0);
    ApplyProfileListRule();
    Enable(IDC_MARK_DR_READ, true);
    Enable(IDC_DELETE_DR, true);
    Enable(IDC_USE_FILE_AS, true);
    Enable(IDC_LAST_NAME_FIRST, settings_.UseFileAs == 0);
    Enable(IDC_SHOW_NUMBER, true);
    Enable(IDC_APPEND_TYPE, true);
    Enable(IDC_SMS, true);
    Enable(IDC_USE_CUSTOM_TEXT, true);
    Enable(IDC_CUSTOM_TEXT, settings_.UseCustomText != 0);
}

void SettingsDialog::Done() {
    // The soft keys do not take the focus: text typed into a field that
    // still has it would otherwise be lost.
    if (GetFocus() == Control(IDC_CUSTOM_TEXT)) CommitCustomText();

    HWND list = Control(IDC_PROFILES);
    LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index != LB_ERR) {
        LRESULT data = SendMessageW(list, LB_GETITEMDATA, index, 0);
        if (data != LB_ERR && data != 0) settings_.ExcludeProfile.Assign(reinterpret_cast<ProfileItem*>(data)->KeyName);
    }
    SaveSettings(settings_);
    ReleaseProfileItems();
    EndDialog(Window(), 0);
}

BOOL SettingsDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A dialog ended without Done or Exit (the phone shutting the program
    // down) still gives its profile items back.
    if (message == WM_DESTROY) ReleaseProfileItems();
    return ModalDialog::HandleMessage(window, message, wParam, lParam);
}

void SettingsDialog::Exit() {
    ReleaseProfileItems();
    EndDialog(Window(), 1);
}
