#include "ui/CsvSaveDialogFrm.h"

#include "ui/Pictures.h"
#include "ui/Prompts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

// --- Listing rules ----------------------------------------------------------------

bool ChooserFilterModel::listsItem(const QString &name, bool isDirectory, const QString &filter)
{
    if (isDirectory && !name.endsWith(QStringLiteral(".zip")))
        return true;
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && name.mid(dot).compare(QStringLiteral(".") + filter, Qt::CaseInsensitive) == 0;
}

void ChooserFilterModel::setRule(const QString &folder, const QString &filter)
{
    folder_ = folder;
    filter_ = filter;
    invalidateFilter();
}

bool ChooserFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const auto *model = static_cast<const QFileSystemModel *>(sourceModel());
    // Only the current folder's contents are judged; its ancestors must stay reachable.
    if (QDir::cleanPath(model->filePath(sourceParent)) != folder_)
        return true;
    const QModelIndex index = model->index(sourceRow, 0, sourceParent);
    return listsItem(model->fileName(index), model->isDir(index), filter_);
}

bool ChooserFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const auto *model = static_cast<const QFileSystemModel *>(sourceModel());
    const bool leftDir = model->isDir(left);
    if (leftDir != model->isDir(right))
        return leftDir;
    return QString::localeAwareCompare(model->fileName(left), model->fileName(right)) < 0;
}

// --- The chooser ------------------------------------------------------------------

TFormCsvSaveDialog::TFormCsvSaveDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormCsvSaveDialog"));
    setModal(true);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    files_ = new QFileSystemModel(this);
    files_->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    files_->setReadOnly(true);
    // Without a desktop icon theme the model shows no icons at all; the provider draws
    // the style's folder and file icons. It outlives every model that uses it.
    static QFileIconProvider *const iconProvider = new QFileIconProvider;
    files_->setIconProvider(iconProvider);
    listed_ = new ChooserFilterModel(this);
    listed_->setSourceModel(files_);
    listed_->setDynamicSortFilter(true);

    ShellComboBox1 = new QComboBox(this);
    ShellComboBox1->setObjectName(QStringLiteral("ShellComboBox1"));
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(Pictures::icon(Pictures::Kind::FolderUp));
    ShellListView1 = new QListView(this);
    ShellListView1->setObjectName(QStringLiteral("ShellListView1"));
    ShellListView1->setModel(listed_);
    ShellListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    Button1 = new QPushButton(QStringLiteral("保存(&S)"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto *top = new QHBoxLayout;
    top->addWidget(ShellComboBox1, 1);
    top->addWidget(SpeedButton1);
    auto *bottom = new QGridLayout;
    bottom->addWidget(new QLabel(QStringLiteral("ファイル名："), this), 0, 0);
    bottom->addWidget(Edit1, 0, 1);
    bottom->addWidget(Button1, 0, 2);
    bottom->addWidget(new QLabel(QStringLiteral("ファイルの種類："), this), 1, 0);
    bottom->addWidget(ComboBox1, 1, 1);
    bottom->addWidget(Button2, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ShellListView1, 1);
    layout->addLayout(bottom);
    setFixedSize(520, 360);

    connect(ShellComboBox1, &QComboBox::activated, this, &TFormCsvSaveDialog::ShellComboBox1Change);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFormCsvSaveDialog::SpeedButton1Click);
    connect(ShellListView1, &QListView::clicked, this, &TFormCsvSaveDialog::ShellListView1Click);
    connect(ShellListView1, &QListView::doubleClicked, this, &TFormCsvSaveDialog::ShellListView1DblClick);
    connect(ShellListView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    ShellListView1Click(current);
            });
    connect(Button1, &QPushButton::clicked, this, &TFormCsvSaveDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    // The folder is listed when the chooser is first refilled for a use, not at start-up.
    folder_ = QDir::cleanPath(QDir::currentPath());
    ComboBox1->addItem(Filter + QStringLiteral("ファイル"));
}

void TFormCsvSaveDialog::setCurrentFolder(const QString &folder)
{
    folder_ = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    files_->setRootPath(folder_);
    listed_->setRule(folder_, Filter);
    ShellListView1->setRootIndex(listed_->mapFromSource(files_->index(folder_)));
    listed_->sort(0);
    fillFolderBox();
}

