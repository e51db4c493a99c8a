#pragma once

#include <QStringList>
#include <functional>

class TFormMain;

// The program's start-up: single instance, progress window, main window and the other
// windows, then the event loop. whenShown runs once the main window has been shown
// (the start-up benchmark ends the program there).
int runDalvino(const QStringList &arguments, const std::function<void(TFormMain &)> &whenShown = {});

// The program's style and font, set before its first window is built.
void useProgramLook();
