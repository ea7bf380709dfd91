#include "uikit/UISnapshot.h"

#include "LayerRenderer.h"
#include "coregraphics/FloatToInteger.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kVeilAlpha = 0.4;

// Pixels across a length in points; past what an int holds it saturates (Cairo then refuses the
// surface and the picture is empty).
int pixels(double points, double scale) {
    return points > 0 ? clampToInteger<int>(std::ceil(points * scale - 1e-9)) : 0;
}

// A surface of the display's size with the windows drawn bottom to top and the alerts over them.
cairo_surface_t* renderWindows(const std::vector<id>& windows, const std::vector<Ref<UIAlertView>>& alerts,
                               CGSize size, double scale) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels(size.width, scale),
                                                          pixels(size.height, scale));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return surface;
    for (const id& window : windows)
        msg(window, "layoutIfNeeded");
    for (const auto& alert : alerts)
        msg(alert, "layoutIfNeeded");
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    paintDisplay(cr, windows, alerts, scale);
    cairo_destroy(cr);
    return surface;
}

// A surface the size of the view, with the view drawn and, for a screen, the alerts over it.
cairo_surface_t* render(const id& view, double scale, bool withAlerts) {
    msg(view, "layoutIfNeeded");
    const CGRect bounds = msg<CGRect>(view, "bounds");
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, pixels(bounds.size.width, scale), pixels(bounds.size.height, scale));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return surface;
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    auto* window = dynamic_cast<UIWindow*>(view.get());
    const auto alerts = !withAlerts ? std::vector<Ref<UIAlertView>>{}
                        : window    ? window->alerts()
                                    : UIAlertView::shownAlerts();
    for (const auto& alert : alerts)
        msg(alert, "layoutIfNeeded");
    paintScreen(cr, view, scale, alerts);
    cairo_destroy(cr);
    return surface;
}

bool write(cairo_surface_t* surface, const std::string& path) {
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                    cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

SnapshotImage take(cairo_surface_t* surface) {
    SnapshotImage image =
        cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS
            ? imageFromSurface(surface, 0, 0, size_t(cairo_image_surface_get_width(surface)),
                               size_t(cairo_image_surface_get_height(surface)))
            : SnapshotImage{};
    cairo_surface_destroy(surface);
    return image;
}

} // namespace

void paintScreen(cairo_t* cr, const id& view, double scale, const std::vector<Ref<UIAlertView>>& alerts) {
    renderLayerTree(cr, msg<id>(view, "layer"), scale, false);
    if (alerts.empty())
        return;
    cairo_save(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, kVeilAlpha);
    cairo_paint(cr);
    // The window's own origin is the screen's, so an alert's frame places it directly.
    const CGRect windowFrame = msg<CGRect>(view, "frame");
    cairo_translate(cr, -windowFrame.origin.x, -windowFrame.origin.y);
    for (const auto& alert : alerts)
        renderLayerTree(cr, msg<id>(alert, "layer"), scale, true);
    cairo_restore(cr);
}

void paintDisplay(cairo_t* cr, const std::vector<id>& bottomToTop,
                  const std::vector<Ref<UIAlertView>>& alerts, double scale) {
    for (const id& window : bottomToTop)
        renderLayerTree(cr, msg<id>(window, "layer"), scale, true);
    if (alerts.empty())
        return;
    cairo_set_source_rgba(cr, 0, 0, 0, kVeilAlpha);
    cairo_paint(cr);
    for (const auto& alert : alerts)
        renderLayerTree(cr, msg<id>(alert, "layer"), scale, true);
}

const UnpremultiplyTable& unpremultiplyTable() {
    static const UnpremultiplyTable* table = [] {
        auto* t = new UnpremultiplyTable;
        for (uint32_t a = 0; a < 256; ++a)
            for (uint32_t c = 0; c < 256; ++c)
                (*t)[a][c] = uint8_t(a == 0 ? 0 : (c * 255 + a / 2) / a);
        return t;
    }();
    return *table;
}

SnapshotImage imageFromSurface(cairo_surface_t* surface, size_t x0, size_t y0, size_t width, size_t height) {
    SnapshotImage image;
    cairo_surface_flush(surface);
    const auto fullWidth = size_t(cairo_image_surface_get_width(surface));
    const auto fullHeight = size_t(cairo_image_surface_get_height(surface));
    // A picture of no width keeps its height (and the other way round), as the surface has them.
    image.width = x0 < fullWidth ? std::min(width, fullWidth - x0) : 0;
    image.height = y0 < fullHeight ? std::min(height, fullHeight - y0) : 0;
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    image.rgba.resize(image.width * image.height * 4);
    const UnpremultiplyTable& straight = unpremultiplyTable();
    for (size_t y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + long(y0 + y) * stride) + x0;
        uint8_t* out = image.rgba.data() + y * image.width * 4; // no row at all when width is 0
        for (size_t x = 0; x < image.width; ++x, out += 4) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            if (a == 255) { // opaque, as most of a screen is: the channels are as stored
                out[0] = uint8_t(p >> 16);
                out[1] = uint8_t(p >> 8);
                out[2] = uint8_t(p);
            } else {
                const uint8_t* byAlpha = straight[a].data();
                out[0] = byAlpha[(p >> 16) & 0xFF];
                out[1] = byAlpha[(p >> 8) & 0xFF];
                out[2] = byAlpha[p & 0xFF];
            }
            out[3] = uint8_t(a);
        }
    }
    return image;
}

SnapshotImage::Pixel SnapshotImage::at(size_t x, size_t y) const {
    if (x >= width || y >= height)
        return {};
    const uint8_t* p = &rgba[(y * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

SnapshotImage UISnapshotRenderView(id view, double scale) {
    if (!view)
        return {};
    return take(render(view, scale, false));
}

SnapshotImage UISnapshotRenderScreen(id window, double scale) {
    if (!window)
        return {};
    return take(render(window, scale, true));
}

CGRect UISnapshotDrawnRect(id view) {
    if (!view)
        return CGRectNull;
    msg(view, "layoutIfNeeded");
    return layerTreeDrawnRect(msg<id>(view, "layer"));
}

bool UISnapshotWriteView(id view, std::string hostPngPath, double scale) {
    if (!view)
        return false;
    return write(render(view, scale, false), hostPngPath);
}

bool UISnapshotWriteScreen(id window, std::string hostPngPath, double scale) {
    if (!window)
        return false;
    return write(render(window, scale, true), hostPngPath);
}

SnapshotImage UISnapshotRenderWindows(const std::vector<id>& bottomToTop,
                                      const std::vector<Ref<UIAlertView>>& alerts, CGSize size,
                                      double scale) {
    return take(renderWindows(bottomToTop, alerts, size, scale));
}

bool UISnapshotWriteWindows(const std::vector<id>& bottomToTop, const std::vector<Ref<UIAlertView>>& alerts,
                            CGSize size, std::string hostPngPath, double scale) {
    return write(renderWindows(bottomToTop, alerts, size, scale), hostPngPath);
}
