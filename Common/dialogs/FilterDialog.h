#pragma once
// The base of every filter's settings dialog: a child widget of the host's window
// that exchanges the settings with its filter through the parameter text only.
// A control change posts the store message (controls → text, then the preview is
// told); the filter's SetFormat posts the reload message (text → controls).

#include "Common/base/InteractiveInterfaces.h"
#include "Common/params/ParamList.h"

#include <QWidget>

class CFilterDialog : public QWidget {
public:
    // Holds a reference on the filter and the site (which may be null).
    CFilterDialog(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);
    ~CFilterDialog() override;
    CFilterDialog(const CFilterDialog&) = delete;
    CFilterDialog& operator=(const CFilterDialog&) = delete;

protected:
    // Writes every control's value into params under the filter's keys.
    virtual void StoreControls(CParamList& params) = 0;
    // Sets the controls whose keys params holds; others keep their values.
    virtual void ReloadControls(const CParamList& params) = 0;

    // For control-change handlers: ignored while the controls are being reloaded,
    // so that setting a control from the text never writes the text back.
    void PostStore();

    IInteractiveFilter* Filter() const { return m_filter; }
    IPreviewSite* Site() const { return m_site; }

    bool event(QEvent* event) override;

private:
    void OnStore();
    void OnReload();

    IInteractiveFilter* m_filter;
    IPreviewSite* m_site;
    bool m_reloading = false;
    // The text the last store wrote. Its own reload would only move the controls
    // back to it, undoing whatever the user did while that reload was queued.
    WString m_stored;
};
