// Which page's finger is down on each screen. Every open page has its own finger: a touch
// carries its page's finger id, and while one page's finger is down on a screen, another page's
// touch there is refused (it would move or lift the first one's) until it lifts. A finger left
// down by a page that went away without lifting it (closed mid-drag) counts as lifted once it
// has not moved for kAbandoned. Any thread.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace sim::web {

class Fingers {
  public:
    using Time = std::chrono::steady_clock::time_point;
    static constexpr std::chrono::seconds kAbandoned{10};

    // "" when `finger` may make this touch ("down", "move", "up" or "tap") on `screen` now, and
    // then a down holds the screen for it; else why not.
    std::string claim(const std::string& screen, const std::string& finger, const std::string& phase,
                      Time now);
    // After an up, a tap, or a down the device refused: the screen is free again for every page.
    void release(const std::string& screen, const std::string& finger);

  private:
    struct Holder {
        std::string finger;
        Time last;
    };
    std::mutex mutex_;
    std::map<std::string, Holder> down_; // by screen
};

} // namespace sim::web
