#include "mainwindow/history.h"

#include <algorithm>

bool SceneState::operator==(const SceneState &o) const
{
    return text == o.text && check == o.check && check2 == o.check2 && scroll == o.scroll
        && mountMaximum == o.mountMaximum && nzoom == o.nzoom && longaxe == o.longaxe
        && precision == o.precision;
}

History::History(int capacity)
    : capacity(size_t(std::max(1, capacity)))
{
}

void History::reset(const SceneState &current)
{
    done.clear();
    undone.clear();
    lastRun.clear();
    now = current;
}

bool History::record(const SceneState &current, const QString &label, const QString &run)
{
    if (current == now)
        return false;
    undone.clear();
    if (!run.isEmpty() && run == lastRun && !done.empty()) {
        done.back().after = current;
        // A run brought back to where it started is no step at all.
        if (done.back().before == current) {
            done.pop_back();
            lastRun.clear();
            now = current;
            return true;
        }
    } else {
        done.push_back({now, current, label});
        if (done.size() > capacity)
            done.pop_front();
    }
    lastRun = run;
    now = current;
    return true;
}

QString History::undoLabel() const
{
    return done.empty() ? QString() : done.back().label;
}

QString History::redoLabel() const
{
    return undone.empty() ? QString() : undone.back().label;
}

std::optional<SceneState> History::undo()
{
    if (done.empty())
        return std::nullopt;
    undone.push_back(std::move(done.back()));
    done.pop_back();
    lastRun.clear();
    now = undone.back().before;
    return now;
}

std::optional<SceneState> History::redo()
{
    if (undone.empty())
        return std::nullopt;
    done.push_back(std::move(undone.back()));
    undone.pop_back();
    lastRun.clear();
    now = done.back().after;
    return now;
}
