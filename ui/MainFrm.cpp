#include "ui/MainFrm.h"

#include "core/Vocabulary.h"
#include "formats/AppPaths.h"
#include "formats/IniFile.h"
#include "ui/AnalysisFrm.h"
#include "ui/CommandGuard.h"
#include "ui/CsvSaveDialogFrm.h"
#include "ui/EditFrm.h"
#include "ui/FileChoices.h"
#include "ui/FindFrm.h"
#include "ui/GroupEditFrm.h"
#include "ui/HelpFrm.h"
#include "ui/InportFrm.h"
#include "ui/KanaFromName.h"
#include "ui/PhoneBookModels.h"
#include "ui/Pictures.h"
#include "ui/Prompts.h"
#include "ui/RtFrm.h"
#include "ui/SplushFrm.h"
#include "ui/TextColor.h"
#include "ui/VerFrm.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

const QString SettingSection = QStringLiteral("Setting");

constexpr int DefaultTop = 115;
constexpr int DefaultLeft = 239;
constexpr int DefaultWidth = 669;
constexpr int DefaultHeight = 557;
// The height of the group area below the entry list, as the user left it.
const QString GroupHeightKey = QStringLiteral("GroupAreaHeight");

// A command slot: the command runs inside the guard, so that its errors are shown.
template <typename F> auto guarded(F f)
{
    return [f]() { runGuarded(f); };
}

QTableView *makeReportView(QWidget *parent, QAbstractItemModel *model, const QList<int> &widths)
{
    auto *view = new QTableView(parent);
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideRight);
    // The row header is set up before the model arrives: its 4000 sections are then made
    // hidden and of fixed size at once, instead of being laid out and changed (a third of
    // the main window's construction).
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->setModel(model);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < widths.size(); ++c)
        view->setColumnWidth(c, widths.at(c));
    // Keep the selection visible when the list loses the focus.
    QPalette palette = view->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(palette);
    return view;
}

// The small picture of a phone system beside the model choice.
QPixmap productPicture()
{
    QPixmap pixmap(64, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(QColor(0xE8, 0xE8, 0xE8));
    p.drawRoundedRect(4, 14, 56, 30, 4, 4);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawRoundedRect(8, 4, 48, 12, 5, 5);
    p.setBrush(QColor(0x9F, 0xD0, 0x9F));
    p.drawRect(10, 18, 20, 8);
    p.setBrush(Qt::white);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            p.drawRect(36 + col * 7, 18 + row * 7, 5, 5);
    }
    return pixmap;
}

} // namespace

TFormMain::TFormMain(TFormSplush *splush, const QStringList &arguments, QWidget *parent)
    : QMainWindow(parent), Splush(splush)
{
    // 1. NewFlag, 2. captions and controls.
    NewFlag = true;
    setWindowTitle(QStringLiteral("Dalvino - [%1]").arg(PhoneBook::untitledName()));
    setObjectName(QStringLiteral("FormMain"));
    Prompts::setParentWindow(this);
    buildPanels();
    buildMenus();
    buildToolBar();
    buildPopupMenu();
    connectDocument();

    // 3. MACInit (the phone book is built below).
    document_.MACInit();

    // 5. Settings; the model choice set here does not change the model (NewFlag).
    loadSettings();

    // 6. The working folder of the converter.
    QDir().mkpath(AppPaths::workingFolder());

    // 7. The empty document, behind the progress window.
    DropFlag = false;
    if (Splush)
        Splush->setMaximum(PhoneBook::EntryCount);
    document_.start(Splush ? Splush->progressCallback() : std::function<void(int)>());
    updateCaption();
    showModified(false);

    // 8. Files dropped from the desktop.
    setAcceptDrops(true);

    // 9. The file named on the command line is opened when the window is first shown.
    if (!arguments.isEmpty()) {
        DropFlag = true;
        DropFileName = arguments.first();
    }
}

