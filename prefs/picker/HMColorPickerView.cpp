#include "picker/HMColorPickerView.h"

#include "coregraphics/CoreGraphics.h"
#include "foundation/ValueReadings.h"
#include "picker/PickerGeometry.h"
#include "picker/PickerTexts.h"
#include "uikit/UIKitConstants.h"

#include <cctype>
#include <memory>
#include <string>
#include <unordered_map>

// The selectors a picker sends to itself and its views, interned once per layout: a drag
// event sends several, and it is on the path of every reported finger position.
struct HMColorPickerSelectors {
    SEL squareTouch, barTouch, squareRefresh, sliderRefresh, markerPlacement, barUpdate, squareUpdate;
};

namespace {

constexpr const char* kMarkerImagePath = "/Library/PreferenceBundles/Hushmark.bundle/Selector.png";
constexpr const char* kMeasuringText = "Brightness:";
// The labels and entry buttons follow a width change by both side margins, their width and the
// top margin (15); the square and the bar by their width and the top margin (10).
constexpr NSUInteger kMaskLabels = UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth |
                                   UIViewAutoresizingFlexibleRightMargin |
                                   UIViewAutoresizingFlexibleTopMargin;
constexpr NSUInteger kMaskFields = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin;

SEL selectorOrNone(const char* name) {
    return name ? sel_registerName(name) : nullptr;
}

const HMColorPickerSelectors& selectorsFor(const PickerLayout& layout) {
    static std::unordered_map<const PickerLayout*, std::unique_ptr<HMColorPickerSelectors>> table;
    auto& slot = table[&layout];
    if (!slot) {
        slot = std::make_unique<HMColorPickerSelectors>(HMColorPickerSelectors{
            sel_registerName(layout.squareTouchOperation), sel_registerName(layout.barTouchOperation),
            sel_registerName(layout.squareRefreshOperation), sel_registerName(layout.sliderRefreshOperation),
            sel_registerName(layout.markerPlacementOperation),
            selectorOrNone(layout.squareRefreshBarUpdate.selector),
            selectorOrNone(layout.sliderRefreshSquareUpdate.selector)});
    }
    return *slot;
}

id classNamed(const char* name) {
    return classObject(objc_getClass(name));
}
id uiColor(SEL factory) {
    return msg<id>(classNamed("UIColor"), factory);
}
CGColor cgColorOf(const id& color) {
    return msg<CGColor>(color, SELECTOR("CGColor"));
}
CGRect frameOf(const id& view) {
    return msg<CGRect>(view, SELECTOR("frame"));
}
id layerOf(const id& view) {
    return msg<id>(view, SELECTOR("layer"));
}

id newView(const char* className, CGRect frame) {
    return msg<id>(msg<id>(classNamed(className), "alloc"), "initWithFrame:", frame);
}

// A one-line label in the default font with a clear background and blue text.
id newLabel(CGRect frame, NSInteger alignment, const std::string& text) {
    id label = newView("UILabel", frame);
    msg(label, "setNumberOfLines:", NSInteger{1});
    msg(label, "setBackgroundColor:", uiColor(SELECTOR("clearColor")));
    msg(label, "setTextColor:", uiColor(SELECTOR("blueColor")));
    msg(label, "setTextAlignment:", alignment);
    msg(label, "setAutoresizingMask:", kMaskLabels);
    if (!text.empty())
        msg(label, "setText:", text);
    return label;
}

// A button over a value label that opens the prompt for that label's component; it shows only
// as a faint tint with rounded corners.
id newEntryButton(CGRect frame, const id& target, const char* action) {
    id button = msg<id>(classNamed("UIButton"), "buttonWithType:", UIButtonTypeSystem);
    msg(button, "setFrame:", frame);
    msg(button, "setTitle:forState:", "", UIControlStateNormal);
    msg(button, "addTarget:action:forControlEvents:", target, sel_registerName(action),
        UIControlEventTouchUpInside);
    msg(layerOf(button), "setCornerRadius:", CGFloat{5});
    msg(button, "setBackgroundColor:",
        msg<id>(classNamed("UIColor"), "colorWithRed:green:blue:alpha:", CGFloat{0}, CGFloat{0}, CGFloat{0},
                0.04));
    msg(button, "setAutoresizingMask:", kMaskLabels);
    return button;
}

// An invisible button (no title, no background) that takes the touches over a color field.
id newTouchEater(CGRect frame, const id& target) {
    id button = msg<id>(classNamed("UIButton"), "buttonWithType:", UIButtonTypeSystem);
    msg(button, "setFrame:", frame);
    msg(button, "setAlpha:", CGFloat{1});
    msg(button, "addTarget:action:forControlEvents:", target, SELECTOR("touchesMovedButton:withEvent:"),
        UIControlEventTouchDragInside);
    msg(button, "addTarget:action:forControlEvents:", target, SELECTOR("touchesEndedButton:withEvent:"),
        UIControlEventTouchUpInside | UIControlEventTouchUpOutside);
    return button;
}

// A color field: bordered, rounded and clipped to its rounded bounds.
id newColorField(const char* className, CGRect frame) {
    id view = msg<id>(msg<id>(classNamed(className), "alloc"), "init");
    msg(view, "setFrame:", frame);
    msg(view, "setAutoresizingMask:", kMaskFields);
    id layer = layerOf(view);
    msg(layer, "setBorderWidth:", CGFloat{1});
    msg(layer, "setCornerRadius:", CGFloat{6});
    msg(layer, "setBorderColor:", cgColorOf(uiColor(SELECTOR("blackColor"))));
    msg(layer, "setMasksToBounds:", true);
    return view;
}

// A ring with a soft dark shadow, filled with the current color.
id newCrosshair(CGRect frame) {
    id view = newView("UIView", frame);
    msg(view, "setAutoresizingMask:", UIViewAutoresizingNone);
    id layer = layerOf(view);
    msg(layer, "setCornerRadius:", CGFloat{10});
    msg(layer, "setBorderColor:",
        cgColorOf(msg<id>(classNamed("UIColor"), "colorWithWhite:alpha:", CGFloat{1}, CGFloat{0.5})));
    msg(layer, "setBorderWidth:", CGFloat{1});
    msg(layer, "setShadowColor:", cgColorOf(uiColor(SELECTOR("blackColor"))));
    msg(layer, "setShadowOffset:", CGSizeZero);
    msg(layer, "setShadowRadius:", CGFloat{1});
    msg(layer, "setShadowOpacity:", 1.0f);
    return view;
}

id newMarker(CGRect frame) {
    id view = newView("UIImageView", frame);
    msg(view, "setImage:", msg<id>(classNamed("UIImage"), "imageNamed:", kMarkerImagePath));
    msg(view, "setBackgroundColor:", uiColor(SELECTOR("clearColor")));
    msg(view, "setAutoresizingMask:", UIViewAutoresizingNone);
    return view;
}

// Sends a view the components a ViewUpdate names, in its order.
void sendUpdate(const id& view, SEL selector, const ViewUpdate& update, const HsbComponents& c) {
    if (!selector)
        return;
    const auto& a = update.arguments;
    switch (update.count) {
    case 1:
        msg(view, selector, c[a[0]]);
        break;
    case 2:
        msg(view, selector, c[a[0]], c[a[1]]);
        break;
    case 3:
        msg(view, selector, c[a[0]], c[a[1]], c[a[2]]);
        break;
    default:
        break;
    }
}

Class* pickerClass(const PickerLayout& layout) {
    return objc_getClass(layout.className);
}

} // namespace

