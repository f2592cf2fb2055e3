#include "transfers/collection/WaitingFiles.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Msg.h"
#include "transfers/common/CollectionRound.h"

#include <QCoreApplication>
#include <QFile>

namespace WaitingFiles {

QStringList list(const QString& yearMon, const QString& seqNo, const QString& bankCd) {
    const CollectionRound::BookCond c = CollectionRound::bookBankCond(bankCd);
    Query q(QStringLiteral("select FileName from M_SRFILE where SRType = 'S' and YearMon = ? and SeqNo = ?") +
            c.sql + QStringLiteral(" order by FileName"));
    q.add(yearMon.mid(2, 4)).add(seqNo);
    for (const QString& b : c.binds)
        q.add(b);
    QStringList out;
    if (q.exec())
        while (q.next())
            if (!out.contains(q.str(0))) out << q.str(0);
    return out;
}

Outcome remove(const QStringList& names, const QString& yearMon, const QString& seqNo,
               const std::function<void(const QString&)>& unremovable) {
    Outcome o;
    for (const QString& name : names) {
        // A book row names a file of send, never a path.
        const bool plain = !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String("..") &&
                           name != QLatin1String(".");
        if (!plain || !QFile::remove(DMLib->dir(QStringLiteral("send")) + name)) {
            o.unremovable << name;
            if (unremovable) unremovable(name);
        }
        Transaction tx;
        Query q(QStringLiteral("delete from M_SRFILE where FileName = ? and SRType = 'S'"));
        q.add(name);
        if (!tx.ok() || !q.exec() ||
            !DMLib->WriteJobLog(QStringLiteral("집금이체"), QStringLiteral("[송신대기파일삭제]회차:") + yearMon +
                                                                 QLatin1Char('-') + seqNo) ||
            !tx.commit()) {
            o.ok = false;
            o.error = q.error();
            return o;
        }
    }
    return o;
}

bool confirmAndRemove(const QStringList& names, const QString& yearMon, const QString& seqNo, QWidget* parent) {
    if (Msg::show(QStringLiteral("파일삭제확인"),
                  QStringLiteral("정말 삭제하시겠습니까?\r\r삭제된 파일은 복구가 불가능합니다."), MsgIcon::Warning,
                  MsgButtons::YesNo, parent) != MsgResult::Yes)
        return false;
    const Outcome o = remove(names, yearMon, seqNo, [parent](const QString&) {
        Msg::show(QCoreApplication::applicationName(),
                  QStringLiteral("파일이 없거나 삭제할수 없습니다.\r파일작성 내역만 삭제합니다."), MsgIcon::None,
                  MsgButtons::Ok, parent);
    });
    if (!o.ok) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("파일작성 내역을 삭제할 수 없습니다.\r") + o.error, parent);
        return false;
    }
    return true;
}

} // namespace WaitingFiles
