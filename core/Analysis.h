#pragma once

#include "core/PhoneBook.h"

#include <QString>
#include <functional>

// The data analysis: every entry of the phone book tested against the character rules of
// the phone system, as a plain-text report.

// The nine findings, in the order their lines appear in a block. The memo's width comes
// before the two phone-number findings.
enum class Finding : unsigned {
    NameWidth = 1u << 0,      // the name is not all full-width
    KanaWidth = 1u << 1,      // the kana is not all half-width
    MemoWidth = 1u << 2,      // the memo is not all full-width
    PhoneWidth = 1u << 3,     // the phone number is not all half-width
    PhoneCharacter = 1u << 4, // the phone number holds a character outside the dialling set
    NameLength = 1u << 5,
    KanaLength = 1u << 6,
    PhoneLength = 1u << 7,
    MemoLength = 1u << 8,
};
constexpr int FindingCount = 9;

// The findings of one entry as a set of Finding bits; 0 when the entry passes. Each test
// is independent of the others.
unsigned analyseEntry(const DialEntry &entry);

// The message of one finding.
QString findingMessage(Finding finding);

// The report over the entries in their current order: for each faulty entry the label
// line "【短縮nnnn】", one line per finding (four spaces and the message) and an empty
// line, every line ended by CR LF; the no-problems text when nothing was found.
// progress(p) is called before the entry at position p is tested.
QString analysisReport(const PhoneBook &book, const std::function<void(int position)> &progress = {});

// The whole report when no entry is faulty, without a line end.
QString noProblemsReport();
