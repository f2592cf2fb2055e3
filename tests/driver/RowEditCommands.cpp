// round edit / status / find and waiting-files: the collection window's row
// edits on a listed round, with the real row dialogs filled from the
// arguments and confirmed.
#include "driver/Driver.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/common/CollectionRound.h"
#include "transfers/collection/DelFile.h"
#include "transfers/collection/M101B00_01.h"
#include "transfers/collection/M101B03.h"
#include "transfers/collection/M101B06.h"
#include "transfers/collection/M101B09.h"
#include "transfers/collection/M101B10.h"
#include "transfers/collection/M101B11.h"
#include "transfers/collection/M101B12.h"
#include "transfers/collection/RowEditFlow.h"
#include "transfers/collection/RowFind.h"
#include "transfers/collection/WaitingFiles.h"
#include "transfers/common/KeyEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>

namespace {

using Driver::opt;
bool flag(const QStringList& args, const QString& name) {
    return args.contains(QStringLiteral("--") + name);
}

QString groupText(const QString& gcode) {
    for (const QString& g : DMData->GroupTexts())
        if (g.left(2) == gcode) return g;
    return gcode;
}

// The round as the window lists it with every bank and no other filter.
QList<QStringList> listRound(const QString& ym, const QString& ss, const QString& gcode, bool* exists) {
    CollectionSelection s;
    s.gcode = gcode;
    s.bankCd = QStringLiteral("00");
    s.yearMon = ym;
    s.seqNo = ss;
    DMData->SetItemGroup(gcode);
    CollectionListing l =
        CollectionList::list(s, [&gcode](const QString& id) { return DMData->GetGItemName(id, gcode); });
    *exists = l.tableExists;
    return l.rows;
}

// Every row of every collection round, by table and key.
QMap<QString, QJsonObject> snapshot() {
    QMap<QString, QJsonObject> out;
    for (const QString& t : CollectionRound::roundTables()) {
        Query q(QStringLiteral("select SNo, ItemCd, BankCd, AcctNo, Amt, ExempTy, ReplyTy, ReplyCd, ProcDt, ReDt, "
                               "REAmt, Unpaid from %1")
                    .arg(Database::quoted(t)));
        if (!q.exec()) continue;
        static const char* names[] = {"SNo",     "ItemCd",  "BankCd", "AcctNo", "Amt",  "ExempTy",
                                      "ReplyTy", "ReplyCd", "ProcDt", "ReDt",   "REAmt", "Unpaid"};
        while (q.next()) {
            QJsonObject o{{QStringLiteral("table"), t}};
            for (int c = 0; c < 12; ++c)
                o.insert(QLatin1String(names[c]),
                         c == 4 || c == 10 ? QJsonValue(q.num(c)) : QJsonValue(q.str(c)));
            out.insert(t + QLatin1Char('|') + q.str(0) + QLatin1Char('|') + q.str(1), o);
        }
    }
    Query m(QStringLiteral("select CustNo, BankCd, AcctNo, AcctRegYn_1, AcctRegYn_2 from M_CUST"));
    if (m.exec())
        while (m.next())
            out.insert(QStringLiteral("M_CUST|") + m.str(0), QJsonObject{{QStringLiteral("table"), QStringLiteral("M_CUST")},
                                                                         {QStringLiteral("CustNo"), m.str(0)},
                                                                         {QStringLiteral("BankCd"), m.str(1)},
                                                                         {QStringLiteral("AcctNo"), m.str(2)},
                                                                         {QStringLiteral("AcctRegYn_1"), m.str(3)},
                                                                         {QStringLiteral("AcctRegYn_2"), m.str(4)}});
    return out;
}

// Prints each changed row; the number of them.
int printChanges(const QMap<QString, QJsonObject>& before) {
    const QMap<QString, QJsonObject> after = snapshot();
    int n = 0;
    for (auto it = after.begin(); it != after.end(); ++it)
        if (before.value(it.key()) != it.value()) {
            Driver::print(QJsonObject{{QStringLiteral("changed"), it.value()}});
            ++n;
        }
    for (auto it = before.begin(); it != before.end(); ++it)
        if (!after.contains(it.key())) {
            Driver::print(QJsonObject{{QStringLiteral("deleted"), it.value()}});
            ++n;
        }
    Driver::print(QJsonObject{{QStringLiteral("rowsChanged"), n}});
    return n;
}

// The real dialogs, filled from the arguments and confirmed.
RowEditFlow::Dialogs dialogs(const QStringList& a, const RowEdit::Round& r, const QStringList& items) {
    RowEditFlow::Dialogs d;
    d.delFile = [r](const QStringList& files) {
        Driver::print(QJsonObject{{QStringLiteral("waitingFiles"), QJsonArray::fromStringList(files)}});
        TfrmDelFile dlg(r.yearMon, r.seqNo);
        dlg.lbFile->addItems(files);
        dlg.btDelClick();
        return dlg.result() == QDialog::Accepted;
    };
    d.amount = [a](const RowEdit::Row& row) -> std::optional<QString> {
        TFrmM101B11 dlg;
        dlg.MEdtSchNo->setText(row.sno);
        dlg.EdtAmt->setText(opt(a, QStringLiteral("amount")));
        dlg.BBtnOKClick();
        if (dlg.result() != QDialog::Accepted) return std::nullopt;
        return dlg.EdtAmt->text();
    };
    d.unpaid = [a](const RowEdit::Row&) -> std::optional<QString> {
        TFrmM101B12 dlg;
        dlg.EdtUnPaid->setText(opt(a, QStringLiteral("text")));
        return dlg.EdtUnPaid->text();
    };
    d.bigo = [a]() -> std::optional<QString> {
        TFrmM101B00_01 dlg;
        dlg.BigoEdit->setText(opt(a, QStringLiteral("text")));
        if (!dlg.OkBtn->isEnabled()) return std::nullopt;
        return dlg.BigoEdit->text();
    };
    d.account = [a](const RowEdit::Row& row) -> std::optional<RowEditFlow::AccountInput> {
        TFrmM101B09 dlg;
        dlg.MEdtSchNo->setText(row.sno);
        dlg.selectBank(opt(a, QStringLiteral("bank"), row.bankCd));
        dlg.MEdtAcctNo->setText(opt(a, QStringLiteral("acct")));
        dlg.BbtnOKClick();
        if (dlg.result() != QDialog::Accepted) return std::nullopt;
        return RowEditFlow::AccountInput{dlg.cbBank->currentText(), dlg.MEdtAcctNo->text()};
    };
    d.status = [a](const RowEdit::Row& row) -> std::optional<RowEdit::StatusChange> {
        TFrmM101B06 dlg;
        dlg.pSetReplyTy(row.replyTy, row.amt);
        const QString choice = opt(a, QStringLiteral("choice"));
        QRadioButton* r = choice == QLatin1String("0")   ? dlg.rdoReplyty0
                          : choice == QLatin1String("1") ? dlg.rdoReplyty1
                          : choice == QLatin1String("2") ? dlg.rdoReplyty2
                          : choice == QLatin1String("3") ? dlg.rdoReplyty3
                                                         : nullptr;
        if (r) {
            if (!r->isEnabled()) {
                Driver::print(QJsonObject{{QStringLiteral("error"), QStringLiteral("choice not offered")}});
                return std::nullopt;
            }
            r->setChecked(true);
        }
        if (flag(a, QStringLiteral("date"))) dlg.MedtShftDate->setText(opt(a, QStringLiteral("date")));
        if (flag(a, QStringLiteral("amount")) && dlg.ReAmt->isEnabled())
            dlg.ReAmt->setText(opt(a, QStringLiteral("amount")));
        dlg.bbtnOKClick();
        if (dlg.result() != QDialog::Accepted) return std::nullopt;
        return dlg.values();
    };
    d.bulk = [a, items](const RowEdit::Row& row) -> std::optional<RowEditFlow::BulkInput> {
        TFrmM101B03 dlg;
        QStringList ticked;
        for (const QString& i : items)
            if (i.left(2) == opt(a, QStringLiteral("for-item"))) ticked << i;
        TFrmM101B03::fillChoices(dlg.CbItem, items, ticked);
        const QString grp = opt(a, QStringLiteral("for-group"));
        TFrmM101B03::fillChoices(dlg.cboGroup, CollectionRound::studentGroups(),
                                 grp.isEmpty() ? QStringList() : QStringList{grp});
        const QStringList target = opt(a, QStringLiteral("for-sno"), QStringLiteral(",,")).split(QLatin1Char(','));
        if (flag(a, QStringLiteral("for-sno"))) {
            dlg.SHakEdit->setText(target.value(0));
            dlg.SBanEdit->setText(target.value(1));
            dlg.SBunEdit->setText(target.value(2));
        } else {
            dlg.setSNo(row.sno);
        }
        dlg.CAll->setChecked(flag(a, QStringLiteral("all")));
        dlg.CPfree->setChecked(flag(a, QStringLiteral("part")));
        dlg.CAfree->setChecked(flag(a, QStringLiteral("full")));
        dlg.EdtAmt->setText(opt(a, QStringLiteral("amount")));
        dlg.BBtnOKClick();
        if (dlg.result() != QDialog::Accepted) return std::nullopt;
        return dlg.values();
    };
    return d;
}

const char* kEditUsage = "round-edit amount|bulk|exemp|unpaid|remark|account --yearmon yyyymm --seqno NN --sno SNO "
                         "--item ID [--group GG] [--amount A] [--text T] [--bank BB --acct N] "
                         "[--for-item ID] [--for-group G] [--for-sno H,B,N] [--all] [--part] [--full]";
const char* kStatusUsage = "round-status --yearmon yyyymm --seqno NN --sno SNO --item ID [--group GG] "
                           "[--choice 0-3] [--date yyyy-mm-dd] [--amount A]";

// Runs one edit on the row named by --sno and --item.
int edit(const QString& what, const QStringList& a) {
    const QString ym = opt(a, QStringLiteral("yearmon")), ss = opt(a, QStringLiteral("seqno"));
    const QString gcode = opt(a, QStringLiteral("group"), QStringLiteral("01"));
    const QString sno = opt(a, QStringLiteral("sno")), item = opt(a, QStringLiteral("item"));
    if (ym.isEmpty() || ss.isEmpty() || sno.isEmpty() || item.isEmpty())
        return Driver::fail(QString::fromLatin1(what == QLatin1String("status") ? kStatusUsage : kEditUsage));
    bool exists = false;
    const QList<QStringList> rows = listRound(ym, ss, gcode, &exists);
    if (!exists) return Driver::fail(QStringLiteral("no round ") + ym + QLatin1Char('-') + ss);
    std::optional<RowEdit::Row> row;
    for (const QStringList& c : rows)
        if (c.value(ColSNo) == sno && c.value(ColItemCd) == item) row = RowEdit::fromCells(c);
    if (!row) return Driver::fail(QStringLiteral("no row ") + sno + QLatin1Char('/') + item);
    const RowEdit::Round r{ym, ss, groupText(gcode)};
    const QStringList items = DMData->ItemTexts();
    const RowEditFlow::Dialogs d = dialogs(a, r, items);
    const QMap<QString, QJsonObject> before = snapshot();
    if (what == QLatin1String("status"))
        RowEditFlow::changeStatus(r, *row, d, nullptr);
    else if (what == QLatin1String("bulk"))
        RowEditFlow::bulkAmount(r, *row, d, nullptr);
    else if (what == QLatin1String("amount"))
        RowEditFlow::dblClick(r, *row, ColAmt, d, nullptr);
    else if (what == QLatin1String("exemp"))
        RowEditFlow::dblClick(r, *row, ColExemp, d, nullptr);
    else if (what == QLatin1String("unpaid") || what == QLatin1String("remark"))
        RowEditFlow::dblClick(r, *row, ColUnpaid, d, nullptr);
    else if (what == QLatin1String("account"))
        RowEditFlow::dblClick(r, *row, ColAcct, d, nullptr);
    else
        return Driver::fail(QString::fromUtf8(kEditUsage));
    return printChanges(before) > 0 ? 0 : 1;
}

const char* kFindUsage = "round-find --yearmon yyyymm --seqno NN [--group GG] (--name N | --account A | --sno H,B,N) "
                         "[--itemline \"01.수업료\"] [--times K]";

// The find dialog over the listed round: its search kind chosen, its edits
// typed, the item chosen among the window's entries and "찾기" clicked K
// times; its boxes show as the dialog shows them.
int find(const QStringList& a) {
    const QString ym = opt(a, QStringLiteral("yearmon")), ss = opt(a, QStringLiteral("seqno"));
    if (ym.isEmpty() || ss.isEmpty()) return Driver::fail(QString::fromUtf8(kFindUsage));
    bool exists = false;
    const QList<QStringList> rows = listRound(ym, ss, opt(a, QStringLiteral("group"), QStringLiteral("01")), &exists);
    if (!exists) return Driver::fail(QStringLiteral("no round"));
    int current = -1;
    TFrmM101B10 dlg([&rows] { return rows; }, [&current](int row) { current = row; });
    dlg.cboItem->addItems(DMData->ItemTexts());
    dlg.cboItem->setCurrentIndex(-1);
    if (flag(a, QStringLiteral("itemline"))) {
        // A drop-down list: only its entries can be chosen.
        const int i = dlg.cboItem->findText(opt(a, QStringLiteral("itemline")));
        if (i < 0) return Driver::fail(QStringLiteral("--itemline is none of the item entries"));
        dlg.cboItem->setCurrentIndex(i);
    }
    if (flag(a, QStringLiteral("name"))) {
        dlg.setMode(RowFind::Mode::Name);
        dlg.txtName->setText(opt(a, QStringLiteral("name")));
    } else if (flag(a, QStringLiteral("account"))) {
        dlg.setMode(RowFind::Mode::Account);
        dlg.txtAccountNo->setText(opt(a, QStringLiteral("account")));
    } else if (flag(a, QStringLiteral("sno"))) {
        dlg.setMode(RowFind::Mode::SNo);
        const QStringList p = opt(a, QStringLiteral("sno")).split(QLatin1Char(','));
        dlg.SHakEdit->setText(p.value(0));
        dlg.SBanEdit->setText(p.value(1));
        dlg.SBunEdit->setText(p.value(2));
    } else {
        return Driver::fail(QString::fromUtf8(kFindUsage));
    }
    const int times = std::max(1, opt(a, QStringLiteral("times"), QStringLiteral("1")).toInt());
    int rc = 1;
    for (int i = 0; i < times; ++i) {
        current = -1;
        dlg.BBtnSearchClick();
        if (current < 0) {
            Driver::print(QJsonObject{{QStringLiteral("found"), 0}});
            continue;
        }
        rc = 0;
        Driver::print(QJsonObject{{QStringLiteral("found"), current + 1},
                                  {QStringLiteral("SNo"), rows[current].value(ColSNo)},
                                  {QStringLiteral("Nm"), rows[current].value(ColNm)},
                                  {QStringLiteral("Item"), rows[current].value(ColItem)}});
    }
    return rc;
}

const char* kWaitingUsage = "waiting-files list|delete --yearmon yyyymm --seqno NN --bank BB";

int waiting(const QStringList& a) {
    const QString sub = a.value(0);
    const QString ym = opt(a, QStringLiteral("yearmon")), ss = opt(a, QStringLiteral("seqno"));
    const QString bank = opt(a, QStringLiteral("bank"));
    if (ym.isEmpty() || ss.isEmpty() || bank.isEmpty()) return Driver::fail(QString::fromUtf8(kWaitingUsage));
    const QStringList files = WaitingFiles::list(ym, ss, bank);
    Driver::print(QJsonObject{{QStringLiteral("files"), QJsonArray::fromStringList(files)},
                              {QStringLiteral("waiting"), CollectionRound::fileState(ym, ss, bank).waiting()}});
    if (sub == QLatin1String("list")) return 0;
    if (sub != QLatin1String("delete")) return Driver::fail(QString::fromUtf8(kWaitingUsage));
    if (files.isEmpty()) return 1;
    const bool done = WaitingFiles::confirmAndRemove(files, ym, ss);
    Driver::print(QJsonObject{{QStringLiteral("deleted"), done}});
    return done ? 0 : 1;
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("round-edit"), QString::fromUtf8(kEditUsage), [](const QStringList& a) {
            return a.isEmpty() ? Driver::fail(QString::fromUtf8(kEditUsage)) : edit(a.first(), a.mid(1));
        });
        Driver::addCommand(QStringLiteral("round-status"), QString::fromUtf8(kStatusUsage),
                           [](const QStringList& a) { return edit(QStringLiteral("status"), a); });
        Driver::addCommand(QStringLiteral("round-find"), QString::fromUtf8(kFindUsage), find);
        Driver::addCommand(QStringLiteral("waiting-files"), QString::fromUtf8(kWaitingUsage), waiting);
    }
} registrar;

} // namespace