HMColorPickerView::HMColorPickerView(const PickerLayout& layout)
    : layout_(layout), selectors_(selectorsFor(layout)) {}

id HMColorPickerView::initWithFrameColorColorsHaveChangedBlockSaveChangesBlock(CGRect frame, id color,
                                                                               ColorBlock changed,
                                                                               ColorBlock save) {
    if (!msgSuper<id>(this, pickerClass(layout_), "init"))
        return nullptr;
    msg(this, "setFrame:", frame);
    color_ = std::move(color);
    colorsHaveChangedBlock_ = std::move(changed);
    saveChangesBlock_ = std::move(save);

    const CGSize size = frame.size;
    {
        // One line of the measuring text in the default label font gives every label's height.
        id measuring = newView("UILabel", pickerFrames(size, 0).measuringLabel);
        msg(measuring, "setNumberOfLines:", NSInteger{1});
        msg(measuring, "setText:", kMeasuringText);
        msg(measuring, "sizeToFit");
        labelHeight_ = frameOf(measuring).size.height;
    }
    const PickerFrames f = pickerFrames(size, labelHeight_);
    const id me = self();

    topLeftLabel_ = newLabel(f.topLeftLabel, NSTextAlignmentLeft, "");
    id topLeftButton = newEntryButton(f.topLeftLabel, me, askActionFor(layout_.topLeftText.component));
    topRightLabel_ = newLabel(f.topRightLabel, NSTextAlignmentRight, "");
    id topRightButton = newEntryButton(f.topRightLabel, me, askActionFor(layout_.topRightText.component));
    square_ = newColorField(layout_.squareClass, f.square);
    squareTouchEater_ = newTouchEater(f.square, me);
    bar_ = newColorField(layout_.barClass, f.bar);
    marker_ = newMarker(f.marker);
    barTouchEater_ = newTouchEater(f.bar, me);
    id sliderTitle = newLabel(f.sliderTitle, NSTextAlignmentRight, layout_.sliderTitle);
    sliderValueLabel_ = newLabel(f.sliderValueLabel, NSTextAlignmentLeft, "");
    id sliderButton =
        newEntryButton(f.sliderEntryButton, me, askActionFor(layout_.sliderValueText.component));
    crossHairs_ = newCrosshair(f.crosshair);

    msg(this, "setColor:", color_);

    for (const id& view :
         {topLeftLabel_, topRightLabel_, square_, crossHairs_, sliderTitle, sliderValueLabel_, bar_, marker_,
          squareTouchEater_, barTouchEater_, topRightButton, topLeftButton, sliderButton}) {
        msg(this, "addSubview:", view);
    }
    return self();
}

