#include "ui/EditFrm.h"

#include "core/EditorRules.h"
#include "core/Vocabulary.h"
#include "ui/EditorWindow.h"
#include "ui/HelpTopics.h"
#include "ui/KanaFromName.h"
#include "ui/PhoneBookDocument.h"
#include "ui/PhoneNumberHint.h"
#include "ui/Pictures.h"
#include "ui/Prompts.h"
#include "ui/RtFrm.h"
#include "ui/TextColor.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

// Input-method modes. Qt 6 has no per-field conversion mode and no hint for hiragana or
// half-width katakana (Qt::ImhHiragana / ImhKatakana do not exist any more), so name, kana
// and memo simply keep the input method enabled and the user picks hiragana or
// half-width katakana in the IME himself; the entry check catches the wrong width. "Off"
// works on every platform: the phone number and the destination disable the input
// method for their widget (Qt::WA_InputMethodEnabled), which the Windows plugin turns
// into a detached IME context and IBus / Wayland into no composition at all. The phone
// number also carries Qt::ImhDialableCharactersOnly | ImhPreferLatin, which on-screen
// keyboards and Wayland text-input use to offer a phone pad; desktop IMEs ignore it.

namespace {

constexpr int EntryFields = DialEntry::FieldCount;

void selectItem(QComboBox *box, const QString &text)
{
    // A text that is not an item leaves the list without a selection: it reads empty.
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QLineEdit *textField(QWidget *parent, const char *name, int maxLength, Qt::InputMethodHints hints)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setInputMethodHints(hints);
    return edit;
}

// A drop-down box whose list passes its keys through the editor's filter. The list is
// built when it first opens: building the lists of all three boxes with the editor made
// up a third of its construction, which start-up and every model change pay.
class KeyFilteredComboBox : public QComboBox {
public:
    KeyFilteredComboBox(QWidget *parent, QObject *keyFilter) : QComboBox(parent), keyFilter_(keyFilter) {}

    void showPopup() override
    {
        if (!listFiltered_) {
            view()->installEventFilter(keyFilter_);
            listFiltered_ = true;
        }
        QComboBox::showPopup();
    }

private:
    QObject *keyFilter_;
    bool listFiltered_ = false;
};

// watched is the box's list; asking the box for its view() would build it.
bool isListOf(const QComboBox *box, const QObject *watched)
{
    const auto *list = box->findChild<QAbstractItemView *>();
    return list && list == watched;
}

} // namespace

// A dialog window rather than a tool window: window managers treat tool windows as
// helpers that get the keyboard neither when they appear nor back after a message box
// over them closes (openbox gives it to the main window then), and the user's typing
// would land in the main list.
TFormEdit::TFormEdit(PhoneBookDocument &document, QWidget *owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), document_(document), owner_(owner)
{
    // FormCreate: captions and the lists of the model in force.
    setObjectName(QStringLiteral("FormEdit"));
    setWindowTitle(QStringLiteral("編集フォーム"));
    buildControls();
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    applyModelLayout();
}

