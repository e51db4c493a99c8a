#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Breaks a text into lines no wider than maxWidth, as a Japanese reader expects: at the
// end of a phrase (after "よろしいですか？", never inside it), after a path's "/", never
// before a closing mark. The text's own line ends (CR LF, CR, LF) are kept. width
// measures a piece of text; a phrase wider than a whole line is cut where it must.
QStringList breakIntoLines(const QString &text, int maxWidth, const std::function<int(const QString &)> &width);
