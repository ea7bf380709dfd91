#include "uikit/UIDirtyRegion.h"

#include "LayerRenderer.h"

#include "uikit/CALayer.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

namespace {

// Beyond a box: antialiased edges and text that reaches a little past its label.
constexpr double kEdge = 2;
// Rectangles kept apart on one root before they are merged into their union.
constexpr size_t kMostRects = 12;
// Roots whose object is gone are dropped once this many are kept.
constexpr size_t kPruneAt = 64;

struct Marks {
    std::weak_ptr<Object> root;
    std::vector<std::vector<CGRect>> byReader; // by reader slot
};

// The marks by root. One device thread draws; the map is only touched there.
std::unordered_map<const Object*, Marks>& dirtyMarks() {
    static auto* all = new std::unordered_map<const Object*, Marks>;
    return *all;
}

// Which reader slots are taken; slot 0 is the reader of UIDirtyTake without one.
std::vector<bool>& readerSlots() {
    static auto* slots = new std::vector<bool>{true};
    return *slots;
}

// Leaves a slot empty on every root, for a reader that comes or goes.
void clearSlot(size_t slot) {
    for (auto& [object, marks] : dirtyMarks())
        if (slot < marks.byReader.size())
            marks.byReader[slot].clear();
}

bool dirtyRectsTouch(CGRect a, CGRect b) {
    return a.origin.x <= CGRectGetMaxX(b) && b.origin.x <= CGRectGetMaxX(a) &&
           a.origin.y <= CGRectGetMaxY(b) && b.origin.y <= CGRectGetMaxY(a);
}

void addDirtyRect(std::vector<CGRect>& rects, CGRect r) {
    // A rectangle that touches others swallows them, until it touches none.
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < rects.size(); ++i) {
            if (dirtyRectsTouch(rects[i], r)) {
                r = CGRectUnion(r, rects[i]);
                rects.erase(rects.begin() + long(i));
                merged = true;
                break;
            }
        }
    }
    rects.push_back(r);
    if (rects.size() > kMostRects) {
        CGRect all = rects.front();
        for (const CGRect& q : rects)
            all = CGRectUnion(all, q);
        rects.assign(1, all);
    }
}

bool drawsAtAll(const CALayer& layer, const Ref<UIView>& view) {
    const bool hidden = view ? view->isHidden() : layer.isHidden();
    const double opacity = view ? view->alpha() : layer.opacity();
    return !hidden && opacity > 0;
}

} // namespace

CGRect layerOwnExtent(const CALayer& layer, CGRect frame) {
    const double border = layer.borderWidth() > 0 ? layer.borderWidth() : 0;
    CGRect r = CGRectInset(frame, -(kEdge + border), -(kEdge + border));
    if (layer.shadowOpacity() > 0 && layer.shadowColor().a > 0) {
        const double margin = std::ceil(std::max(0.0, double(layer.shadowRadius())) * 2) + 1 + kEdge;
        r = CGRectUnion(
            r, CGRectInset(CGRectOffset(frame, layer.shadowOffset().width, layer.shadowOffset().height),
                           -margin, -margin));
    }
    return r;
}

namespace {

// Marks a rectangle given in the layer's superlayer coordinates: carried up to the root.
void markDirtyInParent(const CALayer& layer, CGRect r) {
    if (CGRectIsNull(r) || CGRectIsEmpty(r))
        return;
    const CALayer* top = &layer;
    for (Ref<CALayer> up = cast<CALayer>(layer.superlayer()); up; up = cast<CALayer>(up->superlayer())) {
        const CGRect frame = up->frame(), bounds = up->bounds();
        r = CGRectOffset(r, frame.origin.x - bounds.origin.x, frame.origin.y - bounds.origin.y);
        top = up.get();
    }
    const Ref<UIView> root = top->view();
    if (!root || !(dynamic_cast<UIWindow*>(root.get()) || dynamic_cast<UIAlertView*>(root.get())))
        return;
    auto& all = dirtyMarks();
    if (all.size() >= kPruneAt)
        std::erase_if(all, [](const auto& entry) { return entry.second.root.expired(); });
    Marks& m = all[root.get()];
    if (m.root.lock() != root) // a new object where a gone one was
        m = Marks{root, {}};
    const std::vector<bool>& slots = readerSlots();
    m.byReader.resize(slots.size());
    for (size_t slot = 0; slot < slots.size(); ++slot)
        if (slots[slot])
            addDirtyRect(m.byReader[slot], r);
}

std::vector<CGRect> takeMarks(const UIView& root, size_t slot) {
    auto& all = dirtyMarks();
    auto it = all.find(&root);
    if (it == all.end())
        return {};
    std::vector<CGRect> rects;
    if (it->second.root.expired()) {
        all.erase(it);
        return rects;
    }
    if (slot < it->second.byReader.size())
        rects.swap(it->second.byReader[slot]);
    if (std::all_of(it->second.byReader.begin(), it->second.byReader.end(),
                    [](const std::vector<CGRect>& r) { return r.empty(); }))
        all.erase(it);
    return rects;
}

// Whether the layer's tree is under a window or an alert, which keep marks (checked first: a
// tree being built off screen marks often, and its marks would be dropped anyway).
bool underMarkedRoot(const CALayer& layer) {
    const CALayer* top = &layer;
    for (Ref<CALayer> up = cast<CALayer>(layer.superlayer()); up; up = cast<CALayer>(up->superlayer()))
        top = up.get();
    const Ref<UIView> root = top->view();
    return root && (dynamic_cast<UIWindow*>(root.get()) || dynamic_cast<UIAlertView*>(root.get()));
}

} // namespace

CGRect UIDirtyLayerTreeExtent(const CALayer& layer) {
    return layerTreeExtentInParent(layer, true);
}

void UIDirtyMarkLayerTree(CALayer& layer) {
    if (underMarkedRoot(layer))
        markDirtyInParent(layer, UIDirtyLayerTreeExtent(layer));
}

void UIDirtyMarkLayerRect(CALayer& layer, CGRect rect) {
    if (!drawsAtAll(layer, layer.view()) || !underMarkedRoot(layer))
        return;
    const CGRect frame = layer.frame(), bounds = layer.bounds();
    markDirtyInParent(layer, CGRectOffset(CGRectInset(rect, -kEdge, -kEdge), frame.origin.x - bounds.origin.x,
                                          frame.origin.y - bounds.origin.y));
}

std::vector<CGRect> UIDirtyTake(const UIView& root) {
    return takeMarks(root, 0);
}

std::vector<CGRect> UIDirtyTake(const UIView& root, const UIDirtyReader& reader) {
    return takeMarks(root, reader.slot());
}

UIDirtyReader::UIDirtyReader() {
    std::vector<bool>& slots = readerSlots();
    slot_ = size_t(std::find(slots.begin(), slots.end(), false) - slots.begin());
    if (slot_ == slots.size())
        slots.push_back(true);
    slots[slot_] = true;
    clearSlot(slot_);
}

UIDirtyReader::~UIDirtyReader() {
    readerSlots()[slot_] = false;
    clearSlot(slot_);
}
