#include "ui/PhoneBookDocument.h"

#include "core/ListOperations.h"

#include <QUndoCommand>
#include <algorithm>
#include <functional>
#include <utility>

// One step of the history. Each step keeps only what it changed, so that a hundred steps
// over all 4000 entries stay small.
class DocumentStep : public QUndoCommand {
public:
    DocumentStep(PhoneBookDocument &document, const QString &text, bool marks)
        : QUndoCommand(text), document_(document), marks_(marks)
    {
    }
    // Whether the step is an edit of what is saved, which the modified flag counts.
    bool marks() const { return marks_; }

protected:
    PhoneBook &book() { return document_.book_; }
    void swapBook(PhoneBook &other) { document_.swapBook(other); }

    PhoneBookDocument &document_;
    bool marks_;
};

namespace {

enum StepId { UserNameStep = 1, UserNoStep };

// The rows between the first and the last of the positions, for one redraw.
std::pair<int, int> span(const std::vector<int> &positions)
{
    const auto [low, high] = std::minmax_element(positions.begin(), positions.end());
    return {*low, *high};
}

// The fields of one entry or of one group, before and after.
DialEntry &recordOf(PhoneBook &book, int index, const DialEntry *)
{
    return book.entries[index];
}
GroupSetting &recordOf(PhoneBook &book, int index, const GroupSetting *)
{
    return book.groups[index];
}
void announce(PhoneBookDocument &document, int index, const DialEntry *)
{
    emit document.entriesChanged(index, index);
}
void announce(PhoneBookDocument &document, int index, const GroupSetting *)
{
    emit document.groupChanged(index);
}

template <typename Record> class FieldsStep : public DocumentStep {
public:
    using Values = decltype(Record::fields);
    FieldsStep(PhoneBookDocument &document, const QString &text, int index, const Values &after, bool marks)
        : DocumentStep(document, text, marks), index_(index), after_(after)
    {
        before_ = record().fields;
    }
    void redo() override { apply(after_); }
    void undo() override { apply(before_); }

private:
    static constexpr const Record *kind = nullptr;
    Record &record() { return recordOf(book(), index_, kind); }
    void apply(const Values &values)
    {
        record().fields = values;
        announce(document_, index_, kind);
    }

    int index_;
    Values before_, after_;
};

// Keeps the entries that were not empty already; the empty ones need nothing back.
class ClearStep : public DocumentStep {
public:
    ClearStep(PhoneBookDocument &document, const QList<int> &positions)
        : DocumentStep(document, PhoneBookDocument::clearText(static_cast<int>(positions.size())), true)
    {
        for (int position : positions) {
            const DialEntry &entry = document.book().entries[position];
            DialEntry cleared = entry;
            cleared.clear();
            if (cleared != entry) {
                positions_.push_back(position);
                before_.push_back(entry.fields);
            }
        }
    }
    void redo() override
    {
        for (int position : positions_)
            book().entries[position].clear();
        changed();
    }
    void undo() override
    {
        for (std::size_t i = 0; i < positions_.size(); ++i)
            book().entries[positions_[i]].fields = before_[i];
        changed();
    }

private:
    void changed()
    {
        if (positions_.empty())
            return;
        const auto [first, last] = span(positions_);
        emit document_.entriesChanged(first, last);
    }

