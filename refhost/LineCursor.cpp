#include "refhost/LineCursor.h"

CLineCursor::CLineCursor(IUnknown* image, uint8_t* rowZero, int lineSize, int rows, int row)
    : m_image(image), m_rowZero(rowZero), m_lineSize(lineSize), m_rows(rows), m_row(row)
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
    if (m_row < 0 || m_row >= m_rows) return nullptr;
    return m_rowZero + static_cast<ptrdiff_t>(m_row) * m_lineSize;
}
