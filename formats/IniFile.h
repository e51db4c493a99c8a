#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The INI text layout: "[Section]" lines and "Key=Value" lines. Section and key names
// compare case-insensitively; values are trimmed and lose one pair of enclosing quotes;
// the first occurrence of a key wins. Lines that are neither are passed over.
class IniFile {
public:
    static IniFile parse(const QString &text);
    // A missing or unreadable file gives an empty IniFile.
    static IniFile load(const QString &path);

    bool contains(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &fallback = QString()) const;
    // The fallback when the key is missing or its value is not a decimal integer.
    int readInteger(const QString &section, const QString &key, int fallback) const;

    // Replaces the value of the key, or adds it at the end of its section.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void removeKey(const QString &section, const QString &key);

    QString toText() const;
    // Written atomically in code page 932; throws DalvinoError on failure.
    void save(const QString &path) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };

    const Entry *find(const QString &section, const QString &key) const;
    Section &sectionFor(const QString &name);

    std::vector<Section> sections_;
};