    std::vector<int> positions_;
    std::vector<PhoneBookDocument::EntryValues> before_;
};

// Keeps the positions that held another value, grouped by that value: a bulk change
// over thousands of rows replaces a handful of distinct values.
class BulkChangeStep : public DocumentStep {
public:
    BulkChangeStep(PhoneBookDocument &document, const QList<int> &positions, int field, const QString &value)
        : DocumentStep(document, PhoneBookDocument::bulkChangeText(static_cast<int>(positions.size())), true),
          field_(field), value_(value)
    {
        for (int position : positions) {
            const QString &old = document.book().entries[position].field(field);
            if (old == value)
                continue;
            auto group = std::find_if(before_.begin(), before_.end(), [&](const auto &g) { return g.first == old; });
            if (group == before_.end())
                group = before_.insert(before_.end(), {old, {}});
            group->second.push_back(position);
            first_ = std::min(first_, position);
            last_ = std::max(last_, position);
        }
    }
    bool changesAnything() const { return !before_.empty(); }
    void redo() override
    {
        for (const auto &[old, positions] : before_) {
            for (int position : positions)
                book().entries[position].setField(field_, value_);
        }
        emit document_.entriesChanged(first_, last_);
    }
    void undo() override
    {
        for (const auto &[old, positions] : before_) {
            for (int position : positions)
                book().entries[position].setField(field_, old);
        }
        emit document_.entriesChanged(first_, last_);
    }

private:
    int field_;
    QString value_;
    std::vector<std::pair<QString, std::vector<int>>> before_;
    int first_ = PhoneBook::EntryCount;
    int last_ = -1;
};

// Keeps, for the entries whose value differs, the position and both values: each entry
// gets a value of its own, so nothing can be shared as in the bulk change.
class FieldValuesStep : public DocumentStep {
public:
    FieldValuesStep(PhoneBookDocument &document, const QString &text, int field,
                    const QList<ListOperations::FieldChange> &changes)
        : DocumentStep(document, text, true), field_(field)
    {
        const int count = static_cast<int>(document.book().entries.size());
        for (const ListOperations::FieldChange &change : changes) {
            if (change.position < 0 || change.position >= count)
                continue;
            const QString &old = document.book().entries[change.position].field(field);
            if (old == change.value)
                continue;
            changes_.push_back({change.position, old, change.value});
            first_ = std::min(first_, change.position);
            last_ = std::max(last_, change.position);
        }
    }
    int size() const { return static_cast<int>(changes_.size()); }
    void redo() override { apply(&Change::after); }
    void undo() override { apply(&Change::before); }

private:
    struct Change {
        int position;
        QString before, after;
    };
    void apply(QString Change::*value)
    {
        for (const Change &change : changes_)
            book().entries[change.position].setField(field_, change.*value);
        emit document_.entriesChanged(first_, last_);
    }

    int field_;
    std::vector<Change> changes_;
    int first_ = PhoneBook::EntryCount;
    int last_ = -1;
};

// Keeps the new order; undoing puts every entry back where it stood.
class SortStep : public DocumentStep {
public:
    SortStep(PhoneBookDocument &document, int column)
        : DocumentStep(document, QStringLiteral("並べ替え"), false), column_(column),
          lastSortBefore_(document.book().FLastSortColumn)
    {
    }
    const std::vector<int> &order() const { return order_; }
    void redo() override
    {
        emit document_.entriesAboutToBeReset();
        if (order_.empty()) {
            order_ = ListOperations::sortByColumn(book(), column_);
            lastSortAfter_ = book().FLastSortColumn;
        } else {
            std::vector<DialEntry> sorted;
            sorted.reserve(order_.size());
            for (int old : order_)
                sorted.push_back(std::move(book().entries[old]));
            book().entries = std::move(sorted);
            book().FLastSortColumn = lastSortAfter_;
        }
        emit document_.entriesReset();
    }
    void undo() override
    {
        emit document_.entriesAboutToBeReset();
        std::vector<DialEntry> previous(order_.size());
        for (std::size_t now = 0; now < order_.size(); ++now)
            previous[order_[now]] = std::move(book().entries[now]);
        book().entries = std::move(previous);
        book().FLastSortColumn = lastSortBefore_;
        emit document_.entriesReset();
    }

private:
    int column_;
    int lastSortBefore_;
    int lastSortAfter_ = 0;
    std::vector<int> order_;
};

// New, a load and an import replace the whole book; the step holds the other one and
// swaps it in either direction (the strings are shared, not copied).
class BookStep : public DocumentStep {
public:
    BookStep(PhoneBookDocument &document, const QString &text, PhoneBook &&other)
        : DocumentStep(document, text, true), other_(std::move(other))
    {
    }
    void redo() override { swapBook(other_); }
    void undo() override { swapBook(other_); }

private:
    PhoneBook other_;
};

// Typing in a customer box is one step until another step comes between.
class CustomerStep : public DocumentStep {
public:
    CustomerStep(PhoneBookDocument &document, StepId which, const QString &text)
        : DocumentStep(
              document,
              which == UserNameStep ? QStringLiteral("お客様名の変更") : QStringLiteral("お客様電話番号の変更"), true),
          which_(which), before_(field()), after_(text)
    {
    }
    int id() const override { return which_; }
    bool mergeWith(const QUndoCommand *other) override
    {
        after_ = static_cast<const CustomerStep *>(other)->after_;
        setObsolete(after_ == before_);
        return true;
    }
    void redo() override { apply(after_); }
    void undo() override { apply(before_); }

private:
    QString &field() { return which_ == UserNameStep ? book().UserName : book().UserNo; }
    void apply(const QString &text)
    {
        field() = text;
        emit document_.customerChanged();
    }

