#include "ui/KanaFromName.h"

#include "core/WidthRules.h"
#include "formats/KanaReader.h"
#include "ui/CommandGuard.h"
#include "ui/PhoneBookDocument.h"
#include "ui/SplushFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Runs long enough to want the progress window.
constexpr int ProgressFrom = 200;

// The proposed kana is edited in a combo box that lists the readings proposed.
class ProposalDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->lineEdit()->setMaxLength(KanaMaxLength);
        box->addItems(index.data(Qt::UserRole).toStringList());
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QComboBox *>(editor)->setCurrentText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        model->setData(index, static_cast<QComboBox *>(editor)->currentText(), Qt::EditRole);
    }
};

QList<KanaRow> proposeBehindProgress(const PhoneBook &book, const QList<int> &positions, TFormSplush *splush)
{
    KanaReader &reader = programKanaReader();
    reader.load();
    if (positions.size() < ProgressFrom || !splush)
        return proposeKana(book, positions, reader);
    const ProgressScope progress(splush, QStringLiteral("カナを作成中..."), static_cast<int>(positions.size()));
    return proposeKana(book, positions, reader, splush->progressCallback());
}

} // namespace

KanaFromNameButton::KanaFromNameButton(QLineEdit *name, QLineEdit *kana, QWidget *parent)
    : QToolButton(parent), name_(name), kana_(kana), menu_(new QMenu(this))
{
    setObjectName(QStringLiteral("KanaFromName"));
    setText(QStringLiteral("名前から"));
    setToolTip(QStringLiteral("名前の読みをカナに入れます（▼でほかの読み）"));
    setPopupMode(QToolButton::MenuButtonPopup);
    setMenu(menu_);
    connect(this, &QToolButton::clicked, this, [this] { runGuarded([this] { fillFromName(); }); });
    connect(menu_, &QMenu::aboutToShow, this, [this] { runGuarded([this] { refreshMenu(); }); });
}

void KanaFromNameButton::putKana(const QString &kana)
{
    // Typed over the field's text, so that the field's undo brings the old kana back.
    kana_->selectAll();
    kana_->insert(kana);
}

void KanaFromNameButton::fillFromName()
{
    const QStringList proposals = programKanaReader().proposals(name_->text());
    if (!proposals.isEmpty())
        putKana(proposals.first());
}

QStringList KanaFromNameButton::refreshMenu()
{
    menu_->clear();
    const QStringList proposals = programKanaReader().proposals(name_->text());
    for (const QString &proposal : proposals)
        menu_->addAction(proposal, this, [this, proposal] { putKana(proposal); });
    if (proposals.isEmpty())
        menu_->addAction(QStringLiteral("読みがありません"))->setEnabled(false);
    return proposals;
}

KanaPreviewModel::KanaPreviewModel(const PhoneBook &book, QObject *parent) : QAbstractTableModel(parent), book_(book) {}

void KanaPreviewModel::setRows(const QList<KanaRow> &rows)
{
    beginResetModel();
    rows_.clear();
    for (const KanaRow &row : rows)
        rows_ += Row{row, row.proposals.value(0), !row.proposals.isEmpty()};
    endResetModel();
}

QList<KanaChange> KanaPreviewModel::acceptedChanges() const
{
    QList<KanaChange> changes;
    for (const Row &row : rows_) {
        if (row.accepted)
            changes += KanaChange{row.proposals.position, row.kana};
    }
    return changes;
}

int KanaPreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int KanaPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant KanaPreviewModel::data(const QModelIndex &index, int role) const
{
    const Row &row = rows_.at(index.row());
    const DialEntry &entry = book_.entries[static_cast<size_t>(row.proposals.position)];
    if (role == Qt::CheckStateRole && index.column() == Slot)
        return row.accepted ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::UserRole && index.column() == Proposed)
        return row.proposals.proposals;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case Slot:
        return entry.No;
    case Name:
        return entry.name();
    case CurrentKana:
        return entry.kana();
    case Proposed:
        return row.kana;
    case Alternatives:
        return row.proposals.proposals.mid(1).join(QStringLiteral("、"));
    default:
        return {};
    }
}

bool KanaPreviewModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Row &row = rows_[index.row()];
    if (role == Qt::CheckStateRole && index.column() == Slot) {
        row.accepted = value.toInt() == Qt::Checked;
    } else if (role == Qt::EditRole && index.column() == Proposed) {
        // An edited reading is kept in the kana field's form; text that cannot be is refused.
        const QString kana = ChangeHalfSize(value.toString());
        if (!IsHalfString(kana) || kana.size() > KanaMaxLength)
            return false;
        row.kana = kana;
        row.accepted = true;
    } else {
        return false;
    }
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    return true;
}

Qt::ItemFlags KanaPreviewModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Slot)
        flags |= Qt::ItemIsUserCheckable;
    if (index.column() == Proposed)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant KanaPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char16_t *const captions[] = {u"短縮番号", u"名前", u"現在のカナ", u"新しいカナ", u"ほかの読み"};
    return QString::fromUtf16(captions[section]);
}

TFormKanaFill::TFormKanaFill(PhoneBookDocument &document, TFormSplush *splush, const QList<int> &selected,
                             QWidget *parent)
    : QDialog(parent), document_(document), splush_(splush), selected_(selected)
{
    setWindowTitle(QStringLiteral("カナを自動入力"));
    CbAlsoFilled = new QCheckBox(QStringLiteral("カナが入っている項目も作り直す"), this);
    Preview = new KanaPreviewModel(document.book(), this);
    ListView1 = new QTableView(this);
    ListView1->setModel(Preview);
    ListView1->setItemDelegateForColumn(KanaPreviewModel::Proposed, new ProposalDelegate(ListView1));
    ListView1->verticalHeader()->hide();
    ListView1->horizontalHeader()->setStretchLastSection(true);
    ListView1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::SelectedClicked);
    Button1 = new QPushButton(QStringLiteral("反　映"), this);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button1->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CbAlsoFilled);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(CbAlsoFilled, &QCheckBox::toggled, this, [this] { runGuarded([this] { propose(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { runGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormKanaFill::propose()
{
    const PhoneBook &book = document_.book();
    Preview->setRows(proposeBehindProgress(book, kanaTargets(book, selected_, CbAlsoFilled->isChecked()), splush_));
}

void TFormKanaFill::Button1Click()
{
    document_.fillKana(Preview->acceptedChanges());
    accept();
}

QString kanaFillCaption()
{
    return QStringLiteral("カナを自動入力…");
}

void runKanaFill(PhoneBookDocument &document, TFormSplush *splush, const QList<int> &selected, QWidget *parent)
{
    TFormKanaFill window(document, splush, selected, parent);
    window.propose();
    window.exec();
}

void fillEmptyKanaFromNames(PhoneBook &book, TFormSplush *splush)
{
    setKana(book, firstProposals(proposeBehindProgress(book, kanaTargets(book, {}, false), splush)));
}

QString kanaFromNameCaption()
{
    return QStringLiteral("カナを名前から作る");
}
