#include "transfers/collection/CollectFileRun.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "transfers/common/M101B04.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>

#include <memory>

namespace CollectFileRun {

namespace {

void plainBox(const QString& text) {
    Msg::show(QCoreApplication::applicationName(), text);
}

const QString kCaption = QStringLiteral("자동이체생성");

} // namespace

bool bHasCollectAcct(const QString& bankCd) {
    Query q(
        QStringLiteral("select acctno from c_acct where gubun = '집금' and bankcd = ? and acctno <> '' "));
    q.add(bankCd);
    if (!q.exec()) return false;
    while (q.next())
        if (!q.str(0).trimmed().isEmpty()) return true;
    return false;
}

bool bNotAwaitingResult(const CollectSelection& sel) {
    // Only the round's first file for the bank is looked at, under the bank
    // code as shown.
    const QString name = sel.YearMon.mid(2, 4) + sel.SeqNo + sel.BankCd + QStringLiteral(".201");
    if (QFile::exists(DMLib->dir(QStringLiteral("sback")) + name) &&
        !QFile::exists(DMLib->dir(QStringLiteral("rback")) + name)) {
        plainBox(QStringLiteral("전송후 수신하지 않은 자료입니다."));
        return false;
    }
    return true;
}

bool bCheckFileCreate(const CollectSelection& sel, bool hasUnprocRow) {
    if (!hasUnprocRow) {
        plainBox(QStringLiteral("본 회차에는 송신대상 자료가 존재하지 않습니다."));
        return false;
    }
    if (!bHasCollectAcct(sel.BankCd)) {
        plainBox(QStringLiteral(
            "학교 계좌가 입력되어 있지 않습니다.\r\r[기본등록-은행등록]에서 은행과 계좌를 등록 하십시오."));
        return false;
    }
    return bNotAwaitingResult(sel);
}

Totals pSetFileCountSql(const CollectSelection& sel) {
    Totals t;
    const QString table = QStringLiteral("H_200_") + sel.RunKey();
    if (!Database::isRoundTableName(table)) return t;
    QString sql = QStringLiteral("select count(*) as tot_cnt, sum(Amt) as tot_amt from %1 T1 ")
                      .arg(Database::quoted(table));
    sql += QStringLiteral("where T1.Amt > 0 and T1.AcctNo <> '' ");
    QVariantList binds;
    AddCollectBankCondition(sel.BankCd, sql, binds);
    AddCollectConditions(sel, sql, binds);
    Query q(sql);
    for (const QVariant& v : binds)
        q.add(v);
    if (q.exec() && q.next()) {
        t.Count = q.num(0);
        t.Amount = q.num(1); // an empty sum reads 0
    }
    return t;
}

AccountChoice CollectAccounts(const QString& bankCd, const QString& gcode) {
    AccountChoice a;
    Query q(QStringLiteral("select CompyNo, AcctNo, Passwd, EduCode from C_ACCT "
                           "where BankCd = ? and Gubun = '집금' and Gcode = ? order by rowid"));
    q.add(bankCd).add(gcode);
    if (!q.exec()) return a;
    while (q.next()) {
        a.AcctLines << CollectAcctLine(q.str(0), q.str(1), q.str(2), q.str(3));
        a.EduCodes << q.str(3);
    }
    return a;
}

bool AskDates(const DateDialogInput& in, CollectSelection& sel) {
    auto dlg = std::make_unique<TFrmM101B04>();
    dlg->ShowEndDate(in.BankCd == QLatin1String("05"));
    dlg->cbMAcctNo->addItems(in.Accounts.AcctLines);
    dlg->CboEduCode->addItems(in.Accounts.EduCodes);
    dlg->cbMAcctNo->setCurrentIndex(0);
    dlg->CboEduCode->setCurrentIndex(0);
    dlg->SetTotals(in.Sums.Count, in.Sums.Amount);
    if (Modal::exec(dlg.get()) != QDialog::Accepted) return false;
    sel.StartDate = dlg->DTPickerMvS->date();
    sel.EndDate = dlg->DTPickerMvE->date();
    sel.AcctLine = dlg->cbMAcctNo->currentText();
    sel.EduCode = dlg->CboEduCode->currentText();
    return true;
}

bool pBookRequestFile(const QString& fileName, int dataCnt, const QString& gcode) {
    return Database::insertRow(QStringLiteral("M_SRFILE"), {{QStringLiteral("SRType"), QStringLiteral("S")},
                                                            {QStringLiteral("FileName"), fileName},
                                                            {QStringLiteral("FileType"), fileName.mid(9, 3)},
                                                            {QStringLiteral("YearMon"), fileName.left(4)},
                                                            {QStringLiteral("SeqNo"), fileName.mid(4, 2)},
                                                            {QStringLiteral("BankCd"), fileName.mid(6, 2)},
                                                            {QStringLiteral("DataCnt"), dataCnt},
                                                            {QStringLiteral("Gcode"), gcode}});
}

Outcome TimeShowTimer(CollectSelection& sel, const DateAsker& ask, const std::function<void(bool)>& writing) {
    Outcome out;
    DateDialogInput in;
    in.BankCd = sel.BankCd;
    in.Accounts = CollectAccounts(sel.BankCd, sel.Gcode);
    // An account of another item group passes the click's check; writing a
    // file without a school account would only be refused by the bank.
    if (in.Accounts.AcctLines.isEmpty()) {
        Msg::error(QStringLiteral("입력요망"),
                   QStringLiteral("이 항목그룹의 학교 계좌가 입력되어 있지 않습니다.\r\r"
                                  "[기본등록-은행등록]에서 은행과 계좌를 등록 하십시오."));
        return out;
    }
    in.Sums = pSetFileCountSql(sel);
    out.Sums = in.Sums;
    if (!ask(in, sel)) return out;

    const int dow = sel.StartDate.dayOfWeek();
    if (dow == Qt::Sunday) {
        plainBox(QStringLiteral(
            "이체일자가 일요일입니다!!\r일요일에는 이체를 할수가 없습니다. \r다시 파일작성을 하세요!!"));
        return out;
    }
    if (dow == Qt::Saturday) {
        plainBox(QStringLiteral(
            "이체일자가 토요일입니다!!\r토요일에는 이체를 할수가 없습니다. \r다시 파일작성을 하세요!!"));
        return out;
    }

    pSetMasterAcct(sel.AcctLine);
    const QString start = sel.StartDate.toString(QStringLiteral("yyMMdd"));
    const QString end = sel.EndDate.toString(QStringLiteral("yyMMdd"));
    QString fileName;
    int dataCnt = 0;
    struct WritingPanel {
        const std::function<void(bool)>& f;
        bool on = false;
        explicit WritingPanel(const std::function<void(bool)>& fn) : f(fn), on(bool(fn)) {
            if (on) f(true);
        }
        void done() {
            if (on) f(false);
            on = false;
        }
        ~WritingPanel() { done(); }
    } panel(writing);
    if (!bCreateCollectFile(start, end, sel.BankCd, sel.RunKey(), sel.EduCode, sel, fileName, dataCnt)) {
        panel.done();
        Msg::error(kCaption, QStringLiteral("화일작성을 실패하였습니다!"));
        return out;
    }

    // A file that is not booked would be overwritten by the next run of
    // the round (it would get the same type): book it with its log row, or
    // take it back.
    {
        Transaction tx;
        const QString log = QStringLiteral("[이체파일생성] 항목그룹 : ") + sel.GroupText +
                            QStringLiteral(", 회차:") + sel.YearMon + QLatin1Char('-') + sel.SeqNo +
                            QStringLiteral(", 이체은행:") + sel.BankText + QStringLiteral(", 이체일자:") +
                            start + QStringLiteral(", 총건수:") + QString::number(in.Sums.Count) +
                            QStringLiteral(", 총금액:") + QString::number(in.Sums.Amount) +
                            QStringLiteral(", 파일명:") + fileName;
        if (!tx.ok() || !pBookRequestFile(fileName, dataCnt, sel.Gcode) ||
            !DMLib->WriteJobLog(QStringLiteral("집금이체"), log) || !tx.commit()) {
            tx.rollback();
            QFile::remove(DMLib->dir(QStringLiteral("send")) + fileName);
            panel.done();
            Msg::error(kCaption, QStringLiteral("화일작성을 실패하였습니다!"));
            return out;
        }
    }
    out.Written = true;
    out.FileName = fileName;
    out.DataCnt = dataCnt;
    panel.done();
    Msg::show(kCaption, QStringLiteral("자동이체 데이타를 생성하였습니다!"), MsgIcon::Information);
    return out;
}

} // namespace CollectFileRun
