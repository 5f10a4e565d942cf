#pragma once
// The base of the frame types' panels: the controls of one type, which the filter's
// dialog shows below its list of types. A panel writes and loads only its own keys;
// the dialog adds the type's name and stores the text.

#include "Common/params/ParamList.h"

#include <QWidget>

#include <functional>

class CColorButton;
class QCheckBox;
class QSlider;

class CFramePanel : public QWidget {
public:
    explicit CFramePanel(QWidget* parent);

    virtual void Store(CParamList& params) const = 0;
    // Sets the controls whose keys params holds; the others keep their values.
    virtual void Load(const CParamList& params) = 0;
    // Runs whenever a control changes, never while Load sets the controls.
    void OnChange(std::function<void()> changed) { m_changed = std::move(changed); }

protected:
    bool event(QEvent* event) override;
    // A picked colour; by default any change is told.
    virtual void ColorPicked() { Changed(); }
    void Changed() const;

    QSlider* AddSlider(unsigned labelId, int first, int last, int start);
    CColorButton* AddColor(unsigned labelId, uint32_t start);
    QCheckBox* AddCheck(unsigned labelId, bool checked);
    // Helpers for Load: each sets its control only when params holds the key.
    static void LoadSlider(const CParamList& params, const char16_t* key, QSlider* slider);
    static void LoadColor(const CParamList& params, const char16_t* key, CColorButton* button);
    static void LoadCheck(const CParamList& params, const char16_t* key, QCheckBox* box);

    // Held while Load sets the controls.
    bool m_loading = false;

private:
    std::function<void()> m_changed;
};
