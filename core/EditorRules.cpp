#include "core/EditorRules.h"

#include "core/Vocabulary.h"
#include "core/WidthRules.h"

namespace EditorRules {

namespace {
constexpr int SingleExtensionCount = 34;
}

int wrapPosition(int position, int step, int count)
{
    if (count <= 0)
        return 0;
    const int moved = (position + step) % count;
    return moved < 0 ? moved + count : moved;
}

bool acceptsPhoneKey(QChar typed)
{
    return typed == QChar(u'\b') || isDialChar(typed);
}

TextField nextTextField(TextField from, bool memoShown)
{
    switch (from) {
    case TextField::Name:
        return TextField::Kana;
    case TextField::Kana:
        return TextField::Phone;
    case TextField::Phone:
        return memoShown ? TextField::Memo : TextField::Name;
    case TextField::Memo:
        return TextField::Name;
    }
    return TextField::Name;
}

DestinationPreselection destinationPreselection(const QString &text)
{
    DestinationPreselection result;
    if (text == Vocabulary::defaultDestination()) {
        result.preselect = true;
        return result;
    }
    const int group = Vocabulary::destinationGroups().indexOf(text);
    if (group >= 0) {
        result.preselect = true;
        result.choice = {DestinationChoice::ExtensionGroup, group};
        return result;
    }
    bool isNumber = false;
    const qlonglong n = text.toLongLong(&isNumber, 10);
    if (!isNumber) {
        // Nothing a phone system could route: shown as the default destination.
        result.preselect = true;
        return result;
    }
    if (n >= 1 && n <= SingleExtensionCount) {
        result.preselect = true;
        result.choice = {DestinationChoice::SingleExtension, static_cast<int>(n) - 1};
    }
    return result;
}

QString destinationText(const DestinationChoice &choice, const QString &current)
{
    switch (choice.kind) {
    case DestinationChoice::AllExtensions:
        return Vocabulary::defaultDestination();
    case DestinationChoice::ExtensionGroup:
        if (choice.item < 0 || choice.item >= Vocabulary::destinationGroups().size())
            return current;
        return Vocabulary::destinationGroups().at(choice.item);
    case DestinationChoice::SingleExtension:
        // No extension chosen gives 0, the number of "no item" plus one.
        return QString::number(choice.item < 0 ? 0 : choice.item + 1);
    }
    return current;
}

QString groupNameToStore(const QString &typed)
{
    return typed.isEmpty() ? Vocabulary::noGroupName() : typed;
}

bool flagIsOn(const QString &stored)
{
    return stored == Vocabulary::flagOn();
}

} // namespace EditorRules
