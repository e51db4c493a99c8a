#include "formats/HelpData.h"

#include "formats/AppPaths.h"
#include "formats/IniFile.h"
#include "formats/TextFile.h"

#include <QFileInfo>

int helpLineLevel(const QString &line, QString *title)
{
    int level = 0;
    while (level < line.size() && (line.at(level) == u' ' || line.at(level) == u'\t'))
        ++level;
    if (title)
        *title = line.mid(level);
    return level;
}

QString invalidHelpLevelText(const QString &title, int level)
{
    return QStringLiteral("項目 \"%1\" の階層 (%2) が不正です").arg(title).arg(level);
}

HelpTree parseHelpTree(const QStringList &lines)
{
    HelpTree tree;
    auto &topics = tree.topics;
    for (const QString &line : lines) {
        HelpTopic topic;
        const int level = helpLineLevel(line, &topic.title);
        if (!topics.empty()) {
            const int previous = int(topics.size()) - 1;
            const int depth = topics.back().depth;
            if (level == depth) {
                topic.parent = topics.back().parent;
            } else if (level == depth + 1) {
                topic.parent = previous;
            } else if (level < depth) {
                // Follow the ancestor whose depth is the level, under its parent.
                int ancestor = previous;
                while (topics[ancestor].depth > level)
                    ancestor = topics[ancestor].parent;
                topic.parent = topics[ancestor].parent;
            } else {
                tree.error = invalidHelpLevelText(topic.title, level);
                break;
            }
        }
        topic.depth = topic.parent < 0 ? 0 : topics[topic.parent].depth + 1;
        if (topic.parent >= 0)
            topics[topic.parent].hasChildren = true;
        topics.push_back(topic);
    }
    return tree;
}

HelpTree loadHelpTree(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    return parseHelpTree(readLines(path));
}

int helpTopicImage(const HelpTree &tree, int topic)
{
    if (topic == 0)
        return 0;
    return tree.topics.at(topic).hasChildren ? 0 : 1;
}

QString helpTextOf(const IniFile &texts, const QString &title)
{
    QString text = texts.readString(QStringLiteral("HELP"), title.trimmed()).left(HelpTextLimit);
    text.replace(QStringLiteral("[br]"), QStringLiteral("\r\n"), Qt::CaseSensitive);
    return text;
}

std::optional<QString> readHelpText(const QString &path, const QString &title)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return helpTextOf(IniFile::load(path), title);
}

QString helpTreeFile()
{
    return AppPaths::dataFolder() + QStringLiteral("/kelvo_helptree.dat");
}
QString helpTextFile()
{
    return AppPaths::dataFolder() + QStringLiteral("/kelvo_help.dat");
}
