#include "Keypad.h"

namespace phone {

namespace {

const int kMargin = 6;
const int kGap = 4;
const int kRow = 26;
const int kSection = 8;  // between the navigation keys and the digits

// A key on the grid: row, first column and how many columns it spans, of
// `columns` in its row.
struct Cell {
    BYTE vk;
    const char* label;
    const char* letters;
    int row, column, span, columns;
};

// Three rows of five columns for the soft keys, the calls and the arrows,
// then the twelve keys of the number pad in rows of three.
const Cell kCells[] = {
    {VK_F1, "Soft 1", "", 0, 0, 2, 5},    {VK_UP, "\u25B2", "", 0, 2, 1, 5},   {VK_F2, "Soft 2", "", 0, 3, 2, 5},
    {VK_F3, "Talk", "", 1, 0, 1, 5},      {VK_LEFT, "\u25C0", "", 1, 1, 1, 5}, {VK_RETURN, "Action", "", 1, 2, 1, 5},
    {VK_RIGHT, "\u25B6", "", 1, 3, 1, 5}, {VK_F4, "End", "", 1, 4, 1, 5},      {VK_LWIN, "Home", "", 2, 0, 2, 5},
    {VK_DOWN, "\u25BC", "", 2, 2, 1, 5},  {VK_ESCAPE, "Back", "", 2, 3, 2, 5}, {'1', "1", "", 3, 0, 1, 3},
    {'2', "2", "abc", 3, 1, 1, 3},        {'3', "3", "def", 3, 2, 1, 3},       {'4', "4", "ghi", 4, 0, 1, 3},
    {'5', "5", "jkl", 4, 1, 1, 3},        {'6', "6", "mno", 4, 2, 1, 3},       {'7', "7", "pqrs", 5, 0, 1, 3},
    {'8', "8", "tuv", 5, 1, 1, 3},        {'9', "9", "wxyz", 5, 2, 1, 3},      {VK_F8, "*", "", 6, 0, 1, 3},
    {'0', "0", "+", 6, 1, 1, 3},          {VK_F9, "#", "", 6, 2, 1, 3},
};

const int kRows = 7;
const int kNavigationRows = 3;

int RowTop(int row, int scale) {
    int y = kMargin + row * (kRow + kGap);
    if (row >= kNavigationRows) y += kSection;
    return y * scale;
}

}  // namespace

int KeypadHeight(int scale) { return RowTop(kRows, scale) - kGap * scale + kMargin * scale; }

std::vector<KeypadKey> LayoutKeypad(int width, int top, int scale) {
    std::vector<KeypadKey> keys;
    const int inner = width - 2 * kMargin * scale;
    for (const Cell& c : kCells) {
        const int gap = kGap * scale;
        const int column = (inner - (c.columns - 1) * gap) / c.columns;
        RECT r;
        r.left = kMargin * scale + c.column * (column + gap);
        r.right = r.left + c.span * column + (c.span - 1) * gap;
        r.top = top + RowTop(c.row, scale);
        r.bottom = r.top + kRow * scale;
        keys.push_back(KeypadKey{c.vk, c.label, c.letters, r});
    }
    return keys;
}

const KeypadKey* KeyAt(const std::vector<KeypadKey>& keys, int x, int y) {
    for (const KeypadKey& k : keys)
        if (x >= k.rect.left && x < k.rect.right && y >= k.rect.top && y < k.rect.bottom) return &k;
    return nullptr;
}

}  // namespace phone
