// Reading what a person sees: each screen's view tree as JSON, the state both front ends show
// beside the screens, the Settings rows' texts, and each screen's extent.
#pragma once

#include "device/Names.h"

#include "coregraphics/CoreGraphics.h"

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <vector>

namespace sim {

class Apps;
class World;
class Input;

class Inspection {
  public:
    Inspection(Apps& apps, const World& world, const Input& input, double scale)
        : apps_(apps), world_(world), input_(input), scale_(scale) {}
    Inspection(const Inspection&) = delete;
    Inspection& operator=(const Inspection&) = delete;

    // The screen's view tree as JSON:
    //   {"screen", "width", "height", "scale", "time",
    //    "views": VIEW,                  // the window, with "subviews"
    //    "alerts": [ALERT...],           // this screen's, oldest first
    //    "springboard": {"booted", "locked", "ringing": {"title", "canSnooze", "onLockScreen"}|null,
    //                    "statusItems": [{"identifier", "visible", "image"}],
    //                    "alarms": [{"id", "time", "label", "snooze", "daily", "enabled"}],
    //                    "nextAlarm": "YYYY-MM-DD HH:MM:SS"|null}                  (SpringBoard)
    //    "settings": {"page", "depth", "rows": [{"label", "value", "enabled", "background",
    //                 "textColor", "frame"}]}                                     (Settings)
    //    "phone": {"front": "home"|"lock"|"switcher"|APP NAME, "running": [APP NAME...],
    //              "windowsOver": [VIEW...]}   (Phone: "views" is the full-screen window, these
    //                                           the windows over it, the status bar; and
    //                                           "settings" when Settings is in front)
    //    "editing": {"screen", "text", "frame"}|null}   (the text field being edited)
    //   VIEW: {"class", "frame": {"x","y","width","height"} (screen points), "alpha",
    //          "hidden", "tag", "background": COLOR|null, and when they apply "text",
    //          "textColor", "title", "titleColor", "enabled", "highlighted", "actions", "value",
    //          "minimum", "maximum", "on", "placeholder", "subviews": [VIEW...]}
    //   ALERT: {"title", "message", "tag", "style", "frame", "buttons": [{"index", "title",
    //           "frame"}], "cancelButtonIndex", "textFields": [VIEW...], "accessory": VIEW|null}
    //   COLOR: "#RRGGBB", or "#RRGGBBAA" when not opaque.
    // Hidden views are listed (with "hidden": true) without their subviews.
    nlohmann::json inspect(Screen screen);
    // What both front ends show beside the screens:
    //   {"time", "timeZone", "locked", "booted", "front" (as the phone's; null before boot),
    //    "alarms": [ALARM...], "nextAlarm", "editing": {"screen", "text", "frame"}|null}
    //   ALARM: {"id", "time": "HH:MM:SS", "label", "snooze", "daily", "enabled"}
    nlohmann::json state() const;
    // The screen's extent in points (a Settings page may be taller than the screen).
    CGSize extent(Screen screen);
    // The Settings rows' texts, and the page's status row (empty without a page).
    std::vector<std::string> rowLabels();

  private:
    // {"page", "depth", "rows"} of the Settings page, the rows' frames as last laid out.
    nlohmann::json settingsJson();
    Apps& apps_;
    const World& world_;
    const Input& input_;
    double scale_;
};

} // namespace sim
