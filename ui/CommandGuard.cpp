#include "ui/CommandGuard.h"

#include "core/DalvinoError.h"
#include "ui/Prompts.h"

#include <QString>

bool runGuarded(const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const DalvinoError &e) {
        Prompts::current().error(e.text());
    } catch (const std::exception &e) {
        Prompts::current().error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