void TFormEdit::buildControls()
{
    LblNo = new QLabel(QStringLiteral("短縮番号："), this);
    NameEdit = textField(this, "NameEdit", NameMaxLength, Qt::ImhNone);
    KanaEdit = textField(this, "KanaEdit", KanaMaxLength, Qt::ImhNone);
    NoEdit = textField(this, "NoEdit", PhoneMaxLength,
                       Qt::ImhPreferLatin | Qt::ImhDialableCharactersOnly | Qt::ImhNoPredictiveText);
    NoEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    RtEdit = textField(this, "RtEdit", 0, Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    RtEdit->setReadOnly(true);
    RtEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    MemoEdit = textField(this, "MemoEdit", MemoMaxLength, Qt::ImhNone);

    CbGroup = new KeyFilteredComboBox(this, this);
    CbGroup->setObjectName(QStringLiteral("CbGroup"));
    CbGroup->addItems(Vocabulary::entryGroups());
    CbGroup->setFocusPolicy(Qt::ClickFocus);
    CbMelody = new KeyFilteredComboBox(this, this);
    CbMelody->setObjectName(QStringLiteral("CbMelody"));
    CbMelody->addItems(Vocabulary::ringTones(document_.book().model().ringVocabulary));
    CbStNo = new KeyFilteredComboBox(this, this);
    CbStNo->setObjectName(QStringLiteral("CbStNo"));
    CbStNo->addItems(Vocabulary::extensions());

    Button1 = new QPushButton(QStringLiteral("反　映"), this);
    Button2 = new QPushButton(QStringLiteral("着信先設定"), this);
    Button3 = new QPushButton(QStringLiteral("変更前に戻す"), this);
    BitBtn1 = new QToolButton(this);
    BitBtn1->setIcon(Pictures::icon(Pictures::Kind::Help));
    BitBtn1->setToolTip(QStringLiteral("追加／編集のヘルプを表示"));
    UpDown1Prev = new QToolButton(this);
    UpDown1Prev->setArrowType(Qt::LeftArrow);
    UpDown1Next = new QToolButton(this);
    UpDown1Next->setArrowType(Qt::RightArrow);
    Label1 = new QLabel(QStringLiteral("↓キーで次の番号へ、\n↑キーで前の番号へ移動します"), this);
    setTextColor(Label1, Qt::red);
    QFont small = Label1->font();
    small.setPixelSize(9);
    Label1->setFont(small);

    auto *fields = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString &caption, QWidget *field, QLabel **label = nullptr) {
        auto *l = new QLabel(caption, this);
        fields->addWidget(l, row, 0);
        fields->addWidget(field, row, 1);
        if (label)
            *label = l;
        ++row;
    };
    fields->addWidget(LblNo, row++, 0, 1, 2);
    addRow(QStringLiteral("名前"), NameEdit);
    auto *kanaField = new QWidget(this);
    auto *kanaRow = new QHBoxLayout(kanaField);
    kanaRow->setContentsMargins(0, 0, 0, 0);
    kanaRow->addWidget(KanaEdit, 1);
    KanaButton = new KanaFromNameButton(NameEdit, KanaEdit, kanaField);
    kanaRow->addWidget(KanaButton);
    addRow(QStringLiteral("カナ"), kanaField);
    addRow(QStringLiteral("電話番号"), NoEdit);
    fields->addWidget(makePhoneNumberHint(NoEdit, this), row++, 1);
    addRow(QStringLiteral("グループ"), CbGroup);
    addRow(QStringLiteral("着信音"), CbMelody);
    addRow(QStringLiteral("登録実装"), CbStNo);
    auto *destination = new QHBoxLayout;
    destination->addWidget(RtEdit, 1);
    destination->addWidget(Button2);
    RtLabel = new QLabel(QStringLiteral("着信先"), this);
    fields->addWidget(RtLabel, row, 0);
    fields->addLayout(destination, row++, 1);
    addRow(QStringLiteral("メモ"), MemoEdit, &MemoLabel);

    auto *arrows = new QHBoxLayout;
    arrows->addWidget(Label1, 1);
    arrows->addWidget(UpDown1Prev);
    arrows->addWidget(UpDown1Next);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(arrows);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(BitBtn1, &QToolButton::clicked, this, [this] { BitBtn1Click(); });
    connect(UpDown1Prev, &QToolButton::clicked, this, [this] { UpDown1Step(-1); });
    connect(UpDown1Next, &QToolButton::clicked, this, [this] { UpDown1Step(1); });
}

void TFormEdit::applyModelLayout()
{
    const bool shown = document_.book().model().hasDestinationAndMemo;
    for (QWidget *w : std::initializer_list<QWidget *>{RtLabel, RtEdit, Button2, MemoLabel, MemoEdit})
        w->setVisible(shown);
}

bool TFormEdit::memoShown() const
{
    return !MemoEdit->isHidden();
}

