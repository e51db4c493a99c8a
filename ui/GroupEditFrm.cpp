#include "ui/GroupEditFrm.h"

#include "core/EditorRules.h"
#include "core/Vocabulary.h"
#include "core/WidthRules.h"
#include "ui/EditorWindow.h"
#include "ui/HelpTopics.h"
#include "ui/PhoneBookDocument.h"
#include "ui/Pictures.h"
#include "ui/Prompts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

void selectItem(QComboBox *box, const QString &text)
{
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace

TFormGroupEdit::TFormGroupEdit(PhoneBookDocument &document, QWidget *owner) : QDialog(owner), document_(document)
{
    // FormCreate: captions and the lists of the model in force.
    setObjectName(QStringLiteral("FormGroupEdit"));
    setWindowTitle(QStringLiteral("グループ設定"));

    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setMaxLength(GroupNameMaxLength);
    // The input method stays enabled for the full-width name.
    NameEdit->setAttribute(Qt::WA_InputMethodEnabled, true);
    NameEdit->setText(Vocabulary::noGroupName());
    CbMelody = new QComboBox(this);
    CbMelody->setObjectName(QStringLiteral("CbMelody"));
    CbMelody->addItems(Vocabulary::ringTones(document_.book().model().ringVocabulary));
    CbLamp = new QComboBox(this);
    CbLamp->setObjectName(QStringLiteral("CbLamp"));
    CbLamp->addItems(Vocabulary::lamps());
    RadioFax = flagChoice(QStringLiteral("FAX指定"), RadioFaxItems);
    RadioFax->setVisible(document_.book().model().hasFaxAndCallback);
    RadioCb = flagChoice(QStringLiteral("コールバック指定"), RadioCbItems);

    Button2 = new QPushButton(QStringLiteral("Ｏ　Ｋ"), this);
    Button2->setDefault(true);
    Button1 = new QPushButton(QStringLiteral("キャンセル"), this);
    BitBtn1 = new QToolButton(this);
    BitBtn1->setIcon(Pictures::icon(Pictures::Kind::Help));
    BitBtn1->setToolTip(QStringLiteral("グループ設定のヘルプを表示"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("グループ名"), NameEdit);
    form->addRow(QStringLiteral("着信音"), CbMelody);
    form->addRow(QStringLiteral("着信ランプ"), CbLamp);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addStretch(1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(RadioFax);
    layout->addWidget(RadioCb);
    layout->addLayout(buttons);

    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(BitBtn1, &QToolButton::clicked, this, [this] { BitBtn1Click(); });
}

QGroupBox *TFormGroupEdit::flagChoice(const QString &caption, QButtonGroup *&items)
{
    auto *box = new QGroupBox(caption, this);
    auto *row = new QHBoxLayout(box);
    items = new QButtonGroup(box);
    const QString texts[] = {Vocabulary::flagOn(), Vocabulary::flagOff()};
    for (int i = 0; i < 2; ++i) {
        auto *button = new QRadioButton(texts[i], box);
        items->addButton(button, i);
        row->addWidget(button);
    }
    items->button(1)->setChecked(true);
    return box;
}

QString TFormGroupEdit::flagText(const QButtonGroup *items) const
{
    return items->checkedId() == 0 ? Vocabulary::flagOn() : Vocabulary::flagOff();
}

std::array<QString, 5> TFormGroupEdit::currentValues() const
{
    return {NameEdit->text(), CbMelody->currentText(), CbLamp->currentText(), flagText(RadioFaxItems),
            flagText(RadioCbItems)};
}

void TFormGroupEdit::loadGroup(int group)
{
    if (group < 0 || group >= PhoneBook::GroupCount)
        return;
    const GroupSetting &g = document_.book().groups[group];
    group_ = group;
    setWindowTitle(g.Label + QStringLiteral("の設定"));
    const QString melody = Vocabulary::ringToneForEditor(g.ring(), document_.book().model().ringVocabulary);
    NameEdit->setText(g.name());
    selectItem(CbMelody, melody);
    selectItem(CbLamp, g.lamp());
    RadioFaxItems->button(EditorRules::flagIsOn(g.fax()) ? 0 : 1)->setChecked(true);
    RadioCbItems->button(EditorRules::flagIsOn(g.callback()) ? 0 : 1)->setChecked(true);
    OldGroupName = g.name();
    OldGroupMelody = melody;
    OldGroupLamp = g.lamp();
    OldGroupFax = g.fax();
    OldGroupCb = g.callback();
}

void TFormGroupEdit::showEditor()
{
    showEditorWindow(this, parentWidget(), NameEdit, centred_);
}

void TFormGroupEdit::Button2Click()
{
    if (const auto failure = checkGroupName(NameEdit->text())) {
        Prompts::current().information(failure->message);
        NameEdit->setFocus();
        return;
    }
    hide();
    // The values belong to the group the editor shows, whatever row the list selects now.
    if (group_ < 0)
        return;
    const std::array<QString, 5> values = currentValues();
    PhoneBookDocument::GroupValues stored = values;
    stored[GroupSetting::Name] = EditorRules::groupNameToStore(values[GroupSetting::Name]);
    const std::array<QString, 5> remembered = {OldGroupName, OldGroupMelody, OldGroupLamp, OldGroupFax, OldGroupCb};
    document_.setGroup(group_, stored, EditorRules::anyChanged(remembered, values));
}

void TFormGroupEdit::Button1Click()
{
    hide();
}

void TFormGroupEdit::reject()
{
    Button1Click();
}

void TFormGroupEdit::BitBtn1Click()
{
    showHelpTopic(23);
}