TFormMain::~TFormMain()
{
    Prompts::setParentWindow(nullptr);
}

void TFormMain::buildPanels()
{
    auto *central = new QWidget(this);
    auto *outer = new QHBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 4);

    auto *left = new QSplitter(Qt::Vertical, central);

    EntryModel = new EntryListModel(document_, this);
    ListView1 = makeReportView(left, EntryModel, EntryListModel::columnWidths());
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListView1->horizontalHeader()->setSectionsClickable(true);
    ListView1->installEventFilter(this);
    connect(ListView1, &QTableView::doubleClicked, this, guarded([this] { ListView1DblClick(); }));
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { runGuarded([&] { ListView1ColumnClick(column); }); });
    connect(ListView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(pos)); });

    groupArea_ = new QGroupBox(QStringLiteral("グループ設定"), left);
    auto *groupLayout = new QVBoxLayout(groupArea_);
    GroupModel = new GroupListModel(document_, this);
    GroupList = makeReportView(groupArea_, GroupModel, GroupListModel::columnWidths());
    GroupList->setObjectName(QStringLiteral("GroupList"));
    GroupList->setSelectionMode(QAbstractItemView::SingleSelection);
    GroupList->horizontalHeader()->setSectionsClickable(false);
    GroupList->installEventFilter(this);
    connect(GroupList, &QTableView::doubleClicked, this, guarded([this] { GroupListDblClick(); }));
    auto *note = new QLabel(QStringLiteral("※編集したいグループまたは電話帳項目をダブルクリック"), groupArea_);
    setTextColor(note, Qt::red);
    groupLayout->addWidget(GroupList);
    groupLayout->addWidget(note);
    left->addWidget(ListView1);
    left->addWidget(groupArea_);
    left->setStretchFactor(0, 1);
    left->setStretchFactor(1, 0);
    left->setChildrenCollapsible(false);
    listSplitter_ = left;

    auto *right = new QWidget(central);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(new QLabel(QStringLiteral("お客様名"), right));
    UserName = new QLineEdit(right);
    UserName->setObjectName(QStringLiteral("UserName"));
    rightLayout->addWidget(UserName);
    rightLayout->addWidget(new QLabel(QStringLiteral("お客様電話番号"), right));
    UserNo = new QLineEdit(right);
    UserNo->setObjectName(QStringLiteral("UserNo"));
    rightLayout->addWidget(UserNo);
    BtnSpaceFind = new QPushButton(QStringLiteral("空き短縮検索"), right);
    BtnSpaceFind->setObjectName(QStringLiteral("BtnSpaceFind"));
    rightLayout->addWidget(BtnSpaceFind);
    connect(BtnSpaceFind, &QPushButton::clicked, this, guarded([this] { BtnSpaceFindClick(); }));
    connect(UserName, &QLineEdit::textChanged, this, [this] { UserNameChange(); });
    connect(UserNo, &QLineEdit::textChanged, this, [this] { UserNoChange(); });

    auto *modelRow = new QHBoxLayout;
    RadioGroup1 = new QGroupBox(QStringLiteral("機種種別"), right);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto *modelLayout = new QVBoxLayout(RadioGroup1);
    RadioGroup1Items = new QButtonGroup(this);
    for (int i = 0; i < Vocabulary::modelChoices().size(); ++i) {
        auto *button = new QRadioButton(Vocabulary::modelChoices().at(i), RadioGroup1);
        RadioGroup1Items->addButton(button, i);
        modelLayout->addWidget(button);
    }
    connect(RadioGroup1Items, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            runGuarded([this] { RadioGroup1Click(); });
    });
    modelRow->addWidget(RadioGroup1, 1);
    auto *picture = new QLabel(right);
    picture->setPixmap(productPicture());
    modelRow->addWidget(picture);
    rightLayout->addLayout(modelRow);

    WriteMode = new QGroupBox(QStringLiteral("書き込み設定"), right);
    WriteMode->setObjectName(QStringLiteral("WriteMode"));
    auto *writeLayout = new QVBoxLayout(WriteMode);
    WriteModeItems = new QButtonGroup(this);
    for (int i = 0; i < Vocabulary::writeModes().size(); ++i) {
        auto *button = new QRadioButton(Vocabulary::writeModes().at(i), WriteMode);
        WriteModeItems->addButton(button, i);
        writeLayout->addWidget(button);
    }
    WriteModeItems->button(0)->setChecked(true);
    connect(WriteModeItems, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            runGuarded([&] { WriteModeClick(id); });
    });
    rightLayout->addWidget(WriteMode);
    rightLayout->addStretch(1);

    outer->addWidget(left, 1);
    outer->addWidget(right);
    setCentralWidget(central);

    StatusPanel0 = new QLabel(this);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(100);
    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setFixedWidth(50);
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1);
}

