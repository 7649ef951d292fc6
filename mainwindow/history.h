// The scene's undo history: snapshots of every control that makes the scene, one step per
// user gesture.
#pragma once

#include <QString>
#include <array>
#include <deque>
#include <optional>
#include <vector>

// The complete state of the scene's controls, fields as their exact texts.
struct SceneState
{
    std::array<QString, 9> text;
    std::array<bool, 18> check {};
    bool check2 = false;
    std::array<int, 3> scroll {};
    int mountMaximum = 0; // HScroll2's maximum follows the scale, a loaded file may differ
    int nzoom = 0;
    int longaxe = 0;
    int precision = 0; // Combo1's index

    bool operator==(const SceneState &o) const;
    bool operator!=(const SceneState &o) const { return !(*this == o); }
};

class History
{
public:
    explicit History(int capacity = 500);

    // Forgets every step; `current` is the state from which steps are recorded.
    void reset(const SceneState &current);
    // Records the change from the last known state to `current` as a step named `label`
    // ("le déplacement de l'objet"). A step with the same non-empty `run` as the step just
    // recorded, with nothing between, extends it. Nothing is recorded when nothing changed.
    // Returns true when a step was recorded or extended.
    bool record(const SceneState &current, const QString &label, const QString &run = {});
    // The next step starts a new run.
    void breakRun() { lastRun.clear(); }

    bool canUndo() const { return !done.empty(); }
    bool canRedo() const { return !undone.empty(); }
    QString undoLabel() const;
    QString redoLabel() const;
    int undoCount() const { return int(done.size()); }
    int redoCount() const { return int(undone.size()); }
    // The state to restore, or nothing when there is no step.
    std::optional<SceneState> undo();
    std::optional<SceneState> redo();
    const SceneState &current() const { return now; }
    // The controls show `state` after a restore: steps are recorded from it.
    void adopt(const SceneState &state) { now = state; }

private:
    struct Step
    {
        SceneState before;
        SceneState after;
        QString label;
    };
    std::deque<Step> done;
    std::vector<Step> undone;
    SceneState now;
    QString lastRun;
    size_t capacity;
};
