#pragma once
// Walks the rows of an image's pixel section; holds the image alive.

#include "host/HostInterfaces.h"
#include "platform/RefCount.h"

class CLineCursor final : public ILineCursor {
public:
    // image provides the rows, which are lineSize bytes apart; takes a reference.
    CLineCursor(IUnknown* image, uint8_t* rowZero, int lineSize, int rows, int row);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // Null once the cursor has moved off the image.
    uint8_t* GetLine() override;
    int GetLineSize() override { return m_lineSize; }
    void Next() override { ++m_row; }
    void Previous() override { --m_row; }

private:
    ~CLineCursor();

    IUnknown* m_image;
    uint8_t* m_rowZero;
    int m_lineSize;
    int m_rows;
    int m_row;
    CRefCount m_refs;
};
