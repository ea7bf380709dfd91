// A bitmap context: an RGBA image, 8 bits a channel, bytes in the order R, G, B, A, colors NOT
// premultiplied by alpha. Rows are top to bottom, user space has its origin at the top-left
// corner with y downward; the transform holds translation and scale only (a view of 300
// points drawn with a scale of 3 covers 900 pixels).
//
// Painting is by pixel centers: a pixel (i, j) is covered when its center (i + 0.5, j + 0.5),
// mapped back to user space, lies inside a shape (rectangles are half-open, no antialiasing).
// Everything composites source-over: a layer color c with alpha a over an opaque pixel u gives
// c x a + u x (1 - a), each channel rounded to the nearest of the 256 levels; over a pixel that
// is not opaque the result is the usual straight-alpha source-over.
//
// A picture made of an opaque layer that varies across with layers of one color a row over it
// (a color picker's square) may be held back and written in one pass, rounded once; it reaches
// the pixels when they are asked for (CGBitmapContextGetData), at CGContextRestoreGState and
// before any other drawing. Read the pixels through a pointer asked for after drawing.
#pragma once

#include "coregraphics/CGColor.h"
#include "coregraphics/CGGradient.h"

#include <cstddef>
#include <cstdint>

using CGContextRef = struct CGContext*;

// A new context of width x height pixels, cleared to transparent black. A size of 0 gives a
// valid context with no pixels.
CGContextRef CGBitmapContextCreate(size_t width, size_t height);
void CGContextRelease(CGContextRef context);
// The pixels, current (anything held back is written first).
uint8_t* CGBitmapContextGetData(CGContextRef context);
size_t CGBitmapContextGetWidth(CGContextRef context);
size_t CGBitmapContextGetHeight(CGContextRef context);
size_t CGBitmapContextGetBytesPerRow(CGContextRef context);

// The graphics state (transform, clip, fill color) is saved and restored as a stack.
void CGContextSaveGState(CGContextRef context);
void CGContextRestoreGState(CGContextRef context);

// Narrows the clip to the rectangle (in user space), by the pixel-center rule.
void CGContextClipToRect(CGContextRef context, CGRect rect);
// The clip in user space (the whole image when nothing narrowed it).
CGRect CGContextGetClipBoundingBox(CGContextRef context);

void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy);

void CGContextSetRGBFillColor(CGContextRef context, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
void CGContextSetFillColorWithColor(CGContextRef context, CGColor color);
void CGContextFillRect(CGContextRef context, CGRect rect);
// Fills the ellipse inscribed in the rectangle: the pixels whose centers lie inside it.
void CGContextFillEllipseInRect(CGContextRef context, CGRect rect);
// Sets the pixels of the rectangle to transparent black.
void CGContextClearRect(CGContextRef context, CGRect rect);

// Paints the gradient along the line from `start` to `end` (user space): a pixel at P takes the
// gradient's color at s = ((P - start) . (end - start)) / |end - start|^2 and is composited
// source-over. With options 0 nothing is painted where s lies outside [0, 1]; coinciding end
// points paint nothing.
void CGContextDrawLinearGradient(CGContextRef context, CGGradientRef gradient, CGPoint start, CGPoint end,
                                 uint32_t options);
