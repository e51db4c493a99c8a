#include "core/PhoneBook.h"

#include "core/Vocabulary.h"

namespace {

// The defaults are built once and shared, so that New copies references, not texts.
const std::array<QString, DialEntry::FieldCount> &entryDefaults()
{
    static const std::array<QString, DialEntry::FieldCount> defaults = {
        QString(), QString(), QString(), Vocabulary::entryGroups().at(0), Vocabulary::defaultRingTone(),
        Vocabulary::defaultExtension(), Vocabulary::defaultDestination(), QString()};
    return defaults;
}

const std::array<QString, GroupSetting::FieldCount> &groupDefaults()
{
    static const std::array<QString, GroupSetting::FieldCount> defaults = {
        Vocabulary::noGroupName(), Vocabulary::defaultRingTone(), Vocabulary::defaultLamp(),
        Vocabulary::flagOff(), Vocabulary::flagOff()};
    return defaults;
}

const std::vector<QString> &slotNumbers()
{
    static const std::vector<QString> numbers = [] {
        std::vector<QString> list;
        list.reserve(PhoneBook::EntryCount);
        // Four digits written in place: this runs at every start-up.
        for (int i = 0; i < PhoneBook::EntryCount; ++i) {
            QString number(4, Qt::Uninitialized);
            QChar *digits = number.data();
            for (int d = 3, rest = i; d >= 0; --d, rest /= 10)
                digits[d] = QChar(u'0' + rest % 10);
            list.push_back(std::move(number));
        }
        return list;
    }();
    return numbers;
}

// Assigns value unless text already is that very text (not a copy of it). New runs over
// 36 000 fields, most of which still hold their default; skipping them saves a call and
// a reference count update for each.
void assignShared(QString &text, const QString &value)
{
    // A copy and a move, which the compiler builds in; QString's copy assignment is a
    // library call.
    if (text.constData() != value.constData() || text.size() != value.size())
        text = QString(value);
}

} // namespace

bool DialEntry::isRegistered() const
{
    return !fields[Name].isEmpty() || !fields[Kana].isEmpty() || !fields[Phone].isEmpty();
}

void DialEntry::clear()
{
    const std::array<QString, FieldCount> &defaults = entryDefaults();
    for (int i = 0; i < FieldCount; ++i)
        assignShared(fields[i], defaults[i]);
}

bool GroupSetting::isSet() const
{
    return fields[Name] != Vocabulary::noGroupName() || fields[Ring] != Vocabulary::defaultRingTone()
        || fields[Lamp] != Vocabulary::defaultLamp();
}

void GroupSetting::reset() { fields = groupDefaults(); }

PhoneBook::PhoneBook()
{
    entries.resize(EntryCount);
    New();
    MACInit();
}

void PhoneBook::New(const std::function<void(int)> &progress)
{
    resetSettings();
    for (int i = 0; i < EntryCount; ++i) {
        if (progress)
            progress(i + 1);
        resetEntry(i);
    }
}

void PhoneBook::resetSettings()
{
    FileName = untitledName();
    FLastSortColumn = 0;
    UserName.clear();
    UserNo.clear();
    for (int g = 0; g < GroupCount; ++g) {
        groups[g].Label = groupLabel(g);
        groups[g].reset();
    }
    entries.resize(EntryCount);
}

void PhoneBook::resetEntry(int index)
{
    assignShared(entries[index].No, slotNumbers()[index]);
    entries[index].clear();
}

void PhoneBook::MACInit() { MACAddress = QStringLiteral("000000000000"); }

QString PhoneBook::untitledName() { return QStringLiteral("無題"); }

QString PhoneBook::slotNumber(int index) { return slotNumbers().at(index); }

QString PhoneBook::groupLabel(int index)
{
    return QStringLiteral("グループ") + QChar(0xFF10 + index);
}
