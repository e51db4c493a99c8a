#pragma once

#include "ui/MainFrm.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <functional>
#include <memory>

// The main window's widgets are its own; tests find them by their objectName. The
// window may be given as a pointer or as the unique_ptr that owns it.
inline TFormMain *windowOf(TFormMain *window)
{
    return window;
}
inline TFormMain *windowOf(const std::unique_ptr<TFormMain> &window)
{
    return window.get();
}

template <typename T, typename W> T *partOf(const W &window, const char *name)
{
    T *found = windowOf(window)->template findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("the window has no part named %s", name);
    return found;
}

template <typename W> QTableView *entryList(const W &window)
{
    return partOf<QTableView>(window, "ListView1");
}
template <typename W> QTableView *groupList(const W &window)
{
    return partOf<QTableView>(window, "GroupList");
}
template <typename W> QAbstractItemModel *entryModel(const W &window)
{
    return entryList(window)->model();
}
template <typename W> QAbstractItemModel *groupModel(const W &window)
{
    return groupList(window)->model();
}

// Gives the document a phone book for a test as if it had just been read from a file:
// change edits a copy of the one there, which then replaces it as a load that keeps the
// modified flag as it was.
template <typename W> void arrangeBook(const W &window, const std::function<void(PhoneBook &)> &change)
{
    TFormMain *main = windowOf(window);
    PhoneBook book = main->book();
    change(book);
    book.Modified = main->book().Modified;
    const int model = book.Syubetu;
    main->document().load(std::move(book), model);
}
