#include "core/Vocabulary.h"

namespace Vocabulary {

namespace {

const QString HoldMelody1 = QStringLiteral("保留メロディ１");
const QString HoldMelody2 = QStringLiteral("保留メロディ２");
const QString RingMelody1 = QStringLiteral("着信メロディ１");
const QString RingMelody2 = QStringLiteral("着信メロディ２");
const QString HoldMelody = QStringLiteral("保留メロディ");
const QString RingMelody = QStringLiteral("着信メロディ");

int positionOf(const QStringList &list, const QString &text)
{
    return static_cast<int>(list.indexOf(text));
}

} // namespace

const QStringList &entryGroups()
{
    static const QStringList list = {
        QStringLiteral("グループ０"), QStringLiteral("グループ１"), QStringLiteral("グループ２"),
        QStringLiteral("グループ３"), QStringLiteral("グループ４"), QStringLiteral("グループ５"),
        QStringLiteral("グループ６"), QStringLiteral("グループ７"), QStringLiteral("グループ８"),
        QStringLiteral("グループ９"), QStringLiteral("個別")};
    return list;
}

QString individualGroup() { return entryGroups().at(10); }

int groupCode(const QString &text)
{
    const int code = positionOf(entryGroups(), text);
    return code < 0 ? 0 : code;
}

std::optional<QString> groupFromCode(int code)
{
    if (code < 0 || code >= entryGroups().size())
        return std::nullopt;
    return entryGroups().at(code);
}

const QStringList &longRingTones()
{
    static const QStringList list = {
        QStringLiteral("設定なし"), QStringLiteral("着信音Ａ"), QStringLiteral("着信音Ｂ"),
        QStringLiteral("着信音Ｃ"), QStringLiteral("着信音Ｄ"), QStringLiteral("着信音Ｅ"),
        QStringLiteral("着信音Ｆ"), QStringLiteral("着信音Ｇ"), QStringLiteral("着信音Ｈ"),
        HoldMelody1, HoldMelody2, RingMelody1, RingMelody2};
    return list;
}

const QStringList &shortRingTones()
{
    static const QStringList list = [] {
        QStringList l = longRingTones().mid(0, 9);
        l << HoldMelody << RingMelody;
        return l;
    }();
    return list;
}

const QStringList &ringTones(RingVocabulary vocabulary)
{
    return vocabulary == RingVocabulary::Short ? shortRingTones() : longRingTones();
}

QString defaultRingTone() { return longRingTones().at(0); }

int groupRingCode(const QString &text, RingVocabulary vocabulary)
{
    if (vocabulary == RingVocabulary::Short) {
        if (text == HoldMelody2 || text == RingMelody1 || text == RingMelody2)
            return 10;
        if (text == HoldMelody1)
            return 9;
        return positionOf(shortRingTones(), text);
    }
    if (text == HoldMelody)
        return 9;
    if (text == RingMelody)
        return 10;
    return positionOf(longRingTones(), text);
}

int entryRingCode(const QString &text, RingVocabulary vocabulary)
{
    const int code = groupRingCode(text, vocabulary);
    return code < 0 ? 0 : code;
}

std::optional<QString> ringFromCode(int code, RingVocabulary vocabulary)
{
    if (code < 0)
        return std::nullopt;
    if (vocabulary == RingVocabulary::Short)
        return shortRingTones().at(qMin(code, 10));
    if (code >= longRingTones().size())
        return std::nullopt;
    return longRingTones().at(code);
}

QString ringToneForEditor(const QString &stored, RingVocabulary vocabulary)
{
    if (vocabulary == RingVocabulary::Short) {
        if (stored == HoldMelody1)
            return HoldMelody;
        if (stored == HoldMelody2 || stored == RingMelody1 || stored == RingMelody2)
            return RingMelody;
        return stored;
    }
    if (stored == HoldMelody)
        return HoldMelody1;
    if (stored == RingMelody)
        return HoldMelody2;
    return stored;
}

const QStringList &lamps()
{
    static const QStringList list = {
        QStringLiteral("設定なし"),       QStringLiteral("シグナルレッド"), QStringLiteral("レモンイエロー"),
        QStringLiteral("グラスグリーン"), QStringLiteral("ロイヤルブルー"), QStringLiteral("ライトブルー"),
        QStringLiteral("ピーチホワイト"), QStringLiteral("バイオレット"),   QStringLiteral("７色")};
    return list;
}

QString defaultLamp() { return lamps().at(0); }

int lampCode(const QString &text) { return positionOf(lamps(), text); }

std::optional<QString> lampFromCode(int code)
{
    if (code < 0 || code >= lamps().size())
        return std::nullopt;
    return lamps().at(code);
}

const QStringList &extensions()
{
    static const QStringList list = [] {
        QStringList l;
        for (int i = 0; i <= 32; ++i)
            l << QString::number(i).rightJustified(2, u'0');
        return l;
    }();
    return list;
}

QString defaultExtension() { return extensions().at(1); }

QString extensionToXml(const QString &stored)
{
    if (stored.isEmpty())
        return QStringLiteral("1");
    if (stored.at(0) == u'0')
        return stored.right(1);
    return stored;
}

QString extensionFromXml(const QString &value)
{
    return value.size() == 1 ? QStringLiteral("0") + value : value;
}

const QStringList &destinationGroups()
{
    static const QStringList list = {
        QStringLiteral("内線グループＡ"), QStringLiteral("内線グループＢ"), QStringLiteral("内線グループＣ"),
        QStringLiteral("内線グループＤ"), QStringLiteral("内線グループＥ"), QStringLiteral("内線グループＦ"),
        QStringLiteral("内線グループＧ"), QStringLiteral("内線グループＨ"), QStringLiteral("内線グループＩ")};
    return list;
}

QString defaultDestination() { return QStringLiteral("0"); }

constexpr int FirstDestinationGroupCode = 225;

QString destinationToXml(const QString &stored)
{
    const int index = positionOf(destinationGroups(), stored);
    return index < 0 ? stored : QString::number(FirstDestinationGroupCode + index);
}

QString destinationFromXml(const QString &value)
{
    for (int i = 0; i < destinationGroups().size(); ++i) {
        if (value == QString::number(FirstDestinationGroupCode + i))
            return destinationGroups().at(i);
    }
    return value;
}

QString flagOn() { return QStringLiteral("する"); }
QString flagOff() { return QStringLiteral("しない"); }
QString flagToXml(const QString &stored) { return stored == flagOff() ? QStringLiteral("0") : QStringLiteral("1"); }
QString flagFromXml(const QString &value) { return value == QStringLiteral("0") ? flagOff() : flagOn(); }

QString noGroupName() { return QStringLiteral("登録なし"); }

const QStringList &writeModes()
{
    static const QStringList list = {QStringLiteral("書き込み時にクリア"), QStringLiteral("追加モード")};
    return list;
}

const QStringList &modelChoices()
{
    static const QStringList list = {QStringLiteral("LM630Std"), QStringLiteral("LM630Pro")};
    return list;
}

} // namespace Vocabulary
