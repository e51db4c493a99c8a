#include "ui/TextDlgs.h"

#include "core/FileTypes.h"
#include "ui/Prompts.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QStyle>
#include <QTreeView>

namespace {

// The most the field is read, as the system's own dialog does.
constexpr int FieldLimit = 255;

// "TXTファイル (*.txt)" for Qt's name filters.
QStringList qtNameFilters(const QString &filter)
{
    QStringList list;
    for (const FileType &type : fileTypesOf(filter))
        list << type.description + QStringLiteral(" (") + type.masks.join(u' ') + u')';
    return list;
}

} // namespace

void widenFileDialogPlaces(QFileDialog *dialog)
{
    // The places along the left edge are as wide as their names (コンピュータ, the home
    // folder); Qt gives them a fixed width that cuts them.
    if (auto *places = dialog->findChild<QListView *>(QStringLiteral("sidebar"))) {
        const int scrollBar = places->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, places);
        places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth() + scrollBar);
    }
    // Size, type and date follow their contents: Qt's fixed widths cut the Japanese date of a
    // file changed after ten o'clock ("2026/12/10 12:05").
    if (auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView"))) {
        for (int column = 1; column < details->header()->count(); ++column)
            details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

TExtChangeOpenDialog::TExtChangeOpenDialog(QWidget *parent) : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog);
    widenFileDialogPlaces(this);
    FAutoExtChange = true;
    FShowPlacesBar = true;
    connect(this, &QFileDialog::filterSelected, this, &TExtChangeOpenDialog::typeSelected);
}

void TExtChangeOpenDialog::setShowPlacesBar(bool on)
{
    FShowPlacesBar = on;
    if (QWidget *bar = placesBar())
        bar->setVisible(on);
}

QLineEdit *TExtChangeOpenDialog::fileNameField() const
{
    const QWidget *box = FParentHandle ? FParentHandle : this;
    return box->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

QWidget *TExtChangeOpenDialog::placesBar() const
{
    return findChild<QWidget *>(QStringLiteral("sidebar"));
}

void TExtChangeOpenDialog::prepareExecute()
{
    if (FAutoExtChange) {
        if (const std::optional<QString> extension = extensionOfFileType(Filter, FilterIndex))
            DefaultExt = defaultExtFrom(*extension);
    }
    if (!Title.isEmpty())
        setWindowTitle(Title);
    const QStringList filters = qtNameFilters(Filter);
    setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        selectNameFilter(filters.at(FilterIndex - 1));
    setDefaultSuffix(DefaultExt);
    if (!InitialDir.isEmpty())
        setDirectory(InitialDir);
    if (!FileName.isEmpty()) {
        // A name from an earlier use opens the dialog in its folder.
        const QFileInfo info(FileName);
        if (InitialDir.isEmpty() && info.isAbsolute())
            setDirectory(info.absolutePath());
        selectFile(info.fileName());
    }
    setSizeGripEnabled((Options & ofEnableSizing) != 0);
    setShowPlacesBar(FShowPlacesBar);
}

void TExtChangeOpenDialog::takeResult()
{
    FileName = selectedFiles().value(0);
    const qsizetype index = nameFilters().indexOf(selectedNameFilter());
    if (index >= 0)
        FilterIndex = static_cast<int>(index) + 1;
}

bool TExtChangeOpenDialog::run(AcceptMode mode)
{
    setAcceptMode(mode);
    setFileMode(mode == AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The save variant asks its own question (accept), through the program's prompts.
    setOption(QFileDialog::DontConfirmOverwrite, true);
    prepareExecute();
    if (exec() != QDialog::Accepted)
        return false;
    takeResult();
    return true;
}

bool TExtChangeOpenDialog::Execute()
{
    return run(AcceptOpen);
}

void TExtChangeOpenDialog::showEvent(QShowEvent *event)
{
    QFileDialog::showEvent(event);
    DoShow();
}

void TExtChangeOpenDialog::DoShow()
{
    FParentHandle = window();
    setShowPlacesBar(FShowPlacesBar);
    if (!(Options & ofEnableSizing))
        setFixedSize(size());
}

void TExtChangeOpenDialog::typeSelected(const QString &nameFilter)
{
    const qsizetype index = nameFilters().indexOf(nameFilter);
    if (index < 0)
        return;
    FilterIndex = static_cast<int>(index) + 1;
    DoTypeChange();
}

void TExtChangeOpenDialog::DoTypeChange()
{
    QLineEdit *field = fileNameField();
    if (!field || !FAutoExtChange)
        return;
    const std::optional<QString> extension = extensionOfFileType(Filter, FilterIndex);
    if (!extension)
        return;
    field->setText(fileNameFieldForType(field->text().left(FieldLimit), *extension));
    DefaultExt = defaultExtFrom(*extension);
    setDefaultSuffix(DefaultExt);
}

QString TExtChangeOpenDialog::overwriteQuestion(const QString &path)
{
    return QStringLiteral("%1 は既に存在します。\n上書きしますか?").arg(path);
}

void TExtChangeOpenDialog::accept()
{
    // A mask typed into the field lists the files it matches; it is never a file name.
    if (QLineEdit *field = fileNameField()) {
        const QString typed = field->text();
        if (typed.contains(u'*') || typed.contains(u'?')) {
            if (auto *files = findChild<QFileSystemModel *>())
                files->setNameFilters({QFileInfo(typed).fileName()});
            return;
        }
    }
    if (acceptMode() == AcceptSave && (Options & ofOverwritePrompt)) {
        const QStringList files = selectedFiles();
        if (files.size() == 1) {
            const QFileInfo info(files.first());
            if (info.exists() && !info.isDir() &&
                !Prompts::current().confirmWarning(overwriteQuestion(QDir::toNativeSeparators(files.first()))))
                return;
        }
    }
    QFileDialog::accept();
}

TExtChangeSaveDialog::TExtChangeSaveDialog(QWidget *parent) : TExtChangeOpenDialog(parent) {}

bool TExtChangeSaveDialog::Execute()
{
    return run(AcceptSave);
}
