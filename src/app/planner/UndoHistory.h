#pragma once

#include "model/Anchor.h"
#include "model/CostingProfile.h"

#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace zuvo::app {

// The planner's undo and redo history, newest last. A step holds the whole plan a rider
// changes: anchors, round trip and routing profile, so that undo takes back the last change
// whatever it was. Legs are not kept; the planner routes them again. Every snapshot pushed gets
// a token, so that the edit that pushed it can take it back when it turned out to change
// nothing, unless the history moved since (a later snapshot, an undo or a redo).
class UndoHistory {
public:
    // The document a plan belonged to, kept by a step that replaced the whole plan with another
    // one (a suggested loop), so that undo brings the plan back under its own name and file.
    struct Document {
        QString name;
        std::optional<QUrl> url;
        bool operator==(const Document&) const = default;
    };
    struct Snapshot {
        std::vector<model::Anchor> anchors;
        bool roundTrip = false;
        model::CostingProfile costing;
        std::optional<Document> document = {};
        bool operator==(const Snapshot&) const = default;
    };

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    const std::vector<Snapshot>& undoStack() const { return m_undo; }
    const std::vector<Snapshot>& redoStack() const { return m_redo; }

    // A new edit: the snapshot goes on the undo stack and the redo stack is emptied.
    int push(Snapshot before);
    void discardIfNoop(int token, bool changed);

    std::optional<Snapshot> takeUndo();
    std::optional<Snapshot> takeRedo();
    // Where undo puts what it replaces, and redo likewise, without touching the other stack.
    void pushRedo(Snapshot current) { m_redo.push_back(std::move(current)); }
    void pushUndoKeepingRedo(Snapshot current) { m_undo.push_back(std::move(current)); }

    void clear();

    // One drag gesture is one undo step, however many moves it sends: its first move takes the
    // snapshot.
    void beginDrag();
    // True once per gesture, for the move that takes the snapshot.
    bool takeDragPush();
    void endDrag() { m_dragActive = false; }
    void endCoalescing();

private:
    std::vector<Snapshot> m_undo;
    std::vector<Snapshot> m_redo;
    int m_token = 0;
    bool m_dragActive = false;
    bool m_dragPushPending = false;
};

} // namespace zuvo::app