void TFormMain::buildMenus()
{
    auto action = [this](const QString &caption, const QIcon &icon, auto handler) {
        auto *a = new QAction(icon, caption, this);
        connect(a, &QAction::triggered, this, guarded(handler));
        return a;
    };

    N1 = action(QStringLiteral("新規作成(&N)"), Pictures::icon(Pictures::Kind::New), [this] { N1Click(); });
    N1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    O1 = action(QStringLiteral("開く(&O)..."), Pictures::icon(Pictures::Kind::Open), [this] { O1Click(); });
    O1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    I1 = action(QStringLiteral("CSVファイルのインポート(&I)..."), Pictures::icon(Pictures::Kind::Import),
                [this] { I1Click(); });
    S1 = action(QStringLiteral("上書き保存(&S)"), Pictures::icon(Pictures::Kind::Save), [this] { S1Click(); });
    S1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    A1 = action(QStringLiteral("名前を付けて保存(&A)..."), Pictures::icon(Pictures::Kind::SaveAs),
                [this] { A1Click(); });
    csvC1 = action(QStringLiteral("　CSVファイルとしてエクスポート(&C)..."), QIcon(), [this] { csvC1Click(); });
    P1 = action(QStringLiteral("　印刷(&P)..."), QIcon(), [this] { P1Click(); });
    P1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    D1 = action(QStringLiteral("　データ解析(&D)"), QIcon(), [this] { ToolButton6Click(); });
    L1 = action(QStringLiteral("　番号と重複のチェック(&L)"), QIcon(), [this] { L1Click(); });
    X1 = action(QStringLiteral("終了(&X)"), Pictures::icon(Pictures::Kind::Exit), [this] { X1Click(); });
    Z1 = action(QStringLiteral("検索(&Z)..."), QIcon(), [this] { Z1Click(); });
    H2 = action(QStringLiteral("ヘルプを表示(&H)..."), Pictures::icon(Pictures::Kind::Help), [this] { H2Click(); });
    V1 = action(QStringLiteral("　バージョン情報(&A)..."), QIcon(), [this] { V1Click(); });
    UndoAction = action(undoCaption(), QIcon(), [this] { undo(); });
    UndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoAction = action(redoCaption(), QIcon(), [this] { redo(); });
    RedoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    updateUndoActions();
    KanaFillAction = action(kanaFillCaption(), QIcon(), [this] { kanaFillClick(); });
    const std::pair<QAction *, const char *> names[] = {{N1, "N1"},
                                                        {O1, "O1"},
                                                        {I1, "I1"},
                                                        {S1, "S1"},
                                                        {A1, "A1"},
                                                        {csvC1, "csvC1"},
                                                        {P1, "P1"},
                                                        {D1, "D1"},
                                                        {L1, "L1"},
                                                        {X1, "X1"},
                                                        {UndoAction, "UndoAction"},
                                                        {RedoAction, "RedoAction"},
                                                        {KanaFillAction, "KanaFillAction"},
                                                        {Z1, "Z1"},
                                                        {H2, "H2"},
                                                        {V1, "V1"}};
    for (const auto &[item, name] : names)
        item->setObjectName(QString::fromLatin1(name));

    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(N1);
    file->addAction(O1);
    file->addSeparator();
    file->addAction(I1);
    file->addSeparator();
    file->addAction(S1);
    file->addAction(A1);
    file->addAction(csvC1);
    file->addAction(P1);
    file->addSeparator();
    file->addAction(D1);
    file->addAction(L1);
    file->addSeparator();
    file->addAction(X1);
    QMenu *edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->addAction(UndoAction);
    edit->addAction(RedoAction);
    edit->addSeparator();
    edit->addAction(KanaFillAction);
    menuBar()->addAction(Z1);
    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(H2);
    help->addAction(V1);
}

