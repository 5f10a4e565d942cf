#pragma once
// The interactive filters whose work is one transfer table applied alike to red,
// green and blue (brightness and contrast, exposure): reading the settings builds the
// table, and the shared mapping routine applies it to the working image and tells
// the progress sink how the work ended.

#include "Common/base/InteractiveFilterBase.h"

#include <cstdint>

class CChannelTableFilter : public CInteractiveFilterBase {
protected:
    using CInteractiveFilterBase::CInteractiveFilterBase;

    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) final;

    // Built from the settings of the apply under way.
    uint8_t* Table() { return m_table; }

private:
    uint8_t m_table[256] = {};
};
