// The help texts on any file, read as the help window reads it (the settings reader on
// the decoded text, section "HELP"): for every title the file names, the text is at most
// HelpTextLimit long, holds no "[br]" and does not depend on spaces around the title.
#include "FuzzSupport.h"

#include "formats/HelpData.h"
#include "formats/IniFile.h"
#include "formats/TextFile.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = decodeText(fuzzBytes(data, size));
    const IniFile texts = IniFile::parse(text);
    const QString section = QStringLiteral("HELP");

    int titles = 0;
    for (const QString &line : splitLines(text)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || ++titles > 200)
            continue;
        const QString title = line.left(equals);
        const QString shown = helpTextOf(texts, title);
        FUZZ_REQUIRE(shown.size() <= HelpTextLimit);
        FUZZ_REQUIRE(!shown.contains(QLatin1StringView("[br]")));
        FUZZ_REQUIRE(shown == helpTextOf(texts, u' ' + title + u'\t'));
        if (!texts.contains(section, title.trimmed()))
            FUZZ_REQUIRE(shown.isEmpty());
        // Without a line break marker the text is the stored one, cut to the limit.
        const QString stored = texts.readString(section, title.trimmed());
        if (!stored.contains(QLatin1StringView("[br]")))
            FUZZ_REQUIRE(shown == stored.left(HelpTextLimit));
    }
    return 0;
}
