#pragma once
// Walks the rows of an image's pixel section; holds the image alive.

#include "host/HostInterfaces.h"
#include "platform/RefCount.h"

class CLineCursor final : public ILineCursor {
public:
    // Starts at row of image, on which it takes a reference.
    CLineCursor(IImage* image, int row);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // Null once the cursor has moved off the image.
    uint8_t* GetLine() override;
    int GetLineSize() override { return m_image->GetStride(); }
    void Next() override { ++m_row; }
    void Previous() override { --m_row; }

private:
    ~CLineCursor();

    // The image is asked for its pixels each time: Allocate may have replaced them.
    IImage* m_image;
    int m_row;
    CRefCount m_refs;
};
