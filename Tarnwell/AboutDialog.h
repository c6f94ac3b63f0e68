// The About box: product, version and credits, closed by its one soft key.
#pragma once

#include "ModalDialog.h"

class AboutDialog : public ModalDialog {
public:
    AboutDialog(HWND owner, HINSTANCE instance) : ModalDialog(owner, instance) {}

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WPARAM command, LPARAM source) override;
    BOOL OnResize(WPARAM kind, LPARAM size) override;
};
