#include "DeviceHost.h"

#include "Base64.h"
#include "Timeline.h"

#include "device/LocalTime.h"

#include <future>

namespace sim::web {
namespace {
using Clock = std::chrono::steady_clock;
// How often the running clock moves, and how often what it changes is drawn for viewers.
constexpr auto kTick = std::chrono::milliseconds(16);
constexpr auto kIdleWait = std::chrono::milliseconds(100);
constexpr auto kClockRedraw = std::chrono::milliseconds(200);

// A PNG's size in pixels, from its header.
CGSize pngSize(const std::vector<uint8_t>& png) {
    if (png.size() < 24) return {0, 0};
    auto be32 = [&](size_t at) { return double(uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3]); };
    return {be32(16), be32(20)};
}
} // namespace

Reply Reply::ok(nlohmann::json body) { return {200, std::move(body)}; }
Reply Reply::error(int status, const std::string& message) { return {status, {{"error", message}}}; }

DeviceHost::DeviceHost(Device& device, std::string timeZone) : device_(device) {
    for (int s = 0; s < 2; ++s) extents_[s] = device.setup().screen;
    // No day before the first line: it carries the device's date, as a scenario's header does.
    auto timeline = std::make_shared<Timeline>(std::move(timeZone));
    for (const DeviceEvent& e : device.events()) publication_.addLine(timeline->line(e));
    listener_ = device.subscribe([this, timeline](const DeviceEvent& e) { publication_.addLine(timeline->line(e)); });
}

DeviceHost::~DeviceHost() { device_.unsubscribe(listener_); }

void DeviceHost::post(Task task) {
    {
        std::lock_guard lock(mutex_);
        if (!stopping_) {
            pendingMove_.reset(); // a later move must not overtake this task
            queue_.push_back(std::move(task));
            wake_.notify_one();
            return;
        }
    }
    task.abandon();
}

Reply DeviceHost::call(std::function<Reply(Device&)> work) {
    auto answer = std::make_shared<std::promise<Reply>>();
    auto result = answer->get_future();
    post({[this, answer, work = std::move(work)] { answer->set_value(work(device_)); },
          [answer] { answer->set_value(Reply::error(503, "the device is shutting down")); }});
    return result.get();
}

Reply DeviceHost::move(Screen screen, CGPoint point) {
    auto slot = std::make_shared<PendingMove>(PendingMove{screen, point});
    auto answer = std::make_shared<std::promise<Reply>>();
    auto result = answer->get_future();
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return Reply::error(503, "the device is shutting down");
        if (pendingMove_ && pendingMove_->screen == screen) {
            pendingMove_->point = point;
            return Reply::ok({{"coalesced", true}});
        }
        queue_.push_back({[this, slot, answer] {
                              CGPoint at;
                              {
                                  std::lock_guard lock(mutex_);
                                  at = slot->point;
                                  if (pendingMove_ == slot) pendingMove_.reset();
                              }
                              touched_ = slot->screen;
                              std::string e = device_.touchMove(slot->screen, at);
                              answer->set_value(e.empty() ? Reply::ok() : Reply::error(409, e));
                          },
                          [answer] { answer->set_value(Reply::error(503, "the device is shutting down")); }});
        pendingMove_ = slot; // while it waits, later moves on this screen join it
        wake_.notify_one();
    }
    return result.get();
}

void DeviceHost::stop() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    wake_.notify_all();
}

void DeviceHost::setRate(double rate) {
    rate_ = rate;
    lastTick_ = Clock::now();
}

CGSize DeviceHost::extent(Screen screen) const {
    std::lock_guard lock(mutex_);
    return extents_[int(screen)];
}

void DeviceHost::requestRelaunch() {
    std::lock_guard lock(mutex_);
    relaunch_ = stopping_ = true;
    wake_.notify_all();
}

bool DeviceHost::relaunchRequested() const {
    std::lock_guard lock(mutex_);
    return relaunch_;
}

void DeviceHost::run() {
    lastTick_ = Clock::now();
    publish(true);
    for (;;) {
        std::deque<Task> work;
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, rate_ > 0 ? kTick : kIdleWait, [&] { return stopping_ || !queue_.empty(); });
            if (!stopping_ && externalStop_ && externalStop_->load()) stopping_ = true;
            if (stopping_) {
                work.swap(queue_);
                pendingMove_.reset();
                lock.unlock();
                for (Task& t : work) t.abandon();
                break;
            }
            work.swap(queue_);
        }
        for (Task& t : work) t.run();
        tick(!work.empty());
    }
    publication_.stop();
}

void DeviceHost::tick(bool acted) {
    const auto now = Clock::now();
    bool moved = false;
    if (rate_ > 0) {
        const double seconds = std::chrono::duration<double>(now - lastTick_).count() * rate_;
        if (!device_.advance(seconds).empty()) rate_ = 0; // the clock's end: it stops
        moved = true;
    }
    lastTick_ = now;
    publish(acted || (moved && now - lastPublish_ >= kClockRedraw));
}

nlohmann::json DeviceHost::state() {
    nlohmann::json alarms = nlohmann::json::array();
    for (const AlarmInfo& a : device_.alarms()) {
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", a.secondsOfDay / 3600, a.secondsOfDay / 60 % 60, a.secondsOfDay % 60);
        alarms.push_back({{"id", a.alarmId}, {"time", time}, {"label", a.label}, {"snooze", a.snooze}, {"daily", a.daily}, {"enabled", a.enabled}});
    }
    auto next = device_.nextAlarmDate();
    return {{"time", localDateTime(device_.now(), device_.timeZone())},
            {"timeZone", device_.timeZone()},
            {"rate", rate_},
            {"locked", device_.isLocked()},
            {"booted", device_.isBooted()},
            {"alarms", alarms},
            {"nextAlarm", next ? nlohmann::json(localDateTime(*next, device_.timeZone())) : nlohmann::json()}};
}

void DeviceHost::publish(bool force) {
    if (!force && !otherScreenDue_) return;
    lastPublish_ = Clock::now();
    // The touched screen first; the other one waits while more input is queued (a drag).
    const Screen first = touched_.value_or(Screen::SpringBoard);
    const Screen order[2] = {first, first == Screen::SpringBoard ? Screen::Settings : Screen::SpringBoard};
    touched_.reset();
    for (int i = 0; i < 2; ++i) {
        if (i == 1) {
            std::lock_guard lock(mutex_);
            otherScreenDue_ = !queue_.empty() && !stopping_;
            if (otherScreenDue_) break;
        }
        const int s = int(order[i]);
        Device::Frame frame = device_.frame(order[i], versions_[s]);
        if (frame.png.empty() || frame.version == versions_[s]) continue;
        versions_[s] = frame.version;
        CGSize pixels = pngSize(frame.png);
        const double scale = device_.setup().scale;
        {
            std::lock_guard lock(mutex_);
            extents_[s] = {pixels.width / scale, pixels.height / scale};
        }
        publication_.setPicture(s, {frame.version, std::make_shared<const std::string>(base64(frame.png))});
    }
    std::string text = state().dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (text != lastState_) publication_.setState(lastState_ = text);
}

} // namespace sim::web
