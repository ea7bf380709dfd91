#include "DeviceHost.h"

#include "Base64.h"
#include "Timeline.h"

#include "device/LocalTime.h"
#include "device/Names.h"
#include "device/PngEncode.h"

#include <algorithm>
#include <future>

namespace sim::web {
namespace {
using Clock = std::chrono::steady_clock;
// How often the running clock moves, and how often what it changes is drawn for viewers.
constexpr auto kTick = std::chrono::milliseconds(16);
constexpr auto kIdleWait = std::chrono::milliseconds(100);
constexpr auto kClockRedraw = std::chrono::milliseconds(200);
// The display's refresh: input is drawn at most once a tick.
constexpr auto kFrame = std::chrono::microseconds(16667);

// A changed part of a screen, as the page paints it: where (pixels) and the PNG in base64.
nlohmann::json tileJson(const ScreenTile& tile) {
    return {{"x", tile.rect.x},
            {"y", tile.rect.y},
            {"width", tile.rect.width},
            {"height", tile.rect.height},
            {"png", base64(encodePng(tile.image))}};
}

} // namespace

Reply Reply::ok(nlohmann::json body) {
    return {200, std::move(body)};
}
Reply Reply::error(int status, const std::string& message) {
    return {status, {{"error", message}}};
}

DeviceHost::DeviceHost(Device& device, std::string timeZone) : device_(device), addons_(device.root()) {
    for (size_t s = 0; s < kScreenCount; ++s)
        extents_[s] = device.setup().screen;
    // No day before the first line: it carries the device's date, as a scenario's header does.
    auto timeline = std::make_shared<Timeline>(std::move(timeZone));
    for (const DeviceEvent& e : device.events())
        publication_.addLine(timeline->line(e));
    listener_ =
        device.subscribe([this, timeline](const DeviceEvent& e) { publication_.addLine(timeline->line(e)); });
}

DeviceHost::~DeviceHost() {
    device_.unsubscribe(listener_);
}

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
        if (stopping_)
            return Reply::error(503, "the device is shutting down");
        if (pendingMove_ && pendingMove_->screen == screen) {
            pendingMove_->point = point;
            return Reply::ok({{"coalesced", true}});
        }
        queue_.push_back({[this, slot, answer] {
                              CGPoint at;
                              {
                                  std::lock_guard lock(mutex_);
                                  at = slot->point;
                                  if (pendingMove_ == slot)
                                      pendingMove_.reset();
                              }
                              const NSDate began = device_.now();
                              std::string e = device_.input().touchMove(slot->screen, at);
                              if (e.empty())
                                  session_.record(step::Touch{TouchPhase::Move, slot->screen, {at.x, at.y}},
                                                  began, device_.now());
                              answer->set_value(e.empty() ? Reply::ok() : Reply::error(409, e));
                          },
                          [answer] { answer->set_value(Reply::error(503, "the device is shutting down")); },
                          true});
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

void DeviceHost::requestReset(DeviceImageOptions options) {
    reset_ = std::move(options);
    requestRelaunch();
}

bool DeviceHost::relaunchRequested() const {
    std::lock_guard lock(mutex_);
    return relaunch_;
}

bool DeviceHost::onlyMovesQueued() const {
    return !queue_.empty() && std::all_of(queue_.begin(), queue_.end(), [](const Task& t) { return t.move; });
}

void DeviceHost::run() {
    lastTick_ = Clock::now();
    publish(true);
    for (;;) {
        std::deque<Task> work;
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, rate_ > 0 ? kTick : kIdleWait, [&] { return stopping_ || !queue_.empty(); });
            // Moves alone wait for the tick (later ones join them meanwhile); anything else runs now.
            if (!stopping_ && onlyMovesQueued())
                wake_.wait_until(lock, lastPublish_ + kFrame,
                                 [&] { return stopping_ || !onlyMovesQueued(); });
            if (!stopping_ && externalStop_ && externalStop_->load())
                stopping_ = true;
            if (stopping_) {
                work.swap(queue_);
                pendingMove_.reset();
                lock.unlock();
                for (Task& t : work)
                    t.abandon();
                break;
            }
            work.swap(queue_);
        }
        for (Task& t : work)
            t.run();
        tick(!work.empty());
    }
    publication_.stop();
}

void DeviceHost::tick(bool acted) {
    const auto now = Clock::now();
    bool moved = false;
    if (rate_ > 0) {
        const double seconds = std::chrono::duration<double>(now - lastTick_).count() * rate_;
        if (!device_.world().advance(seconds).empty())
            rate_ = 0; // the clock's end: it stops
        moved = true;
    }
    lastTick_ = now;
    publish(acted || (moved && now - lastPublish_ >= kClockRedraw));
}

nlohmann::json DeviceHost::state() {
    nlohmann::json state = device_.inspection().state();
    state["rate"] = rate_;
    state["addons"] = addons_.json();
    if (!playing_.is_null())
        state["playing"] = playing_;
    state["session"] = {
        {"steps", session_.steps()}, {"unwritten", session_.unwritten()}, {"full", session_.full()}};
    return state;
}

// Only the phone is drawn for viewers: the page shows the one display, and SpringBoard's and
// Settings' own screens (still touched and inspected by name) would each cost a drawing a frame.
void DeviceHost::publish(bool force) {
    if (!force)
        return;
    lastPublish_ = Clock::now();
    publishScreen(Screen::Phone);
    // A screen touched by name keeps its extent current, so touches on a tall page stay valid.
    if (touched_ && *touched_ != Screen::Phone) {
        const CGSize extent = device_.inspection().extent(*touched_);
        std::lock_guard lock(mutex_);
        extents_[screenIndex(*touched_)] = extent;
    }
    touched_.reset();
    std::string text = state().dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (text != lastState_)
        publication_.setState(lastState_ = text);
}

void DeviceHost::publishScreen(Screen screen) {
    const int s = int(screen);
    ScreenChanges changes = device_.pictures().changes(screen);
    if (changes.tiles.empty())
        return;
    versions_[s] = changes.version;
    const CGSize extent = device_.inspection().extent(screen);
    {
        std::lock_guard lock(mutex_);
        extents_[s] = extent;
    }
    if (changes.whole) {
        publication_.setPicture(s, {changes.version, std::make_shared<const std::string>(
                                                         base64(encodePng(changes.tiles[0].image)))});
        return;
    }
    nlohmann::json tiles = nlohmann::json::array();
    for (const ScreenTile& t : changes.tiles)
        tiles.push_back(tileJson(t));
    // Written in this order (the screen first), as the picture's event is.
    auto event = std::make_shared<const std::string>(
        "{\"screen\":\"" + std::string(screenName(screen)) +
        "\",\"version\":" + std::to_string(changes.version) + ",\"width\":" + std::to_string(changes.width) +
        ",\"height\":" + std::to_string(changes.height) + ",\"tiles\":" + tiles.dump() + "}");
    const bool full = publication_.addTiles(s, {changes.version, std::move(event)});
    // Many tiles since the whole picture: a new whole one, so a viewer that connects catches up
    // at once and the tiles kept stay few.
    if (full)
        publication_.setPicture(s, {changes.version, std::make_shared<const std::string>(base64(encodePng(
                                                         device_.pictures().keptPicture(screen))))});
}

} // namespace sim::web
