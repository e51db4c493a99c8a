#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// A PDF file read back with the poppler tools, as a reader of the printed page sees it.

inline QString popplerOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        qFatal("%s did not finish", qPrintable(program));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page, laid out as on the page.
inline QStringList pdfPages(const QString &path)
{
    QStringList pages =
        popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// One line of pdfinfo, e.g. "Pages" or "Page size".
inline QString pdfInfo(const QString &path, const QString &key)
{
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    return line.match(popplerOutput(QStringLiteral("pdfinfo"), {path})).captured(1).trimmed();
}

// The fonts of the file and whether each is embedded: "IPAGothic yes", ...
inline QStringList pdfFonts(const QString &path)
{
    QStringList fonts;
    const QStringList lines = popplerOutput(QStringLiteral("pdffonts"), {path}).split(u'\n');
    for (const QString &line : lines.mid(2)) {
        const QStringList words = line.simplified().split(u' ');
        if (words.size() >= 5)
            fonts << words.first() + u' ' + words.at(words.size() - 5);
    }
    return fonts;
}

// The slot numbers that begin the lines of a page's text, in order.
inline QStringList slotsOnPage(const QString &page)
{
    static const QRegularExpression row(QStringLiteral("^\\s*(\\d{4})(\\s|$)"), QRegularExpression::MultilineOption);
    QStringList numbers;
    for (auto it = row.globalMatch(page); it.hasNext();)
        numbers << it.next().captured(1);
    return numbers;
}
