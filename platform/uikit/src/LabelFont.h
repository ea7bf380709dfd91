// The one label font: DejaVu Sans at 17 points, through FreeType and Cairo. Measuring and
// drawing use the same unhinted metrics, so a label sized to fit its text draws it exactly
// within that size at any snapshot scale.
#pragma once

#include "uikit/TextLayout.h"

#include <string_view>

typedef struct _cairo_font_face cairo_font_face_t;
typedef struct _cairo_scaled_font cairo_scaled_font_t;
typedef struct _cairo_font_options cairo_font_options_t;

inline constexpr const char* kLabelFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr double kLabelFontSize = 17;

class LabelFont {
  public:
    // The process's font; the program stops, naming the file, when the font is not installed.
    static const LabelFont& shared();

    double width(std::string_view text) const;
    double lineHeight() const { return lineHeight_; }
    double ascent() const { return ascent_; }
    TextMeasure measure() const;

    cairo_font_face_t* face() const { return face_; }
    const cairo_font_options_t* options() const { return options_; }

  private:
    LabelFont();
    cairo_font_face_t* face_ = nullptr;
    cairo_font_options_t* options_ = nullptr;
    cairo_scaled_font_t* scaled_ = nullptr;
    double lineHeight_ = 0;
    double ascent_ = 0;
};
