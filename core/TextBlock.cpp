#include "core/TextBlock.h"

#include <cstring>

TextBlock::TextBlock() : collected(BlockUnits + 256) {}

void TextBlock::add(qsizetype length, QString &target)
{
    if (length == 0) {
        target = QString();
        return;
    }
    collected[used + length] = 0; // room() made space for it
    targets.append({&target, length});
    used += length + 1;
    if (used >= BlockUnits)
        flush();
}

void TextBlock::add(QStringView text, QString &target)
{
    std::memcpy(room(text.size()), text.data(), text.size() * sizeof(char16_t));
    add(text.size(), target);
}

void TextBlock::flush()
{
    if (targets.isEmpty())
        return;
    QString block(used, Qt::Uninitialized);
    std::memcpy(reinterpret_cast<char16_t *>(block.data()), collected.data(), used * sizeof(char16_t));
    QStringPrivate &data = block.data_ptr();
    // Every text handed out owns one reference, set in one store instead of an atomic
    // increment per text; nothing but block holds the allocation yet, and block gives
    // its own reference back when it goes.
    data.d_ptr()->ref_.storeRelaxed(1 + static_cast<int>(targets.size()));
    char16_t *text = data.data();
    for (const auto &[target, length] : targets) {
        *target = QString(QStringPrivate(data.d_ptr(), text, length));
        text += length + 1;
    }
    used = 0;
    targets.clear();
}
