#include "filters/median/MedianKernelRankWindow.h"

void CLumaRankWindow::Clear()
{
    m_counts.fill(0);
    m_size = 0;
    m_luma = 0;
    m_below = 0;
}
