#pragma once

#include "skerry/model/PlotColor.h"

namespace skerry {

// The logic of the "Set Plot Colors" dialog, `SetColor`: six sliders change the colours
// of good and deleted points live, and a saved copy decides what remains when the dialog closes:
// the colours confirmed with "OK", or else those it was opened with.
class ColourDialogModel {
public:
    static constexpr int SliderCount = 6;

    explicit ColourDialogModel(PlotColours& colours) : colours_(colours) {}

    // Keeps the colours as they are now in the saved copy.
    void Form_Load();

    // Where slider `index` (0..5) stands: its colour component, held within the slider's range
    // 0..255 when a hand-edited settings file gave a value outside it. Sliders 0..2 are the good
    // colour's red, green and blue; 3..5 the deleted colour's blue, green and red (its column of
    // sliders is numbered from the bottom).
    int Slider1(int index) const;
    // The user moved slider `index` to `value`: its component takes the value at once.
    void Slider1_Change(int index, int value);

    // The outline colours of the two circle previews, held within 0..255 like the sliders.
    PlotColor Shape1Color() const;
    PlotColor Shape2Color() const;

    // "OK": the colours as they are now become the saved copy.
    void IsOK_Click();
    // "Cancel": the saved copy comes back.
    void ForgetIt_Click();
    // The dialog closes, however that happened: the saved copy comes back, which after "OK"
    // holds the new colours.
    void Form_Unload();

private:
    void keepColours();
    void restoreColours();
    std::int16_t& component(int index);
    std::int16_t component(int index) const;

    PlotColours& colours_;
    PlotColor savedGood_;
    PlotColor savedDeleted_;
};

} // namespace skerry
