#include "refhost/LineCursor.h"

CLineCursor::CLineCursor(IImage* image, int row) : m_image(image), m_row(row)
{
    m_image->AddRef();
}

CLineCursor::~CLineCursor()
{
    m_image->Release();
}

HRESULT CLineCursor::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* { return iid == IID_IUnknown ? this : nullptr; });
}

ULONG CLineCursor::AddRef()
{
    return m_refs.Increment();
}

ULONG CLineCursor::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

uint8_t* CLineCursor::GetLine()
{
    int width = 0;
    int height = 0;
    m_image->GetSize(&width, &height);
    uint8_t* rowZero = m_image->GetPixels();
    if (rowZero == nullptr || m_row < 0 || m_row >= height) return nullptr;
    return rowZero + static_cast<ptrdiff_t>(m_row) * m_image->GetStride();
}
