#pragma once

#include <functional>

// Runs a command; an error thrown inside it ends the command and is shown in the
// general error box with its own text, and the program goes on. Returns false when the
// command ended by an error. No exception crosses the event loop.
bool runGuarded(const std::function<void()> &command);
