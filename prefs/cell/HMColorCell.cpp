#include "cell/HMColorCell.h"

#include "cell/CellViews.h"
#include "cell/ColorCellEditing.h"
#include "cell/ColorCellInitialLoad.h"
#include "cell/ColorCellLayout.h"
#include "coregraphics/CGColor.h"
#include "foundation/PropertyList.h"
#include "uikit/UIKitConstants.h"

#include <array>

namespace {

// Autoresizing the cell's views use: both side margins and the width flexible (7), or only the
// side margins (5).
constexpr NSUInteger kCellResizeWidthAndMargins = UIViewAutoresizingFlexibleLeftMargin |
                                                  UIViewAutoresizingFlexibleWidth |
                                                  UIViewAutoresizingFlexibleRightMargin;
constexpr NSUInteger kCellResizeMargins =
    UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin;

const char* const kHelpText =
    "-- Tap once on a color gradient to select a color.\n"
    "-- Tap, hold and drag on a color gradient to scroll through different colors.\n"
    "-- Tap once on a number value to bring up a keyboard and enter a value directly.\n"
    "-- Tap once on the hex value to bring up a keyboard and enter a value directly.";

// What the settings file holds for the cell, or none when it does not read.
std::optional<StoredColorSettings> readStoredSettings(const std::string& domain,
                                                      const std::optional<std::string>& key) {
    const auto file = dictionaryWithContentsOfFile(colorSettingsPath(domain));
    if (!file)
        return std::nullopt;
    StoredColorSettings stored;
    if (auto it = key ? file->find(*key) : file->end(); it != file->end() && it->second.isString())
        stored.value = it->second.asString();
    if (auto it = file->find("buttonAlphaLevel"); it != file->end())
        stored.alphaPercent = it->second.floatValue();
    if (auto it = file->find("colorPickerType"); it != file->end())
        stored.colorPickerType = it->second.intValue();
    return stored;
}

} // namespace

id HMColorCell::initWithStyleReuseIdentifierSpecifier(NSInteger /*style*/, std::string reuseIdentifier,
                                                      id specifier) {
    // The cell always lays itself out the same way, whatever style the host asks for.
    id me =
        msgSuper<id>(this, classOf<HMColorCell>(), "initWithStyle:reuseIdentifier:specifier:", NSInteger{0},
                     reuseIdentifier, specifier);
    if (!me)
        return nullptr;

    const PlistValue prefer = msg<PlistValue>(specifier, "propertyForKey:", std::string("preferColorPicker"));
    const bool pickerAboveRows = prefer.isNone() ? true : prefer.boolValue();
    specifierObject = specifierString(specifier, "key");
    defaults = specifierString(specifier, "defaults");
    PostNotification = specifierString(specifier, "PostNotification");

    msg(me, "setBackgroundColor:", namedColor("whiteColor"));
    buildViews(pickerAboveRows);
    return me;
}

