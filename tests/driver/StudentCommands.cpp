// zq-driver student add|change|delete: the roster's save and delete with the
// entry box's fields, without a window.

#include "driver/Driver.h"

#include "data/DMMain.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Msg.h"
#include "students/StudentStore.h"

#include <QJsonObject>
#include <QMap>

namespace {

// Option -> (field limit in CP949 bytes, digits only); 0 means no limit.
struct Opt {
    int maxBytes;
    bool digits;
};

const QMap<QString, Opt>& options() {
    static const QMap<QString, Opt> o{
        {QStringLiteral("grade"), {2, false}},     {QStringLiteral("sno"), {3 + 2, true}},
        {QStringLiteral("name"), {8, false}},      {QStringLiteral("sex"), {1, false}},
        {QStringLiteral("bank"), {2, false}},      {QStringLiteral("acct"), {15, true}},
        {QStringLiteral("owr"), {30, false}},      {QStringLiteral("juno"), {13, false}},
        {QStringLiteral("junostud"), {13, false}}, {QStringLiteral("indate"), {8, true}},
        {QStringLiteral("outdate"), {8, true}},    {QStringLiteral("tel"), {20, false}},
        {QStringLiteral("sms"), {1, false}},       {QStringLiteral("bigo"), {80, false}},
        {QStringLiteral("rounds"), {0, false}},
    };
    return o;
}

QString fieldName(StudentField f) {
    switch (f) {
    case StudentField::None:
        return {};
    case StudentField::CbMNo:
        return QStringLiteral("CbMNo");
    case StudentField::MEdtSNo:
        return QStringLiteral("MEdtSNo");
    case StudentField::EdtNm:
        return QStringLiteral("EdtNm");
    case StudentField::CbSex:
        return QStringLiteral("CbSex");
    case StudentField::CBsmsYN:
        return QStringLiteral("CBsmsYN");
    case StudentField::CBBank:
        return QStringLiteral("CBBank");
    case StudentField::EdtAcctNo:
        return QStringLiteral("EdtAcctNo");
    case StudentField::EdtMtelNo:
        return QStringLiteral("EdtMtelNo");
    case StudentField::MEdtJu_No:
        return QStringLiteral("MEdtJu_No");
    case StudentField::MedtInDate:
        return QStringLiteral("MedtInDate");
    case StudentField::MedtOutDate:
        return QStringLiteral("MedtOutDate");
    }
    return {};
}

// The bank box's text for a code, as the user would pick it.
QString bankText(const QString& code) {
    if (code == QLatin1String("99")) return QStringLiteral("99.은행없음");
    for (const QString& t : DMData->BankTexts())
        if (t.startsWith(code + QLatin1Char('.'))) return t;
    return code;
}

QString sexText(const QString& c) {
    return c == QLatin1String("1")   ? QStringLiteral("1.남자")
           : c == QLatin1String("2") ? QStringLiteral("2.여자")
                                     : c;
}

QString smsText(const QString& c) {
    return c == QLatin1String("1")   ? QStringLiteral("1.수신")
           : c == QLatin1String("2") ? QStringLiteral("2.거부")
                                     : c;
}

// A stored code the box does not offer shows as an empty box, as in the
// window.
QString shown(const QString& boxText) {
    return boxText.contains(QLatin1Char('.')) ? boxText : QString();
}

// Parses --name value pairs; false (after printing why) on a bad option or
// a value the entry box would not take.
bool parse(const QStringList& args, int from, QMap<QString, QString>* out, int* rc) {
    for (int i = from; i < args.size(); i += 2) {
        const QString opt = args.at(i);
        if (!opt.startsWith(QLatin1String("--")) || i + 1 >= args.size()) {
            *rc = Driver::fail(QStringLiteral("bad option ") + opt);
            return false;
        }
        const QString name = opt.mid(2);
        const QString value = args.at(i + 1);
        auto it = options().find(name);
        if (it == options().end()) {
            *rc = Driver::fail(QStringLiteral("unknown option ") + opt);
            return false;
        }
        if (it->maxBytes > 0) {
            if (!Cp949::canEncode(value) || Cp949::byteLength(value) > it->maxBytes) {
                *rc = Driver::fail(opt + QStringLiteral(" does not fit its field"));
                return false;
            }
            for (QChar c : value)
                if (it->digits && (c < QLatin1Char('0') || c > QLatin1Char('9'))) {
                    *rc = Driver::fail(opt + QStringLiteral(" takes digits only"));
                    return false;
                }
        }
        out->insert(name, value);
    }
    return true;
}

StudentStoreHooks hooksFor(const QMap<QString, QString>& o) {
    StudentStoreHooks h;
    // Questions go through the message boxes, answered from --answers.
    h.pickRounds = [o]() -> std::optional<QStringList> {
        const QString r = o.value(QStringLiteral("rounds"), QStringLiteral("cancel"));
        Driver::print(
            QJsonObject{{QStringLiteral("picker"), QJsonValue::fromVariant(StudentStore::roundEntries())},
                        {QStringLiteral("choice"), r}});
        if (r == QLatin1String("cancel")) return std::nullopt;
        if (r == QLatin1String("all")) return StudentStore::roundEntries();
        if (r == QLatin1String("none")) return QStringList{};
        return r.split(QLatin1Char(','), Qt::SkipEmptyParts);
    };
    return h;
}

int report(const StoreResult& r) {
    for (const StoreBox& b : r.boxes)
        Msg::show(b.caption, b.text, b.icon, MsgButtons::Ok);
    Driver::print(QJsonObject{{QStringLiteral("stored"), r.stored},
                              {QStringLiteral("custNo"), r.custNo},
                              {QStringLiteral("focus"), fieldName(r.focus)}});
    return r.stored ? 0 : 1;
}

void apply(const QMap<QString, QString>& o, StudentEntry& e) {
    const auto take = [&o](const char* key, QString& field, QString (*conv)(const QString&) = nullptr) {
        const QString k = QString::fromUtf8(key);
        if (o.contains(k)) field = conv ? conv(o.value(k)) : o.value(k);
    };
    take("grade", e.gradeCode);
    take("sno", e.classNo);
    take("name", e.name);
    take("sex", e.sexText, sexText);
    take("bank", e.bankText, bankText);
    take("acct", e.acctNo);
    take("owr", e.owr);
    take("juno", e.juNo);
    take("junostud", e.juNoStud);
    take("indate", e.inDate);
    take("outdate", e.outDate);
    take("tel", e.mTelNo);
    take("sms", e.smsText, smsText);
    take("bigo", e.bigo);
}

int studentCommand(const QStringList& args) {
    const QString verb = args.value(0);
    QMap<QString, QString> o;
    int rc = 0;
    if (verb == QLatin1String("add")) {
        if (!parse(args, 1, &o, &rc)) return rc;
        // The entry box after "신규": its first items.
        StudentEntry e;
        e.sexText = sexText(QStringLiteral("1"));
        e.bankText = bankText(QStringLiteral("99"));
        e.smsText = smsText(QStringLiteral("1"));
        apply(o, e);
        return report(StudentStore::save(e, {}, hooksFor(o)));
    }
    if (verb == QLatin1String("change") || verb == QLatin1String("delete")) {
        const QString custNo = args.value(1);
        if (custNo.isEmpty()) return Driver::fail(QStringLiteral("payer number missing"));
        if (!parse(args, 2, &o, &rc)) return rc;
        // The student as his grid row shows him.
        const std::optional<StudentRow> before = StudentStore::find(custNo);
        const StudentRow b = before.value_or(StudentRow{});
        if (verb == QLatin1String("delete"))
            return report(StudentStore::remove(custNo, b.sNo, b.nm, hooksFor(o)));
        StudentEntry e;
        e.custNo = custNo;
        e.gradeCode = b.sCd;
        e.classNo = b.sNo.mid(1);
        e.name = b.nm;
        e.sexText = shown(sexText(b.sex));
        e.bankText = bankText(b.bankCd);
        e.acctNo = b.acctNo;
        e.owr = b.owr;
        e.juNo = b.juNo;
        e.juNoStud = b.juNoStud;
        e.inDate = b.inDate;
        e.outDate = b.outDate;
        e.mTelNo = b.mTelNo;
        e.smsText = shown(smsText(b.smsYN));
        e.bigo = e.bigoLoaded = StudentStore::remark(custNo);
        apply(o, e);
        return report(StudentStore::save(e, b, hooksFor(o)));
    }
    return Driver::fail(QStringLiteral("student add|change|delete"));
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(
            QStringLiteral("student"),
            QStringLiteral(
                "student add [--field value]... | change CUSTNO [--field value]... | delete CUSTNO\n"
                "      fields: grade sno name sex bank acct owr juno junostud indate outdate tel sms bigo;\n"
                "      --rounds cancel|none|all|ENTRY,ENTRY  the round picker's answer"),
            studentCommand);
    }
} registrar;

} // namespace
