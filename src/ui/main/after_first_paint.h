#pragma once
// Work that the first look of a window does not need waits until the window
// has been painted once: the user sees the window as soon as it can be drawn,
// and what comes later (controls no step shows yet, libraries loaded on
// demand) is done while they read it.
#include <functional>

class QWidget;

namespace serenitap {

// Runs job once the window has been painted for the first time, from the
// event loop, after that paint has been put on the screen. Jobs run in the
// order they were given; a job given after the first paint runs from the
// event loop at once. Jobs of a window that is destroyed before it is painted
// never run.
void AfterFirstPaint(QWidget& window, std::function<void()> job);

// Whether the window has been painted and its jobs have run.
bool FirstPaintDone(const QWidget& window);

}  // namespace serenitap
