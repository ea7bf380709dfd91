#include "LabelFont.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
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
        std::fprintf(stderr, "UIKit: the label font %s cannot be loaded (install %s)\n", kLabelFontFile,
                     kLabelFontPackage);
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

LabelFont::Block& LabelFont::block(char32_t c) const {
    std::atomic<Block*>& slot = blocks_[c / kBlockSize];
    Block* made = slot.load(std::memory_order_acquire);
    if (made)
        return *made;
    auto fresh = std::make_unique<Block>();
    for (auto& advance : *fresh)
        advance.store(std::numeric_limits<double>::quiet_NaN(), std::memory_order_relaxed);
    // Two threads may make the same block at once: the first one stored stays, the other goes.
    if (slot.compare_exchange_strong(made, fresh.get(), std::memory_order_acq_rel, std::memory_order_acquire))
        return *fresh.release();
    return *made;
}

char32_t decodeUtf8Character(std::string_view s) {
    constexpr char32_t kReplacement = 0xFFFD;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const size_t n = s.size();
    if (n == 0)
        return kReplacement;
    if (n == 1)
        return byte(0) < 0x80 ? byte(0) : kReplacement;
    if (n != utf8SequenceLength(byte(0)) || byte(0) > 0xF4)
        return kReplacement;
    char32_t c = byte(0) & (0xFF >> (n + 1));
    for (size_t i = 1; i < n; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return kReplacement;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kReplacement;
    return c;
}

namespace {
// Calls f with each character of a text in order, as measuring and drawing both read it: a lead
// byte's sequence (cut short at the text's end) is one character, U+FFFD when it is not UTF-8.
template <class F> void forEachCharacter(std::string_view text, F f) {
    for (size_t i = 0; i < text.size();) {
        const size_t n = std::min(utf8SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        f(decodeUtf8Character(text.substr(i, n)));
        i += n;
    }
}

// The character Cairo is given for c: Cairo refuses a text that holds a noncharacter (U+FDD0 to
// U+FDEF, and the last two code points of every plane) and keeps the refusal, on the scaled font
// when it measures (which then measures every text as zero) and on the drawing context when it
// draws (which then draws nothing more), so a noncharacter is U+FFFD, as a sequence that is not
// UTF-8 is.
char32_t cairoCharacter(char32_t c) {
    if ((c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE)
        return 0xFFFD;
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}
} // namespace

std::string cairoText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachCharacter(text, [&](char32_t c) {
        c = cairoCharacter(c);
        if (c != 0) // Cairo reads a text up to its first NUL; a NUL takes no room
            appendUtf8(out, c);
    });
    return out;
}

double LabelFont::cairoAdvance(char32_t c) const {
    if (c == 0)
        return 0; // Cairo reads a text up to its first NUL
    std::string utf8;
    appendUtf8(utf8, cairoCharacter(c));
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(scaled_, utf8.c_str(), &extents);
    return extents.x_advance;
}

double LabelFont::advance(char32_t c) const {
    if (c < kTableSize) {
        std::atomic<double>& slot = block(c)[c % kBlockSize];
        double a = slot.load(std::memory_order_relaxed);
        if (std::isnan(a)) {
            a = cairoAdvance(c);
            slot.store(a, std::memory_order_relaxed);
        }
        return a;
    }
    std::lock_guard<std::mutex> hold(othersLock_);
    auto it = others_.find(c);
    if (it == others_.end())
        it = others_.emplace(c, cairoAdvance(c)).first;
    return it->second;
}

double LabelFont::width(std::string_view text) const {
    // Summed from zero in order, as Cairo places one glyph after another.
    double sum = 0;
    forEachCharacter(text, [&](char32_t c) { sum += advance(c); });
    return sum;
}

TextMeasure LabelFont::measure() const {
    return [this](std::string_view text) { return width(text); };
}