std::array<QString, 8> TFormEdit::currentValues() const
{
    return {NameEdit->text(),        KanaEdit->text(),      NoEdit->text(), CbGroup->currentText(),
            CbMelody->currentText(), CbStNo->currentText(), RtEdit->text(), MemoEdit->text()};
}

std::array<QString, 8> TFormEdit::rememberedValues() const
{
    return {OldName, OldKana, OldNo, OldGroup, OldMelody, OldSt, OldRt, OldMemo};
}

void TFormEdit::setValues(const std::array<QString, 8> &v)
{
    NameEdit->setText(v[DialEntry::Name]);
    KanaEdit->setText(v[DialEntry::Kana]);
    NoEdit->setText(v[DialEntry::Phone]);
    selectItem(CbGroup, v[DialEntry::Group]);
    selectItem(CbMelody, v[DialEntry::Ring]);
    selectItem(CbStNo, v[DialEntry::Extension]);
    RtEdit->setText(v[DialEntry::Destination]);
    MemoEdit->setText(v[DialEntry::Memo]);
}

void TFormEdit::remember(const std::array<QString, 8> &v)
{
    OldName = v[DialEntry::Name];
    OldKana = v[DialEntry::Kana];
    OldNo = v[DialEntry::Phone];
    OldGroup = v[DialEntry::Group];
    OldMelody = v[DialEntry::Ring];
    OldSt = v[DialEntry::Extension];
    OldRt = v[DialEntry::Destination];
    OldMemo = v[DialEntry::Memo];
}

void TFormEdit::loadEntry(int position)
{
    if (position < 0 || position >= static_cast<int>(document_.book().entries.size()))
        return;
    const DialEntry &entry = document_.book().entries[position];
    std::array<QString, 8> values;
    for (int f = 0; f < EntryFields; ++f)
        values[f] = entry.field(f);
    values[DialEntry::Ring] =
        Vocabulary::ringToneForEditor(values[DialEntry::Ring], document_.book().model().ringVocabulary);
    LblNo->setText(QStringLiteral("短縮番号：") + entry.No);
    setValues(values);
    remember(values);
    // The editor stands on the entry it shows, whatever a refused move left behind.
    position_ = position;
    shownSlot_ = entry.No;
}

int TFormEdit::shownPosition() const
{
    if (shownSlot_.isEmpty())
        return -1;
    const auto &entries = document_.book().entries;
    if (position_ >= 0 && position_ < static_cast<int>(entries.size()) && entries[position_].No == shownSlot_)
        return position_;
    // The list was sorted meanwhile: the entry keeps its slot number, not its row.
    for (int p = 0; p < static_cast<int>(entries.size()); ++p) {
        if (entries[p].No == shownSlot_)
            return p;
    }
    return -1;
}

std::optional<CheckFailure> TFormEdit::check() const
{
    return checkEntry(NameEdit->text(), KanaEdit->text(), NoEdit->text(), memoShown() ? MemoEdit->text() : QString());
}

QLineEdit *TFormEdit::fieldOf(CheckedField field) const
{
    switch (field) {
    case CheckedField::Name:
        return NameEdit;
    case CheckedField::Kana:
        return KanaEdit;
    case CheckedField::Phone:
        return NoEdit;
    case CheckedField::Memo:
        return MemoEdit;
    case CheckedField::GroupName:
        break;
    }
    return NameEdit;
}

void TFormEdit::showFailure(const CheckFailure &failure, bool selectText)
{
    Prompts::current().information(failure.message);
    QLineEdit *field = fieldOf(failure.field);
    if (selectText)
        field->selectAll();
    field->setFocus();
}

int TFormEdit::writeBack()
{
    // The values belong to the entry the editor shows, not to whatever row the user
    // selected in the main list meanwhile.
    const int position = shownPosition();
    if (position < 0)
        return -1;
    const std::array<QString, 8> values = currentValues();
    document_.setEntry(position, values, EditorRules::anyChanged(rememberedValues(), values));
    return position;
}

