#include "formats/KanaReader.h"

#include "core/DalvinoError.h"
#include "core/KanaReading.h"
#include "formats/AppPaths.h"

#include <QFile>
#include <QFileInfo>

#include <mecab.h>

namespace {

// Paths of the n-best analysis looked at per part, and the distinct readings kept.
constexpr int NBestPaths = 12;
constexpr int CandidatesPerPart = 4;

QString featureField(const char *feature, int index)
{
    const QByteArrayView features(feature);
    qsizetype start = 0;
    for (int field = 0; field < index; ++field) {
        start = features.indexOf(',', start);
        if (start < 0)
            return {};
        ++start;
    }
    qsizetype end = features.indexOf(',', start);
    if (end < 0)
        end = features.size();
    const QByteArrayView value = features.sliced(start, end - start);
    return value == "*" ? QString() : QString::fromUtf8(value);
}

QString designatorListFile()
{
    return AppPaths::dataFolder() + QStringLiteral("/kana_designators.txt");
}

} // namespace

KanaDictionary KanaDictionary::installed()
{
    return {QStringLiteral("/var/lib/mecab/dic/ipadic-utf8"), 7};
}

struct KanaReader::Engine {
    std::unique_ptr<MeCab::Model> model;
    std::unique_ptr<MeCab::Tagger> tagger;
    std::unique_ptr<MeCab::Lattice> lattice;
};

KanaReader::KanaReader(KanaDictionary dictionary, QString designatorFile)
    : dictionary_(std::move(dictionary)), designatorFile_(std::move(designatorFile))
{
}

KanaReader::~KanaReader() = default;

QString KanaReader::missingDictionaryMessage(const QString &folder)
{
    return QStringLiteral("読みの辞書 %1 を読み込めません。mecab-ipadic-utf8 をインストールしてください。").arg(folder);
}

bool KanaReader::isLoaded() const
{
    return engine_ != nullptr;
}

void KanaReader::load()
{
    if (engine_)
        return;
    const QString listFile = designatorFile_.isEmpty() ? designatorListFile() : designatorFile_;
    QFile list(listFile);
    if (!list.open(QIODevice::ReadOnly))
        throw DalvinoError(QStringLiteral("社名の一覧 %1 を読み込めません。").arg(listFile));
    const QStringList designators = parseDesignatorList(QString::fromUtf8(list.readAll()));

    // The dictionary's own dicrc serves as the resource file, so that no mecabrc is needed.
    const QString dicrc = dictionary_.folder + QStringLiteral("/dicrc");
    if (!QFileInfo::exists(dicrc) || !QFileInfo::exists(dictionary_.folder + QStringLiteral("/sys.dic")))
        throw DalvinoError(missingDictionaryMessage(dictionary_.folder));
    const QByteArray rcArgument = QFile::encodeName(dicrc);
    const QByteArray dicArgument = QFile::encodeName(dictionary_.folder);
    const char *arguments[] = {"dalvino", "-r", rcArgument.constData(), "-d", dicArgument.constData()};
    auto engine = std::make_unique<Engine>();
    engine->model.reset(MeCab::createModel(5, const_cast<char **>(arguments)));
    if (engine->model) {
        engine->tagger.reset(engine->model->createTagger());
        engine->lattice.reset(engine->model->createLattice());
    }
    if (!engine->tagger || !engine->lattice)
        throw DalvinoError(missingDictionaryMessage(dictionary_.folder));
    designators_ = designators;
    engine_ = std::move(engine);
}

namespace {

// Analyses sentence, which must outlive the lattice's use of it.
bool parseInto(MeCab::Tagger &tagger, MeCab::Lattice &lattice, const QByteArray &sentence, int requestType)
{
    lattice.set_request_type(requestType);
    lattice.set_sentence(sentence.constData(), static_cast<size_t>(sentence.size()));
    return tagger.parse(&lattice);
}

// The words of the lattice's current path.
QList<KanaWord> pathWords(const MeCab::Lattice &lattice, int readingField)
{
    QList<KanaWord> words;
    for (const MeCab::Node *node = lattice.bos_node()->next; node && node->stat != MECAB_EOS_NODE; node = node->next)
        words += KanaWord{QString::fromUtf8(node->surface, node->length), featureField(node->feature, readingField)};
    return words;
}

} // namespace

QStringList KanaReader::partCandidates(const QString &part)
{
    load();
    MeCab::Lattice &lattice = *engine_->lattice;
    const QByteArray sentence = part.toUtf8();
    QStringList candidates;
    if (!parseInto(*engine_->tagger, lattice, sentence, MECAB_NBEST))
        return candidates;
    for (int path = 0; path < NBestPaths && candidates.size() < CandidatesPerPart; ++path) {
        const QString reading = partReading(pathWords(lattice, dictionary_.readingField));
        if (!reading.isEmpty() && !candidates.contains(reading))
            candidates += reading;
        if (!lattice.next())
            break;
    }
    return candidates;
}

QStringList KanaReader::proposals(const QString &name)
{
    load();
    QList<QStringList> candidates;
    for (const QString &part : kanaNameParts(name, designators_))
        candidates += partCandidates(part);
    return kanaProposals(candidates, MaxProposals);
}

QString KanaReader::plainReading(const QString &text)
{
    load();
    const QByteArray sentence = text.toUtf8();
    QString reading;
    if (!parseInto(*engine_->tagger, *engine_->lattice, sentence, MECAB_ONE_BEST))
        return reading;
    for (const KanaWord &word : pathWords(*engine_->lattice, dictionary_.readingField))
        reading += word.reading.isEmpty() ? word.surface : word.reading;
    return reading;
}

namespace {
std::unique_ptr<KanaReader> &programReaderSlot()
{
    static std::unique_ptr<KanaReader> reader;
    return reader;
}
} // namespace

KanaReader &programKanaReader()
{
    std::unique_ptr<KanaReader> &reader = programReaderSlot();
    if (!reader)
        reader = std::make_unique<KanaReader>();
    return *reader;
}

void setProgramKanaDictionary(const QString &folder)
{
    KanaDictionary dictionary = KanaDictionary::installed();
    dictionary.folder = folder;
    programReaderSlot() = std::make_unique<KanaReader>(dictionary);
}
