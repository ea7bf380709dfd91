#include "Painter.h"

#include "LabelFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIKitConstants.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace {
void setColor(cairo_t* cr, CGColor c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}
} // namespace

void Painter::save() {
    cairo_save(cr_);
}
void Painter::restore() {
    cairo_restore(cr_);
}
void Painter::translate(CGFloat dx, CGFloat dy) {
    cairo_translate(cr_, dx, dy);
}

void Painter::roundedRectPath(CGRect r, CGFloat radius) {
    r = CGRectStandardize(r);
    const double x = r.origin.x, y = r.origin.y, w = r.size.width, h = r.size.height;
    radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
    cairo_new_sub_path(cr_);
    if (radius <= 0) {
        cairo_rectangle(cr_, x, y, w, h);
        return;
    }
    cairo_arc(cr_, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr_, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr_, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void Painter::fillRoundedRect(CGRect rect, CGFloat radius, CGColor color) {
    if (color.a <= 0 || CGRectIsEmpty(rect))
        return;
    cairo_new_path(cr_);
    roundedRectPath(rect, radius);
    setColor(cr_, color);
    cairo_fill(cr_);
}

void Painter::strokeRoundedRect(CGRect rect, CGFloat radius, CGFloat width, CGColor color) {
    if (color.a <= 0 || width <= 0 || CGRectIsEmpty(rect))
        return;
    // The outer outline less the inner one, so the border lies inside the rectangle.
    cairo_save(cr_);
    cairo_new_path(cr_);
    roundedRectPath(rect, radius);
    const CGRect inner = CGRectInset(CGRectStandardize(rect), width, width);
    if (!CGRectIsNull(inner) && !CGRectIsEmpty(inner))
        roundedRectPath(inner, std::max(0.0, radius - width));
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    setColor(cr_, color);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void Painter::clipRoundedRect(CGRect rect, CGFloat radius) {
    cairo_new_path(cr_);
    roundedRectPath(rect, radius);
    cairo_clip(cr_);
}

void Painter::fillEllipse(CGRect rect, CGColor color) {
    fillRoundedRect(rect, std::min(rect.size.width, rect.size.height) / 2, color);
}

void Painter::drawText(const std::string& text, CGRect box, NSInteger alignment, long maxLines, CGColor color,
                       CGFloat fontSize) {
    if (text.empty() || color.a <= 0 || box.size.width <= 0 || box.size.height <= 0)
        return;
    const LabelFont& font = LabelFont::shared();
    const std::vector<std::string> lines = labelShownLines(text, box.size, maxLines, fontSize);
    // The 17-point metrics in proportion to the size.
    const double factor = fontSize / kLabelFontSize;
    const double lineHeight = font.lineHeight() * factor;
    const double ascent = font.baseline() * factor;

    cairo_save(cr_);
    cairo_set_font_face(cr_, font.face());
    cairo_set_font_size(cr_, fontSize);
    cairo_set_font_options(cr_, font.options());
    setColor(cr_, color);
    const double blockHeight = double(lines.size()) * lineHeight;
    double baseline = box.origin.y + (box.size.height - blockHeight) / 2 + ascent;
    // Lines wholly outside the clip (a line's height of room for glyphs that reach past their
    // line) are skipped: a tall label of a long text draws only what shows.
    double clipX0, clipY0, clipX1, clipY1;
    cairo_clip_extents(cr_, &clipX0, &clipY0, &clipX1, &clipY1);
    for (const std::string& line : lines) {
        const double top = baseline - ascent;
        if (top + 2 * lineHeight < clipY0 || top - lineHeight > clipY1) {
            baseline += lineHeight;
            continue;
        }
        const double w = font.width(line) * factor;
        double x = box.origin.x;
        if (alignment == NSTextAlignmentCenter)
            x += (box.size.width - w) / 2;
        else if (alignment == NSTextAlignmentRight)
            x += box.size.width - w;
        cairo_move_to(cr_, x, baseline);
        cairo_show_text(cr_, cairoText(line).c_str());
        baseline += lineHeight;
    }
    cairo_restore(cr_);
}

namespace {
// Pixels around a drawn part that the picture's filter may read.
constexpr double kSampledBeyond = 4;
} // namespace

cairo_surface_t* surfaceFromRGBA(const uint8_t* pixels, size_t width, size_t height, size_t bytesPerRow) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(width), int(height));
    cairo_surface_flush(surface);
    unsigned char* out = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* src = pixels + y * bytesPerRow;
        auto* dst = reinterpret_cast<uint32_t*>(out + long(y) * stride);
        for (size_t x = 0; x < width; ++x, src += 4) {
            const uint32_t a = src[3];
            if (a == 255) { // opaque: premultiplying changes nothing
                dst[x] = 0xFF000000u | (uint32_t(src[0]) << 16) | (uint32_t(src[1]) << 8) | src[2];
                continue;
            }
            auto pre = [a](uint32_t c) { return (c * a + 127) / 255; };
            dst[x] = (a << 24) | (pre(src[0]) << 16) | (pre(src[1]) << 8) | pre(src[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

void Painter::drawRGBA(const uint8_t* pixels, size_t width, size_t height, size_t bytesPerRow, CGRect dest) {
    if (!pixels || width == 0 || height == 0 || CGRectIsEmpty(dest))
        return;
    cairo_save(cr_);
    cairo_rectangle(cr_, dest.origin.x, dest.origin.y, dest.size.width, dest.size.height);
    cairo_clip(cr_);
    cairo_translate(cr_, dest.origin.x, dest.origin.y);
    cairo_scale(cr_, dest.size.width / double(width), dest.size.height / double(height));
    // Only the pixels that reach the clip (in the picture's own pixels now), with a margin the
    // filter may sample beyond them, are converted: a redraw of a part converts that part.
    double x1, y1, x2, y2;
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    const double left = std::max(0.0, std::floor(x1) - kSampledBeyond);
    const double top = std::max(0.0, std::floor(y1) - kSampledBeyond);
    const double right = std::min(double(width), std::ceil(x2) + kSampledBeyond);
    const double bottom = std::min(double(height), std::ceil(y2) + kSampledBeyond);
    if (!(right > left && bottom > top)) {
        cairo_restore(cr_);
        return;
    }
    const auto x0 = size_t(left), y0 = size_t(top);
    cairo_surface_t* surface = surfaceFromRGBA(pixels + y0 * bytesPerRow + x0 * 4, size_t(right) - x0,
                                               size_t(bottom) - y0, bytesPerRow);
    cairo_set_source_surface(cr_, surface, double(x0), double(y0));
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
    cairo_paint(cr_);
    cairo_restore(cr_);
    cairo_surface_destroy(surface);
}
