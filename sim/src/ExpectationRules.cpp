// `expect ...`: what a scenario can expect of the device, and what each makes of its words.
#include "ScenarioRules.h"

#include "words/Words.h"

namespace sim::rules {
namespace {

constexpr const char* kViewUsage = "usage: expect view [SCREEN] SELECTOR PROPERTY VALUE...";

std::string viewProperty(const std::string& p, const std::string& v, expect::ViewProperty& out) {
    using Kind = expect::ViewProperty::Kind;
    out = expect::ViewProperty{};
    out.name = p, out.written = v;
    if (p == "background" || p == "title-color" || p == "text-color") {
        auto color = parseColor(v);
        if (!color)
            return quote(v) + " is not a color (#RRGGBB, #RRGGBBAA, white, black, clear, ...)";
        out.kind = Kind::Color, out.color = *color;
    } else if (p == "highlighted" || p == "enabled" || p == "hidden" || p == "on") {
        if (auto e = oneOf(v, {"yes", "no"}, "a yes-or-no property"); !e.empty())
            return e;
        out.kind = Kind::Flag;
    } else if (p == "alpha" || p == "value") {
        auto n = parseReal(v, 1e6);
        if (!n)
            return quote(v) + " is not a number";
        out.kind = Kind::Number, out.number = *n;
    } else if (p == "x" || p == "y" || p == "width" || p == "height") {
        auto n = parseCoordinate(v);
        if (!n)
            return quote(v) + " is not a coordinate";
        out.kind = Kind::Coordinate, out.number = *n;
    } else if (p == "tag") {
        auto t = parseTag(v);
        if (!t)
            return quote(v) + " is not a whole number";
        out.kind = Kind::Tag, out.tag = *t;
    } else if (p != "class" && p != "text" && p != "title") {
        return "a view property must be one of background, title-color, text-color, highlighted, enabled, "
               "hidden, "
               "on, alpha, value, x, y, width, height, tag, class, text, title, not " +
               quote(p);
    }
    return "";
}

// `expect view [SCREEN] SELECTOR PROPERTY VALUE...`
std::string view(const Words& a, Action& out) {
    expect::View view;
    size_t at = 1;
    if (a.size() % 2 == 1) { // "view", then SCREEN SELECTOR and pairs
        Screen s;
        if (!screen(a[1], s).empty())
            return kViewUsage;
        view.screen = s;
        at = 2;
    }
    if (a.size() < at + 3)
        return kViewUsage;
    view.selector = a[at];
    // A tag is a number: "tag:2627", not a name or a hex word.
    if (a[at].rfind("tag:", 0) == 0) {
        view.tag = parseTag(a[at].substr(4));
        if (!view.tag)
            return "a tag selector is tag:NUMBER, a whole number, not " + quote(a[at]);
    } else if (a[at].rfind("class:", 0) == 0) {
        view.className = a[at].substr(6);
    }
    for (size_t i = at + 1; i + 1 < a.size(); i += 2) {
        view.properties.emplace_back();
        if (auto e = viewProperty(a[i], a[i + 1], view.properties.back()); !e.empty())
            return e;
    }
    out = Expectation(view);
    return "";
}

std::string alert(const Words& a, Action& out) {
    if (a.size() == 2)
        return out = Expectation(expect::AlertShown{a[1]}), "";
    const std::string& what = a[1];
    if (what == "tag") {
        auto tag = a.size() == 3 ? parseTag(a[2]) : std::nullopt;
        if (!tag)
            return "usage: expect alert tag NUMBER";
        return out = Expectation(expect::AlertTag{*tag}), "";
    }
    if (what == "title" || what == "message" || what == "field") {
        // A message of several lines is named with the escapes `file write` takes ("\n", "\x0A").
        auto message = what == "message" && a.size() == 3 ? decodeBytes(a[2]) : std::nullopt;
        if (what == "message" && a.size() == 3 && !message)
            return "a message takes the escapes \\n \\r \\t \\0 \\\\ and \\xHH only";
        if (a.size() != 3)
            return "usage: expect alert title|message|field TEXT";
        using Part = expect::AlertText::Part;
        const Part part = what == "title" ? Part::Title : what == "message" ? Part::Message : Part::Field;
        return out = Expectation(expect::AlertText{part, message.value_or(a[2])}), "";
    }
    if (what == "buttons") {
        if (a.size() < 3)
            return "usage: expect alert buttons TITLE...";
        return out = Expectation(expect::AlertButtons{Words(a.begin() + 2, a.end())}), "";
    }
    return "usage: expect alert TITLE|none | expect alert title|message|field TEXT | expect alert tag NUMBER "
           "| "
           "expect alert buttons TITLE...";
}

std::string row(const Words& a, Action& out) {
    if (a.size() == 3) {
        if (auto e = oneOf(a[2], {"enabled", "disabled"}, "a row state"); !e.empty())
            return e;
        return out = Expectation(expect::RowState{a[1], a[2] == "enabled"}), "";
    }
    if (a.size() != 4)
        return "usage: expect row LABEL enabled|disabled | expect row LABEL value|background|text-color "
               "VALUE";
    if (a[2] == "value")
        return out = Expectation(expect::RowValue{a[1], a[3]}), "";
    if (a[2] == "background" || a[2] == "text-color") {
        auto color = parseColor(a[3]);
        if (!color)
            return quote(a[3]) + " is not a color";
        return out = Expectation(expect::RowColor{a[1], a[2] == "background", *color, a[3]}), "";
    }
    return oneOf(a[2], {"value", "background", "text-color"}, "a row property");
}

std::string pixel(const Words& a, Action& out) {
    if (a.size() != 5)
        return "usage: expect pixel SCREEN X Y COLOR";
    expect::Pixel pixel;
    if (auto e = screen(a[1], pixel.screen); !e.empty())
        return e;
    if (auto e = point(a, 2, pixel.at); !e.empty())
        return e;
    auto color = parseColor(a[4]);
    if (!color)
        return quote(a[4]) + " is not a color";
    pixel.color = *color;
    pixel.writtenX = a[2], pixel.writtenY = a[3], pixel.writtenColor = a[4];
    return out = Expectation(pixel), "";
}

} // namespace

std::string expectation(const Words& a, Action& out) {
    const std::string& v = a[0];
    if (v == "event" || v == "no-event" || v == "status" || v == "text" || v == "no-text") {
        if (a.size() != 2)
            return "usage: expect " + v + " TEXT";
        if (v == "status")
            out = Expectation(expect::Status{a[1]});
        else if (v == "event" || v == "no-event")
            out = Expectation(expect::Event{a[1], v == "no-event"});
        else
            out = Expectation(expect::Text{a[1], v == "text"});
        return "";
    }
    if (v == "file") {
        if (a.size() != 3)
            return "usage: expect file KEY VALUE|absent|present";
        return out = Expectation(expect::File{a[1], a[2]}), "";
    }
    if (v == "icon") {
        if (a.size() != 2)
            return "usage: expect icon shown|hidden";
        if (auto e = oneOf(a[1], {"shown", "hidden"}, "the icon"); !e.empty())
            return e;
        return out = Expectation(expect::Icon{a[1] == "shown"}), "";
    }
    if (v == "alert")
        return alert(a, out);
    if (v == "row")
        return row(a, out);
    if (v == "view")
        return view(a, out);
    if (v == "pixel")
        return pixel(a, out);
    if (v == "app") {
        if (a.size() != 2)
            return "usage: expect app Settings|Clock|home|lock|switcher";
        if (auto e = oneOf(a[1], {"Settings", "Clock", "home", "lock", "switcher"}, "what is in front");
            !e.empty())
            return e;
        return out = Expectation(expect::AppInFront{a[1]}), "";
    }
    return oneOf(v,
                 {"event", "no-event", "file", "status", "icon", "alert", "row", "view", "text", "no-text",
                  "pixel", "app"},
                 "an expectation");
}

} // namespace sim::rules
