#include "skerry/colours/ColourDialogModel.h"

#include <algorithm>
#include <array>

namespace skerry {

namespace {

struct SliderComponent {
    PlotColor Program::*colour;
    std::int16_t PlotColor::*component;
};

// Slider index to colour component. The deleted colour's column runs from the bottom up.
constexpr std::array<SliderComponent, ColourDialogModel::SliderCount> sliderComponents{{
    {&Program::GoodColor, &PlotColor::Red},
    {&Program::GoodColor, &PlotColor::Green},
    {&Program::GoodColor, &PlotColor::Blue},
    {&Program::DeletedColor, &PlotColor::Blue},
    {&Program::DeletedColor, &PlotColor::Green},
    {&Program::DeletedColor, &PlotColor::Red},
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
    return program_.*s.colour.*s.component;
}

std::int16_t ColourDialogModel::component(int index) const {
    const SliderComponent& s = sliderComponents.at(static_cast<std::size_t>(index));
    return program_.*s.colour.*s.component;
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
    return withinSliderRange(program_.GoodColor);
}

PlotColor ColourDialogModel::Shape2Color() const {
    return withinSliderRange(program_.DeletedColor);
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
    savedGood_ = program_.GoodColor;
    savedDeleted_ = program_.DeletedColor;
}

void ColourDialogModel::restoreColours() {
    program_.GoodColor = savedGood_;
    program_.DeletedColor = savedDeleted_;
}

} // namespace skerry
