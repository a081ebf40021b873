// The parade of one window: its marchers in order of addition, and the
// clean copy of the prepared background they are erased from.
#pragma once

#include "imaging/DibSurface.h"
#include "parade/Marcher.h"

constexpr int LIST_ERR_NOMEMORY = 0x20000;
constexpr int LIST_ERR_NONODE = 0x20001;
constexpr int LIST_ERR_END = 0x20003;

struct MarcherNode {
    Marcher marcher;
    MarcherNode* pBefore = nullptr;
    MarcherNode* pAfter = nullptr;
};

class MarcherList {
public:
    MarcherList() = default;
    ~MarcherList();

    MarcherList(const MarcherList&) = delete;
    MarcherList& operator=(const MarcherList&) = delete;

    int AddMarcher(const DibSurface* strip, const POINT* keyPoint, const MarcherSpec* marcherSpec,
                   MarcherNode** added = nullptr);
    int RemoveMarcher(MarcherNode* node);
    int GetFirst(MarcherNode*& node) const;
    int GetNext(MarcherNode* current, MarcherNode*& node) const;
    int SetBackground(const DibSurface* surface);

    void AdvanceAll(DibSurface& canvas, CanvasInvalidator& window);
    void RenderAll(DibSurface& canvas, CanvasInvalidator& window);

    int Count() const { return m_nCount; }
    const DibSurface& Clean() const { return m_clean; }

private:
    int m_nCount = 0;
    MarcherNode* m_pFirst = nullptr;
    MarcherNode* m_pLast = nullptr;
    DibSurface m_clean;
};
