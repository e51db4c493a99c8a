#pragma once

#include <QString>
#include <QVarLengthArray>
#include <utility>
#include <vector>

// Writes many short texts into a few shared allocations: texts are collected, and every
// few thousand characters they are copied into one allocation and handed to the QStrings
// they are meant for, all of which share it. Each behaves like any QString: a change
// copies it out first, and the allocation goes with the last text that uses it. Filling
// 4000 entries this way costs a few dozen allocations instead of one per field, which was
// most of the cost of an import. Every text is followed by a 0, as in any QString.
class TextBlock {
public:
    TextBlock();
    ~TextBlock() { flush(); }
    TextBlock(const TextBlock &) = delete;
    TextBlock &operator=(const TextBlock &) = delete;

    // Space for the next text, up to units characters; valid until the next call.
    char16_t *room(qsizetype units)
    {
        if (used + units + 1 > static_cast<qsizetype>(collected.size())) // and the 0 after the text
            collected.resize(used + units + 1);
        return collected.data() + used;
    }
    // Ends the next text at the first length characters written into room(); target
    // gets it at the next flush() (an empty text, a null QString, at once). target must
    // stay where it is until then, and not be used meanwhile.
    void add(qsizetype length, QString &target);
    void add(QStringView text, QString &target);
    // Hands out the texts added so far.
    void flush();

private:
    // Texts are shared out once this much is collected: large enough that allocations
    // are few, small enough to stay in the heap's reused memory.
    static constexpr qsizetype BlockUnits = 4096;

    std::vector<char16_t> collected; // the texts, each with its 0; only used counts
    qsizetype used = 0;
    QVarLengthArray<std::pair<QString *, qsizetype>, 512> targets; // and their lengths
};
