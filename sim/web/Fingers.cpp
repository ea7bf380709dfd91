#include "Fingers.h"

namespace sim::web {

std::string Fingers::claim(const std::string& screen, const std::string& finger, const std::string& phase,
                           Time now) {
    std::lock_guard lock(mutex_);
    auto held = down_.find(screen);
    if (held != down_.end() && held->second.finger != finger && now - held->second.last < kAbandoned)
        return "another page's finger is down on the " + screen +
               " screen: this page's touch waits until it lifts";
    if (phase == "down") {
        down_[screen] = {finger, now};
    } else if (held != down_.end()) {
        if (held->second.finger != finger) // abandoned by its page: this page takes over
            down_.erase(held);
        else
            held->second.last = now;
    }
    return "";
}

void Fingers::release(const std::string& screen, const std::string& finger) {
    std::lock_guard lock(mutex_);
    auto held = down_.find(screen);
    if (held != down_.end() && held->second.finger == finger)
        down_.erase(held);
}

} // namespace sim::web
