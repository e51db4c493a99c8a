// The help topic tree on any file, decoded and split as the help window reads it: every
// topic hangs under an earlier one, one level below it, the flags of sub-topics are
// right, an invalid level stops the read there, and the tree written back as indented
// lines reads as the same tree.
#include "FuzzSupport.h"

#include "formats/HelpData.h"
#include "formats/TextFile.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = splitLines(decodeText(fuzzBytes(data, size)));
    const HelpTree tree = parseHelpTree(lines);
    const auto &topics = tree.topics;
    const int count = static_cast<int>(topics.size());

    FUZZ_REQUIRE(count <= lines.size());
    FUZZ_REQUIRE(tree.error.isEmpty() == (count == lines.size()));
    if (!tree.error.isEmpty()) {
        QString title;
        const int level = helpLineLevel(lines.at(count), &title);
        FUZZ_REQUIRE(count > 0 && level > topics.back().depth + 1);
        FUZZ_REQUIRE(tree.error == invalidHelpLevelText(title, level));
    }
    std::vector<bool> parents(topics.size(), false);
    for (int i = 0; i < count; ++i) {
        const HelpTopic &topic = topics[i];
        FUZZ_REQUIRE(topic.parent >= -1 && topic.parent < i);
        FUZZ_REQUIRE(topic.depth == (topic.parent < 0 ? 0 : topics[topic.parent].depth + 1));
        if (i > 0)
            FUZZ_REQUIRE(topic.depth <= topics[i - 1].depth + 1);
        if (topic.parent >= 0)
            parents[topic.parent] = true;
        QString title;
        helpLineLevel(lines.at(i), &title);
        FUZZ_REQUIRE(topic.title == title);
        FUZZ_REQUIRE(!title.startsWith(u' ') && !title.startsWith(u'\t'));
        const int image = helpTopicImage(tree, i);
        FUZZ_REQUIRE(image == (i == 0 || topic.hasChildren ? 0 : 1));
    }
    for (int i = 0; i < count; ++i)
        FUZZ_REQUIRE(topics[i].hasChildren == parents[i]);

    QStringList written;
    for (const HelpTopic &topic : topics)
        written << QString(topic.depth, u'\t') + topic.title;
    const HelpTree again = parseHelpTree(splitLines(joinLines(written)));
    FUZZ_REQUIRE(again.error.isEmpty() && again.topics.size() == topics.size());
    for (int i = 0; i < count; ++i) {
        FUZZ_REQUIRE(again.topics[i].title == topics[i].title && again.topics[i].depth == topics[i].depth);
        FUZZ_REQUIRE(again.topics[i].parent == topics[i].parent);
        FUZZ_REQUIRE(again.topics[i].hasChildren == topics[i].hasChildren);
    }
    return 0;
}
