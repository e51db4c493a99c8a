#pragma once

#include "core/DeviceModel.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

// One speed-dial slot. The eight data fields have fixed positions 0..7, which are also
// the main list's columns after the slot number and the field order of the CSV files.
struct DialEntry {
    enum Field { Name = 0, Kana, Phone, Group, Ring, Extension, Destination, Memo, FieldCount };

    QString No; // slot number "0000" … "3999"; travels with the entry when the list is sorted
    std::array<QString, FieldCount> fields;

    const QString &field(int position) const { return fields[position]; }
    void setField(int position, const QString &text) { fields[position] = text; }
    void setField(int position, QString &&text) { fields[position] = std::move(text); }

    const QString &name() const { return fields[Name]; }
    const QString &kana() const { return fields[Kana]; }
    const QString &phone() const { return fields[Phone]; }
    const QString &group() const { return fields[Group]; }
    const QString &ring() const { return fields[Ring]; }
    const QString &extension() const { return fields[Extension]; }
    const QString &destination() const { return fields[Destination]; }
    const QString &memo() const { return fields[Memo]; }

    // Registered: at least one of name, kana and phone number is not empty.
    bool isRegistered() const;
    // Puts back the defaults of positions 0..7; the slot number stays.
    void clear();

    bool operator==(const DialEntry &) const = default;
};

// One of the ten group settings. The label "グループ０" … "グループ９" never changes.
struct GroupSetting {
    enum Field { Name = 0, Ring, Lamp, Fax, Callback, FieldCount };

    QString Label;
    std::array<QString, FieldCount> fields;

    const QString &field(int position) const { return fields[position]; }
    void setField(int position, const QString &text) { fields[position] = text; }

    const QString &name() const { return fields[Name]; }
    const QString &ring() const { return fields[Ring]; }
    const QString &lamp() const { return fields[Lamp]; }
    const QString &fax() const { return fields[Fax]; }
    const QString &callback() const { return fields[Callback]; }

    // Set: a name, a ring tone or a lamp; the FAX and callback flags do not count.
    bool isSet() const;
    void reset();

    bool operator==(const GroupSetting &) const = default;
};

// The one phone book of the program: 4000 entries in list order and ten groups.
class PhoneBook {
public:
    static constexpr int EntryCount = 4000;
    static constexpr int GroupCount = 10;

    PhoneBook(); // the document of New, with MACInit applied

    std::vector<DialEntry> entries; // always EntryCount entries, in the main list's order
    std::array<GroupSetting, GroupCount> groups;

    QString UserName;
    QString UserNo;
    int Syubetu = ModelLM630Std; // the current model
    int WriteMode = 0;
    QString FileName;
    bool Modified = false;
    QString MACAddress;
    int SyubetuFlag = 0; // model recorded from the last file read
    int FLastSortColumn = 0;

    const DeviceModel &model() const { return deviceModel(Syubetu); }

    // Resets to the empty document; progress(i + 1) is called once per entry.
    // Leaves the model, the write mode, the MAC address, SyubetuFlag and Modified alone.
    void New(const std::function<void(int)> &progress = {});
    // New in two steps, for a caller that fills entries while it resets them (one pass
    // over the 4000 entries instead of two): the document's own settings and the groups,
    // then entry index back to its default in slot index.
    void resetSettings();
    void resetEntry(int index);
    void MACInit();

    // The texts of a fresh document.
    static QString untitledName();        // "無題"
    static QString slotNumber(int index); // "0000" … "3999"
    static QString groupLabel(int index); // "グループ０" … "グループ９"
};
