#include "app/planner/UndoHistory.h"

namespace zuvo::app {

int UndoHistory::push(Snapshot before)
{
    m_undo.push_back(std::move(before));
    m_redo.clear();
    return ++m_token;
}

void UndoHistory::discardIfNoop(int token, bool changed)
{
    if (!changed && token == m_token && !m_undo.empty())
        m_undo.pop_back();
}

std::optional<UndoHistory::Snapshot> UndoHistory::takeUndo()
{
    if (m_undo.empty())
        return std::nullopt;
    Snapshot last = std::move(m_undo.back());
    m_undo.pop_back();
    ++m_token;
    return last;
}

std::optional<UndoHistory::Snapshot> UndoHistory::takeRedo()
{
    if (m_redo.empty())
        return std::nullopt;
    Snapshot last = std::move(m_redo.back());
    m_redo.pop_back();
    ++m_token;
    return last;
}

void UndoHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
    endCoalescing();
}

void UndoHistory::beginDrag()
{
    if (m_dragActive)
        return;
    m_dragActive = true;
    m_dragPushPending = true;
}

bool UndoHistory::takeDragPush()
{
    const bool pending = m_dragPushPending;
    m_dragPushPending = false;
    return pending;
}

void UndoHistory::endCoalescing()
{
    m_dragActive = false;
    m_dragPushPending = false;
}

} // namespace zuvo::app