void HMColorCell::buildViews(bool pickerAboveRows) {
    const id me = self();
    const id specifier = msg<id>(me, "specifier");
    const double w = msg<CGRect>(me, "frame").size.width;

    // The hex field is as wide as the widest text it is meant to show, plus one digit.
    id scratch = makeLabel(hexMeasureFrame(w), "#FFFFFFF", namedColor("blackColor"), NSTextAlignmentLeft);
    msg(scratch, "sizeToFit");
    const CGSize measured = msg<CGRect>(scratch, "frame").size;
    const ColorCellLayout layout = colorCellLayout(w, pickerAboveRows, measured.width, measured.height);

    const id blue = namedColor("blueColor"), black = namedColor("blackColor");
    hexColorField = makeLabel(layout.hexField, "", blue, NSTextAlignmentCenter);
    msg(hexColorField, "setAutoresizingMask:", kCellResizeWidthAndMargins);
    buttonColorField = makeLabel(layout.sample, "Button", black, NSTextAlignmentCenter);
    msg(buttonColorField, "setAutoresizingMask:", kCellResizeWidthAndMargins);
    const id sampleLayer = msg<id>(buttonColorField, "layer");
    msg(sampleLayer, "setBorderColor:", msg<CGColor>(black, "CGColor"));
    msg(sampleLayer, "setBorderWidth:", CGFloat{1});
    msg(sampleLayer, "setCornerRadius:", CGFloat{5});
    msg(sampleLayer, "setMasksToBounds:", true);

    const std::array<const char*, 3> captions{"Red", "Green", "Blue"};
    std::array<id*, 3> titles{&titleR, &titleG, &titleB};
    std::array<id*, 3> values{&valueR, &valueG, &valueB};
    for (int i = 0; i < 3; ++i)
        *titles[i] = makeLabel(layout.captions[i], captions[i], black, NSTextAlignmentLeft);
    for (int i = 0; i < 3; ++i) {
        *values[i] = makeLabel(layout.channelButtons[i], "0", blue, NSTextAlignmentRight);
        msg(*values[i], "setAutoresizingMask:", kCellResizeMargins);
    }

    const id hexButton =
        makeTintedButton(layout.hexField, me, "askUserForInputHex", kCellResizeWidthAndMargins);
    const std::array<const char*, 3> actions{"askUserForInputR", "askUserForInputG", "askUserForInputB"};
    std::array<id, 3> channelButtons;
    for (int i = 0; i < 3; ++i)
        channelButtons[i] = makeTintedButton(layout.channelButtons[i], me, actions[i], kCellResizeMargins);

    min = msg<PlistValue>(specifier, "propertyForKey:", std::string("min")).floatValue();
    max = msg<PlistValue>(specifier, "propertyForKey:", std::string("max")).floatValue();
    std::array<id*, 3> sliders{&sliderR, &sliderG, &sliderB};
    for (int i = 0; i < 3; ++i) {
        id slider = msg<id>(msg<id>(classObject(objc_getClass("UISlider")), "alloc"),
                            "initWithFrame:", cgRect(layout.sliders[i]));
        msg(slider, "setMinimumValue:", min);
        msg(slider, "setMaximumValue:", max);
        msg(slider, "setContinuous:", true);
        msg(slider, "setAutoresizingMask:", kCellResizeWidthAndMargins);
        msg(slider, "addTarget:action:forControlEvents:", me, SELECTOR("sliderValueChangedAction:"),
            UIControlEventValueChanged);
        msg(slider, "addTarget:action:forControlEvents:", me, SELECTOR("sliderTouchUpInsideOutsideAction:"),
            UIControlEventTouchUpInside | UIControlEventTouchUpOutside);
        *sliders[i] = slider;
    }

    const ColorChannels initial = loadInitialColor();

    const id content = msg<id>(me, "contentView");
    for (const id& view :
         {hexColorField, buttonColorField, titleR, titleG, titleB, channelButtons[0], channelButtons[1],
          channelButtons[2], sliderR, sliderG, sliderB, valueR, valueG, valueB, hexButton})
        msg(content, "addSubview:", view);

    buildPicker(w, layout.pickerTop, initial);

    id help = msg<id>(msg<id>(classObject(objc_getClass("UILabel")), "alloc"),
                      "initWithFrame:", cgRect(layout.help));
    msg(help, "setNumberOfLines:", NSInteger{0});
    msg(help, "setText:", std::string(kHelpText));
    msg(help, "setTextColor:", black);
    msg(help, "setTextAlignment:", NSTextAlignmentLeft);
    msg(help, "setAutoresizingMask:", kCellResizeWidthAndMargins);
    msg(help, "sizeToFit");
    msg(content, "addSubview:", help);
}

ColorChannels HMColorCell::loadInitialColor() {
    std::optional<StoredColorSettings> stored;
    if (defaults)
        stored = readStoredSettings(*defaults, specifierObject);
    const id specifier = msg<id>(self(), "specifier");
    const InitialColor initial = initialColorFor(specifierString(specifier, "default").value_or(""), stored);
    buttonAlphaLevel = initial.buttonAlphaLevel;
    colorPickerType = initial.colorPickerType;

    msg(hexColorField, "setText:", initial.hexText);
    formatter = std::make_shared<NSNumberFormatter>();
    formatter->setNumberStyle(NSNumberFormatterDecimalStyle);
    formatter->setMaximumFractionDigits(0);

    const ColorChannels c = initial.channels;
    msg(buttonColorField, "setBackgroundColor:", colorOfChannels(c, buttonAlphaLevel));
    const bool white =
        msg<bool>(self(), "useWhiteFont:withGreen:withBlue:withOpacity:", c.r, c.g, c.b, buttonAlphaLevel);
    msg(buttonColorField, "setTextColor:", namedColor(white ? "whiteColor" : "blackColor"));

    // The labels show the parsed channels even where a slider clamps them.
    const std::array<int, 3> channels{c.r, c.g, c.b};
    const std::array<id, 3> sliders{sliderR, sliderG, sliderB}, values{valueR, valueG, valueB};
    for (int i = 0; i < 3; ++i) {
        msg(sliders[i], "setValue:", static_cast<float>(channels[i]));
        msg(values[i], "setText:", std::to_string(channels[i]));
    }
    return c;
}

