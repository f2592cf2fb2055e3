// zq-driver exemption ... and stgroup ...: the exemption window's and the
// student-group window's actions on values, without a window.

#include "driver/Driver.h"
#include "driver/PrintOutput.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/Msg.h"
#include "students/ExempStore.h"
#include "students/StGroupStore.h"
#include "students/StudentStore.h"
#include "students/ThreeAcrossPrint.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>

namespace {

struct Args {
    QStringList positional;
    QMap<QString, QString> options;
    QString value(const char* k) const { return options.value(QString::fromUtf8(k)); }
    bool has(const char* k) const { return options.contains(QString::fromUtf8(k)); }
};

// --flag takes a value unless it is one of the bare switches.
Args parse(const QStringList& args, int from, const QStringList& switches = {}) {
    Args a;
    for (int i = from; i < args.size(); ++i) {
        const QString t = args.at(i);
        if (t.startsWith(QLatin1String("--"))) {
            const QString k = t.mid(2);
            if (switches.contains(k) || i + 1 >= args.size())
                a.options.insert(k, QString());
            else
                a.options.insert(k, args.at(++i));
        } else {
            a.positional << t;
        }
    }
    return a;
}

QStringList listOf(const QString& s) {
    return s.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

// Bounds "H,B,N" as the three search edits.
QStringList bound(const QString& s) {
    QStringList p = s.split(QLatin1Char(','));
    while (p.size() < 3)
        p << QString();
    return p;
}

int boxOf(bool ok, const QString& caption, const QString& text) {
    if (!ok) Msg::error(caption, text);
    return ok ? 0 : 1;
}

QString labelOf(const QString& itemCd) {
    for (const ExempItem& i : ExempStore::items())
        if (i.itemCd == itemCd) return i.label;
    return {};
}

// The listed students with these payer numbers, as the marked rows.
QList<ExempStudent> studentsOf(const QStringList& custNos) {
    QList<ExempStudent> out;
    const ExempListResult all = ExempStore::listStudents({}, {}, {}, {}, {}, {}, QStringLiteral("00"));
    for (const QString& c : custNos)
        for (const ExempStudent& s : all.rows)
            if (s.custNo == c) out << s;
    return out;
}

void printStudent(const ExempStudent& s) {
    Driver::print(QJsonObject{{QStringLiteral("sno"), s.sNo},
                              {QStringLiteral("name"), s.nm},
                              {QStringLiteral("custNo"), s.custNo},
                              {QStringLiteral("amount"), s.amount}});
}

int exemptionCommand(const QStringList& args) {
    const QString verb = args.value(0);
    const Args a = parse(args, 1, {QStringLiteral("partial")});
    const QString plain = StudentStore::plainCaption();
    if (verb == QLatin1String("items")) {
        for (const ExempItem& i : ExempStore::items())
            Driver::print(QJsonObject{{QStringLiteral("itemCd"), i.itemCd}, {QStringLiteral("label"), i.label}});
        return 0;
    }
    if (verb == QLatin1String("list")) {
        if (a.has("student")) {
            for (const ExempRow& e : ExempStore::ofStudent(a.value("student")))
                Driver::print(QJsonObject{{QStringLiteral("itemCd"), e.itemCd},
                                          {QStringLiteral("kind"), e.kindText()},
                                          {QStringLiteral("amount"), e.hasAmount ? QString::number(e.amount)
                                                                                 : QString()}});
            return 0;
        }
        const QStringList f = bound(a.value("from")), t = bound(a.value("to"));
        const ExempListResult r = ExempStore::listStudents(f[0], f[1], f[2], t[0], t[1], t[2],
                                                           a.has("item") ? a.value("item") : QStringLiteral("00"));
        if (!r.ok) return boxOf(false, r.caption, r.error);
        for (const ExempStudent& s : r.rows)
            printStudent(s);
        Driver::print(QJsonObject{{QStringLiteral("count"), int(r.rows.size())}});
        return 0;
    }
    if (verb == QLatin1String("save") || verb == QLatin1String("delete")) {
        if (a.positional.size() != 2) return Driver::fail(QStringLiteral("exemption save|delete CUSTNO ITEMCD"));
        const QList<ExempStudent> who = studentsOf({a.positional[0]});
        if (who.isEmpty()) {
            Msg::show(plain, QStringLiteral("학생을 선택하세요."));
            return 1;
        }
        const ExempStudent& s = who.first();
        const QString itemCd = a.positional[1];
        const QString label = labelOf(itemCd);
        if (label.isEmpty()) {
            Msg::show(plain, QStringLiteral("면제항목을 선택하세요."));
            return 1;
        }
        const QString menu = QStringLiteral("면제항목학생등록");
        if (verb == QLatin1String("delete")) {
            if (!ExempStore::find(s.custNo, itemCd)) return Driver::fail(QStringLiteral("no such exemption"));
            const ExempResult r = ExempStore::release(
                s.custNo, itemCd, menu,
                ExempStore::logLine(QStringLiteral("삭제 -> "), s.sCd, s.sNo, label, QStringLiteral(")")));
            return boxOf(r.ok, r.caption, r.text);
        }
        const bool full = !a.has("partial");
        const QString amount = a.has("amount") ? a.value("amount") : QString::number(DMData->GetItemAmt(itemCd));
        const QString tail = QStringLiteral("),  ") + amount + QStringLiteral("원 ") + ExempStore::kindText(full);
        const ExempResult r = ExempStore::save(ExempSave{s.custNo, itemCd, amount, full}, menu, [&](bool inserted) {
            return ExempStore::logLine(inserted ? QStringLiteral("등록 -> ") : QStringLiteral("수정 -> "), s.sCd,
                                       s.sNo, label, tail);
        });
        if (r.ok) Driver::print(QJsonObject{{QStringLiteral("saved"), r.inserted ? "inserted" : "updated"}});
        return boxOf(r.ok, r.caption, r.text);
    }
    if (verb == QLatin1String("release") || verb == QLatin1String("register")) {
        if (a.positional.size() != 2)
            return Driver::fail(QStringLiteral("exemption release|register ITEMCD CUSTNO,..."));
        const QString itemCd = a.positional[0];
        const QList<ExempStudent> marked = studentsOf(listOf(a.positional[1]));
        if (!Msg::askYesNo(QStringLiteral("정말 적용하시겠습니까?"),
                           QStringLiteral("선택된 자료를 일괄 적용하시겠습니까?.")))
            return 1;
        if (labelOf(itemCd).isEmpty()) {
            Msg::show(plain, QStringLiteral("면제항목을 선택하세요."));
            return 1;
        }
        ExempResult r;
        if (verb == QLatin1String("release")) {
            r = ExempStore::releaseMany(marked, itemCd);
        } else {
            Msg::show(plain, QStringLiteral("일괄수정"));
            if (marked.isEmpty()) {
                Msg::show(plain, QStringLiteral("선택된 레코드가 없습니다."));
                return 1;
            }
            const QString amount =
                a.has("amount") ? a.value("amount") : QString::number(DMData->GetItemAmt(itemCd));
            r = ExempStore::saveMany(marked, itemCd, amount, !a.has("partial"));
        }
        if (r.ok) Driver::print(QJsonObject{{QStringLiteral("rows"), r.rows}});
        return boxOf(r.ok, r.caption, r.text);
    }
    return Driver::fail(QStringLiteral("exemption items | list ... | save | delete | release | register"));
}

int stgroupCommand(const QStringList& args) {
    const QString verb = args.value(0);
    const Args a = parse(args, 1);
    const QString plain = StudentStore::plainCaption();
    if (verb == QLatin1String("list")) {
        if (a.positional.isEmpty()) {
            for (const QString& n : StGroupStore::names())
                Driver::print(QJsonObject{{QStringLiteral("group"), n}});
            return 0;
        }
        StGroupLists l;
        l.load(a.positional[0]);
        for (const StGroupStudent& s : l.dest())
            Driver::print(QJsonObject{{QStringLiteral("sno"), s.sNo.trimmed()},
                                      {QStringLiteral("name"), s.nm.trimmed()},
                                      {QStringLiteral("use"), s.enrolled() ? QStringLiteral("재학")
                                                                           : QStringLiteral("전출")},
                                      {QStringLiteral("custNo"), s.custNo.trimmed()}});
        Driver::print(QJsonObject{{QStringLiteral("count"), int(l.dest().size())}});
        return 0;
    }
    if (verb == QLatin1String("save") || verb == QLatin1String("delete")) {
        const QString name = a.positional.value(0).trimmed();
        if (name.isEmpty()) {
            Msg::show(plain, QStringLiteral("그룹명을 확인하세요."));
            return 1;
        }
        StGroupResult check;
        if (verb == QLatin1String("save") && !StGroupStore::names().contains(name) &&
            !StGroupStore::checkName(name, &check))
            return boxOf(false, check.caption, check.text);
        // The window's lists: the group as stored, then the members named.
        StGroupLists l;
        l.load(name);
        QStringList members;
        for (const StGroupStudent& s : l.dest())
            members << s.custNo;
        l.toSrc(members);
        const QStringList want = verb == QLatin1String("save") ? listOf(a.positional.value(1)) : QStringList();
        if (l.toDest(want) != want.size()) return Driver::fail(QStringLiteral("unknown payer number"));
        if (!Msg::askYesNo(QStringLiteral("저장"), QStringLiteral("저장하시겠습니까?"))) return 1;
        const StGroupResult r = StGroupStore::save(name, l.dest());
        if (r.ok) {
            Msg::info(QStringLiteral("저장"), QStringLiteral("저장하였습니다!"));
            Driver::print(QJsonObject{{QStringLiteral("members"), r.rows}});
        }
        return boxOf(r.ok, r.caption, r.text);
    }
    if (verb == QLatin1String("rename")) {
        if (a.positional.size() != 2) return Driver::fail(QStringLiteral("stgroup rename OLD NEW"));
        // As "그룹수정": the chosen name, the dialog's check of the new one,
        // then the store, which refuses a group that does not exist.
        if (a.positional[0].trimmed().isEmpty()) {
            Msg::show(plain, QStringLiteral("그룹명을 확인하세요."));
            return 1;
        }
        StGroupResult check;
        if (!StGroupStore::checkName(a.positional[1], &check)) return boxOf(false, check.caption, check.text);
        const StGroupResult r = StGroupStore::rename(a.positional[0], a.positional[1]);
        Msg::show(plain, r.ok ? QStringLiteral("변경되었습니다.") : r.text);
        if (r.ok) Driver::print(QJsonObject{{QStringLiteral("rows"), r.rows}});
        return r.ok ? 0 : 1;
    }
    return Driver::fail(QStringLiteral("stgroup list [NAME] | save NAME CUSTNO,... | rename OLD NEW | delete NAME"));
}

int printExemptions(QStringList args) {
    PrintOutput::Options out;
    QString error;
    if (!PrintOutput::take(args, out, &error)) return Driver::fail(error);
    const Args a = parse(args, 0);
    const QString item = a.value("item");
    const QString label = labelOf(item);
    const QStringList f = bound(a.value("from")), t = bound(a.value("to"));
    const ExempListResult r = item.isEmpty() ? ExempListResult{}
                                             : ExempStore::listStudents(f[0], f[1], f[2], t[0], t[1], t[2], item);
    if (!item.isEmpty() && !r.ok) return boxOf(false, r.caption, r.error);
    if (label.isEmpty() || r.rows.isEmpty()) {
        Msg::error(QStringLiteral("데이터 확인"), QStringLiteral("데이터가 없거나 항목을 선택하지 않았습니다."));
        return 1;
    }
    QList<QStringList> rows;
    for (const ExempStudent& s : r.rows)
        rows << QStringList{s.sNo, s.nm, s.amount};
    TFrmF301P00 report(label, rows);
    PrintOutput::Stream stream(out);
    return stream.finish(report.layout());
}

int printStGroups(QStringList args) {
    PrintOutput::Options out;
    QString error;
    if (!PrintOutput::take(args, out, &error)) return Driver::fail(error);
    const QString name = args.value(0).trimmed();
    StGroupLists l;
    l.load(name);
    if (name.isEmpty() || l.dest().isEmpty()) {
        Msg::error(QStringLiteral("데이터 확인"), QStringLiteral("그룹명 또는 그륩 소속 학생이 없습니다."));
        return 1;
    }
    QList<QStringList> rows;
    for (const StGroupStudent& s : l.dest())
        rows << QStringList{s.sNo.trimmed(), s.nm.trimmed(), s.enrolled() ? QStringLiteral("재학") : QStringLiteral("전출")};
    TFrmF302P00 report(name, rows);
    PrintOutput::Stream stream(out);
    return stream.finish(report.layout());
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("exemption"),
                           QStringLiteral("exemption items | list [--item ITEMCD] [--from H,B,N] [--to H,B,N] | "
                                          "list --student CUSTNO\n"
                                          "      | save CUSTNO ITEMCD [--amount A] [--partial] | delete CUSTNO ITEMCD\n"
                                          "      | release ITEMCD CUSTNO,... | register ITEMCD CUSTNO,... "
                                          "[--amount A] [--partial]"),
                           exemptionCommand);
        Driver::addCommand(QStringLiteral("stgroup"),
                           QStringLiteral("stgroup list [NAME] | save NAME CUSTNO,... | rename OLD NEW | delete NAME"),
                           stgroupCommand);
        Driver::addCommand(QStringLiteral("print-exemptions"),
                           QStringLiteral("print exemptions --item ITEMCD [--from H,B,N] [--to H,B,N] --pdf FILE "
                                          "[--dump FILE]"),
                           printExemptions);
        Driver::addCommand(QStringLiteral("print-stgroups"),
                           QStringLiteral("print stgroups NAME --pdf FILE [--dump FILE]"), printStGroups);
    }
} registrar;

} // namespace
