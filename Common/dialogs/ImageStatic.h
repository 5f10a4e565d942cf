#pragma once
// A static control that shows an image centred on black, for dialogs that draw a
// picture of their own (crop, red-eye).

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

#include <QWidget>

class CImageStatic final : public QWidget {
public:
    explicit CImageStatic(QWidget* parent);

    void SetImage(CComPtr<IImage> image);
    IImage* Image() const { return m_image.Get(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CComPtr<IImage> m_image;
};

// The source fitted into a box of width x height (enlarged when smaller), made with
// the host's CreateImage and a colour-on-colour stretch; empty on any refusal.
CComPtr<IImage> MakePreviewPicture(IPluginHost* host, IImage* source, int width, int height);
