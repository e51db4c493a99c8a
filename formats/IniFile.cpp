#include "formats/IniFile.h"

#include "core/DalvinoError.h"
#include "formats/TextFile.h"

namespace {

QString unquote(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// A value that reading would change, by trimming its spaces or taking off its enclosing
// quotes, is written in quotes of its own, which reading takes off again.
QString quotedForReading(const QString &value)
{
    if (value.trimmed() != value || unquote(value) != value)
        return u'"' + value + u'"';
    return value;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile IniFile::parse(const QString &text)
{
    IniFile ini;
    Section *current = nullptr;
    for (const QString &rawLine : splitLines(text)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close < 0)
                continue;
            current = &ini.sectionFor(line.mid(1, close - 1).trimmed());
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || current == nullptr)
            continue;
        current->entries.push_back({line.left(equals).trimmed(), unquote(line.mid(equals + 1).trimmed())});
    }
    return ini;
}

IniFile IniFile::load(const QString &path)
{
    try {
        return parse(decodeText(readFileBytes(path)));
    } catch (const DalvinoError &) {
        return IniFile(); // missing, unreadable or far too big: the defaults
    }
}

const IniFile::Entry *IniFile::find(const QString &section, const QString &key) const
{
    for (const Section &s : sections_) {
        if (!sameName(s.name, section))
            continue;
        for (const Entry &e : s.entries) {
            if (sameName(e.key, key))
                return &e;
        }
    }
    return nullptr;
}

IniFile::Section &IniFile::sectionFor(const QString &name)
{
    for (Section &s : sections_) {
        if (sameName(s.name, name))
            return s;
    }
    sections_.push_back({name, {}});
    return sections_.back();
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return find(section, key) != nullptr;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    const Entry *e = find(section, key);
    return e ? e->value : fallback;
}

int IniFile::readInteger(const QString &section, const QString &key, int fallback) const
{
    const Entry *e = find(section, key);
    if (!e)
        return fallback;
    bool ok = false;
    const int value = e->value.toInt(&ok, 10);
    return ok ? value : fallback;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    Section &s = sectionFor(section);
    for (Entry &e : s.entries) {
        if (sameName(e.key, key)) {
            e.value = value;
            return;
        }
    }
    s.entries.push_back({key, value});
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::removeKey(const QString &section, const QString &key)
{
    for (Section &s : sections_) {
        if (!sameName(s.name, section))
            continue;
        std::erase_if(s.entries, [&](const Entry &e) { return sameName(e.key, key); });
    }
}

QString IniFile::toText() const
{
    QStringList lines;
    for (const Section &s : sections_) {
        lines << QStringLiteral("[%1]").arg(s.name);
        for (const Entry &e : s.entries)
            lines << e.key + u'=' + quotedForReading(e.value);
        lines << QString();
    }
    return joinLines(lines);
}

void IniFile::save(const QString &path) const
{
    writeText(path, toText());
}
