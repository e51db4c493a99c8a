#include "core/ColumnCaptions.h"

namespace ColumnCaptions {

const QStringList &entryColumns()
{
    static const QStringList captions = {
        QStringLiteral("短縮No."),  QStringLiteral("名前"),     QStringLiteral("カナ"),
        QStringLiteral("電話番号"), QStringLiteral("グループ"), QStringLiteral("着信音"),
        QStringLiteral("登録実装"), QStringLiteral("着信先"),   QStringLiteral("メモ")};
    return captions;
}

const QStringList &groupColumns()
{
    static const QStringList captions = {QStringLiteral("グループ"), QStringLiteral("名前"),
                                         QStringLiteral("着信音"),   QStringLiteral("着信ランプ"),
                                         QStringLiteral("FAX指定"),  QStringLiteral("ｺｰﾙﾊﾞｯｸ指定")};
    return captions;
}

} // namespace ColumnCaptions
