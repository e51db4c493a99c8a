#pragma once

#include <QIcon>
#include <QWidget>
#include <vector>

class QPlainTextEdit;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

// The help window: the topic tree of data/kelvo_helptree.dat on the left, the text of
// the selected topic from data/kelvo_help.dat on the right. Created once, shown without
// being modal; the help buttons of the dialogs open it on their topic.
class TFormHelp : public QWidget {
    Q_OBJECT
public:
    explicit TFormHelp(QWidget *parent = nullptr);
    ~TFormHelp() override;

    QTreeWidget *TreeView1;
    QSplitter *Splitter1;
    QPlainTextEdit *Memo1;

    // Topics are numbered in the depth-first order of the tree (the file's line order).
    int topicCount() const { return int(items_.size()); }
    QString topicTitle(int topic) const;
    // 0 or 1; -1 when the topic was given no image.
    int topicImage(int topic) const;
    int currentTopic() const;

    // A help button: selects the topic, when there is one with that number, and shows
    // the window; an open window stays open and only its selection moves.
    void showTopic(int topic);
    // The menu command: shows the window with its current selection.
    void showWindow();
    // The selection changed: the text file is read afresh for the selected title.
    void TreeView1Change();

private:
    std::vector<QTreeWidgetItem *> items_;
    QIcon images_[2];
};