    StepId which_;
    QString before_, after_;
};

// The write mode and the model are saved with the book but are no edit.
class SettingStep : public DocumentStep {
public:
    SettingStep(PhoneBookDocument &document, const QString &text, int PhoneBook::*setting, int after,
                std::function<void(int)> changed)
        : DocumentStep(document, text, false), setting_(setting), changed_(std::move(changed)),
          before_(document.book().*setting), after_(after)
    {
    }
    void redo() override { apply(after_); }
    void undo() override { apply(before_); }

private:
    void apply(int value)
    {
        book().*setting_ = value;
        changed_(value);
    }

    int PhoneBook::*setting_;
    std::function<void(int)> changed_;
    int before_, after_;
};

} // namespace

PhoneBookDocument::PhoneBookDocument(QObject *parent) : QObject(parent)
{
    connect(&history_, &QUndoStack::indexChanged, this, &PhoneBookDocument::updateModified);
    connect(&history_, &QUndoStack::cleanChanged, this, &PhoneBookDocument::updateModified);
}

PhoneBookDocument::~PhoneBookDocument()
{
    // The steps refer to the document: they go before it.
    history_.blockSignals(true);
    history_.clear();
}

QString PhoneBookDocument::entryEditText()
{
    return QStringLiteral("項目の編集");
}
QString PhoneBookDocument::groupEditText()
{
    return QStringLiteral("グループの編集");
}
QString PhoneBookDocument::clearText(int count)
{
    return QStringLiteral("クリア (%1件)").arg(count);
}
QString PhoneBookDocument::bulkChangeText(int count)
{
    return QStringLiteral("一括変更 (%1件)").arg(count);
}
QString PhoneBookDocument::kanaFillText(int count)
{
    return QStringLiteral("カナの自動入力 (%1件)").arg(count);
}

QString PhoneBookDocument::phoneFormatText(int count)
{
    return QStringLiteral("番号の書式 (%1件)").arg(count);
}

void PhoneBookDocument::setEntry(int position, const EntryValues &values, bool marks)
{
    if (position < 0 || position >= static_cast<int>(book_.entries.size()))
        return;
    if (values == book_.entries[position].fields && !marks)
        return;
    history_.push(new FieldsStep<DialEntry>(*this, entryEditText(), position, values, marks));
}

void PhoneBookDocument::setGroup(int group, const GroupValues &values, bool marks)
{
    if (group < 0 || group >= PhoneBook::GroupCount)
        return;
    if (values == book_.groups[group].fields && !marks)
        return;
    history_.push(new FieldsStep<GroupSetting>(*this, groupEditText(), group, values, marks));
}

void PhoneBookDocument::clearEntries(const QList<int> &positions)
{
    if (!positions.isEmpty())
        history_.push(new ClearStep(*this, positions));
}

void PhoneBookDocument::changeField(const QList<int> &positions, int field, const QString &value)
{
    auto step = std::make_unique<BulkChangeStep>(*this, positions, field, value);
    if (step->changesAnything())
        history_.push(step.release());
}

void PhoneBookDocument::fillKana(const QList<KanaChange> &changes)
{
    QList<ListOperations::FieldChange> kana;
    kana.reserve(changes.size());
    for (const KanaChange &change : changes)
        kana.push_back({change.position, change.kana});
    changeFieldValues(DialEntry::Kana, kana, &PhoneBookDocument::kanaFillText);
}

void PhoneBookDocument::reformatPhones(const QList<ListOperations::FieldChange> &changes)
{
    changeFieldValues(DialEntry::Phone, changes, &PhoneBookDocument::phoneFormatText);
}

