#include "app/form_layout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tessaly {

namespace {

void AddTabStops(std::string_view parent, std::vector<std::string_view>& order) {
    std::vector<const ControlLayout*> stops;
    for (const ControlLayout& control : kForm1Controls) {
        if (control.parent == parent && control.tabPosition != kNoTabStop) {
            stops.push_back(&control);
        }
    }
    std::sort(stops.begin(), stops.end(),
              [](auto* a, auto* b) { return a->tabPosition < b->tabPosition; });
    for (const ControlLayout* control : stops) {
        if (control->kind == ControlKind::GroupBox) {
            AddTabStops(control->name, order);
        } else {
            order.push_back(control->name);
        }
    }
}

}  // namespace

std::size_t Form1ControlIndex(std::string_view name) {
    for (std::size_t k = 0; k < kForm1Controls.size(); ++k) {
        if (kForm1Controls[k].name == name) {
            return k;
        }
    }
    throw std::out_of_range("the window has no control " + std::string(name));
}

const ControlLayout& Form1Control(std::string_view name) {
    return kForm1Controls[Form1ControlIndex(name)];
}

ControlRect PlaceInForm1(const ControlLayout& control) {
    ControlRect place = control.place;
    for (auto parent = control.parent; parent != kForm1Name;) {
        const ControlLayout& outer = Form1Control(parent);
        place.left += outer.place.left;
        place.top += outer.place.top;
        parent = outer.parent;
    }
    return place;
}

std::vector<std::string_view> Form1TabOrder() {
    std::vector<std::string_view> order;
    AddTabStops(kForm1Name, order);
    return order;
}

}  // namespace tessaly
