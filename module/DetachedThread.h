// Threads that nobody waits for.
#pragma once

#include <windows.h>

#include <functional>

// Runs work on a thread of its own that ends on its own: nobody waits for it
// (a listing or a path lookup blocked on a dead network path may take the
// system's own time-out), so it holds a reference on this module until it
// ends, and work must hold (or share) everything it touches. False when no
// thread could start (work then never runs).
bool StartDetachedThread(std::function<void()> work);
