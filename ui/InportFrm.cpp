#include "ui/InportFrm.h"

#include "core/DalvinoError.h"
#include "formats/TextFile.h"
#include "ui/CommandGuard.h"
#include "ui/HelpTopics.h"
#include "ui/PhoneBookDocument.h"
#include "ui/Pictures.h"
#include "ui/Prompts.h"
#include "ui/SplushFrm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

// --- Preview -----------------------------------------------------------------------

void CsvPreviewModel::setTable(CsvImport::Table table)
{
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

void CsvPreviewModel::clear()
{
    setTable(CsvImport::Table());
}

int CsvPreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.rowCount();
}

int CsvPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.fieldCount;
}

QVariant CsvPreviewModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return QVariant();
    return table_.field(index.row(), index.column());
}

QVariant CsvPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return fieldCaption(section);
    return QVariant();
}

QString CsvPreviewModel::fieldCaption(int field)
{
    return QStringLiteral("フィールド%1").arg(field + 1);
}

// --- Window ------------------------------------------------------------------------

TFormInport::TFormInport(PhoneBookDocument &document, TFormSplush *splush, QWidget *owner)
    : QDialog(owner), document_(document), splush_(splush)
{
    setObjectName(QStringLiteral("FormInport"));
    setModal(true);

    Preview = new CsvPreviewModel(this);
    ListView1 = new QTableView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(Preview);
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSortingEnabled(false);
    ListView1->setWordWrap(false);
    ListView1->verticalHeader()->hide();
    // Fixed heights and widths: nothing is measured per row, so 10 000 lines open at once.
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 4);
    ListView1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    ListView1->horizontalHeader()->setDefaultSectionSize(80);
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->horizontalHeader()->setHighlightSections(false);

    auto combo = [this](const char *name) {
        auto *box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(false);
        return box;
    };
    ComboBox1 = combo("ComboBox1");
    ComboBox2 = combo("ComboBox2");
    ComboBox3 = combo("ComboBox3");
    ComboBox4 = combo("ComboBox4");
    ComboBox5 = combo("ComboBox5");
    ComboBox6 = combo("ComboBox6");

    auto spin = [this](const char *name, int maximum) {
        auto *box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, maximum);
        box->setReadOnly(true);
        box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        return box;
    };
    SpinEdit1 = spin("SpinEdit1", CsvImport::MaxStartRow);
    SpinEdit2 = spin("SpinEdit2", CsvImport::MaxEndRow);

    Button1 = new QPushButton(this);
    Button2 = new QPushButton(this);
    Button3 = new QPushButton(this);
    Button4 = new QPushButton(this);
    BitBtn1 = new QPushButton(Pictures::icon(Pictures::Kind::Help), QString(), this);
    Button2->setDefault(true);
    Button2->setAutoDefault(true);
    Button1->setAutoDefault(false);
    Button3->setAutoDefault(false);
    Button4->setAutoDefault(false);
    BitBtn1->setAutoDefault(false);
    CbEncoding = new QComboBox(this);
    CbEncoding->setObjectName(QStringLiteral("CbEncoding"));
    EncodingFound = new QLabel(this);

    FormCreate();

    auto *fields = new QGridLayout;
    const QList<QComboBox *> boxes = selectors();
    for (int i = 0; i < boxes.size(); ++i) {
        fields->addWidget(labels_.at(i), i % 3 * 2, i / 3);
        fields->addWidget(boxes.at(i), i % 3 * 2 + 1, i / 3);
    }
    auto *rows = new QGridLayout;
    rows->addWidget(labels_.at(6), 0, 0);
    rows->addWidget(SpinEdit1, 0, 1);
    rows->addWidget(Button3, 0, 2);
    rows->addWidget(labels_.at(7), 1, 0);
    rows->addWidget(SpinEdit2, 1, 1);
    rows->addWidget(Button4, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addStretch(1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto *bottom = new QHBoxLayout;
    bottom->addLayout(fields, 2);
    bottom->addSpacing(12);
    bottom->addLayout(rows, 1);
    auto *encodingRow = new QHBoxLayout;
    encodingRow->addWidget(labels_.at(8));
    encodingRow->addWidget(CbEncoding);
    encodingRow->addWidget(EncodingFound);
    encodingRow->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(encodingRow);
    layout->addWidget(ListView1, 1);
    layout->addLayout(bottom);
    layout->addLayout(buttons);
    resize(640, 480);

    connect(Button1, &QPushButton::clicked, this, [this] { runGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { runGuarded([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { runGuarded([this] { Button3Click(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { runGuarded([this] { Button4Click(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn1Click(); }); });
    connect(CbEncoding, &QComboBox::activated, this, [this] { runGuarded([this] { CbEncodingChange(); }); });
}

void TFormInport::FormCreate()
{
    setWindowTitle(QStringLiteral("csvファイルのインポート"));
    const struct {
        QWidget *control;
        const char16_t *caption;
    } labels[] = {{ComboBox1, u"名前フィールド"},
                  {ComboBox2, u"カナフィールド"},
                  {ComboBox3, u"電話番号フィールド"},
                  {ComboBox4, u"グループフィールド"},
                  {ComboBox5, u"着信音フィールド"},
                  {ComboBox6, u"メモフィールド"},
                  {SpinEdit1, u"開始行"},
                  {SpinEdit2, u"終了行"},
                  {CbEncoding, u"文字コード"}};
    for (const auto &l : labels) {
        auto *label = new QLabel(QString::fromUtf16(l.caption), this);
        label->setBuddy(l.control);
        labels_ << label;
    }
    Button3->setText(QStringLiteral("開始行に設定"));
    Button3->setToolTip(QStringLiteral("リストで選択されている行を開始行に設定する"));
    Button4->setText(QStringLiteral("終了行に設定"));
    Button4->setToolTip(QStringLiteral("リストで選択されている行を終了行に設定する"));
    Button2->setText(QStringLiteral("Ｏ　Ｋ"));
    Button1->setText(QStringLiteral("キャンセル"));
    BitBtn1->setToolTip(QStringLiteral("インポートのヘルプを表示"));
    CbEncoding->addItem(QStringLiteral("自動"));
    for (const TextEncoding encoding : {TextEncoding::Cp932, TextEncoding::Utf8, TextEncoding::Utf16})
        CbEncoding->addItem(encodingName(encoding), static_cast<int>(encoding));
}

QList<QComboBox *> TFormInport::selectors() const
{
    return {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6};
}

void TFormInport::resetWindow()
{
    path_.clear();
    bytes_.clear();
    EncodingFound->clear();
    SpinEdit1->setValue(0);
    SpinEdit2->setValue(0);
    Preview->clear();
    for (QComboBox *box : selectors())
        box->clear();
}

void TFormInport::showTable(CsvImport::Table table, bool keepChoices)
{
    QStringList items;
    for (int field = 0; field < table.fieldCount; ++field)
        items << CsvPreviewModel::fieldCaption(field);
    for (QComboBox *box : selectors()) {
        const int chosen = keepChoices && box->currentIndex() < table.fieldCount ? box->currentIndex() : -1;
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(chosen);
    }
    Preview->setTable(std::move(table));
    ListView1->horizontalHeader()->resizeSections(QHeaderView::Interactive);
    for (int c = 0; c < Preview->columnCount(); ++c)
        ListView1->setColumnWidth(c, 80);
}

TextEncoding TFormInport::encoding() const
{
    const QVariant chosen = CbEncoding->currentData();
    return chosen.isValid() ? static_cast<TextEncoding>(chosen.toInt()) : detectEncoding(bytes_);
}

void TFormInport::showFile(bool fromDisk, bool keepChoices)
{
    // Reading, decoding and splitting a large file takes a moment: the progress window
    // is up from the start.
    {
        const ProgressScope progress(splush_, QStringLiteral("読み込み中..."), PhoneBook::EntryCount);
        if (fromDisk)
            bytes_ = readFileBytes(path_);
        const TextEncoding used = encoding();
        QString text = decodeAs(bytes_, used);
        if (text.isEmpty())
            throw DalvinoError(CsvImport::emptyFileText(path_));
        EncodingFound->setText(CbEncoding->currentIndex() == 0 ? QStringLiteral("（%1）").arg(encodingName(used))
                                                               : QString());
        showTable(CsvImport::buildTable(std::move(text),
                                        [this](int row, int rows) {
                                            splush_->setMaximum(rows);
                                            splush_->setPosition(row);
                                        }),
                  keepChoices);
    }
    for (const QString &notice : Preview->table().notices())
        Prompts::current().information(notice);
}

void TFormInport::loadFile(const QString &path)
{
    resetWindow();
    CbEncoding->setCurrentIndex(0);
    path_ = path;
    showFile(true, false);
}

void TFormInport::CbEncodingChange()
{
    if (!path_.isEmpty())
        showFile(false, true);
}

CsvImport::Request TFormInport::request() const
{
    CsvImport::Request r;
    r.startRow = SpinEdit1->value();
    r.endRow = SpinEdit2->value();
    r.mapping.name = ComboBox1->currentIndex();
    r.mapping.kana = ComboBox2->currentIndex();
    r.mapping.phone = ComboBox3->currentIndex();
    r.mapping.group = ComboBox4->currentIndex();
    r.mapping.ring = ComboBox5->currentIndex();
    r.mapping.memo = ComboBox6->currentIndex();
    return r;
}

int TFormInport::selectedRow() const
{
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void TFormInport::Button1Click()
{
    reject();
}

void TFormInport::Button2Click()
{
    const CsvImport::Request r = request();
    if (const std::optional<QString> refusal = CsvImport::check(r)) {
        Prompts::current().information(*refusal);
        return;
    }

    // The import builds a new phone book from the document's settings and replaces it.
    emit importing();
    CsvImport::Outcome outcome;
    {
        const ProgressScope progress(splush_, QStringLiteral("インポート中..."), PhoneBook::EntryCount);
        outcome = CsvImport::import(document_.book(), Preview->table(), r, splush_->progressCallback());
    }
    const std::optional<QString> failure = outcome.failure;
    document_.import(std::move(outcome.book));
    if (failure)
        Prompts::current().information(*failure);
    accept();
}

void TFormInport::Button3Click()
{
    if (const int row = selectedRow())
        SpinEdit1->setValue(CsvImport::clampStartRow(row));
}

void TFormInport::Button4Click()
{
    if (const int row = selectedRow())
        SpinEdit2->setValue(CsvImport::clampEndRow(row));
}

void TFormInport::BitBtn1Click()
{
    showHelpTopic(24);
}
