#pragma once
// A status's inner object that shows itself as a fixed-size label, and counts its
// references and how often it was asked to show itself.

#include "Common/base/FilterInterfaces.h"
#include "platform/DialogMessage.h"

#include <QLabel>

class CFakeDisplayable final : public IDisplayable {
public:
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 40;

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        return AnswerQueryInterface(object, [&]() -> IUnknown* {
            return iid == IID_IUnknown || iid == IID_IDisplayable ? this : nullptr;
        });
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HWND Display(HWND parent) override
    {
        ++displayed;
        auto* label = new QLabel(QStringLiteral("the disk is full"), WidgetOfHandle(parent));
        label->setGeometry(15, 20, kWidth, kHeight);
        return HandleOfWidget(label);
    }

    ULONG refs = 1;
    int displayed = 0;
};