void TFormMain::buildToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto button = [this](const QString &hint, const QIcon &icon, QAction *command) {
        QAction *a = ToolBar1->addAction(icon, hint);
        a->setToolTip(hint);
        connect(a, &QAction::triggered, command, &QAction::trigger);
    };
    button(QStringLiteral("新規作成"), N1->icon(), N1);
    button(QStringLiteral("開く"), O1->icon(), O1);
    button(QStringLiteral("インポート"), I1->icon(), I1);
    ToolBar1->addSeparator();
    button(QStringLiteral("上書き保存"), S1->icon(), S1);
    ToolBar1->addSeparator();
    button(QStringLiteral("検索"), Pictures::icon(Pictures::Kind::Search), Z1);
    ToolBar1->addSeparator();
    button(QStringLiteral("データ解析"), Pictures::icon(Pictures::Kind::Analysis), D1);
    button(QStringLiteral("番号と重複のチェック"), Pictures::icon(Pictures::Kind::NumberCheck), L1);
    ToolBar1->addSeparator();
    button(QStringLiteral("終了"), X1->icon(), X1);
}

void TFormMain::buildPopupMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N4 = PopupMenu1->addAction(QStringLiteral("クリア"));
    connect(N4, &QAction::triggered, this, guarded([this] { N4Click(); }));
    PopupMenu1->addAction(KanaFillAction);
    QMenu *bulk = PopupMenu1->addMenu(QStringLiteral("一括変更"));

    QMenu *groups = bulk->addMenu(QStringLiteral("グループ"));
    for (int i = 0; i < Vocabulary::entryGroups().size(); ++i) {
        QAction *a = groups->addAction(Vocabulary::entryGroups().at(i));
        connect(a, &QAction::triggered, this, [this, i] { runGuarded([&] { N11Click(i); }); });
        GroupItems << a;
    }

    QMenu *rings = bulk->addMenu(QStringLiteral("着信音"));
    for (int i = 0; i < Vocabulary::longRingTones().size(); ++i) {
        QAction *a = rings->addAction(Vocabulary::longRingTones().at(i));
        a->setObjectName(QStringLiteral("RingItem%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { runGuarded([&] { N22Click(i); }); });
        RingItems << a;
    }

    QMenu *extensions = bulk->addMenu(QStringLiteral("登録実装"));
    auto addExtension = [this](QMenu *menu, int i) {
        QAction *a = menu->addAction(Vocabulary::extensions().at(i));
        connect(a, &QAction::triggered, this, [this, i] { runGuarded([&] { N012Click(i); }); });
        ExtensionItems << a;
    };
    addExtension(extensions, 0);
    const struct {
        const char16_t *caption;
        int first, last;
    } ranges[] = {{u"01～10", 1, 10}, {u"11～20", 11, 20}, {u"21～32", 21, 32}};
    for (const auto &range : ranges) {
        QMenu *sub = extensions->addMenu(QString::fromUtf16(range.caption));
        for (int i = range.first; i <= range.last; ++i)
            addExtension(sub, i);
    }
    N5 = PopupMenu1->addAction(QStringLiteral("番号の書式をそろえる..."));
    N5->setObjectName(QStringLiteral("N5"));
    connect(N5, &QAction::triggered, this, guarded([this] { N5Click(); }));
    updatePopupRingCaptions();
}

void TFormMain::updatePopupRingCaptions()
{
    // Items 10 to 13 (counted from 1) follow the ring-tone vocabulary of the model.
    const bool shortVocabulary = book().model().ringVocabulary == RingVocabulary::Short;
    const QStringList &captions = Vocabulary::ringTones(book().model().ringVocabulary);
    for (int i = 9; i < RingItems.size(); ++i) {
        const bool shown = !shortVocabulary || i < captions.size();
        RingItems[i]->setVisible(shown);
        if (shown)
            RingItems[i]->setText(captions.at(i));
    }
}

// --- State of the document -------------------------------------------------------

int TFormMain::deviceType() const
{
    return RadioGroup1Items->checkedId();
}

void TFormMain::setDeviceType(int choice)
{
    if (choice == deviceType())
        return;
    if (choice < 0 || choice >= Vocabulary::modelChoices().size()) {
        RadioGroup1Items->setExclusive(false);
        if (QAbstractButton *checked = RadioGroup1Items->checkedButton())
            checked->setChecked(false);
        RadioGroup1Items->setExclusive(true);
        return;
    }
    RadioGroup1Items->button(choice)->setChecked(true);
}

void TFormMain::showDeviceType(int choice)
{
    const QSignalBlocker quiet(RadioGroup1Items);
    setDeviceType(choice);
}

void TFormMain::RadioGroup1Click()
{
    if (NewFlag || followingDocument_)
        return;
    setModel(deviceType() == 0 ? ModelLM630Std : ModelLM630Pro);
}

void TFormMain::setModel(int index)
{
    document_.setModel(index);
}

void TFormMain::SyubetuClick()
{
    rebuildEditors();
    updatePopupRingCaptions();
}

int TFormMain::writeMode() const
{
    return book().WriteMode;
}

void TFormMain::setWriteMode(int mode)
{
    document_.setWriteMode(mode);
}

void TFormMain::WriteModeClick(int mode)
{
    if (!followingDocument_)
        document_.setWriteMode(mode);
}

void TFormMain::showWriteMode(int mode)
{
    followingDocument_ = true;
    WriteModeItems->button(mode == 1 ? 1 : 0)->setChecked(true);
    followingDocument_ = false;
}

void TFormMain::connectDocument()
{
    connect(&document_, &PhoneBookDocument::modifiedChanged, this, &TFormMain::showModified);
    connect(&document_, &PhoneBookDocument::fileNameChanged, this, &TFormMain::updateCaption);
    connect(&document_, &PhoneBookDocument::customerChanged, this, &TFormMain::showCustomer);
    connect(&document_, &PhoneBookDocument::writeModeChanged, this, &TFormMain::showWriteMode);
    connect(&document_, &PhoneBookDocument::modelChanged, this, &TFormMain::SyubetuClick);
    QUndoStack *history = document_.undoStack();
    connect(history, &QUndoStack::indexChanged, this, &TFormMain::updateUndoActions);
    connect(history, &QUndoStack::cleanChanged, this, &TFormMain::updateUndoActions);
}

void TFormMain::showModified(bool modified)
{
    StatusPanel0->setText(modified ? QStringLiteral("変更あり") : QString());
}

void TFormMain::updateCaption()
{
    setWindowTitle(QStringLiteral("Dalvino - [%1]").arg(book().FileName));
}

void TFormMain::showCustomer()
{
    // The boxes' change handlers see the document's own text and add no step.
    followingDocument_ = true;
    if (UserName->text() != book().UserName)
        UserName->setText(book().UserName);
    if (UserNo->text() != book().UserNo)
        UserNo->setText(book().UserNo);
    followingDocument_ = false;
}

void TFormMain::UserNameChange()
{
    if (!followingDocument_)
        document_.setUserName(UserName->text());
}

void TFormMain::UserNoChange()
{
    if (!followingDocument_)
        document_.setUserNo(UserNo->text());
}

QString TFormMain::undoCaption()
{
    return QStringLiteral("元に戻す");
}
QString TFormMain::redoCaption()
{
    return QStringLiteral("やり直し");
}

void TFormMain::updateUndoActions()
{
    // The items name the step they run: "元に戻す: 一括変更 (12件)".
    const auto named = [](const QString &caption, const QString &step) {
        return step.isEmpty() ? caption : caption + QStringLiteral(": ") + step;
    };
    const QUndoStack *history = document_.undoStack();
    UndoAction->setEnabled(history->canUndo());
    UndoAction->setText(named(undoCaption(), history->canUndo() ? history->undoText() : QString()));
    RedoAction->setEnabled(history->canRedo());
    RedoAction->setText(named(redoCaption(), history->canRedo() ? history->redoText() : QString()));
}

void TFormMain::undo()
{
    runHistoryStep(&QUndoStack::canUndo, &QUndoStack::undo);
}

void TFormMain::redo()
{
    runHistoryStep(&QUndoStack::canRedo, &QUndoStack::redo);
}

void TFormMain::runHistoryStep(bool (QUndoStack::*possible)() const, void (QUndoStack::*run)())
{
    QUndoStack *history = document_.undoStack();
    if (!(history->*possible)())
        return;
    // An open editor's unapplied values belong to the state the step leaves.
    closeEditors();
    (history->*run)();
    showModelChoice();
}

void TFormMain::showModelChoice()
{
    // The model choice shows the model again when a step took it back to one of the two.
    if (model() == ModelLM630Std || model() == ModelLM630Pro)
        showDeviceType(model() == ModelLM630Std ? 0 : 1);
}

void TFormMain::selectPosition(int position)
{
    if (position < 0 || position >= static_cast<int>(book().entries.size()))
        return;
    const QModelIndex index = EntryModel->index(position, 0);
    ListView1->selectionModel()->setCurrentIndex(index,
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView1->scrollTo(index);
}

QList<int> TFormMain::selectedPositions() const
{
    QList<int> positions;
    for (const QModelIndex &index : ListView1->selectionModel()->selectedRows())
        positions << index.row();
    std::sort(positions.begin(), positions.end());
    return positions;
}

int TFormMain::focusedPosition() const
{
    const QModelIndex current = ListView1->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString TFormMain::unsavedChangesText(const QString &fileName)
{
    return QStringLiteral("[%1]は変更されています。保存しますか？").arg(fileName);
}

bool TFormMain::askToSaveChanges()
{
    if (!Prompts::current().confirm(unsavedChangesText(book().FileName)))
        return true;
    return S1Click() == SaveOutcome::Saved;
}

// --- The "new" command ----------------------------------------------------------

void TFormMain::runNewWithProgress(const QString &title)
{
    closeEditors();
    const ProgressScope progress(Splush, title, PhoneBook::EntryCount);
    document_.newBook(Splush ? Splush->progressCallback() : std::function<void(int)>());
}

void TFormMain::N1Click()
{
    if (!Prompts::current().confirm(QStringLiteral("現在のデータを全てクリアします。よろしいですか？")))
        return;
    if (book().Modified && !askToSaveChanges())
        return;
    runNewWithProgress(QStringLiteral("初期化中..."));
    selectPosition(0);
    setModified(false);
    document_.MACInit();
}

void TFormMain::X1Click()
{
    close();
}

// --- Start-up, activation, closing ----------------------------------------------

void TFormMain::loadSettings()
{
    const IniFile ini = IniFile::load(AppPaths::settingsFile());
    // The split belongs to the lists, not to the placement: kept maximized or not.
    requestedGroupHeight_ = ini.readInteger(SettingSection, GroupHeightKey, -1);
    if (ini.readString(SettingSection, QStringLiteral("WindowState")) == QStringLiteral("wsMaximized")) {
        startMaximized_ = true;
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    applyPlacement(ini.readInteger(SettingSection, QStringLiteral("Top"), DefaultTop),
                   ini.readInteger(SettingSection, QStringLiteral("Left"), DefaultLeft),
                   ini.readInteger(SettingSection, QStringLiteral("Width"), DefaultWidth),
                   ini.readInteger(SettingSection, QStringLiteral("Height"), DefaultHeight));
    setDeviceType(ini.readInteger(SettingSection, QStringLiteral("DeviceType"), 0));
}

void TFormMain::applyPlacement(int top, int left, int width, int height)
{
    if (width < 100 || width > 20000)
        width = DefaultWidth;
    if (height < 100 || height > 20000)
        height = DefaultHeight;
    QRect wanted(left, top, width, height);
    bool onScreen = false;
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(wanted.adjusted(0, 0, 0, -(height - 40))))
            onScreen = true;
    }
    if (!onScreen) {
        // A monitor was removed: the window goes to the primary screen instead.
        if (const QScreen *primary = QGuiApplication::primaryScreen()) {
            const QRect area = primary->availableGeometry();
            wanted.setSize(wanted.size().boundedTo(area.size()));
            wanted.moveCenter(area.center());
        }
    }
    move(wanted.topLeft());
    resize(wanted.size());
    requestedOuterSize_ = wanted.size();
}

void TFormMain::fitOuterSize()
{
    // The settings hold the outer size. The frame is known only once the window manager
    // has framed the window, which may be after the window was shown: until then every
    // move or resize looks again, and the first that sees a frame takes it off.
    if (!requestedOuterSize_.isValid() || isMaximized())
        return;
    const QSize frame = frameGeometry().size() - size();
    if (frame.isNull())
        return;
    const QSize wanted = requestedOuterSize_ - frame;
    requestedOuterSize_ = QSize();
    if (wanted != size())
        resize(wanted);
}

void TFormMain::restoreSplit()
{
    // The user's split from the last run; at first the group area is tall enough for all
    // ten groups, and the user may drag it smaller to give the entry list the room.
    int group = requestedGroupHeight_;
    if (group < 0) {
        const int tenGroups = GroupList->horizontalHeader()->sizeHint().height() +
                              PhoneBook::GroupCount * GroupList->verticalHeader()->defaultSectionSize() +
                              2 * GroupList->frameWidth();
        group = groupArea_->sizeHint().height() - GroupList->sizeHint().height() + tenGroups;
    }
    const int available = listSplitter_->height() - listSplitter_->handleWidth();
    group = qBound(groupArea_->minimumSizeHint().height(), group, available);
    listSplitter_->setSizes({available - group, group});
}

void TFormMain::saveSettings()
{
    IniFile ini = IniFile::load(AppPaths::settingsFile());
    ini.writeInteger(SettingSection, GroupHeightKey, groupArea_->height());
    if (isMaximized()) {
        ini.writeString(SettingSection, QStringLiteral("WindowState"), QStringLiteral("wsMaximized"));
    } else {
        const QRect frame = frameGeometry();
        ini.writeString(SettingSection, QStringLiteral("WindowState"), QStringLiteral("wsNormal"));
        ini.writeInteger(SettingSection, QStringLiteral("Top"), frame.top());
        ini.writeInteger(SettingSection, QStringLiteral("Left"), frame.left());
        ini.writeInteger(SettingSection, QStringLiteral("Width"), frame.width());
        ini.writeInteger(SettingSection, QStringLiteral("Height"), frame.height());
        ini.writeInteger(SettingSection, QStringLiteral("DeviceType"), deviceType());
    }
    // An installed copy keeps the file in the user's own folder, which may not exist yet.
    QDir().mkpath(QFileInfo(AppPaths::settingsFile()).absolutePath());
    ini.save(AppPaths::settingsFile());
}

void TFormMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    fitOuterSize();
    restoreSplit();
    // The start-up file is opened once the window is on screen, so that its messages
    // appear over the window rather than over an empty desktop.
    if (DropFlag)
        QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TFormMain::FormShow()
{
    if (!DropFlag)
        return;
    const QString extension = QFileInfo(DropFileName).suffix().toLower();
    runGuarded([&] {
        if (extension == QStringLiteral("xml") || extension == QStringLiteral("leg"))
            openPhoneBookFile(DropFileName);
        else if (extension == QStringLiteral("csv"))
            openLegacyCsv(DropFileName);
    });
    DropFlag = false;
    // The first activation fixes the model after the start-up file was read.
    if (isActiveWindow())
        FormActivate();
}

bool TFormMain::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (shown_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        fitOuterSize();
    return handled;
}

void TFormMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !DropFlag)
        FormActivate();
}

