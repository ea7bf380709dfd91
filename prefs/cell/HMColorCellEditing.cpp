// HMColorCell after construction: the entry prompts and their answers, the slider actions, the
// picker's callbacks, repainting, and saving with its notification.
#include "cell/CellViews.h"
#include "cell/HMColorCell.h"
#include "cell/HexColorRule.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/ValueReadings.h"
#include "uikit/UIKitConstants.h"

#include <array>

namespace {

id newPrompt(const id& delegate, const std::string& message, long tag) {
    id alert = msg<id>(msg<id>(classObject(objc_getClass("UIAlertView")), "alloc"),
                       "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:", std::string(),
                       message, delegate, std::string("Cancel"), std::vector<std::string>{"Save"});
    msg(alert, "setAlertViewStyle:", UIAlertViewStylePlainTextInput);
    msg(alert, "setTag:", NSInteger{tag});
    return alert;
}

id promptField(const id& alert) {
    return msg<id>(alert, "textFieldAtIndex:", NSInteger{0});
}

ColorChannels sliderChannels(const id& r, const id& g, const id& b) {
    return channelsFromSliderValues(msg<float>(r, "value"), msg<float>(g, "value"), msg<float>(b, "value"));
}

} // namespace

id HMColorCell::chosenPicker() const {
    switch (pickerTypeFor(colorPickerType)) {
    case PickerType::Brightness:
        return colorPickerView_B;
    case PickerType::Saturation:
        return colorPickerView_S;
    case PickerType::Hue:
        break;
    }
    return colorPickerView_H;
}

void HMColorCell::askUserForInputHex() {
    const std::string current = msg<std::string>(hexColorField, "text");
    msg(newPrompt(self(), hexPromptMessage(current), kHexPromptTag), "show");
}

void HMColorCell::askUserForInputR() {
    askUserForChannel(ColorChannel::Red);
}
void HMColorCell::askUserForInputG() {
    askUserForChannel(ColorChannel::Green);
}
void HMColorCell::askUserForInputB() {
    askUserForChannel(ColorChannel::Blue);
}

void HMColorCell::askUserForChannel(ColorChannel channel) {
    // The unit is read afresh each time: the only property the cell does not fix at creation.
    const std::string unit = specifierString(msg<id>(self(), "specifier"), "type").value_or("");
    id alert = newPrompt(self(), channelPromptMessage(channel, min, max, unit), promptTagForChannel(channel));
    msg(alert, "show");
    const id field = promptField(alert);
    if (const std::string prefill = channelPromptPrefill(min); !prefill.empty())
        msg(field, "setText:", prefill);
    msg(field, "setKeyboardType:", UIKeyboardTypeNumberPad);
}

void HMColorCell::alertViewClickedButtonAtIndex(id alertView, NSInteger buttonIndex) {
    const PromptAnswer answer = promptAnswerFor(msg<NSInteger>(alertView, "tag"), buttonIndex);
    if (answer.kind == PromptAnswer::Ignore)
        return;
    const std::string text = msg<std::string>(promptField(alertView), "text");
    const id me = self();

    if (answer.kind == PromptAnswer::Channel) {
        const std::array<id, 3> sliders{sliderR, sliderG, sliderB};
        const id slider = sliders[static_cast<int>(answer.channel)];
        msg(slider, "setValue:", NSStringFloatValue(text)); // the slider clamps it into its range
        msg(me, "sliderValueChangedAction:", slider);
        msg(me, "sliderTouchUpInsideOutsideAction:", slider);
        return;
    }

    const ColorChannels c = hexColorChannels(text);
    const std::array<int, 3> channels{c.r, c.g, c.b};
    const std::array<id, 3> sliders{sliderR, sliderG, sliderB}, values{valueR, valueG, valueB};
    for (int i = 0; i < 3; ++i) {
        msg(sliders[i], "setValue:", static_cast<float>(channels[i]));
        msg(values[i], "setText:", std::to_string(channels[i])); // the parsed value, clamped or not
    }
    msg(me, "setColors:", true);
    msg(me, "sliderTouchUpInsideOutsideAction:", sliderB);
}

void HMColorCell::setValueLabel(const id& label, const id& slider) {
    const float v = msg<float>(slider, "value");
    msg(label,
        "setText:", labelTextForSliderValue(v, [this](int n) { return formatter->stringFromNumber(n); }));
}

void HMColorCell::sliderValueChangedAction(id slider) {
    if (msg<bool>(slider, "isEqual:", sliderR))
        setValueLabel(valueR, sliderR);
    else if (msg<bool>(slider, "isEqual:", sliderG))
        setValueLabel(valueG, sliderG);
    else if (msg<bool>(slider, "isEqual:", sliderB))
        setValueLabel(valueB, sliderB);
    msg(self(), "setColors:", true);
}

void HMColorCell::setColors(bool pushToPicker) {
    const ColorChannels c = sliderChannels(sliderR, sliderG, sliderB);
    msg(buttonColorField, "setBackgroundColor:", colorOfChannels(c, buttonAlphaLevel));
    msg(hexColorField, "setText:", hexTextForChannels(c));
    if (pushToPicker)
        msg(chosenPicker(), "setColor:", colorOfChannels(c, 1.0));
    const bool white =
        msg<bool>(self(), "useWhiteFont:withGreen:withBlue:withOpacity:", c.r, c.g, c.b, buttonAlphaLevel);
    msg(buttonColorField, "setTextColor:", namedColor(white ? "whiteColor" : "blackColor"));
}

void HMColorCell::sliderTouchUpInsideOutsideAction(id /*slider*/) {
    // The value-changed events or the entry before this have already set the text color and
    // the picker.
    const ColorChannels c = sliderChannels(sliderR, sliderG, sliderB);
    msg(buttonColorField, "setBackgroundColor:", colorOfChannels(c, buttonAlphaLevel));
    msg(hexColorField, "setText:", hexTextForChannels(c));
    saveColor();
}

void HMColorCell::colorsHaveChanged(id color) {
    CGFloat rgba[4] = {0, 0, 0, 0};
    msg<bool>(color, "getRed:green:blue:alpha:", &rgba[0], &rgba[1], &rgba[2], &rgba[3]);
    const std::array<id, 3> sliders{sliderR, sliderG, sliderB}, values{valueR, valueG, valueB};
    for (int i = 0; i < 3; ++i) {
        msg(sliders[i], "setValue:", sliderValueForComponent(rgba[i]));
        setValueLabel(values[i], sliders[i]); // from the value as the slider clamped it
    }
    msg(self(), "setColors:", false); // the picker already shows the color
}

void HMColorCell::saveColor() {
    if (defaults && specifierObject) {
        // Read afresh at every save, so every other key keeps what others wrote meanwhile.
        const std::string path = colorSettingsPath(*defaults);
        if (auto settings = dictionaryWithContentsOfFile(path)) {
            (*settings)[*specifierObject] = msg<std::string>(hexColorField, "text");
            writeToFile(*settings, path, true);
        }
    }
    if (PostNotification)
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), *PostNotification,
                                             nullptr, nullptr, true);
}
