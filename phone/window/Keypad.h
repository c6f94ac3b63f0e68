// The keypad that `phone window` draws under the screen: the phone's keys,
// where they sit and how they are labelled, and the desktop keys that stand
// for them.
#pragma once

#include <windows.h>

#include <vector>

typedef struct _cairo cairo_t;

namespace phone {

struct KeypadKey {
    BYTE vk;              // the key as the phone's keyboard driver reports it
    const char* label;    // UTF-8
    const char* letters;  // the small print under a digit; "" for the others
    RECT rect;            // in window pixels
};

// The keypad's height at a scale (its width is the window's).
int KeypadHeight(int scale);
// The keys of a keypad `width` pixels wide whose top edge is at `top`.
std::vector<KeypadKey> LayoutKeypad(int width, int top, int scale);
// The key under a point; null between keys.
const KeypadKey* KeyAt(const std::vector<KeypadKey>& keys, int x, int y);
// Draws the keypad into the band [top, top + KeypadHeight) of cr, the key
// `held` (0 for none) drawn pressed.
void PaintKeypad(cairo_t* cr, const std::vector<KeypadKey>& keys, int width, int top, int scale, BYTE held);

}  // namespace phone
