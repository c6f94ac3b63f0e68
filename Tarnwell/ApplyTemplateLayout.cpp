#include "ApplyTemplateLayout.h"

#include "TemplateReader.h"

#include <commctrl.h>
#include <string.h>

namespace {

const WORD kButtonClass = 0x0080;
const WORD kStaticClass = 0x0082;
const WORD kListBoxClass = 0x0083;
const WORD kComboBoxClass = 0x0085;
const WORD kUnnamedId = 0xFFFF;

// Each up-down control found in the template with the control before it,
// to be attached again once everything has moved.
class UpDownPairs {
public:
    UpDownPairs() : pairs_(nullptr), count_(0), capacity_(0) { Grow(20); }
    ~UpDownPairs() {
        if (pairs_) LocalFree(pairs_);
    }

    void Add(HWND buddy, HWND upDown) {
        if (count_ == capacity_ && !Grow(capacity_ ? capacity_ * 2 : 20)) return;
        pairs_[count_].buddy = buddy;
        pairs_[count_].upDown = upDown;
        ++count_;
    }

    void Reattach() const {
        for (int i = 0; i < count_; ++i) {
            SendMessageW(pairs_[i].upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(pairs_[i].buddy), 0);
        }
    }

private:
    struct Pair {
        HWND buddy;
        HWND upDown;
    };

    bool Grow(int capacity) {
        Pair* grown = static_cast<Pair*>(LocalAlloc(LMEM_FIXED, capacity * sizeof(Pair)));
        if (!grown) return false;
        if (count_) memcpy(grown, pairs_, count_ * sizeof(Pair));
        if (pairs_) LocalFree(pairs_);
        pairs_ = grown;
        capacity_ = capacity;
        return true;
    }

    UpDownPairs(const UpDownPairs&);
    UpDownPairs& operator=(const UpDownPairs&);

    Pair* pairs_;
    int count_;
    int capacity_;
};

bool IsUpDown(HWND control) {
    WCHAR name[260];
    if (!control || GetClassNameW(control, name, 260) == 0) return false;
    // Class names are not case-sensitive.
    return _wcsicmp(name, UPDOWN_CLASS) == 0;
}

// A picture control shows the resource its template names, freeing the one
// it showed before.
void ReplaceImage(HINSTANCE instance, HWND dialog, int id, DWORD style, WORD resource) {
    if (style & 0x3) {
        HICON icon = LoadIconW(instance, MAKEINTRESOURCE(resource));
        HICON old = reinterpret_cast<HICON>(SendDlgItemMessageW(dialog, id, STM_GETIMAGE, IMAGE_ICON, 0));
        SendDlgItemMessageW(dialog, id, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        if (old && old != icon) DestroyIcon(old);
    } else if (style & 0xE) {
        HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCE(resource));
        HBITMAP old = reinterpret_cast<HBITMAP>(SendDlgItemMessageW(dialog, id, STM_GETIMAGE, IMAGE_BITMAP, 0));
        SendDlgItemMessageW(dialog, id, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        if (old && old != bitmap) DeleteObject(old);
    }
}

void ReapplyItem(HINSTANCE instance, HWND dialog, int id, DWORD style, const TemplateReader::NameOrOrdinal& cls,
                 const TemplateReader::NameOrOrdinal& title) {
    if (!cls.isOrdinal) return;
    switch (cls.ordinal) {
        case kButtonClass:
        case kStaticClass:
            if (title.isOrdinal) {
                ReplaceImage(instance, dialog, id, style, title.ordinal);
            } else {
                SetDlgItemTextW(dialog, id, title.text);
            }
            break;
        case kListBoxClass: {
            LRESULT selection = SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0);
            if (selection != LB_ERR) SendDlgItemMessageW(dialog, id, LB_SETCURSEL, selection, 0);
            break;
        }
        case kComboBoxClass: {
            LRESULT selection = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
            if (selection != CB_ERR) SendDlgItemMessageW(dialog, id, CB_SETCURSEL, selection, 0);
            break;
        }
    }
}

}  // namespace

bool ApplyTemplateLayout(HINSTANCE instance, HWND dialog, int templateId) {
    UpDownPairs pairs;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCE(templateId), RT_DIALOG);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(instance, found);
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data) return false;
    TemplateReader reader(data, SizeofResource(instance, found));

    DWORD style = reader.Dword();
    reader.Dword();  // extended style
    WORD items = reader.Word();
    reader.Skip(4 * sizeof(WORD));  // the dialog's own rectangle
    reader.Field();                 // menu
    reader.Field();                 // window class
    reader.SkipString();            // title
    if (style & DS_SETFONT) {
        reader.Word();
        reader.SkipString();
    }
    if (reader.Failed()) return false;

    // Without a deferred positioning the controls are moved one by one.
    HDWP positions = BeginDeferWindowPos(items);
    int unnamed = 0;
    HWND previous = nullptr;
    for (WORD i = 0; i < items; ++i) {
        reader.AlignToDword();
        DWORD itemStyle = reader.Dword();
        reader.Dword();  // extended style
        RECT rect;
        rect.left = static_cast<SHORT>(reader.Word());
        rect.top = static_cast<SHORT>(reader.Word());
        rect.right = rect.left + static_cast<SHORT>(reader.Word());
        rect.bottom = rect.top + static_cast<SHORT>(reader.Word());
        WORD id = reader.Word();
        TemplateReader::NameOrOrdinal cls = reader.Field();
        TemplateReader::NameOrOrdinal title = reader.Field();
        // The creation data's size counts its own size field.
        WORD creationSize = reader.Word();
        if (creationSize > sizeof(WORD)) reader.Skip(creationSize - sizeof(WORD));
        if (reader.Failed()) break;

        HWND control = GetDlgItem(dialog, id);
        if (id == kUnnamedId) ++unnamed;
        bool upDown = (itemStyle & 0x200) && IsUpDown(control);

        MapDialogRect(dialog, &rect);
        if (control) {
            int width = rect.right - rect.left;
            int height = rect.bottom - rect.top;
            if (positions) {
                positions = DeferWindowPos(positions, control, nullptr, rect.left, rect.top, width, height,
                                           SWP_NOZORDER);
            }
            if (!positions) SetWindowPos(control, nullptr, rect.left, rect.top, width, height, SWP_NOZORDER);
            ReapplyItem(instance, dialog, id, itemStyle, cls, title);
        }
        if (upDown) pairs.Add(previous, control);
        previous = control;
    }
    if (positions) EndDeferWindowPos(positions);
    pairs.Reattach();
    return !reader.Failed() && unnamed < 2;
}
