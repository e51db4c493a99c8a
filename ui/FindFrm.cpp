#include "ui/FindFrm.h"

#include "core/ListOperations.h"
#include "ui/HelpTopics.h"
#include "ui/PhoneBookDocument.h"
#include "ui/PhoneBookModels.h"
#include "ui/Pictures.h"
#include "ui/Prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int HelpTopicSearch = 12;

} // namespace

TFormFind::TFormFind(const PhoneBookDocument &document, QWidget *owner) : QDialog(owner), document_(document)
{
    setObjectName(QStringLiteral("FormFind"));
    setModal(true);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(false);
    EFind = new QLineEdit(this);
    Button1 = new QPushButton(this);
    Button1->setDefault(true);
    ListView1 = new QTreeWidget(this);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSortingEnabled(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setSectionsClickable(false);
    ListView1->header()->setSectionsMovable(false);
    Label3 = new QLabel(this);
    Button2 = new QPushButton(this);
    BitBtn1 = new QPushButton(Pictures::icon(Pictures::Kind::Help), QString(), this);
    BitBtn1->setToolTip(QStringLiteral("検索のヘルプを表示"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setMinimumWidth(120);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1, 1);

    auto *kindLabel = new QLabel(QStringLiteral("検索種別："), this);
    kindLabel->setBuddy(ComboBox1);
    auto *textLabel = new QLabel(QStringLiteral("検索条件："), this);
    textLabel->setBuddy(EFind);

    auto *fields = new QGridLayout;
    fields->addWidget(kindLabel, 0, 0);
    fields->addWidget(ComboBox1, 0, 1);
    fields->addWidget(textLabel, 1, 0);
    fields->addWidget(EFind, 1, 1);
    fields->addWidget(Button1, 1, 2);
    fields->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Label3, 1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(Button2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);
    resize(480, 400);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { ListView1DblClick(); });

    FormCreate();
}

const QStringList &TFormFind::kindCaptions()
{
    // The eight field kinds are named like the main list's columns.
    static const QStringList captions = QStringList{QStringLiteral("全て")} + EntryListModel::columnCaptions().mid(1);
    return captions;
}

void TFormFind::FormCreate()
{
    setWindowTitle(QStringLiteral("検索"));
    ListView1->setHeaderLabels(
        {QStringLiteral("No"), QStringLiteral("名前（全角）"), QStringLiteral("カナ"), QStringLiteral("電話番号")});
    ListView1->setColumnWidth(0, 50);
    ListView1->setColumnWidth(1, 150);
    ListView1->setColumnWidth(2, 120);
    ComboBox1->addItems(kindCaptions());
    ComboBox1->setCurrentIndex(-1);
    Label3->setText(QStringLiteral("※検索したデータをダブルクリックすると移動します"));
    Button1->setText(QStringLiteral("検　索"));
    Button2->setText(QStringLiteral("閉じる"));
}

void TFormFind::Button1Click()
{
    const int kind = ComboBox1->currentIndex();
    if (kind < 0) {
        Prompts::current().information(QStringLiteral("検索種別を選択してください"));
        return;
    }
    const QString text = EFind->text();
    if (text.isEmpty()) {
        Prompts::current().information(QStringLiteral("検索条件を入力してください"));
        return;
    }

    const PhoneBook &book = document_.book();
    const QList<int> hits = ListOperations::findEntries(book, kind, text);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(hits.size());
    for (int position : hits) {
        const DialEntry &entry = book.entries[position];
        rows << new QTreeWidgetItem(QStringList{entry.No, entry.name(), entry.kana(), entry.phone()});
    }
    ListView1->clear();
    ListView1->addTopLevelItems(rows);

    StatusPanel0->setText(QStringLiteral("検索結果：%1件").arg(hits.size()));
    StatusPanel1->setText(QStringLiteral("検索種別：") + ComboBox1->itemText(kind) + QStringLiteral("　検索条件：") +
                          text);
    if (hits.isEmpty())
        Prompts::current().information(QStringLiteral("検索条件に一致するデータは見つかりませんでした"));
}

void TFormFind::ListView1DblClick()
{
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    const QString no = selected.first()->text(0);
    accept();
    // The hit is named by its slot number: the list may have been sorted since.
    const int position = ListOperations::findSlot(document_.book(), no);
    if (position >= 0)
        emit found(position);
}

void TFormFind::Button2Click()
{
    reject();
}

void TFormFind::BitBtn1Click()
{
    showHelpTopic(HelpTopicSearch);
}
