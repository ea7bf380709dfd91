#include "LayerRenderer.h"

#include "Painter.h"
#include "ShadowBlur.h"
#include "uikit/CALayer.h"
#include "uikit/UIView.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace {

// Pixels across the largest picture Cairo makes: a bitmap past it is neither made nor drawn.
constexpr double kLargestPicture = 32767;

bool drawsItself(const UIView& view) {
    static const SEL drawRect = sel_registerName("drawRect:");
    return view.isa->lookup(drawRect) != class_getInstanceMethod(classOf<UIView>(), drawRect);
}

// Runs the view's drawRect: into a bitmap context of its pixel size and lays the result over
// its bounds.
void paintDrawRect(Painter& painter, UIView& view, double scale) {
    const CGRect b = view.bounds();
    const double pw = std::ceil(b.size.width * scale - 1e-9), ph = std::ceil(b.size.height * scale - 1e-9);
    // Nothing to draw, or more than a picture can hold (NaN too): nothing is drawn.
    if (!(pw >= 1 && ph >= 1 && pw <= kLargestPicture && ph <= kLargestPicture))
        return;
    if (b.size.width <= 0 || b.size.height <= 0)
        return;
    const auto w = size_t(pw), h = size_t(ph);
    CGContextRef ctx = CGBitmapContextCreate(w, h);
    CGContextScaleCTM(ctx, scale, scale);
    CGContextTranslateCTM(ctx, -b.origin.x, -b.origin.y);
    UIGraphicsPushContext(ctx);
    msg(view.self(), "drawRect:", b);
    UIGraphicsPopContext();
    painter.drawRGBA(CGBitmapContextGetData(ctx), w, h, CGBitmapContextGetBytesPerRow(ctx),
                     CGRectMake(b.origin.x, b.origin.y, double(w) / scale, double(h) / scale));
    CGContextRelease(ctx);
}

// The shadow of the layer's box (its background or border outline), blurred by its radius.
void paintShadow(cairo_t* cr, const CALayer& layer, CGSize size, double scale) {
    const float opacity = layer.shadowOpacity();
    const CGColor color = layer.shadowColor();
    const bool hasShape =
        layer.backgroundColor().a > 0 || (layer.borderWidth() > 0 && layer.borderColor().a > 0);
    if (opacity <= 0 || color.a <= 0 || !hasShape || size.width <= 0 || size.height <= 0)
        return;
    const double blur = std::max(0.0, layer.shadowRadius());
    const double margin = std::ceil(blur * 2) + 1;
    const double maskWidth = std::ceil((size.width + 2 * margin) * scale);
    const double maskHeight = std::ceil((size.height + 2 * margin) * scale);
    if (!(maskWidth <= kLargestPicture && maskHeight <= kLargestPicture))
        return;
    const int pw = int(maskWidth), ph = int(maskHeight);
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, pw, ph);
    {
        cairo_t* mc = cairo_create(mask);
        cairo_scale(mc, scale, scale);
        Painter(mc).fillRoundedRect(CGRectMake(margin, margin, size.width, size.height), layer.cornerRadius(),
                                    {0, 0, 0, 1});
        cairo_destroy(mc);
    }
    cairo_surface_flush(mask);
    boxBlurAlpha(cairo_image_surface_get_data(mask), pw, ph, cairo_image_surface_get_stride(mask),
                 int(std::lround(blur * scale / 2)));
    cairo_surface_mark_dirty(mask);
    cairo_save(cr);
    cairo_translate(cr, layer.shadowOffset().width - margin, layer.shadowOffset().height - margin);
    cairo_scale(cr, 1 / scale, 1 / scale);
    cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a * opacity);
    cairo_mask_surface(cr, mask, 0, 0);
    cairo_restore(cr);
    cairo_surface_destroy(mask);
}

} // namespace

