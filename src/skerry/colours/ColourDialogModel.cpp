#include "skerry/colours/ColourDialogModel.h"

#include <algorithm>
#include <array>

namespace skerry {

namespace {

struct SliderComponent {
    PlotColor PlotColours::*colour;
    std::int16_t PlotColor::*component;
};

// Slider index to colour component. The deleted colour's column runs from the bottom up.
constexpr std::array<SliderComponent, ColourDialogModel::SliderCount> sliderComponents{{
    {&PlotColours::GoodColor, &PlotColor::Red},
    {&PlotColours::GoodColor, &PlotColor::Green},
    {&PlotColours::GoodColor, &PlotColor::Blue},
    {&PlotColours::DeletedColor, &PlotColor::Blue},
    {&PlotColours::DeletedColor, &PlotColor::Green},
    {&PlotColours::DeletedColor, &PlotColor::Red},
}};

std::int16_t withinSliderRange(std::int16_t value) {
    return std::clamp<std::int16_t>(value, 0, 255);
}

PlotColor withinSliderRange(const PlotColor& c) {
    return {withinSliderRange(c.Red), withinSliderRange(c.Green), withinSliderRange(c.Blue)};
}

} // namespace

std::int16_t& ColourDialogModel::component(int index) {
    const SliderComponent& s = sliderComponents.at(static_cast<std::size_t>(index));
    return colours_.*s.colour.*s.component;
}

std::int16_t ColourDialogModel::component(int index) const {
    const SliderComponent& s = sliderComponents.at(static_cast<std::size_t>(index));
    return colours_.*s.colour.*s.component;
}

void ColourDialogModel::Form_Load() {
    keepColours();
}

int ColourDialogModel::Slider1(int index) const {
    return withinSliderRange(component(index));
}

void ColourDialogModel::Slider1_Change(int index, int value) {
    component(index) = static_cast<std::int16_t>(value);
}

PlotColor ColourDialogModel::Shape1Color() const {
    return withinSliderRange(colours_.GoodColor);
}

PlotColor ColourDialogModel::Shape2Color() const {
    return withinSliderRange(colours_.DeletedColor);
}

void ColourDialogModel::IsOK_Click() {
    keepColours();
}

void ColourDialogModel::ForgetIt_Click() {
    restoreColours();
}

void ColourDialogModel::Form_Unload() {
    restoreColours();
}

void ColourDialogModel::keepColours() {
    savedGood_ = colours_.GoodColor;
    savedDeleted_ = colours_.DeletedColor;
}

void ColourDialogModel::restoreColours() {
    colours_.GoodColor = savedGood_;
    colours_.DeletedColor = savedDeleted_;
}

} // namespace skerry
