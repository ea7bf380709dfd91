// The color picker, written once for the three layouts: a square spanning two HSB components,
// a slider bar carrying the third, three value labels with entry buttons that prompt for a
// typed value, a crosshair and a slider marker. HMColorPickerView_B, _H and _S are this class
// with their layout description (PickerLayout): it names their classes, instance variables,
// operations and label texts, and says which components the square and the bar carry.
//
// The picker reports each new color through `colorsHaveChangedBlock` and asks its host to save
// through `saveChangesBlock` when a touch on the square or the bar ends, or after OK on a
// prompt. `setColor:` shows a color chosen elsewhere and never calls back.
#pragma once

#include "objc/runtime.h"
#include "picker/HsbComponents.h"
#include "picker/PickerLayout.h"
#include "uikit/UIView.h"

#include <functional>
#include <vector>

struct HMColorPickerSelectors;

struct HMColorPickerView : UIView {
    using ColorBlock = std::function<void(id)>;

    explicit HMColorPickerView(const PickerLayout& layout);

    // For the host.
    id initWithFrameColorColorsHaveChangedBlockSaveChangesBlock(CGRect frame, id color, ColorBlock changed,
                                                                ColorBlock save);
    void setColor(id color);
    id color() const { return color_; }
    ColorBlock colorsHaveChangedBlock() const { return colorsHaveChangedBlock_; }
    void setColorsHaveChangedBlock(ColorBlock block) { colorsHaveChangedBlock_ = std::move(block); }
    ColorBlock saveChangesBlock() const { return saveChangesBlock_; }
    void setSaveChangesBlock(ColorBlock block) { saveChangesBlock_ = std::move(block); }

    // Called by the platform and the picker's own controls.
    void layoutSubviews();
    void touchesMovedButtonWithEvent(id sender, id event);
    void touchesEndedButtonWithEvent(id sender, id event);
    void askUserForHue();
    void askUserForSaturation();
    void askUserForBrightness();
    void alertViewClickedButtonAtIndex(id alertView, NSInteger buttonIndex);

    // Internal operations (each registered under the layout's selector).
    void dispatchTouchEventIsMoving(CGPoint point, bool isMoving);
    void updateSquareWithTouch(CGPoint point);
    void updateSliderWithTouch(CGPoint point);
    void updateSquareSelector();
    void updateSliderSelector();
    void updateCrosshairPosition();
    void updateMarkerPosition();
    void reportColor(id color);

    // Instance variables, in declaration order.
    HsbComponents current_; // currentHue, currentSaturation, currentBrightness
    double labelHeight_ = 0;
    ColorBlock colorsHaveChangedBlock_;
    ColorBlock saveChangesBlock_;
    id color_;
    id square_;
    id squareTouchEater_;
    id topLeftLabel_;
    id topRightLabel_;
    id crossHairs_;
    id bar_;
    id barTouchEater_;
    id sliderValueLabel_;
    id marker_;

    const PickerLayout& layout() const { return layout_; }

  private:
    void askUserFor(HsbComponent component);
    id colorOfCurrentComponents() const;
    void showCurrentColorInCrosshair(const id& color);

    const PickerLayout& layout_;
    const HMColorPickerSelectors& selectors_;
};

// The runtime entries of a picker class: its instance variables and properties under the
// layout's names, and every operation under its selector.
std::vector<objc::Entry> colorPickerEntries(const PickerLayout& layout);