CGRect layerTreeExtentInParent(const CALayer& layer, bool withOwnMargins) {
    const Ref<UIView> view = layer.view();
    const bool hidden = view ? view->isHidden() : layer.isHidden();
    const double opacity = view ? view->alpha() : layer.opacity();
    if (hidden || opacity <= 0)
        return CGRectNull;
    const CGRect frame = view ? view->frame() : layer.frame();
    // A view of no size draws nothing of its own.
    CGRect drawn = CGRectIsEmpty(frame) ? CGRectNull : withOwnMargins ? layerOwnExtent(layer, frame) : frame;
    if (layer.masksToBounds())
        return drawn;
    const CGRect bounds = view ? view->bounds() : layer.bounds();
    for (const id& sublayer : layer.sublayers()) {
        auto sub = cast<CALayer>(sublayer);
        const CGRect r = sub ? layerTreeExtentInParent(*sub, withOwnMargins) : CGRectNull;
        if (!CGRectIsNull(r))
            drawn = CGRectUnion(
                drawn, CGRectOffset(r, frame.origin.x - bounds.origin.x, frame.origin.y - bounds.origin.y));
    }
    return drawn;
}

CGRect layerTreeDrawnRect(const id& layerObject) {
    auto layer = cast<CALayer>(layerObject);
    if (!layer)
        return CGRectNull;
    const Ref<UIView> view = layer->view();
    const CGRect frame = view ? view->frame() : layer->frame();
    const CGRect bounds = view ? view->bounds() : layer->bounds();
    const CGRect drawn = layerTreeExtentInParent(*layer, false);
    if (CGRectIsNull(drawn))
        return bounds;
    return CGRectUnion(
        bounds, CGRectOffset(drawn, bounds.origin.x - frame.origin.x, bounds.origin.y - frame.origin.y));
}

void renderLayerTree(cairo_t* cr, const id& layerObject, double scale, bool placeAtFrame) {
    auto layer = cast<CALayer>(layerObject);
    if (!layer)
        return;
    const Ref<UIView> view = layer->view();
    const bool hidden = view ? view->isHidden() : layer->isHidden();
    const double opacity = view ? view->alpha() : layer->opacity();
    if (hidden || opacity <= 0)
        return;
    const CGRect frame = view ? view->frame() : layer->frame();
    const CGRect bounds = view ? view->bounds() : layer->bounds();
    const CGRect box = CGRectMake(0, 0, frame.size.width, frame.size.height);
    const CGFloat radius = layer->cornerRadius();

    Painter painter(cr);
    cairo_save(cr);
    if (placeAtFrame)
        cairo_translate(cr, frame.origin.x, frame.origin.y);
    // Only what reaches the clip is drawn: a redraw of a screen's changed part skips the rest.
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    const CGRect clip = CGRectMake(x1, y1, x2 - x1, y2 - y1);
    const bool reachesClip = CGRectIntersectsRect(layerOwnExtent(*layer, box), clip);
    if (!reachesClip && layer->masksToBounds()) {
        cairo_restore(cr);
        return;
    }
    const bool group = opacity < 1;
    if (group)
        cairo_push_group(cr);

    if (reachesClip) {
        paintShadow(cr, *layer, box.size, scale);
        painter.fillRoundedRect(box, radius, layer->backgroundColor());
    }
    cairo_save(cr);
    if (layer->masksToBounds())
        painter.clipRoundedRect(box, radius);
    cairo_translate(cr, -bounds.origin.x, -bounds.origin.y);
    if (view && reachesClip) {
        view->paintContent(painter);
        if (drawsItself(*view))
            paintDrawRect(painter, *view, scale);
    }
    for (const id& sublayer : layer->sublayers())
        renderLayerTree(cr, sublayer, scale, true);
    cairo_restore(cr);
    if (reachesClip)
        painter.strokeRoundedRect(box, radius, layer->borderWidth(), layer->borderColor());

    if (group) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, opacity);
    }
    cairo_restore(cr);
}
