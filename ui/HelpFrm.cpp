#include "ui/HelpFrm.h"

#include "formats/HelpData.h"
#include "ui/CommandGuard.h"
#include "ui/HelpTopics.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>
#include <QWindow>

namespace {

constexpr int ImageRole = Qt::UserRole + 1;

// Image 0: a closed book, for topics with sub-topics; image 1: a page.
QIcon drawTopicImage(bool book)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (book) {
        p.setPen(QColor(0x20, 0x30, 0x80));
        p.setBrush(QColor(0x40, 0x60, 0xC0));
        p.drawRect(3, 1, 10, 13);
        p.setPen(Qt::white);
        p.drawLine(5, 4, 11, 4);
        p.drawLine(5, 6, 11, 6);
    } else {
        p.setPen(Qt::darkGray);
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 10, 13);
        p.setPen(QColor(0x40, 0x40, 0x40));
        for (int y = 4; y <= 11; y += 2)
            p.drawLine(5, y, 11, y);
    }
    // The same picture whether or not the topic is selected.
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Selected);
    return icon;
}

} // namespace

TFormHelp::TFormHelp(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormHelp"));
    setWindowTitle(QStringLiteral("ヘルプ"));
    resize(640, 460);
    images_[0] = drawTopicImage(true);
    images_[1] = drawTopicImage(false);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setMinimumWidth(0);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(TreeView1);
    Splitter1->addWidget(Memo1);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({201, width() - 201});

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);

    runGuarded([this] {
        const HelpTree tree = loadHelpTree(helpTreeFile());
        for (const HelpTopic &topic : tree.topics) {
            QTreeWidgetItem *item =
                topic.parent < 0 ? new QTreeWidgetItem(TreeView1) : new QTreeWidgetItem(items_.at(topic.parent));
            item->setText(0, topic.title);
            items_.push_back(item);
        }
        if (!tree.error.isEmpty()) {
            // The topics before the faulty line stay; they get no images.
            Prompts::current().error(tree.error);
            return;
        }
        for (int i = 0; i < topicCount(); ++i) {
            const int image = helpTopicImage(tree, i);
            items_[i]->setIcon(0, images_[image]);
            items_[i]->setData(0, ImageRole, image);
        }
    });

    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] { runGuarded([this] { TreeView1Change(); }); });
    setHelpTopicHandler([this](int topic) { showTopic(topic); });
}

TFormHelp::~TFormHelp()
{
    setHelpTopicHandler({});
}

QString TFormHelp::topicTitle(int topic) const
{
    return items_.at(topic)->text(0);
}

int TFormHelp::topicImage(int topic) const
{
    const QVariant image = items_.at(topic)->data(0, ImageRole);
    return image.isValid() ? image.toInt() : -1;
}

int TFormHelp::currentTopic() const
{
    QTreeWidgetItem *current = TreeView1->currentItem();
    for (int i = 0; i < topicCount(); ++i) {
        if (items_[i] == current)
            return i;
    }
    return -1;
}

void TFormHelp::TreeView1Change()
{
    QTreeWidgetItem *current = TreeView1->currentItem();
    if (!current)
        return;
    const std::optional<QString> text = readHelpText(helpTextFile(), current->text(0));
    if (text)
        Memo1->setPlainText(*text);
}

void TFormHelp::showTopic(int topic)
{
    if (topic >= 0 && topic < topicCount()) {
        TreeView1->setCurrentItem(items_[topic]);
        TreeView1->scrollToItem(items_[topic]);
    }
    showWindow();
}

void TFormHelp::showWindow()
{
    show();
    // A help button of a modal dialog: the window must stay usable beside the dialog,
    // so it is tied to the dialog rather than to the main window, which the dialog blocks.
    QWidget *modal = QApplication::activeModalWidget();
    QWindow *owner = modal && modal != this ? modal->windowHandle()
                                            : (parentWidget() ? parentWidget()->window()->windowHandle() : nullptr);
    if (windowHandle() && windowHandle()->transientParent() != owner)
        windowHandle()->setTransientParent(owner);
    raise();
    activateWindow();
}