void TFormCsvSaveDialog::fillFolderBox()
{
    // The current folder with the folders above it, and the home folder to go back to.
    QStringList chain;
    for (QDir dir(folder_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    ShellComboBox1->clear();
    for (const QString &path : chain)
        ShellComboBox1->addItem(style()->standardIcon(QStyle::SP_DirIcon), QDir::toNativeSeparators(path), path);
    const QString home = QDir::homePath();
    if (!chain.contains(home))
        ShellComboBox1->addItem(style()->standardIcon(QStyle::SP_DirHomeIcon), QDir::toNativeSeparators(home), home);
    ShellComboBox1->setCurrentIndex(static_cast<int>(chain.size()) - 1);
}

void TFormCsvSaveDialog::RefreshList()
{
    ComboBox1->clear();
    ComboBox1->addItem(Filter + QStringLiteral("ファイル"));
    setCurrentFolder(folder_);
}

QStringList TFormCsvSaveDialog::listedPaths() const
{
    QStringList paths;
    const QModelIndex root = ShellListView1->rootIndex();
    for (int row = 0; row < listed_->rowCount(root); ++row)
        paths << files_->filePath(listed_->mapToSource(listed_->index(row, 0, root)));
    return paths;
}

void TFormCsvSaveDialog::FormShow()
{
    ComboBox1->setCurrentIndex(0);
    Edit1->setFocus();
}

void TFormCsvSaveDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        move(parentWidget()->window()->frameGeometry().center() - rect().center());
    FormShow();
}

void TFormCsvSaveDialog::ShellComboBox1Change(int index)
{
    const QString path = ShellComboBox1->itemData(index).toString();
    if (!path.isEmpty())
        setCurrentFolder(path);
}

void TFormCsvSaveDialog::SpeedButton1Click()
{
    QDir dir(folder_);
    if (dir.cdUp())
        setCurrentFolder(dir.absolutePath());
}

void TFormCsvSaveDialog::ShellListView1Click(const QModelIndex &index)
{
    const QString path = files_->filePath(listed_->mapToSource(index));
    FileName = path;
    if (!QFileInfo(path).isDir())
        Edit1->setText(QFileInfo(path).fileName());
}

void TFormCsvSaveDialog::ShellListView1DblClick(const QModelIndex &index)
{
    const QString path = files_->filePath(listed_->mapToSource(index));
    if (QFileInfo(path).isDir() && !path.endsWith(QStringLiteral(".zip"))) {
        setCurrentFolder(path);
        return;
    }
    Edit1->setText(QFileInfo(path).fileName());
    Button1Click();
}

QString TFormCsvSaveDialog::chosenPath(const QString &folder, const QString &typed, const QString &filter)
{
    // A full path typed into the name box stands for itself.
    QString path = QDir::isAbsolutePath(typed) ? typed : folder.endsWith(u'/') ? folder + typed : folder + u'/' + typed;
    const qsizetype separator = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot > separator) {
        // Names differ by letter case here: lowering DATA.CSV would write a second file.
        if (QStringView(path).mid(dot + 1).compare(filter, Qt::CaseInsensitive) == 0)
            return path;
        path.truncate(dot);
    }
    return path + u'.' + filter;
}

QString TFormCsvSaveDialog::overwriteQuestion(const QString &path)
{
    return path + QStringLiteral("は既に存在します。\r\n上書きしますか？");
}

void TFormCsvSaveDialog::Button1Click()
{
    if (Edit1->text().isEmpty())
        return;
    const QString path = chosenPath(folder_, Edit1->text(), Filter);
    const QString written = writtenPath ? writtenPath(path) : path;
    if (QFileInfo::exists(written) && !Prompts::current().confirmWarning(overwriteQuestion(written)))
        return;
    FileName = path;
    accept();
}

QString TFormCsvSaveDialog::choose(const QString &filter, const QString &caption, WrittenPath written)
{
    Filter = filter;
    writtenPath = std::move(written);
    setWindowTitle(caption);
    RefreshList();
    FileName.clear();
    return exec() == QDialog::Accepted ? FileName : QString();
}