void TFormMain::FormActivate()
{
    if (!NewFlag)
        return;
    // The model of the settings is the start, not a step of the history.
    document_.adoptModel(deviceType() == 0 ? ModelLM630Std : ModelLM630Pro);
    NewFlag = false;
}

bool TFormMain::FormCloseQuery()
{
    bool mayClose = true;
    if (book().Modified) {
        // A failed save is shown by the guard and keeps the window open.
        mayClose = false;
        runGuarded([&] { mayClose = askToSaveChanges(); });
    }
    runGuarded([this] { saveSettings(); });
    return mayClose;
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TFormMain::FormKeyDown(QObject *target, const QKeyEvent *key)
{
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (target == ListView1 && ListView1->selectionModel()->hasSelection()) {
        runGuarded([this] { ListView1DblClick(); });
        return true;
    }
    if (target == GroupList && GroupList->selectionModel()->hasSelection()) {
        runGuarded([this] { GroupListDblClick(); });
        return true;
    }
    return false;
}

bool TFormMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && FormKeyDown(watched, static_cast<QKeyEvent *>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << QDir::toNativeSeparators(url.toLocalFile());
    }
    event->acceptProposedAction();
    runGuarded([&] { dropFiles(paths); });
}

void TFormMain::createOtherWindows()
{
    // Created once, in this order, for the whole run: entry editor, group editor,
    // search, version dialog, mapped import, help, destination dialog, report window,
    // file chooser.
    buildEditors();
    FormFind = new TFormFind(document_, this);
    connect(FormFind, &TFormFind::found, this, &TFormMain::jumpToPosition);
    VerForm = new TVerForm(this);
    FormInport = new TFormInport(document_, Splush, this);
    connect(FormInport, &TFormInport::importing, this, &TFormMain::closeEditors);
    FormHelp = new TFormHelp(this);
    FormRt = new TFormRt(this);
    FormEdit->setDestinationDialog(FormRt);
    FormAnalysis = new TFormAnalysis(this);
    CsvSaveDialog = new TFormCsvSaveDialog(this);
    FileChoices::registerDialog(QStringLiteral("export"), [dialog = QPointer<TFormCsvSaveDialog>(CsvSaveDialog)](
                                                              QWidget *, const FileChoices::Request &request) {
        return dialog ? dialog->choose(request.filter, request.caption) : QString();
    });
    // Save writes the chosen .leg name or, for a model kept as XML, the .xml file beside
    // it: the chooser asks before replacing the file that is written.
    FileChoices::registerDialog(QStringLiteral("save"), [this, dialog = QPointer<TFormCsvSaveDialog>(CsvSaveDialog)](
                                                            QWidget *, const FileChoices::Request &request) {
        const auto written = [this](const QString &chosen) { return savedPath(chosen); };
        return dialog ? dialog->choose(request.filter, request.caption, written) : QString();
    });
}
