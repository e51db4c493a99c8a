#pragma once

#include <functional>

// The help buttons of the dialogs open the help window on their topic. The help window
// registers itself here when it is created, so that no dialog depends on it.
void showHelpTopic(int topic);
void setHelpTopicHandler(std::function<void(int)> handler);
