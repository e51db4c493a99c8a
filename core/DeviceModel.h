#pragma once

#include <QString>

// The eight phone-system models. Every per-model rule of the program is a column of
// this one table; nothing else switches on a model index.
enum class RingVocabulary { Long, Short };

struct DeviceModel {
    int index;
    const char16_t *name;           // as listed in the model list ("MorvelⅡ")
    const char16_t *systemAttribute; // the SpeedDial System="..." value
    const char16_t *commentName;     // the leading model comment, empty when none is written
    RingVocabulary ringVocabulary;
    int entriesWritten;        // positions walked by the XML writer: 1000 or 4000
    int slotDigits;            // digits of the slot number in the XML file: 3 or 4
    int individualMaxExtension; // 個別 entries with a larger extension are not written; -1: all
    bool hasDestinationAndMemo; // rt / m elements, destination and memo in the editor
    bool hasFaxAndCallback;     // fx / cb elements, FAX choice in the group editor
    bool keptAsLeg;             // the document's file is a .leg file
    const char16_t *limitNotice = u""; // the XML writer's note on the 1000 entries written

    QString nameText() const { return QString::fromUtf16(name); }
    QString systemText() const { return QString::fromUtf16(systemAttribute); }
    QString commentText() const { return QString::fromUtf16(commentName); }
    QString limitNoticeText() const { return QString::fromUtf16(limitNotice); }
};

constexpr int DeviceModelCount = 8;
constexpr int ModelZR410Std = 0;
constexpr int ModelMorvel = 1;
constexpr int ModelKN820Std = 2;
constexpr int ModelLM630Std = 3;
constexpr int ModelZR410Pro = 4;
constexpr int ModelMorvel2 = 5;
constexpr int ModelKN820Pro = 6;
constexpr int ModelLM630Pro = 7;

// The model at index 0..7; an index outside that range gives LM630Std's rules.
const DeviceModel &deviceModel(int index);

// The model index for a name as the CLI accepts it ("MorvelII" also for "MorvelⅡ");
// -1 when the name is unknown.
int deviceModelByName(const QString &name);
