#include "filters/frames/FadeSpanKernel.h"

#include "platform/CpuFeatures.h"

#include <cstddef>

ColumnFades MakeColumnFades(const FrameColor& color, const std::vector<double>& weights)
{
    ColumnFades fades{weights, {}, {}, {}, true};
    for (const double weight : weights) {
        fades.sharesWithinOne = fades.sharesWithinOne && weight >= 0.0 && weight <= 1.0;
        fades.red.push_back(color.red * (1 - weight));
        fades.green.push_back(color.green * (1 - weight));
        fades.blue.push_back(color.blue * (1 - weight));
    }
    return fades;
}

void FadeSpanPortable(uint32_t* pixels, int count, const ColumnFades& fades, int first)
{
    for (int i = 0; i < count; ++i) {
        const auto column = static_cast<size_t>(first + i);
        pixels[i] = FadedPixel(pixels[i], fades.weights[column],
                               {fades.red[column], fades.green[column], fades.blue[column]});
    }
}

RowFade MakeRowFade(const FrameColor& color, double weight)
{
    return {weight, {color.red * (1 - weight), color.green * (1 - weight), color.blue * (1 - weight)},
            weight >= 0.0 && weight <= 1.0};
}

void FadeRowPortable(uint32_t* pixels, int count, const RowFade& fade)
{
    for (int i = 0; i < count; ++i) pixels[i] = FadedPixel(pixels[i], fade.weight, fade.colorPart);
}

FadeSpanLoop ChosenFadeSpanLoop()
{
    static const FadeSpanLoop loop = CpuHasAvx2() ? &FadeSpanAvx2 : &FadeSpanPortable;
    return loop;
}

FadeRowLoop ChosenFadeRowLoop()
{
    static const FadeRowLoop loop = CpuHasAvx2() ? &FadeRowAvx2 : &FadeRowPortable;
    return loop;
}
