#include "parade/MarcherList.h"

#include <new>

MarcherList::~MarcherList()
{
    MarcherNode* node = m_pFirst;
    while (node != nullptr) {
        MarcherNode* next = node->pAfter;
        delete node;
        node = next;
    }
    m_pFirst = m_pLast = nullptr;
    m_nCount = 0;
}

int MarcherList::AddMarcher(const DibSurface* strip, const POINT* keyPoint, const MarcherSpec* marcherSpec,
                            MarcherNode** added)
{
    auto* node = new (std::nothrow) MarcherNode{};
    if (node == nullptr)
        return LIST_ERR_NOMEMORY;
    ++m_nCount;
    node->pBefore = m_pLast;
    if (m_pLast != nullptr)
        m_pLast->pAfter = node;
    else
        m_pFirst = node;
    m_pLast = node;

    const int result = InitMarcher(node->marcher, strip, keyPoint, marcherSpec);
    if (result != 0) {
        RemoveMarcher(node);
        return result;
    }
    if (added != nullptr)
        *added = node;
    return 0;
}

int MarcherList::RemoveMarcher(MarcherNode* node)
{
    if (node == nullptr)
        return LIST_ERR_NONODE;
    if (node->pBefore != nullptr)
        node->pBefore->pAfter = node->pAfter;
    else
        m_pFirst = node->pAfter;
    if (node->pAfter != nullptr)
        node->pAfter->pBefore = node->pBefore;
    else
        m_pLast = node->pBefore;
    delete node;
    --m_nCount;
    return 0;
}

int MarcherList::GetFirst(MarcherNode*& node) const
{
    if (m_pFirst == nullptr)
        return LIST_ERR_END;
    node = m_pFirst;
    return 0;
}

int MarcherList::GetNext(MarcherNode* current, MarcherNode*& node) const
{
    if (current == nullptr)
        return GetFirst(node);
    if (current->pAfter == nullptr)
        return LIST_ERR_END;
    node = current->pAfter;
    return 0;
}

int MarcherList::SetBackground(const DibSurface* surface)
{
    if (surface == nullptr)
        return PARADE_ERR_NOBACKGROUND;
    return m_clean.CopyFrom(*surface) == 0 ? 0 : PARADE_ERR_COPY;
}

void MarcherList::AdvanceAll(DibSurface& canvas, CanvasInvalidator& window)
{
    for (MarcherNode* node = m_pFirst; node != nullptr; node = node->pAfter)
        node->marcher.Advance(canvas, m_clean, window);
}

void MarcherList::RenderAll(DibSurface& canvas, CanvasInvalidator& window)
{
    for (MarcherNode* node = m_pFirst; node != nullptr; node = node->pAfter)
        node->marcher.Render(canvas, window);
}
