#include "LabelFont.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>
#include <string>

const LabelFont& LabelFont::shared() {
    // Kept for the life of the process: Cairo caches faces beyond any owner's lifetime.
    static const LabelFont* font = new LabelFont();
    return *font;
}

LabelFont::LabelFont() {
    FT_Library library = nullptr;
    FT_Face ftFace = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, kLabelFontFile, 0, &ftFace) != 0) {
        std::fprintf(stderr, "UIKit: the label font %s cannot be loaded (install %s)\n", kLabelFontFile, kLabelFontPackage);
        std::abort();
    }
    face_ = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
    options_ = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options_, CAIRO_ANTIALIAS_GRAY);
    cairo_matrix_t fontMatrix;
    cairo_matrix_t identity;
    cairo_matrix_init_scale(&fontMatrix, kLabelFontSize, kLabelFontSize);
    cairo_matrix_init_identity(&identity);
    scaled_ = cairo_scaled_font_create(face_, &fontMatrix, &identity, options_);
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(scaled_, &extents);
    // The line gap (height less ascent and descent) goes half above the ascent, half below.
    lineHeight_ = extents.height;
    baseline_ = (extents.height - extents.ascent - extents.descent) / 2 + extents.ascent;
}

double LabelFont::width(std::string_view text) const {
    if (text.empty()) return 0;
    const std::string s(text);
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(scaled_, s.c_str(), &extents);
    return extents.x_advance;
}

TextMeasure LabelFont::measure() const {
    return [this](std::string_view text) { return width(text); };
}
