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
//
// A text's width is its characters' advances summed in order, as Cairo sums them when it lays
// out a text (it applies no kerning), so each character's advance is asked of Cairo once and
// kept: measuring is one table look-up per character, and a width is the same number, to the
// last bit, that Cairo gives for the whole text.
#pragma once

#include "uikit/TextLayout.h"
#include "uikit/UIFont.h"

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

typedef struct _cairo_font_face cairo_font_face_t;
typedef struct _cairo_scaled_font cairo_scaled_font_t;
typedef struct _cairo_font_options cairo_font_options_t;

inline constexpr const char* kLabelFontFile = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf";
inline constexpr const char* kLabelFontPackage = "fonts-urw-base35";

class LabelFont {
  public:
    // The process's font; the program stops, naming the file, when the font is not installed.
    static const LabelFont& shared();

    double width(std::string_view text) const;
    // The advance of one character; a byte sequence that is not UTF-8, and a noncharacter, is one
    // U+FFFD.
    double advance(char32_t c) const;
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

    static constexpr size_t kTableSize = 0x10000; // the Basic Multilingual Plane
    static constexpr size_t kBlockSize = 0x100;
    using Block = std::array<std::atomic<double>, kBlockSize>;
    // Advances asked of Cairo so far, NaN until then (any thread may fill one: all write the
    // same value), in blocks of 256 characters made on first use: a program that shows a few
    // texts touches a few blocks, not half a megabyte; characters past the table in a map under
    // a lock.
    mutable std::array<std::atomic<Block*>, kTableSize / kBlockSize> blocks_{};
    Block& block(char32_t c) const;
    mutable std::mutex othersLock_;
    mutable std::map<char32_t, double> others_;
    double cairoAdvance(char32_t c) const;
};

// The character that the UTF-8 sequence s[0, n) encodes (n from utf8SequenceLength), or U+FFFD
// when it is not a valid one (a stray byte, a short, overlong or surrogate sequence).
char32_t decodeUtf8Character(std::string_view s);

// The text as Cairo is given it to draw, character for character as it is measured: a byte
// sequence that is not UTF-8, and a noncharacter, become U+FFFD (which Cairo draws as the font's
// replacement glyph), and a NUL, which takes no room, is left out.
std::string cairoText(std::string_view text);