void HMColorPickerView::layoutSubviews() {
    msgSuper(this, pickerClass(layout_), "layoutSubviews");
    const CGSize size = msg<CGRect>(this, SELECTOR("frame")).size;
    const CGRect square = squareFrame(size, labelHeight_);
    msg(square_, SELECTOR("setFrame:"), square);
    msg(squareTouchEater_, SELECTOR("setFrame:"), square);
    const CGRect bar = barFrame(square, size, labelHeight_);
    msg(bar_, SELECTOR("setFrame:"), bar);
    msg(barTouchEater_, SELECTOR("setFrame:"), bar);
    msg(this, selectors_.markerPlacement);
    msg(this, SELECTOR("_updateCrosshairPosition"));
}

void HMColorPickerView::setColor(id color) {
    CGFloat alpha = 0; // not read: the picker's colors are opaque
    msg<bool>(color, SELECTOR("getHue:saturation:brightness:alpha:"), &current_.hue, &current_.saturation,
              &current_.brightness, &alpha);
    sendUpdate(bar_, selectors_.barUpdate, layout_.squareRefreshBarUpdate, current_);
    sendUpdate(square_, selectors_.squareUpdate, layout_.sliderRefreshSquareUpdate, current_);
    msg(this, selectors_.sliderRefresh);
    msg(this, selectors_.squareRefresh);
    msg(this, SELECTOR("_updateCrosshairPosition"));
    msg(this, selectors_.markerPlacement);
    showCurrentColorInCrosshair(color);
}

// --- Value labels and markers -----------------------------------------------------------------

void HMColorPickerView::updateSquareSelector() {
    sendUpdate(bar_, selectors_.barUpdate, layout_.squareRefreshBarUpdate, current_);
    msg(topLeftLabel_, SELECTOR("setText:"), componentText(layout_.topLeftText, current_));
    msg(topRightLabel_, SELECTOR("setText:"), componentText(layout_.topRightText, current_));
}

void HMColorPickerView::updateSliderSelector() {
    sendUpdate(square_, selectors_.squareUpdate, layout_.sliderRefreshSquareUpdate, current_);
    msg(sliderValueLabel_, SELECTOR("setText:"), componentText(layout_.sliderValueText, current_));
}

void HMColorPickerView::updateCrosshairPosition() {
    msg(crossHairs_, SELECTOR("setCenter:"), crosshairCenter(layout_, current_, frameOf(square_)));
}

void HMColorPickerView::updateMarkerPosition() {
    msg(marker_, SELECTOR("setCenter:"), markerCenter(layout_, current_, frameOf(bar_)));
}

// --- Touches ------------------------------------------------------------------------------------

void HMColorPickerView::touchesMovedButtonWithEvent(id sender, id event) {
    for (const id& touch : msg<std::vector<id>>(event, SELECTOR("touchesForView:"), sender)) {
        const CGPoint p = msg<CGPoint>(touch, SELECTOR("locationInView:"), self());
        msg(this, SELECTOR("dispatchTouchEvent:isMoving:"), p, true);
    }
}

