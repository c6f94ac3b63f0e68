// The keypad drawn with cairo and pango: dark keys on the phone's body, the
// call keys in their colours, a held key lit.
#include "Keypad.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <string>

namespace phone {

namespace {

void RoundedBox(cairo_t* cr, const RECT& r, double radius) {
    const double x = r.left + 0.5, y = r.top + 0.5, w = r.right - r.left - 1, h = r.bottom - r.top - 1;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -G_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, G_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, G_PI / 2, G_PI);
    cairo_arc(cr, x + radius, y + radius, radius, G_PI, 3 * G_PI / 2);
    cairo_close_path(cr);
}

void LabelColour(cairo_t* cr, BYTE vk) {
    if (vk == VK_F3)
        cairo_set_source_rgb(cr, 0.45, 0.85, 0.45);  // Talk
    else if (vk == VK_F4)
        cairo_set_source_rgb(cr, 0.95, 0.45, 0.40);  // End
    else
        cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
}

// The label centred in the key; a digit's letters in small print beside it.
void DrawLabel(cairo_t* cr, const KeypadKey& key, int scale) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    std::string markup = key.label;
    if (*key.letters) markup += std::string(" <span size='smaller' foreground='#b8b8b8'>") + key.letters + "</span>";
    pango_layout_set_markup(layout, markup.c_str(), -1);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_absolute_size(font, 11.0 * scale * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    const int x = (key.rect.left + key.rect.right - w) / 2, y = (key.rect.top + key.rect.bottom - h) / 2;
    LabelColour(cr, key.vk);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

}  // namespace

void PaintKeypad(cairo_t* cr, const std::vector<KeypadKey>& keys, int width, int top, int scale, BYTE held) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0.16, 0.16, 0.18);
    cairo_rectangle(cr, 0, top, width, KeypadHeight(scale));
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    for (const KeypadKey& key : keys) {
        RoundedBox(cr, key.rect, 5.0 * scale);
        if (key.vk == held)
            cairo_set_source_rgb(cr, 0.52, 0.55, 0.62);
        else
            cairo_set_source_rgb(cr, 0.29, 0.30, 0.33);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.08, 0.08, 0.09);
        cairo_stroke(cr);
        DrawLabel(cr, key, scale);
    }
    cairo_restore(cr);
}

}  // namespace phone
