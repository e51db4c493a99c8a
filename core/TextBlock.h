#pragma once

#include <QString>
#include <QVarLengthArray>
#include <utility>

// Writes many short texts into a few shared allocations: texts are written one after
// another into a block of a few thousand characters, and when the block is full they are
// handed to the QStrings they are meant for, all of which share it. Each behaves like any
// QString: a change copies it out first, and the block goes with the last text that uses
// it. Filling 4000 entries this way costs a few dozen allocations instead of one per
// field, which was most of the cost of an import. Every text is followed by a 0, as in
// any QString.
class TextBlock {
public:
    TextBlock() = default;
    ~TextBlock() { flush(); }
    TextBlock(const TextBlock &) = delete;
    TextBlock &operator=(const TextBlock &) = delete;

    // Space for the next text, up to units characters; valid until the next call.
    char16_t *room(qsizetype units);
    // Ends the next text at the first length characters written into room(); target
    // gets it at the next flush() (an empty text as a null QString). target must stay
    // where it is until then, and not be used meanwhile; a target given several texts
    // keeps the last.
    void add(qsizetype length, QString &target);
    void add(QStringView text, QString &target);
    // Hands out the texts added so far.
    void flush();

private:
    // The characters of a block, unless one text needs more: large enough that
    // allocations are few, small enough to stay in the heap's reused memory.
    static constexpr qsizetype BlockUnits = 4096;

    QString block;     // the texts, each with its 0; null until the first room()
    qsizetype used = 0; // of block's characters
    QVarLengthArray<std::pair<QString *, qsizetype>, 512> targets; // the texts' owners and lengths
    int sharing = 0; // of targets, those whose text is not empty and so shares block
};
