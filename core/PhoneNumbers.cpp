#include "core/PhoneNumbers.h"

#include "core/WidthRules.h"

#include <QHash>
#include <algorithm>
#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumberutil.h>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

constexpr qsizetype LineCodeMaxDigits = 4;
constexpr qsizetype ShortNumberMaxDigits = 4;
// The longest national significant number libphonenumber knows of.
constexpr qsizetype NationalNumberMaxDigits = 17;
constexpr int JapanCallingCode = 81;
const char *const Japan = "JP";

const PhoneNumberUtil &util()
{
    return *PhoneNumberUtil::GetInstance();
}

bool isSeparator(QChar c)
{
    return c == u'-' || c == u' ' || c == u'(' || c == u')';
}

// ASCII digits only: full-width digits are the data analysis's to report.
bool allDigits(QStringView s)
{
    for (const QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The part of a number that is dialled as a public number (see the header).
QString dialledPart(const QString &phone)
{
    QString s = comparablePhoneNumber(phone);
    const qsizetype pause = s.indexOf(u'P');
    if (pause >= 0) {
        if (pause <= LineCodeMaxDigits && allDigits(QStringView(s).left(pause))) {
            s.remove(0, pause + 1);
            const qsizetype next = s.indexOf(u'P');
            if (next >= 0)
                s.truncate(next);
        } else {
            s.truncate(pause);
        }
    }
    if ((s.startsWith(u"184") || s.startsWith(u"186")) && s.size() > 3 && s.at(3) == u'0')
        s.remove(0, 3);
    return s;
}

bool isValidNational(QStringView significant)
{
    if (significant.isEmpty() || significant.size() > NationalNumberMaxDigits)
        return false;
    PhoneNumber number;
    number.set_country_code(JapanCallingCode);
    number.set_national_number(significant.toULongLong());
    return util().IsValidNumber(number);
}

// digits: a Japanese number with its leading 0.
NumberVerdict judgeNational(const QString &digits)
{
    const QStringView significant = QStringView(digits).mid(1);
    if (isValidNational(significant))
        return NumberVerdict::Valid;
    // A digit dropped or doubled is the usual slip: say so when one digit more or less
    // would make it a number.
    for (char16_t d = u'0'; d <= u'9'; ++d) {
        if (isValidNational(significant.toString() + QChar(d)))
            return NumberVerdict::TooFewDigits;
    }
    if (isValidNational(significant.chopped(1)))
        return NumberVerdict::TooManyDigits;
    return NumberVerdict::Invalid;
}

bool parseInternational(const QString &digits, PhoneNumber &number)
{
    return util().Parse(digits.toStdString(), Japan, &number) == PhoneNumberUtil::NO_PARSING_ERROR;
}

NumberVerdict judgeDialled(const QString &s)
{
    if (s.startsWith(u'+')) {
        const QStringView rest = QStringView(s).mid(1);
        if (rest.isEmpty() || !allDigits(rest))
            return NumberVerdict::NotJudged;
    } else if (!allDigits(s) || s.size() <= ShortNumberMaxDigits || s.at(0) != u'0' || s.startsWith(u"00")) {
        return NumberVerdict::NotJudged;
    }
    if (s.startsWith(u'+') || s.startsWith(u"010")) {
        PhoneNumber number;
        return parseInternational(s, number) && util().IsValidNumber(number) ? NumberVerdict::Valid
                                                                             : NumberVerdict::InvalidAbroad;
    }
    return judgeNational(s);
}

// libphonenumber takes some tens of microseconds per number and the same numbers are
// asked for again and again (every check, every key in the editor): each answer is kept.
template <typename T> class Remembered {
public:
    template <typename F> T get(const QString &key, F compute)
    {
        const auto it = values_.constFind(key);
        if (it != values_.constEnd())
            return *it;
        if (values_.size() >= Limit)
            values_.clear();
        return *values_.insert(key, compute());
    }

private:
    static constexpr qsizetype Limit = 50000;
    QHash<QString, T> values_;
};

// The rewritten number, or empty when it is not rewritten.
QString numberForm(const QString &phone)
{
    const QString digits = comparablePhoneNumber(phone);
    if (digits.startsWith(u'+') || digits != dialledPart(phone) || judgePhoneNumber(phone) != NumberVerdict::Valid)
        return QString();
    PhoneNumber number;
    std::string text;
    if (digits.startsWith(u"010")) {
        if (parseInternational(digits, number))
            util().FormatOutOfCountryCallingNumber(number, Japan, &text);
    } else {
        number.set_country_code(JapanCallingCode);
        number.set_national_number(QStringView(digits).mid(1).toULongLong());
        util().Format(number, PhoneNumberUtil::NATIONAL, &text);
    }
    const QString form = QString::fromStdString(text).replace(u' ', u'-');
    // Only hyphens may be added: what is dialled stays exactly as it was.
    if (form.size() > PhoneMaxLength || comparablePhoneNumber(form) != digits || !allDigits(QString(form).remove(u'-')))
        return QString();
    return form;
}

} // namespace

QString comparablePhoneNumber(const QString &phone)
{
    if (std::none_of(phone.begin(), phone.end(), isSeparator))
        return phone; // most numbers: shared, not copied
    QString s;
    s.reserve(phone.size());
    for (const QChar c : phone) {
        if (!isSeparator(c))
            s += c;
    }
    return s;
}

NumberVerdict judgePhoneNumber(const QString &phone)
{
    static Remembered<NumberVerdict> verdicts;
    return verdicts.get(phone, [&] { return judgeDialled(dialledPart(phone)); });
}

QString numberProblemMessage(NumberVerdict verdict)
{
    switch (verdict) {
    case NumberVerdict::NotJudged:
    case NumberVerdict::Valid:
        return QString();
    case NumberVerdict::TooFewDigits:
        return QStringLiteral("電話番号の桁が足りません");
    case NumberVerdict::TooManyDigits:
        return QStringLiteral("電話番号の桁が多すぎます");
    case NumberVerdict::Invalid:
        return QStringLiteral("日本の電話番号として正しくありません（局番または桁数）");
    case NumberVerdict::InvalidAbroad:
        return QStringLiteral("国際電話の番号として正しくありません");
    }
    return QString();
}

std::optional<QString> formattedPhoneNumber(const QString &phone)
{
    static Remembered<QString> forms; // empty: not rewritten
    const QString form = forms.get(phone, [&] { return numberForm(phone); });
    if (form.isEmpty())
        return std::nullopt;
    return form;
}