bool TFormEdit::UpDown1Changing()
{
    if (const auto failure = check()) {
        showFailure(*failure, false);
        return false;
    }
    if (StopFlag)
        return true;
    const int position = writeBack();
    if (position >= 0)
        emit rowLeft(position);
    return true;
}

bool TFormEdit::setUpDown1Position(int position)
{
    if (position == position_)
        return true;
    if (!UpDown1Changing())
        return false;
    position_ = position;
    return true;
}

void TFormEdit::UpDown1Click()
{
    if (StopFlag)
        return;
    emit rowEntered(position_);
    loadEntry(position_);
    NameEdit->setFocus();
}

void TFormEdit::UpDown1Step(int step)
{
    const int from = shownPosition();
    if (from >= 0)
        position_ = from;
    if (setUpDown1Position(EditorRules::wrapPosition(position_, step, PhoneBook::EntryCount)))
        UpDown1Click();
}

void TFormEdit::navigateByKey(int step)
{
    if (const auto failure = check()) {
        showFailure(*failure, true);
        return;
    }
    UpDown1Step(step);
}

void TFormEdit::showEditor()
{
    showEditorWindow(this, owner_, NameEdit, centred_);
}

void TFormEdit::openAt(int position)
{
    // The move runs the entry check on what the editor shows; nothing is written back
    // while StopFlag is set, so unapplied edits of that entry are discarded.
    StopFlag = true;
    setUpDown1Position(position);
    loadEntry(position);
    applyModelLayout();
    showEditor();
    StopFlag = false;
}

void TFormEdit::Button1Click()
{
    if (const auto failure = check()) {
        showFailure(*failure, false);
        return;
    }
    hide();
    writeBack();
}

void TFormEdit::Button3Click()
{
    setValues(rememberedValues());
}

void TFormEdit::Button2Click()
{
    if (!destinations_)
        return;
    QString chosen;
    if (destinations_->choose(RtEdit->text(), chosen))
        RtEdit->setText(chosen);
}

void TFormEdit::BitBtn1Click()
{
    showHelpTopic(17);
}

bool TFormEdit::NoEditKeyPress(const QString &typed)
{
    for (QChar c : typed) {
        if (!EditorRules::acceptsPhoneKey(c))
            return false;
    }
    return true;
}

bool TFormEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // Swallowed everywhere, so that no list changes its selection by them.
        for (QComboBox *box : {CbGroup, CbMelody, CbStNo}) {
            if (isListOf(box, watched))
                box->hidePopup();
        }
        navigateByKey(key->key() == Qt::Key_Up ? -1 : 1);
        return true;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        using EditorRules::TextField;
        const std::pair<QLineEdit *, TextField> order[] = {{NameEdit, TextField::Name},
                                                           {KanaEdit, TextField::Kana},
                                                           {NoEdit, TextField::Phone},
                                                           {MemoEdit, TextField::Memo}};
        for (const auto &[edit, field] : order) {
            if (watched != edit)
                continue;
            const TextField next = EditorRules::nextTextField(field, memoShown());
            for (const auto &[target, targetField] : order) {
                if (targetField == next)
                    target->setFocus(Qt::TabFocusReason);
            }
        }
        return true;
    }
    case Qt::Key_Left:
    case Qt::Key_Right:
        // In the text fields they move the cursor; elsewhere they never move the focus.
        return qobject_cast<QLineEdit *>(watched) == nullptr;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // No dialog keys: they press no button. An open drop-down list still takes them.
        for (const QComboBox *box : {CbGroup, CbMelody, CbStNo}) {
            if (isListOf(box, watched))
                return QWidget::eventFilter(watched, event);
        }
        return true;
    default:
        break;
    }
    if (watched == NoEdit && key->key() != Qt::Key_Delete && !key->text().isEmpty() && !NoEditKeyPress(key->text()))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TFormEdit::closeEvent(QCloseEvent *event)
{
    // The editor is left through 反　映 only.
    event->ignore();
}
