#pragma once

#include "core/DeviceModel.h"

#include <QString>
#include <QStringList>
#include <optional>

// The choice fields of the phone book hold the texts the user sees; the XML file holds
// codes. These are the one place where the texts, their order and their codes live.
namespace Vocabulary {

// Group of an entry: "グループ０" … "グループ９", "個別" (code = position).
const QStringList &entryGroups();
QString individualGroup(); // "個別"
// Code written for a group text; 0 for a text not in the list.
int groupCode(const QString &text);
std::optional<QString> groupFromCode(int code);

// Ring tones: the long vocabulary (13 texts) and the short one (11 texts).
const QStringList &longRingTones();
const QStringList &shortRingTones();
const QStringList &ringTones(RingVocabulary vocabulary);
QString defaultRingTone(); // "設定なし"
// Code of an entry's ring tone under the vocabulary in force; texts of the other
// vocabulary follow their correspondence, anything else gives 0.
int entryRingCode(const QString &text, RingVocabulary vocabulary);
// Code of a group's ring tone; -1 for a text in neither correspondence nor list.
int groupRingCode(const QString &text, RingVocabulary vocabulary);
// Text for a code read from a file: the short vocabulary reads codes above 10 as
// "着信メロディ"; empty optional for a negative code or one past the long list.
std::optional<QString> ringFromCode(int code, RingVocabulary vocabulary);
// The text an editor shows for a stored ring tone: a text of the other vocabulary is
// shown by its correspondence, every other text unchanged.
QString ringToneForEditor(const QString &stored, RingVocabulary vocabulary);

// Lamp colour of a group (code = position, 0 = "設定なし").
const QStringList &lamps();
QString defaultLamp();
int lampCode(const QString &text); // -1 when not listed
std::optional<QString> lampFromCode(int code);

// Registered extension "00" … "32".
const QStringList &extensions();
QString defaultExtension(); // "01"
QString extensionToXml(const QString &stored);
QString extensionFromXml(const QString &value);

// Incoming destination: "0", "内線グループＡ" … "内線グループＩ" (225 … 233), "1" … "34".
const QStringList &destinationGroups();
QString defaultDestination(); // "0"
QString destinationToXml(const QString &stored);
QString destinationFromXml(const QString &value);

// FAX and callback flags of a group.
QString flagOn();  // "する"
QString flagOff(); // "しない"
QString flagToXml(const QString &stored);
QString flagFromXml(const QString &value);

// Group name placeholder for a group without a name.
QString noGroupName(); // "登録なし"

// Write mode 0 / 1 and the user's model choice 0 / 1.
const QStringList &writeModes();
const QStringList &modelChoices();

} // namespace Vocabulary
