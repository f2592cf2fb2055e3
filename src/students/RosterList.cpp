#include "students/RosterList.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/text/CodeText.h"

#include <QLocale>

namespace RosterList {

namespace {

const QString kOne = QStringLiteral("1");
const QString kZero = QStringLiteral("0");

// The listing's columns into a row. Codes take their static text; another
// short value equal to the one above is shared, not decoded again.
class RowReader {
public:
    explicit RowReader(const Query& q) : q_(q) {}

    void read(StudentRow& s) {
        QString* const fields[kCols] = {&s.custNo,  &s.sCd,     &s.sNo,        &s.nm,         &s.sex,
                                        &s.bankCd,  &s.acctNo,  &s.owr,        &s.useTy,      &s.inDate,
                                        &s.outDate, &s.juNo,    &s.acctRegYn1, &s.acctRegYn2, &s.mTelNo,
                                        &s.smsYN,   &s.juNoStud};
        for (int i = 0; i < kCols; ++i)
            *fields[i] = text(i);
    }

private:
    static constexpr int kCols = 17;
    // A value of up to two bytes, kept as its length and bytes.
    struct Short {
        qsizetype size = 0; // blank: the null text
        char b[2] = {0, 0};
        bool is(QByteArrayView v) const {
            return v.size() == size && (size < 1 || v[0] == b[0]) && (size < 2 || v[1] == b[1]);
        }
    };

    QString text(int i) {
        const QByteArrayView v = q_.utf8(i);
        if (v.size() > 2) return QString::fromUtf8(v);
        if (CodeText::isCode(v)) return CodeText::text(v);
        Short& p = prev_[i];
        if (!p.is(v)) {
            p.size = v.size();
            for (qsizetype k = 0; k < v.size(); ++k)
                p.b[k] = v[k];
            prevText_[i] = QString::fromUtf8(v);
        }
        return prevText_[i];
    }

    const Query& q_;
    Short prev_[kCols];
    QString prevText_[kCols];
};

} // namespace

QString completeLower(const QString& bound) {
    if (bound.size() == 3) return bound + PadZero(kOne, SNoLen - 3, false);
    if (bound.size() == 1) return bound + QStringLiteral("01") + PadZero(kOne, SNoLen - 3, false);
    return bound;
}

QString completeUpper(const QString& bound) {
    if (bound.size() == 3) return bound + QString(SNoLen - 3, QLatin1Char('9'));
    if (bound.size() == 1) return bound + QString(SNoLen - 1, QLatin1Char('9'));
    return bound;
}

bool isCentralBank(const QString& bankCd) {
    return bankCd == QLatin1String("10") || bankCd == QLatin1String("11") || bankCd == QLatin1String("12");
}

QString listSql(const RosterFilter& f, QVariantList& binds) {
    const QString sNoFrom = completeLower(f.sNoFrom);
    const QString sNoTo = completeUpper(f.sNoTo);
    QStringList conds;
    const auto add = [&](const QString& cond, const QVariantList& values = {}) {
        conds << cond;
        binds << values;
    };
    if (!sNoFrom.isEmpty()) add(QStringLiteral("SNo >= ?"), {sNoFrom});
    if (!sNoTo.isEmpty()) add(QStringLiteral("SNo <= ?"), {sNoTo});
    if (!f.acctNo.trimmed().isEmpty()) add(QStringLiteral("AcctNo = ?"), {f.acctNo});
    const QString bank = StudentStore::codeOf(f.bankText);
    if (bank != QLatin1String("00")) {
        if (isCentralBank(bank))
            add(QStringLiteral("BankCd IN ('10', '11', '12')"));
        else
            add(QStringLiteral("BankCd = ?"), {bank});
    }
    if (f.use == 1) add(QStringLiteral("UseTy = '1'"));
    if (f.use == 2) add(QStringLiteral("UseTy = '0'"));
    if (f.sex == 1) add(QStringLiteral("Sex = '1'"));
    if (f.sex == 2) add(QStringLiteral("Sex = '2'"));
    // Anything but registered, blanks and those still registering too.
    if (f.regYn == 1) add(QStringLiteral("COALESCE(AcctRegYn_1, '') <> 'Y'"));
    if (f.regYn == 2) add(QStringLiteral("COALESCE(AcctRegYn_2, '') <> 'Y'"));
    if (f.sms == 1) add(QStringLiteral("smsYN = '1'"));
    if (f.sms == 2) add(QStringLiteral("smsYN = '2'"));

    QString sql = QStringLiteral(
        "SELECT CustNo, SCd, SNo, Nm, Sex, BankCd, AcctNo, Owr, UseTy, InDate, OutDate, Ju_No, "
        "AcctRegYn_1, AcctRegYn_2, MTelNo, smsYN, Ju_No_Stud FROM M_CUST");
    if (!conds.isEmpty()) sql += QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
    // The order of M_CUST's Index1: no sort runs.
    sql += QStringLiteral(" ORDER BY SNo COLLATE NOCASE, CustNo");
    return sql;
}

RosterListing pListStudents(const RosterFilter& f) {
    RosterListing out;
    out.sNoFrom = completeLower(f.sNoFrom);
    out.sNoTo = completeUpper(f.sNoTo);
    QVariantList binds;
    Query q(listSql(f, binds));
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) return out;
    RowReader reader(q);
    out.rows.reserve(1024);
    while (q.next()) {
        StudentRow& s = out.rows.emplaceBack();
        reader.read(s);
        if (s.useTy == kOne)
            ++out.enrolled;
        else if (s.useTy == kZero)
            ++out.transferred;
    }
    return out;
}

