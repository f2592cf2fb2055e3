#include "transfers/distribution/DistribRequest.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Msg.h"

#include <QCoreApplication>
#include <QFile>

namespace DistribRequest {

namespace {

const QString kMenu = QStringLiteral("배분이체");

void plainBox(const QString& text) {
    Msg::show(QCoreApplication::applicationName(), text);
}

// The request-file book row and its log line, together; false when either
// could not be written.
bool book(const Run& r, const QString& file, int count, QString* error) {
    Transaction tx;
    if (!tx.ok()) return false;
    if (!Database::insertRow(QStringLiteral("M_SRFILE"), {{QStringLiteral("SRType"), QStringLiteral("S")},
                                                         {QStringLiteral("FileName"), file},
                                                         {QStringLiteral("FileType"), file.mid(9, 3)},
                                                         {QStringLiteral("YearMon"), file.left(4)},
                                                         {QStringLiteral("SeqNo"), file.mid(4, 2)},
                                                         {QStringLiteral("BankCd"), file.mid(6, 2)},
                                                         {QStringLiteral("DataCnt"), count},
                                                         {QStringLiteral("Gcode"), r.round.gcode()}},
                             error))
        return false;
    if (!DMLib->WriteJobLog(kMenu, QStringLiteral("[이체파일생성] 회차:") + r.round.yearMon + QLatin1Char('-') +
                                       r.round.seqNo + QStringLiteral(", 이체은행:") + r.bankText +
                                       QStringLiteral(", 이체일자:") + r.start.toString(QStringLiteral("yyMMdd")) +
                                       QStringLiteral(", 총건수:") + QString::number(count) +
                                       QStringLiteral(", 파일명:") + file))
        return false;
    return tx.commit();
}

} // namespace

QStringList accountLines(const QString& bankCd) {
    QStringList out;
    Query q(QStringLiteral("select CompyNo, AcctNo, Passwd from C_ACCT where BankCd = ? and Gubun = '배분'"));
    q.add(bankCd);
    if (q.exec())
        while (q.next())
            out << QStringLiteral("%1 %2%3")
                       .arg(q.str(0), -10)
                       .arg(q.str(1), -16)
                       .arg(q.str(2));
    return out;
}

QList<DistribRow> roundRows(const DistribRound::Target& t) {
    QList<DistribRow> out;
    if (!DistribRound::exists(t)) return out;
    Query q(QStringLiteral("select r.SNo, r.Nm, r.BankCd, r.AcctNo, r.ItemCd, i.ItemNm, r.Amt, r.ReplyTy from %1 r "
                           "left join C_ITEM i on i.ItemCd = r.ItemCd order by r.YearMon, r.SeqNo, r.SNo, r.ItemCd")
                .arg(Database::quoted(t.table())));
    if (q.exec())
        while (q.next()) {
            DistribRow d;
            d.SNo = q.str(0);
            d.Nm = q.str(1);
            d.BankCd = q.str(2);
            d.AcctNo = q.str(3);
            d.ItemCd = q.str(4);
            d.ItemNm = q.str(5);
            d.Amt = q.num(6);
            d.ReplyTy = q.str(7);
            out << d;
        }
    return out;
}

QStringList rowsNotForBank(const QString& bankCd, const QList<DistribRow>& rows) {
    auto family = [](const QString& b) {
        return b == QLatin1String("11") || b == QLatin1String("12") ? QStringLiteral("10") : b;
    };
    const QString bank = family(bankCd.left(2));
    QStringList out;
    for (const DistribRow& r : rows) {
        QString why;
        if (family(r.BankCd.trimmed()) != bank)
            why = QStringLiteral("은행 ") +
                  (r.BankCd.trimmed().isEmpty() ? QStringLiteral("없음") : r.BankCd.trimmed());
        else if (TDMLib::DigitsOnly(r.AcctNo).isEmpty())
            why = QStringLiteral("계좌번호 없음");
        if (!why.isEmpty())
            out << r.SNo + QLatin1Char(' ') + r.Nm.trimmed() + QLatin1Char(' ') + r.ItemCd +
                       QStringLiteral(" (") + why + QLatin1Char(')');
    }
    return out;
}

bool check(const QString& bankText, bool anyMarked) {
    const QString bank = bankText.left(2);
    if (bank != QLatin1String("20") && bank != QLatin1String("21")) {
        Msg::show(QStringLiteral("오류"), QStringLiteral("우리/조흥은행만 배분이체가 가능합니다!!"));
        return false;
    }
    if (!anyMarked) {
        plainBox(QStringLiteral("선택한 데이터가 없습니다!!\r이체할 데이터를 선택하십시요!! "));
        return false;
    }
    return true;
}

Result write(const Run& r) {
    Result res;
    const QString bank = r.bankText.left(2);
    if (!check(r.bankText, !r.marked.isEmpty())) return res;
    // A row of another bank would be paid again by that bank's file, and a
    // row without an account has nowhere to go: nothing is written.
    const QStringList foreign = rowsNotForBank(bank, r.marked);
    if (!foreign.isEmpty()) {
        constexpr int kShown = 20;
        QString lines = foreign.mid(0, kShown).join(QLatin1Char('\r'));
        if (foreign.size() > kShown) lines += QStringLiteral("\r외 %1건").arg(foreign.size() - kShown);
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("이체은행의 자료가 아니거나 계좌번호가 없는 자료는 이체파일에 넣을 수 "
                                  "없습니다.\r이체파일을 작성하지 않았습니다.\r\r") +
                       lines);
        return res;
    }
    if (r.start.dayOfWeek() == Qt::Sunday) {
        plainBox(QStringLiteral("이체일자가 일요일입니다!!\r일요일에는 이체를 할수가 없습니다. \r다시 파일작성을 하세요!!"));
        return res;
    }
    if (r.start.dayOfWeek() == Qt::Saturday) {
        plainBox(QStringLiteral("이체일자가 토요일입니다!!\r토요일에는 이체를 할수가 없습니다. \r다시 파일작성을 하세요!!"));
        return res;
    }
    pSetMasterAcct(r.acctLine);
    QString name;
    int count = 0;
    const bool written = bCreateDistribFile(r.start.toString(QStringLiteral("yyMMdd")),
                                            r.end.toString(QStringLiteral("yyMMdd")), bank,
                                            r.round.yearMon + r.round.seqNo, r.marked, name, count, &res.leftOut);
    // Paid rows are never paid again: say which marked rows stayed out.
    if (!res.leftOut.isEmpty())
        Msg::show(QStringLiteral("이체제외"),
                  QStringLiteral("이미 이체처리된 자료는 이체파일에서 제외하였습니다.\r\r") +
                      res.leftOut.join(QLatin1Char('\r')),
                  MsgIcon::Information);
    if (!written) {
        Msg::error(QStringLiteral("자동이체생성"), QStringLiteral("화일작성을 실패하였습니다!"));
        return res;
    }
    QString error;
    if (!book(r, name, count, &error)) {
        // An unbooked file would be sent without a trace: it goes again.
        QFile::remove(DMLib->dir(QStringLiteral("send")) + name);
        Msg::error(QStringLiteral("자동이체생성"),
                   QStringLiteral("화일작성을 실패하였습니다!\r\r파일 작성내역을 저장할 수 없습니다. ") + error);
        return res;
    }
    Msg::info(QStringLiteral("자동이체생성"), QStringLiteral("자동이체 데이타를 생성하였습니다!"));
    res.ok = true;
    res.fileName = name;
    res.count = count;
    return res;
}

} // namespace DistribRequest
