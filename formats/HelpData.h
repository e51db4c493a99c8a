#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class IniFile;

// The help's two data files beside the executable: the topic tree (one title a line,
// indented by spaces or tabs, one level each) and the topic texts (section "HELP" of an
// INI-style file, one line per title, "[br]" standing for a line break).

struct HelpTopic {
    QString title;
    int depth = 0;
    int parent = -1; // number of the parent topic, -1 at the top
    bool hasChildren = false;
};

struct HelpTree {
    // In the order of the file's lines, which is the depth-first order of the tree.
    std::vector<HelpTopic> topics;
    // The message of an invalid level; the topics before that line are kept.
    QString error;
};

// Level of a tree line: its leading spaces and tabs; the title is the rest.
int helpLineLevel(const QString &line, QString *title = nullptr);
QString invalidHelpLevelText(const QString &title, int level);
HelpTree parseHelpTree(const QStringList &lines);
// A missing file gives an empty tree; an unreadable one throws DalvinoError.
HelpTree loadHelpTree(const QString &path);

// Image 0 for topic 0 and for topics with sub-topics, image 1 otherwise.
int helpTopicImage(const HelpTree &tree, int topic);

// The longest text taken from the text file.
constexpr int HelpTextLimit = 2047;

// The text of a title in section "HELP", cut to HelpTextLimit characters, with every
// "[br]" (exactly so written) turned into CR LF; the empty text for an unknown title.
QString helpTextOf(const IniFile &texts, const QString &title);
// Reads the text file afresh; nothing when the file does not exist.
std::optional<QString> readHelpText(const QString &path, const QString &title);

QString helpTreeFile(); // data/kelvo_helptree.dat
QString helpTextFile(); // data/kelvo_help.dat