void HMColorCell::buildPicker(double w, double pickerTop, ColorChannels initial) {
    // The picker keeps both callbacks; they hold the cell weakly so that the cell and its picker
    // do not keep each other alive.
    weak_id weakCell = self();
    std::function<void(id)> changed = [weakCell](id color) {
        if (id cell = weakCell.lock())
            static_cast<HMColorCell*>(cell.get())->colorsHaveChanged(std::move(color));
    };
    std::function<void(id)> save = [weakCell](id /*color*/) {
        if (id cell = weakCell.lock())
            static_cast<HMColorCell*>(cell.get())->saveColor();
    };

    const PickerType kind = pickerTypeFor(colorPickerType);
    // The sample's opacity never reaches the picker.
    id picker =
        msg<id>(msg<id>(classObject(objc_getClass(pickerClassName(kind))), "alloc"),
                "initWithFrame:color:colorsHaveChangedBlock:saveChangesBlock:",
                cgRect({0, pickerTop, w, kColorPickerHeight}), colorOfChannels(initial, 1.0), changed, save);
    msg(picker, "setAutoresizingMask:", kCellResizeWidthAndMargins);
    switch (kind) {
    case PickerType::Brightness:
        colorPickerView_B = picker;
        break;
    case PickerType::Saturation:
        colorPickerView_S = picker;
        break;
    case PickerType::Hue:
        colorPickerView_H = picker;
        break;
    }
    msg(msg<id>(self(), "contentView"), "addSubview:", picker);
}

bool HMColorCell::useWhiteFontWithGreenWithBlueWithOpacity(int r, int g, int b, float opacity) {
    return useWhiteFont(r, g, b, opacity);
}

static const ClassDef<HMColorCell> kHMColorCell(
    "HMColorCell", "PSTableCell",
    {
        method("initWithStyle:reuseIdentifier:specifier:",
               &HMColorCell::initWithStyleReuseIdentifierSpecifier),
        method("useWhiteFont:withGreen:withBlue:withOpacity:",
               &HMColorCell::useWhiteFontWithGreenWithBlueWithOpacity),
        method("askUserForInputHex", &HMColorCell::askUserForInputHex),
        method("askUserForInputR", &HMColorCell::askUserForInputR),
        method("askUserForInputG", &HMColorCell::askUserForInputG),
        method("askUserForInputB", &HMColorCell::askUserForInputB),
        method("alertView:clickedButtonAtIndex:", &HMColorCell::alertViewClickedButtonAtIndex),
        method("sliderValueChangedAction:", &HMColorCell::sliderValueChangedAction),
        method("sliderTouchUpInsideOutsideAction:", &HMColorCell::sliderTouchUpInsideOutsideAction),
        method("setColors:", &HMColorCell::setColors),
        ivar("hexColorField", &HMColorCell::hexColorField),
        ivar("buttonColorField", &HMColorCell::buttonColorField),
        ivar("titleR", &HMColorCell::titleR),
        ivar("titleG", &HMColorCell::titleG),
        ivar("titleB", &HMColorCell::titleB),
        ivar("valueR", &HMColorCell::valueR),
        ivar("valueG", &HMColorCell::valueG),
        ivar("valueB", &HMColorCell::valueB),
        ivar("sliderR", &HMColorCell::sliderR),
        ivar("sliderG", &HMColorCell::sliderG),
        ivar("sliderB", &HMColorCell::sliderB),
        ivar("colorPickerView_H", &HMColorCell::colorPickerView_H),
        ivar("colorPickerView_S", &HMColorCell::colorPickerView_S),
        ivar("colorPickerView_B", &HMColorCell::colorPickerView_B),
        ivar("min", &HMColorCell::min),
        ivar("max", &HMColorCell::max),
        ivar("buttonAlphaLevel", &HMColorCell::buttonAlphaLevel),
        ivar("colorPickerType", &HMColorCell::colorPickerType),
    });
