#pragma once

#include <QString>
#include <optional>

// Phone numbers against the Japanese numbering plan and those of other countries, as
// Google's libphonenumber knows them.
//
// Only what can be judged is judged, so that the check raises no false alarms:
// - hyphens, spaces and parentheses are ignored;
// - a pause P after a code of at most four digits (a line code) skips that code, and
//   whatever follows a later pause is sent after the call is answered and is not judged;
// - the caller-ID prefixes 184 and 186 before a number starting with 0 are skipped;
// - numbers of at most four digits, numbers without a leading 0 (extensions, service
//   numbers such as 117, local numbers without their area code), numbers starting with a
//   carrier code 00 and numbers holding *, #, E, [ or ] or any other character are not
//   judged;
// - a number starting with 010 or + is an international number, judged for its country;
//   any other number starting with 0 is a Japanese number.

enum class NumberVerdict {
    NotJudged,
    Valid,
    TooFewDigits,  // one digit more would make it a valid number
    TooManyDigits, // one digit less would make it a valid number
    Invalid,       // an unknown prefix, or digits that fit no kind of Japanese number
    InvalidAbroad, // an international number that is not valid for its country
};

NumberVerdict judgePhoneNumber(const QString &phone);

// The one-line message of a verdict that is a problem; empty for NotJudged and Valid.
QString numberProblemMessage(NumberVerdict verdict);

// The number in one consistent form: a Japanese number in its national form with hyphens
// (03-1234-5678, 090-1234-5678, 0120-123-456), an international number as dialled from
// Japan with hyphens (010-1-212-555-1234). Only a valid number of digits and separators
// alone is rewritten; nothing for any other.
std::optional<QString> formattedPhoneNumber(const QString &phone);

// The number as it is dialled, for comparing: without hyphens, spaces and parentheses.
QString comparablePhoneNumber(const QString &phone);
