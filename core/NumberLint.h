#pragma once

#include "core/ListOperations.h"
#include "core/PhoneBook.h"

#include <QList>
#include <QString>

// The check of numbers and duplicates: what a dealer cannot see by eye in a directory of
// 4000 slots. The report lists, in the list's current order,
// - the numbers that cannot be numbers of their kind (see PhoneNumbers.h for what is judged);
// - the numbers (compared without hyphens, spaces and parentheses) held by several slots;
// - the names held by several slots with different numbers.
// Lines end with CR LF, as in the report of the data analysis; each section is a heading
// line followed by blocks of a label line, indented lines and an empty line.
QString numberLintReport(const PhoneBook &book);

// The whole report when nothing was found, without a line end.
QString numberLintCleanReport();

// The bulk rewriting of numbers into one form, over the entries at the positions (or over
// every entry with a number when positions is empty).
struct PhoneFormatPlan {
    QList<ListOperations::FieldChange> changes; // numbers whose form changes, in list order
    QList<int> unrecognised;                    // numbers left alone: not recognised
};
PhoneFormatPlan planPhoneFormatting(const PhoneBook &book, const QList<int> &positions);

// What the plan will do, for the user to see before it is applied: one line per change
// (slot, old number, new number), then the numbers left alone.
QString phoneFormatPreview(const PhoneBook &book, const PhoneFormatPlan &plan);
