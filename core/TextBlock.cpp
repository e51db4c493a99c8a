#include "core/TextBlock.h"

#include <algorithm>
#include <cstring>

char16_t *TextBlock::room(qsizetype units)
{
    const qsizetype needed = units + 1; // and the 0 after the text
    if (used + needed > block.size()) {
        // The texts so far go out with their block; the next ones start a new one.
        flush();
        block = QString(std::max(BlockUnits, needed), Qt::Uninitialized);
    }
    return block.data_ptr().data() + used;
}

void TextBlock::add(qsizetype length, QString &target)
{
    // An empty text waits its turn like the others, so that when one target is given two
    // texts the later one is what it keeps.
    if (length > 0) {
        block.data_ptr().data()[used + length] = 0; // room() made space for it
        used += length + 1;
        ++sharing;
    }
    targets.append({&target, length});
}

void TextBlock::add(QStringView text, QString &target)
{
    if (!text.isEmpty()) // (an empty view may have no characters to copy from at all)
        std::memcpy(room(text.size()), text.data(), text.size() * sizeof(char16_t));
    add(text.size(), target);
}

void TextBlock::flush()
{
    if (!targets.isEmpty()) {
        QStringPrivate &data = block.data_ptr();
        // Every text handed out owns one reference, set in one store instead of an atomic
        // increment per text; nothing but block holds the allocation yet, and block gives
        // its own reference back below.
        if (sharing > 0)
            data.d_ptr()->ref_.storeRelaxed(1 + sharing);
        char16_t *text = data.data();
        for (const auto &[target, length] : targets) {
            if (length == 0) {
                *target = QString(); // a null text, as for any empty field
                continue;
            }
            *target = QString(QStringPrivate(data.d_ptr(), text, length));
            text += length + 1;
        }
        targets.clear();
        sharing = 0;
    }
    block = QString();
    used = 0;
}
