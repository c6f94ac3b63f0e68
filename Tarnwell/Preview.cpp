// The sample of the delivery-report text, made from a sample contact with
// the same substitution the rule client applies to the real report.
#include "SettingsDialog.h"

#include "CustomText.h"
#include "resource.h"

#define SAMPLE_FIRST_NAME TEXT("Mirela")
#define SAMPLE_LAST_NAME  TEXT("Dovanne")
#define SAMPLE_NUMBER     TEXT(" (+1234567890)")
#define STANDARD_TEXT     TEXT("Message you sent to @s has been delivered")

void SettingsDialog::UpdatePreview() {
    // The file-as name keeps the first name first.
    bool lastFirst = settings_.LastNameFirst && !settings_.UseFileAs;
    WCHAR name[100];
    _snwprintf(name, 100, TEXT("%s %s%s%s"), lastFirst ? SAMPLE_LAST_NAME : SAMPLE_FIRST_NAME,
               lastFirst ? SAMPLE_FIRST_NAME : SAMPLE_LAST_NAME, settings_.AppendNumberType ? TEXT(",m") : TEXT(""),
               settings_.ShowNumber ? SAMPLE_NUMBER : TEXT(""));
    name[99] = 0;

    // An empty custom text would show nothing: the standard sentence stands in.
    bool custom = settings_.UseCustomText && settings_.CustomText.Length() != 0;
    WString sample = FormatCustomText(custom ? settings_.CustomText : WString::FromText(STANDARD_TEXT), name);
    SetWindowTextW(Control(IDC_PREVIEW), sample.Text() ? sample.Text() : TEXT(""));
}

void SettingsDialog::CommitCustomText() {
    HWND field = Control(IDC_CUSTOM_TEXT);
    int length = GetWindowTextLengthW(field);
    if (length != 0) {
        LPWSTR buffer = settings_.CustomText.GetBuffer(length);
        if (buffer) {
            GetWindowTextW(field, buffer, length + 1);
            settings_.CustomText.SyncLength();
        }
    } else {
        settings_.CustomText = WString::FromText(TEXT(""));
        SetCheck(IDC_USE_CUSTOM_TEXT, 0);
        OnUseCustomText();
    }
    UpdatePreview();
}