void HMColorPickerView::touchesEndedButtonWithEvent(id sender, id event) {
    for (const id& touch : msg<std::vector<id>>(event, SELECTOR("touchesForView:"), sender)) {
        const CGPoint p = msg<CGPoint>(touch, SELECTOR("locationInView:"), self());
        msg(this, SELECTOR("dispatchTouchEvent:isMoving:"), p, false);
    }
    if (saveChangesBlock_)
        saveChangesBlock_(color_);
}

void HMColorPickerView::dispatchTouchEventIsMoving(CGPoint point, bool) {
    const TouchRegions regions{frameOf(square_), frameOf(bar_), frameOf(sliderValueLabel_).origin.y,
                               frameOf(topLeftLabel_).origin.y + labelHeight_};
    const TouchTarget target = dispatchTouch(regions, point);
    switch (target.kind) {
    case TouchTarget::Square:
        msg(crossHairs_, SELECTOR("setCenter:"), target.point);
        msg(this, selectors_.squareTouch, target.point);
        break;
    case TouchTarget::Bar: {
        const CGRect bar = regions.bar;
        msg(marker_, SELECTOR("setCenter:"), CGPointMake(target.point.x, bar.origin.y + bar.size.height / 2));
        msg(this, selectors_.barTouch, target.point);
        break;
    }
    case TouchTarget::Ignored:
        break;
    }
}

void HMColorPickerView::updateSquareWithTouch(CGPoint point) {
    applySquareTouch(layout_, current_, frameOf(square_), point);
    msg(this, selectors_.squareRefresh);
    id color = colorOfCurrentComponents();
    showCurrentColorInCrosshair(color);
    msg(this, SELECTOR("_setColor:"), color);
}

void HMColorPickerView::updateSliderWithTouch(CGPoint point) {
    applyBarTouch(layout_, current_, frameOf(bar_), point.x);
    msg(this, selectors_.sliderRefresh);
    id color = colorOfCurrentComponents();
    showCurrentColorInCrosshair(color);
    msg(this, SELECTOR("_setColor:"), color);
}

void HMColorPickerView::reportColor(id color) {
    if (msg<bool>(color_, SELECTOR("isEqual:"), color))
        return;
    if (colorsHaveChangedBlock_)
        colorsHaveChangedBlock_(color);
    color_ = std::move(color);
}

id HMColorPickerView::colorOfCurrentComponents() const {
    return msg<id>(classNamed("UIColor"), SELECTOR("colorWithHue:saturation:brightness:alpha:"), current_.hue,
                   current_.saturation, current_.brightness, CGFloat{1});
}

void HMColorPickerView::showCurrentColorInCrosshair(const id& color) {
    msg(layerOf(crossHairs_), SELECTOR("setBackgroundColor:"), cgColorOf(color));
}

// --- Typed entry --------------------------------------------------------------------------------

void HMColorPickerView::askUserForHue() {
    askUserFor(HsbComponent::Hue);
}
void HMColorPickerView::askUserForSaturation() {
    askUserFor(HsbComponent::Saturation);
}
void HMColorPickerView::askUserForBrightness() {
    askUserFor(HsbComponent::Brightness);
}

void HMColorPickerView::askUserFor(HsbComponent component) {
    const EntryPrompt prompt = entryPromptFor(component);
    id alert = msg<id>(msg<id>(classNamed("UIAlertView"), "alloc"),
                       "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:", "",
                       entryMessage(component, current_), self(), "Cancel", std::vector<std::string>{"OK"});
    msg(alert, "setAlertViewStyle:", UIAlertViewStylePlainTextInput);
    msg(alert, "setTag:", NSInteger{prompt.tag});
    msg(msg<id>(alert, "textFieldAtIndex:", NSInteger{0}), "setKeyboardType:", UIKeyboardTypeNumberPad);
    msg(alert, "show");
}

void HMColorPickerView::alertViewClickedButtonAtIndex(id alertView, NSInteger buttonIndex) {
    if (buttonIndex != kOkButtonIndex)
        return; // Cancel changes nothing and calls nothing
    const NSInteger tag = msg<NSInteger>(alertView, "tag");
    if (entryComponentForTag(tag)) { // a prompt of this picker
        const std::string text =
            msg<std::string>(msg<id>(alertView, "textFieldAtIndex:", NSInteger{0}), "text");
        applyTypedEntry(current_, tag, buttonIndex, NSStringFloatValue(text));
        // The color made from the typed component decides what all three read back as.
        id color = colorOfCurrentComponents();
        msg(this, "setColor:", color);
        msg(this, "_setColor:", color);
    }
    if (saveChangesBlock_)
        saveChangesBlock_(color_);
}

