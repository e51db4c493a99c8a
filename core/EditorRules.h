#pragma once

#include <QString>
#include <array>

// The rules of the entry editor, the group editor and the destination dialog that need
// no widget.
namespace EditorRules {

// Positions of the entry list wrap at both ends: one step on from the last row is the
// first, one step back from the first is the last.
int wrapPosition(int position, int step, int count);

// The phone-number field takes a typed character only when it is Backspace or a
// dialling character; everything else typed is dropped.
bool acceptsPhoneKey(QChar typed);

// The four text fields of the entry editor in their Tab order.
enum class TextField { Name, Kana, Phone, Memo };
// Where Tab goes from a text field: name → kana → phone → memo → name; the memo is
// skipped while it is hidden.
TextField nextTextField(TextField from, bool memoShown);

// Change detection by exact text: true when any current value differs from the value
// remembered when the entry or group was loaded.
template <std::size_t N>
bool anyChanged(const std::array<QString, N> &remembered, const std::array<QString, N> &current)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (remembered[i] != current[i])
            return true;
    }
    return false;
}

// The destination dialog's choice: the three kinds and the item of the list that
// belongs to the kind (-1 when none is chosen).
struct DestinationChoice {
    enum Kind { AllExtensions, ExtensionGroup, SingleExtension };
    Kind kind = AllExtensions;
    int item = -1;
    bool operator==(const DestinationChoice &) const = default;
};

// What the dialog preselects for a destination text: "0" and texts that are no number
// at all (empty text included) give all extensions; a group text gives its group;
// 1 … 34 give that extension. Any other number gives nothing: the dialog keeps its
// previous choice.
struct DestinationPreselection {
    bool preselect = false;
    DestinationChoice choice;
};
DestinationPreselection destinationPreselection(const QString &text);

// The destination text the dialog's OK gives for a choice; a group kind with no group
// chosen keeps the current text.
QString destinationText(const DestinationChoice &choice, const QString &current);

// The group name stored for the group editor's name field: "登録なし" for empty text.
QString groupNameToStore(const QString &typed);

// A stored FAX or callback flag shows as on only when it is exactly "する".
bool flagIsOn(const QString &stored);

} // namespace EditorRules