QString cell(const StudentRow& s, int col) {
    switch (col) {
    case 0:
        return s.sNo;
    case 1:
        return s.nm;
    case 2:
        return s.sex == kOne                 ? QStringLiteral("남자")
               : s.sex == QLatin1String("2") ? QStringLiteral("여자")
                                             : QString();
    case 3:
        return DMData ? DMData->GetBankName(s.bankCd) : QString();
    case 4:
        return s.acctNo;
    case 5:
        return s.useTy == kOne    ? QStringLiteral("재학")
               : s.useTy == kZero ? QStringLiteral("전출")
                                  : QString();
    case 6:
        return s.custNo;
    case 7:
        return s.sCd;
    case 8:
        return s.sNo;
    case 9:
        return s.sex;
    case 10:
        return s.bankCd;
    case 11:
        return s.owr;
    case 12:
        return s.useTy;
    case 13:
        return s.inDate;
    case 14:
        return s.outDate;
    case 15:
        return s.juNo;
    case 16:
        return s.acctRegYn1;
    case 17:
        return s.acctRegYn2;
    case 18:
        return s.mTelNo;
    case 19:
        return s.smsYN;
    case 20:
        return s.juNoStud;
    }
    return {};
}

QStringList cells(const StudentRow& s) {
    QStringList out;
    for (int c = 0; c < kCells; ++c)
        out << cell(s, c);
    return out;
}

QString countText(const QString& label, int n) {
    return label + QLocale(QLocale::English).toString(n);
}

RegState regState(const StudentRow& s, int col) {
    const bool central = isCentralBank(s.bankCd);
    if (col == 6) {
        const QString prefix = central ? QStringLiteral("중앙:") : QString();
        if (s.acctRegYn1 == QLatin1String("Y")) return {prefix + QStringLiteral("등록"), RegColour::Row};
        if (s.acctRegYn1 == QLatin1String("W")) return {prefix + QStringLiteral("등록중"), RegColour::Blue};
        return {prefix + QStringLiteral("미등록"), RegColour::Red};
    }
    if (!central) return {QStringLiteral(" "), RegColour::Row};
    if (s.acctRegYn2 == QLatin1String("Y")) return {QStringLiteral("단위:등록"), RegColour::Row};
    if (s.acctRegYn2 == QLatin1String("W")) return {QStringLiteral("단위:등록중"), RegColour::Blue};
    return {QStringLiteral("단위:미등록"), RegColour::Red};
}

QString normClassNo(const QString& text, int sNoLen) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return text;
    if (t.size() == 1) return QStringLiteral("0") + t;
    QString cls = text.left(2).trimmed();
    if (cls.isEmpty())
        cls = QStringLiteral("00");
    else if (cls.size() == 1)
        cls.prepend(QLatin1Char('0'));
    QString num = text.mid(2).trimmed();
    if (num.size() == 1)
        num.prepend(sNoLen == 5 ? QStringLiteral("0") : QStringLiteral("00"));
    else if (num.size() == 2 && sNoLen == 6)
        num.prepend(QLatin1Char('0'));
    return cls + num;
}

QList<SmsFile::Recipient> smsRecipients(const QList<StudentRow>& rows) {
    QList<SmsFile::Recipient> out;
    for (const StudentRow& s : rows) {
        // No consent counts as no number.
        const QString phone = cell(s, 19) == QLatin1String("1") ? cell(s, 18).trimmed() : QString();
        if (phone.isEmpty()) continue;
        SmsFile::Recipient r;
        r.sno = cell(s, 0);
        r.nm = cell(s, 1);
        r.amount = QStringLiteral("0");
        r.tel = phone;
        r.scd = cell(s, 7);
        out << r;
    }
    return out;
}

} // namespace RosterList
