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
    if (length == 0) {
        target = QString();
        return;
    }
    block.data_ptr().data()[used + length] = 0; // room() made space for it
    targets.append({&target, length});
    used += length + 1;
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
        data.d_ptr()->ref_.storeRelaxed(1 + static_cast<int>(targets.size()));
        char16_t *text = data.data();
        for (const auto &[target, length] : targets) {
            *target = QString(QStringPrivate(data.d_ptr(), text, length));
            text += length + 1;
        }
        targets.clear();
    }
    block = QString();
    used = 0;
}