// --- Registration -------------------------------------------------------------------------------

namespace {

std::string propertyName(const char* ivarName) {
    return ivarName[0] == '_' ? ivarName + 1 : ivarName;
}

std::string setterName(const std::string& property) {
    std::string s = "set" + property + ":";
    s[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[3])));
    return s;
}

// An object slot: the instance variable under the layout's name, and its plain property.
void addSlot(std::vector<objc::Entry>& entries, const char* ivarName, id HMColorPickerView::*member) {
    const std::string property = propertyName(ivarName);
    entries.push_back(ivar(ivarName, member));
    entries.push_back(method(
        property, [member](Object* self) -> id { return static_cast<HMColorPickerView*>(self)->*member; }));
    entries.push_back(method(setterName(property), [member](Object* self, id value) {
        static_cast<HMColorPickerView*>(self)->*member = std::move(value);
    }));
}

// A current component: a double instance variable inside the picker's component record.
objc::Entry componentIvar(const char* name, HsbComponent component) {
    auto v = std::make_shared<Ivar>();
    v->name = name;
    v->type = typeid(double);
    v->address = [component](Object* o) -> void* {
        return &static_cast<HMColorPickerView*>(o)->current_[component];
    };
    return {objc::Entry::Variable, name, Imp{}, v};
}

} // namespace

std::vector<objc::Entry> colorPickerEntries(const PickerLayout& layout) {
    using P = HMColorPickerView;
    std::vector<objc::Entry> e = {
        componentIvar("currentBrightness", HsbComponent::Brightness),
        componentIvar("currentHue", HsbComponent::Hue),
        componentIvar("currentSaturation", HsbComponent::Saturation),
        ivar("labelHeight", &P::labelHeight_),
        ivar("_colorsHaveChangedBlock", &P::colorsHaveChangedBlock_),
        ivar("_saveChangesBlock", &P::saveChangesBlock_),
        ivar("_color", &P::color_),
        method("color", &P::color),
        method("setColor:", &P::setColor),
        method("colorsHaveChangedBlock", &P::colorsHaveChangedBlock),
        method("setColorsHaveChangedBlock:", &P::setColorsHaveChangedBlock),
        method("saveChangesBlock", &P::saveChangesBlock),
        method("setSaveChangesBlock:", &P::setSaveChangesBlock),
        method("initWithFrame:color:colorsHaveChangedBlock:saveChangesBlock:",
               &P::initWithFrameColorColorsHaveChangedBlockSaveChangesBlock),
        method("layoutSubviews", &P::layoutSubviews),
        method("touchesMovedButton:withEvent:", &P::touchesMovedButtonWithEvent),
        method("touchesEndedButton:withEvent:", &P::touchesEndedButtonWithEvent),
        method("askUserForHue", &P::askUserForHue),
        method("askUserForSaturation", &P::askUserForSaturation),
        method("askUserForBrightness", &P::askUserForBrightness),
        method("alertView:clickedButtonAtIndex:", &P::alertViewClickedButtonAtIndex),
        method("dispatchTouchEvent:isMoving:", &P::dispatchTouchEventIsMoving),
        method(layout.squareTouchOperation, &P::updateSquareWithTouch),
        method(layout.barTouchOperation, &P::updateSliderWithTouch),
        method(layout.squareRefreshOperation, &P::updateSquareSelector),
        method(layout.sliderRefreshOperation, &P::updateSliderSelector),
        method(kCrosshairPlacementOperation, &P::updateCrosshairPosition),
        method(layout.markerPlacementOperation, &P::updateMarkerPosition),
        method("_setColor:", &P::reportColor),
    };
    addSlot(e, layout.squareIvar, &P::square_);
    addSlot(e, layout.squareTouchEaterIvar, &P::squareTouchEater_);
    addSlot(e, layout.topLeftLabelIvar, &P::topLeftLabel_);
    addSlot(e, layout.topRightLabelIvar, &P::topRightLabel_);
    addSlot(e, "_crossHairs", &P::crossHairs_);
    addSlot(e, layout.barIvar, &P::bar_);
    addSlot(e, layout.barTouchEaterIvar, &P::barTouchEater_);
    addSlot(e, layout.sliderValueLabelIvar, &P::sliderValueLabel_);
    addSlot(e, layout.markerIvar, &P::marker_);
    return e;
}