void PhoneBookDocument::changeFieldValues(int field, const QList<ListOperations::FieldChange> &changes,
                                          QString (*stepText)(int count))
{
    auto step = std::make_unique<FieldValuesStep>(*this, QString(), field, changes);
    if (step->size() == 0)
        return;
    step->setText(stepText(step->size()));
    history_.push(step.release());
}

std::vector<int> PhoneBookDocument::sortByColumn(int column)
{
    auto *step = new SortStep(*this, column);
    history_.push(step);
    return step->order();
}

void PhoneBookDocument::newBook(const std::function<void(int)> &progress)
{
    PhoneBook fresh = book_;
    fresh.New(progress);
    history_.push(new BookStep(*this, QStringLiteral("初期化"), std::move(fresh)));
}

void PhoneBookDocument::load(PhoneBook &&book, int model)
{
    book.Syubetu = model;
    const bool modified = book.Modified;
    history_.push(new BookStep(*this, QStringLiteral("読み込み"), std::move(book)));
    setModified(modified);
}

void PhoneBookDocument::import(PhoneBook &&book)
{
    history_.push(new BookStep(*this, QStringLiteral("CSVインポート"), std::move(book)));
}

void PhoneBookDocument::setUserName(const QString &text)
{
    if (text != book_.UserName)
        history_.push(new CustomerStep(*this, UserNameStep, text));
}

void PhoneBookDocument::setUserNo(const QString &text)
{
    if (text != book_.UserNo)
        history_.push(new CustomerStep(*this, UserNoStep, text));
}

void PhoneBookDocument::setWriteMode(int mode)
{
    mode = mode == 1 ? 1 : 0;
    if (mode != book_.WriteMode)
        history_.push(new SettingStep(*this, QStringLiteral("書き込み設定の変更"), &PhoneBook::WriteMode, mode,
                                      [this](int changed) { emit writeModeChanged(changed); }));
}

void PhoneBookDocument::setModel(int model)
{
    if (model != book_.Syubetu)
        history_.push(new SettingStep(*this, QStringLiteral("機種の変更"), &PhoneBook::Syubetu, model,
                                      [this](int changed) { emit modelChanged(changed); }));
}

void PhoneBookDocument::start(const std::function<void(int)> &progress)
{
    PhoneBook fresh = book_;
    fresh.New(progress);
    swapBook(fresh);
    history_.clear();
    updateModified();
}

void PhoneBookDocument::adoptModel(int model)
{
    if (model == book_.Syubetu)
        return;
    book_.Syubetu = model;
    emit modelChanged(model);
}

void PhoneBookDocument::markSaved(const QString &fileName)
{
    if (fileName != book_.FileName) {
        book_.FileName = fileName;
        emit fileNameChanged(fileName);
    }
    setModified(false);
}

void PhoneBookDocument::setModified(bool modified)
{
    if (modified)
        history_.resetClean();
    else
        history_.setClean();
    updateModified();
}

void PhoneBookDocument::MACInit()
{
    book_.MACInit();
}

void PhoneBookDocument::swapBook(PhoneBook &other)
{
    const int model = book_.Syubetu;
    const int writeMode = book_.WriteMode;
    const QString fileName = book_.FileName;
    emit entriesAboutToBeReset();
    emit groupsAboutToBeReset();
    std::swap(book_, other);
    emit entriesReset();
    emit groupsReset();
    emit customerChanged();
    if (book_.WriteMode != writeMode)
        emit writeModeChanged(book_.WriteMode);
    if (book_.FileName != fileName)
        emit fileNameChanged(book_.FileName);
    if (book_.Syubetu != model)
        emit modelChanged(book_.Syubetu);
}

void PhoneBookDocument::updateModified()
{
    // Modified when an edit lies between the saved state and now, in either direction.
    bool modified = history_.cleanIndex() < 0;
    const int from = std::min(history_.cleanIndex(), history_.index());
    const int to = std::max(history_.cleanIndex(), history_.index());
    for (int i = std::max(from, 0); i < to && !modified; ++i) {
        const auto *step = dynamic_cast<const DocumentStep *>(history_.command(i));
        modified = step && step->marks();
    }
    book_.Modified = modified;
    if (modified == modified_)
        return;
    modified_ = modified;
    emit modifiedChanged(modified);
}
