#include "ui/RtFrm.h"

#include "core/Vocabulary.h"
#include "core/WidthRules.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using EditorRules::DestinationChoice;

TFormRt::TFormRt(QWidget *parent) : QDialog(parent)
{
    // FormCreate: captions and the two lists.
    setObjectName(QStringLiteral("FormRt"));
    setWindowTitle(QStringLiteral("着信先設定"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(true);

    RadioButton1 = new QRadioButton(QStringLiteral("一斉着信（初期）"), this);
    RadioButton2 = new QRadioButton(QStringLiteral("内線グループ指定"), this);
    RadioButton3 = new QRadioButton(QStringLiteral("内線個別指定"), this);
    // The buttons are checked by the click handlers only, which keep the lists in step.
    auto *radios = new QButtonGroup(this);
    radios->addButton(RadioButton1);
    radios->addButton(RadioButton2);
    radios->addButton(RadioButton3);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (const QString &group : Vocabulary::destinationGroups())
        ComboBox1->addItem(QStringLiteral("グループ") + group.right(1));
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    for (int n = 1; n <= 34; ++n)
        ComboBox2->addItem(QStringLiteral("実装") + CopyRight(QStringLiteral("0") + QString::number(n), 2));

    Button1 = new QPushButton(QStringLiteral("Ｏ　Ｋ"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);

    auto *grid = new QGridLayout;
    grid->addWidget(RadioButton1, 0, 0);
    grid->addWidget(RadioButton2, 1, 0);
    grid->addWidget(ComboBox1, 1, 1);
    grid->addWidget(RadioButton3, 2, 0);
    grid->addWidget(ComboBox2, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton2Click(); });
    connect(RadioButton3, &QRadioButton::clicked, this, [this] { RadioButton3Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    RadioButton1Click();
}

void TFormRt::check(DestinationChoice::Kind kind)
{
    RadioButton1->setChecked(kind == DestinationChoice::AllExtensions);
    RadioButton2->setChecked(kind == DestinationChoice::ExtensionGroup);
    RadioButton3->setChecked(kind == DestinationChoice::SingleExtension);
    ComboBox1->setEnabled(kind == DestinationChoice::ExtensionGroup);
    ComboBox2->setEnabled(kind == DestinationChoice::SingleExtension);
}

void TFormRt::RadioButton1Click()
{
    check(DestinationChoice::AllExtensions);
}
void TFormRt::RadioButton2Click()
{
    check(DestinationChoice::ExtensionGroup);
}
void TFormRt::RadioButton3Click()
{
    check(DestinationChoice::SingleExtension);
}

DestinationChoice TFormRt::currentChoice() const
{
    if (RadioButton2->isChecked())
        return {DestinationChoice::ExtensionGroup, ComboBox1->currentIndex()};
    if (RadioButton3->isChecked())
        return {DestinationChoice::SingleExtension, ComboBox2->currentIndex()};
    return {DestinationChoice::AllExtensions, -1};
}

void TFormRt::prepare(const QString &text)
{
    current_ = text;
    result_ = text;
    ComboBox1->setCurrentIndex(-1);
    ComboBox2->setCurrentIndex(-1);
    const EditorRules::DestinationPreselection p = EditorRules::destinationPreselection(text);
    if (!p.preselect)
        return;
    check(p.choice.kind);
    if (p.choice.kind == DestinationChoice::ExtensionGroup)
        ComboBox1->setCurrentIndex(p.choice.item);
    else if (p.choice.kind == DestinationChoice::SingleExtension)
        ComboBox2->setCurrentIndex(p.choice.item);
}

bool TFormRt::choose(const QString &text, QString &result)
{
    prepare(text);
    if (exec() != QDialog::Accepted)
        return false;
    result = result_;
    return true;
}

void TFormRt::Button1Click()
{
    result_ = EditorRules::destinationText(currentChoice(), current_);
    accept();
}

void TFormRt::Button2Click()
{
    QDialog::reject();
}

void TFormRt::reject()
{
    Button2Click();
}
