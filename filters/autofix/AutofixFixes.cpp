#include "filters/autofix/AutofixFixes.h"

#include "filters/autofix/AutofixColorFix.h"
#include "filters/autofix/AutofixExposureFix.h"
#include "filters/autofix/AutofixNoiseFix.h"
#include "filters/autofix/AutofixRotationFix.h"
#include "filters/autofix/AutofixSettings.h"

namespace {

bool IsOn(const CParamList& params, const char16_t* key)
{
    int value = 0;
    return params.GetInt(key, value) && value != 0;
}

} // namespace

AutofixChoice ReadAutofixChoice(const CParamList& params)
{
    return {.rotation = IsOn(params, kAutofixRotateKey),
            .color = IsOn(params, kAutofixColorKey),
            .exposure = IsOn(params, kAutofixExposureKey),
            .noise = IsOn(params, kAutofixNoiseKey)};
}

// The turn comes first, so that the others measure the picture that is handed out,
// without the border the crop removes; the noise comes last, so that its levels are
// estimated on the picture as the other fixes leave it.
bool RunAutofixes(const AutofixChoice& choice, CComPtr<IImage>& working, IProgress* phases)
{
    if (choice.rotation) {
        CComPtr<IImage> rotated;
        if (!FixRotation(working.Get(), phases, rotated.Receive())) return false;
        working = rotated;
    }
    if (choice.color && !FixColorCast(working.Get(), phases)) return false;
    if (choice.exposure && !FixExposure(working.Get(), phases)) return false;
    return !choice.noise || FixNoise(working.Get(), phases);
}
