#pragma once

#include "core/KanaFill.h"
#include "core/ListOperations.h"
#include "core/PhoneBook.h"

#include <QList>
#include <QObject>
#include <QUndoStack>
#include <array>
#include <functional>
#include <vector>

// The one phone book of the program and its history. Every change passes through here as
// a step of the undo stack, so each can be undone and redone, and the windows learn of it
// only through the signals: the lists, the customer boxes, the write mode, the caption and
// the modified panel all follow them. The modified flag follows the stack's clean state,
// counting only the steps that change what is saved as an edit (the model and the write
// mode do not).
class PhoneBookDocument : public QObject {
    Q_OBJECT
public:
    using EntryValues = std::array<QString, DialEntry::FieldCount>;
    using GroupValues = std::array<QString, GroupSetting::FieldCount>;

    explicit PhoneBookDocument(QObject *parent = nullptr);
    ~PhoneBookDocument() override;

    const PhoneBook &book() const { return book_; }
    QUndoStack *undoStack() { return &history_; }
    bool isModified() const { return modified_; }

    // --- Steps that can be undone ---
    // The eight fields of the entry at a position; counts as an edit when marks is set
    // (the editor compares with what it showed, not with what was stored).
    void setEntry(int position, const EntryValues &values, bool marks);
    void setGroup(int group, const GroupValues &values, bool marks);
    // Puts back the defaults of the entries; an edit even for an empty row.
    void clearEntries(const QList<int> &positions);
    // Sets one field of the entries; no step when no entry held another value.
    void changeField(const QList<int> &positions, int field, const QString &value);
    // Writes the kana of each change; no step when none differs from the kana there.
    void fillKana(const QList<KanaChange> &changes);
    // Writes new forms of phone numbers, each entry its own; no step when none differs.
    void reformatPhones(const QList<ListOperations::FieldChange> &changes);
    // Sorts by a column; returns the previous position of the entry now at each position.
    std::vector<int> sortByColumn(int column);
    // The empty document of New; the model, write mode and MAC address stay.
    void newBook(const std::function<void(int)> &progress);
    // A phone book read completely from a file replaces the document, with the model
    // given; unless the reader marked it modified, the result is the saved state.
    void load(PhoneBook &&book, int model);
    // A phone book built by the mapped import replaces the document, as an edit.
    void import(PhoneBook &&book);
    void setUserName(const QString &text);
    void setUserNo(const QString &text);
    void setWriteMode(int mode);
    void setModel(int model);

    // --- State outside the history ---
    // Start-up: the empty document behind the progress window, with no history.
    void start(const std::function<void(int)> &progress);
    // The model in force before anything was done (start-up); no step.
    void adoptModel(int model);
    // A completed save: the document carries the written file's name and is clean.
    void markSaved(const QString &fileName);
    // Marks the document modified (without a step) or clean.
    void setModified(bool modified);
    void MACInit();

    // The name a step shows in the menu.
    static QString entryEditText();
    static QString groupEditText();
    static QString clearText(int count);
    static QString bulkChangeText(int count);
    static QString kanaFillText(int count);
    static QString phoneFormatText(int count);

signals:
    void entriesChanged(int first, int last);
    void entriesAboutToBeReset();
    void entriesReset();
    void groupChanged(int group);
    void groupsAboutToBeReset();
    void groupsReset();
    void customerChanged();
    void writeModeChanged(int mode);
    void modelChanged(int model);
    void fileNameChanged(const QString &fileName);
    void modifiedChanged(bool modified);

private:
    friend class DocumentStep;
    // Swaps the whole phone book with another, with every signal that follows.
    void swapBook(PhoneBook &other);
    void updateModified();
    // One step that gives each entry named its own new value of one field.
    void changeFieldValues(int field, const QList<ListOperations::FieldChange> &changes,
                           QString (*stepText)(int count));

    PhoneBook book_;
    QUndoStack history_;
    bool modified_ = false;
};
