// The settings dialog: every user-editable setting as a check box, the
// profile list and the custom text, with a sample of the delivery-report
// text. The record is written once, at Done; Exit writes nothing.
#pragma once

#include "ModalDialog.h"
#include "Settings.h"

class SettingsDialog : public ModalDialog {
public:
    SettingsDialog(HWND owner, HINSTANCE instance) : ModalDialog(owner, instance), controls_() {}

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WPARAM command, LPARAM source) override;
    BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Handlers of the check boxes; each stores the box's state first.
    void OnDisable();
    void OnShowNumber();
    void OnShowBubbles();
    void OnUseFileAs();
    void OnUseCustomText();
    void OnProfileBox(LONG& setting, int id);
    void OnPreviewBox(LONG& setting, int id);
    bool OnCheckBox(int id);

    void ApplyProfileListRule();
    void ApplyEnableRules();
    int FillProfileList(WString keyName);
    void ReleaseProfileItems();
    void UpdatePreview();
    void CommitCustomText();
    void Done();
    void Exit();

    HWND Control(int id) const;
    void SetCheck(int id, LONG value) const;
    LONG StoreCheck(int id, LONG& setting) const;
    void Enable(int id, bool enabled) const;

    // In the order OnInit fetches them: the master switch, the fourteen
    // controls it disables, the preview.
    HWND controls_[16];
    Settings settings_;
};
