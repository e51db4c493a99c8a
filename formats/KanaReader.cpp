#include "formats/KanaReader.h"

#include "core/DalvinoError.h"
#include "core/KanaReading.h"
#include "formats/AppPaths.h"

#include <QFile>
#include <QFileInfo>

#include <mecab.h>

namespace {

// Paths of the n-best analysis looked at per part, and the distinct readings kept.
constexpr int NBestPaths = 8;
constexpr int CandidatesPerPart = 4;

// A field of a word's features, which are comma-separated values; a value holding a comma
// is quoted (UniDic's features are).
QString featureField(const char *feature, int index)
{
    const QByteArrayView features(feature);
    int field = 0;
    bool quoted = false;
    QByteArray value;
    for (qsizetype i = 0; i <= features.size(); ++i) {
        const char c = i < features.size() ? features[i] : ',';
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            if (field == index)
                return value == "*" ? QString() : QString::fromUtf8(value);
            ++field;
            value.clear();
        } else if (field == index) {
            value += c;
        }
    }
    return {};
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

// The words of the lattice's current path, split where the text had white space (which
// MeCab skips, keeping the words on both sides in one context).
QList<QList<KanaWord>> pathWords(const MeCab::Lattice &lattice, int readingField)
{
    QList<QList<KanaWord>> parts;
    for (const MeCab::Node *node = lattice.bos_node()->next; node && node->stat != MECAB_EOS_NODE; node = node->next) {
        if (parts.isEmpty() || node->rlength > node->length)
            parts.emplace_back();
        parts.back() +=
            KanaWord{QString::fromUtf8(node->surface, node->length), featureField(node->feature, readingField)};
    }
    return parts;
}

} // namespace

QList<QStringList> KanaReader::partCandidates(const QStringList &parts)
{
    load();
    QList<QStringList> candidates(parts.size());
    MeCab::Lattice &lattice = *engine_->lattice;
    // The parts are read together, so that a given name is read as one after a family name.
    const QByteArray sentence = parts.join(u' ').toUtf8();
    if (parts.isEmpty() || !parseInto(*engine_->tagger, lattice, sentence, MECAB_NBEST))
        return candidates;
    for (int path = 0; path < NBestPaths; ++path) {
        const QList<QList<KanaWord>> words = pathWords(lattice, dictionary_.readingField);
        for (qsizetype part = 0; part < candidates.size() && words.size() == parts.size(); ++part) {
            const QString reading = partReading(words[part]);
            if (!reading.isEmpty() && !candidates[part].contains(reading) &&
                candidates[part].size() < CandidatesPerPart)
                candidates[part] += reading;
        }
        if (!lattice.next())
            break;
    }
    return candidates;
}

QStringList KanaReader::proposals(const QString &name)
{
    load();
    return kanaProposals(partCandidates(kanaNameParts(name, designators_)), MaxProposals);
}

QString KanaReader::plainReading(const QString &text)
{
    load();
    const QByteArray sentence = text.toUtf8();
    QString reading;
    if (!parseInto(*engine_->tagger, *engine_->lattice, sentence, MECAB_ONE_BEST))
        return reading;
    for (const QList<KanaWord> &part : pathWords(*engine_->lattice, dictionary_.readingField)) {
        if (!reading.isEmpty())
            reading += u' ';
        for (const KanaWord &word : part)
            reading += word.reading.isEmpty() ? word.surface : word.reading;
    }
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

QList<KanaRow> proposeKana(const PhoneBook &book, const QList<int> &positions, KanaReader &reader,
                           const std::function<void(int)> &progress)
{
    reader.load();
    QList<KanaRow> rows;
    rows.reserve(positions.size());
    for (int position : positions) {
        rows += KanaRow{position, reader.proposals(book.entries[static_cast<size_t>(position)].name())};
        if (progress)
            progress(static_cast<int>(rows.size()));
    }
    return rows;
}
