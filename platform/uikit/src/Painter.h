// Drawing a view tree into a Cairo surface: the few shapes views are made of (rounded
// rectangles filled, stroked or used as a clip), text in the label font, and RGBA pixels.
// Coordinates are points; the painter's scale maps them to pixels.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "uikit/UIFont.h"

#include <cstdint>
#include <string>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

class Painter {
  public:
    explicit Painter(cairo_t* cr) : cr_(cr) {}
    cairo_t* cairo() const { return cr_; }

    void save();
    void restore();
    void translate(CGFloat dx, CGFloat dy);

    void fillRoundedRect(CGRect rect, CGFloat radius, CGColor color);
    // A border of `width` lying inside the rectangle's edge.
    void strokeRoundedRect(CGRect rect, CGFloat radius, CGFloat width, CGColor color);
    void clipRoundedRect(CGRect rect, CGFloat radius);
    void fillEllipse(CGRect rect, CGColor color);

    // Text in the label font at `fontSize` points, laid out by the label rule, the block centered
    // vertically in `box`.
    void drawText(const std::string& text, CGRect box, NSInteger alignment, long maxLines, CGColor color,
                  CGFloat fontSize = kLabelFontSize);
    // Straight (not premultiplied) RGBA pixels, stretched over `dest`.
    void drawRGBA(const uint8_t* pixels, size_t width, size_t height, size_t bytesPerRow, CGRect dest);

  private:
    void roundedRectPath(CGRect rect, CGFloat radius);
    cairo_t* cr_;
};

// A Cairo image surface (premultiplied ARGB) holding straight RGBA pixels; the caller destroys it.
cairo_surface_t* surfaceFromRGBA(const uint8_t* pixels, size_t width, size_t height, size_t bytesPerRow);
