// The one label font, through FreeType and Cairo: the only place that names it, and the only
// place text is measured. Measuring and drawing use the same unhinted metrics, so a label sized
// to fit its text draws it exactly within that size at any snapshot scale.
//
// The font is Nimbus Sans Regular at 17 points (Debian fonts-urw-base35). The device's system
// font is of the Helvetica family, and Nimbus Sans is metric-compatible with Helvetica: every
// glyph has Helvetica's advance width, so a text takes the room it takes on a device and wraps
// or truncates where a device's would. (Liberation Sans has the same widths, through Arial, but
// Nimbus Sans also has Helvetica's shapes.) A line is 1.2 em (20.4 points): the font's ascent
// and descent plus its line gap, split above and below, about what a device's 17-point system
// font takes (a one-line label sized to fit is 21 points high).
#pragma once

#include "uikit/TextLayout.h"

#include <string_view>

typedef struct _cairo_font_face cairo_font_face_t;
typedef struct _cairo_scaled_font cairo_scaled_font_t;
typedef struct _cairo_font_options cairo_font_options_t;

inline constexpr const char* kLabelFontFile = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf";
inline constexpr const char* kLabelFontPackage = "fonts-urw-base35";
inline constexpr double kLabelFontSize = 17;

class LabelFont {
  public:
    // The process's font; the program stops, naming the file, when the font is not installed.
    static const LabelFont& shared();

    double width(std::string_view text) const;
    double lineHeight() const { return lineHeight_; }
    // From the top of a line to its baseline.
    double baseline() const { return baseline_; }
    TextMeasure measure() const;

    cairo_font_face_t* face() const { return face_; }
    const cairo_font_options_t* options() const { return options_; }

  private:
    LabelFont();
    cairo_font_face_t* face_ = nullptr;
    cairo_font_options_t* options_ = nullptr;
    cairo_scaled_font_t* scaled_ = nullptr;
    double lineHeight_ = 0;
    double baseline_ = 0;
};
