#include "core/TextBlock.h"

#include <cstring>

char16_t *TextBlock::room(qsizetype units)
{
    collected.reserve(collected.size() + units + 1); // and the 0 after the text
    return collected.data() + collected.size();
}

void TextBlock::add(qsizetype length, QString &target)
{
    if (length == 0) {
        target = QString();
        return;
    }
    // room() reserved the space: this resize only counts the characters written.
    const qsizetype used = collected.size();
    collected.resize(used + length + 1);
    collected[used + length] = 0;
    targets.append({&target, length});
    if (collected.size() >= BlockUnits)
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
    QString block(collected.size(), Qt::Uninitialized);
    std::memcpy(reinterpret_cast<char16_t *>(block.data()), collected.constData(), collected.size() * sizeof(char16_t));
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
    collected.clear();
    targets.clear();
}
