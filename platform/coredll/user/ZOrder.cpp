// The z-order: children in their parent's list, and top-level windows in
// three bands, WS_EX_TOPMOST over WS_EX_ABOVESTARTUP over the rest (the
// home screen and the programs). An owned window is kept above its owner
// and shares its band.
#include "user/WindowSystem.h"

#include <algorithm>

namespace user {

namespace {

int OwnBand(const Window& w) {
    if (w.exStyle & WS_EX_TOPMOST) return 2;
    if (w.exStyle & WS_EX_ABOVESTARTUP) return 1;
    return 0;
}

int BandLocked(const Window& w) {
    int band = OwnBand(w);
    int guard = 0;
    for (Window* o = GetLocked(w.owner); o && guard < 64; o = GetLocked(o->owner), ++guard)
        band = std::max(band, OwnBand(*o));
    return band;
}

std::vector<HWND>& SiblingsLocked(Window& w) { return GetLocked(w.parent)->children; }

void InsertTopLevelLocked(Window& w, bool atBottom) {
    std::vector<HWND>& list = SiblingsLocked(w);
    std::erase(list, w.handle);
    int band = BandLocked(w);
    auto pos = list.begin();
    if (atBottom) {
        // After the last window of a band at least as high.
        while (pos != list.end() && BandLocked(*GetLocked(*pos)) >= band) ++pos;
    } else {
        while (pos != list.end() && BandLocked(*GetLocked(*pos)) > band) ++pos;
    }
    list.insert(pos, w.handle);
}

}  // namespace

void LinkWindowLocked(Window& w) {
    if (IsTopLevelLocked(w)) {
        InsertTopLevelLocked(w, false);
    } else {
        // Children keep creation order: the first made is the top one, as
        // dialog controls are in their tab order.
        SiblingsLocked(w).push_back(w.handle);
    }
    ScreenChanged();
}

void UnlinkWindowLocked(Window& w) {
    if (Window* parent = GetLocked(w.parent)) std::erase(parent->children, w.handle);
    ScreenChanged();
}

void BringToTopLocked(Window& w) {
    ScreenChanged();
    if (!IsTopLevelLocked(w)) {
        std::vector<HWND>& list = SiblingsLocked(w);
        std::erase(list, w.handle);
        list.insert(list.begin(), w.handle);
        return;
    }
    InsertTopLevelLocked(w, false);
    // Owned windows come along, keeping their order among themselves.
    std::vector<HWND> owned;
    for (HWND h : SiblingsLocked(w))
        if (Window* o = GetLocked(h); o && o->owner == w.handle) owned.push_back(h);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) BringToTopLocked(*GetLocked(*it));
}

void MoveToBottomLocked(Window& w) {
    ScreenChanged();
    if (IsTopLevelLocked(w)) {
        InsertTopLevelLocked(w, true);
        return;
    }
    std::vector<HWND>& list = SiblingsLocked(w);
    std::erase(list, w.handle);
    list.push_back(w.handle);
}

void PlaceAfterLocked(Window& w, HWND after) {
    ScreenChanged();
    std::vector<HWND>& list = SiblingsLocked(w);
    if (after == w.handle || std::find(list.begin(), list.end(), after) == list.end()) return;
    std::erase(list, w.handle);
    auto pos = std::find(list.begin(), list.end(), after) + 1;
    list.insert(pos, w.handle);
    if (!IsTopLevelLocked(w)) return;
    // Kept within its band.
    int band = BandLocked(w);
    size_t i = static_cast<size_t>(std::find(list.begin(), list.end(), w.handle) - list.begin());
    if (i > 0 && BandLocked(*GetLocked(list[i - 1])) < band)
        InsertTopLevelLocked(w, true);
    else if (i + 1 < list.size() && BandLocked(*GetLocked(list[i + 1])) > band)
        InsertTopLevelLocked(w, false);
}

}  // namespace user

using namespace user;

extern "C" HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return nullptr;
    if (uCmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    if (uCmd == GW_OWNER) return GetLocked(w->owner) ? w->owner : nullptr;
    Window* parent = GetLocked(w->parent);
    if (!parent) return nullptr;  // the desktop has no siblings
    const std::vector<HWND>& list = parent->children;
    auto it = std::find(list.begin(), list.end(), hWnd);
    switch (uCmd) {
        case GW_HWNDFIRST:
            return list.empty() ? nullptr : list.front();
        case GW_HWNDLAST:
            return list.empty() ? nullptr : list.back();
        case GW_HWNDNEXT:
            return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return (it == list.end() || it == list.begin()) ? nullptr : *(it - 1);
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
    }
}
