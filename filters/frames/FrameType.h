#pragma once
// What the frame filter asks of each of its frame types: a name (also the value of
// NameOfTheFrame and the entry of the dialog's list), the reading of its own keys, the
// drawing on the filter's copy, and a settings panel.

#include "Common/params/ParamList.h"
#include "filters/shared/pixels/PixelRows.h"

class CFramePanel;
class QWidget;

inline constexpr const char16_t* kFrameNameKey = u"NameOfTheFrame";

class CFrameType {
public:
    virtual ~CFrameType() = default;

    virtual const char16_t* Name() const = 0;
    // Takes the type's keys from params; false when one of them is missing.
    virtual bool ReadSettings(const CParamList& params) = 0;
    // Draws with the settings last read; false when report asked to stop.
    virtual bool Draw(const PixelRows& image, const UnitReport& report) const = 0;
    // A new panel of the type's controls, owned by parent.
    virtual CFramePanel* CreatePanel(QWidget* parent) const = 0;
};

// A frame type that draws with its kernel over the settings its ReadSettings keeps.
template <class Settings, bool (*Kernel)(const PixelRows&, const Settings&, const UnitReport&)>
class CKernelFrameType : public CFrameType {
public:
    bool Draw(const PixelRows& image, const UnitReport& report) const final { return Kernel(image, m_settings, report); }

protected:
    Settings m_settings;
};
