#include "ui/HelpTopics.h"

namespace {
std::function<void(int)> &handler()
{
    static std::function<void(int)> h;
    return h;
}
} // namespace

void showHelpTopic(int topic)
{
    if (handler())
        handler()(topic);
}

void setHelpTopicHandler(std::function<void(int)> h) { handler() = std::move(h); }
