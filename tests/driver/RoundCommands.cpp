// zq-driver round ...: collection rounds created, merged, copied, titled,
// pruned and extended through the same routines as the round dialogs.
#include "driver/Driver.h"

#include "data/DMMain.h"
#include "platform/sys/Clock.h"
#include "transfers/collection/RoundBuilder.h"
#include "transfers/common/Rounds.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>

namespace {

using Action = RoundMessages::Action;

struct Args {
    QMap<QString, QString> opts;
    QString error;
    QString get(const char* k, const QString& def = {}) const {
        return opts.value(QString::fromUtf8(k), def);
    }
    bool has(const char* k) const { return opts.contains(QString::fromUtf8(k)); }
    QStringList list(const char* k) const { return get(k).split(QLatin1Char(','), Qt::SkipEmptyParts); }
};

Args parse(const QStringList& in) {
    Args a;
    for (int i = 0; i < in.size(); ++i) {
        if (!in[i].startsWith(QLatin1String("--")) || i + 1 >= in.size()) {
            a.error = QStringLiteral("bad argument: ") + in[i];
            return a;
        }
        a.opts.insert(in[i].mid(2), in[i + 1]);
        ++i;
    }
    return a;
}

// The item group line "<G_CODE>.<G_NAME>" of a code, as the collection
// window's combo shows it.
QString groupLine(const QString& gc) {
    DMData->LoadGroups();
    for (const aGroup& g : DMData->GroupList)
        if (g.G_CODE == gc) return g.Display;
    return gc + QLatin1Char('.');
}

QString itemLine(const QString& gc, const QString& itemId) {
    const QString nm = DMData->FindGItemName(gc, itemId);
    return itemId + QLatin1Char('.') + nm;
}

RoundTarget target(const Args& a, const QString& seq) {
    return RoundTarget{groupLine(a.get("group", QStringLiteral("01"))), a.get("ym"), seq};
}

GradeSelection gradeSelection(const Args& a) {
    const QString gc = a.get("group", QStringLiteral("01"));
    GradeSelection s;
    s.grades = a.list("grades");
    s.itemIds = a.list("items");
    for (const QString& i : s.itemIds)
        s.itemLines << itemLine(gc, i);
    s.bank = Rounds::BankChoice{a.get("bank", QStringLiteral("00")), Rounds::offeredBanks(gc)};
    return s;
}

// "--groups 합창단=01,방과후반=02": a student group with one item each.
QList<GroupItem> groupItems(const Args& a) {
    const QString gc = a.get("group", QStringLiteral("01"));
    QList<GroupItem> out;
    for (const QString& p : a.list("groups")) {
        const QString grp = p.section(QLatin1Char('='), 0, 0);
        const QString item = p.section(QLatin1Char('='), 1);
        out << GroupItem{grp, item, itemLine(gc, item)};
    }
    return out;
}

int report(Action action, const RoundTarget& t, const RoundResult& r) {
    RoundMessages::show(action, r);
    if (!r.ok()) {
        QJsonObject o{{QStringLiteral("refused"), true}};
        if (!r.error.isEmpty()) o.insert(QStringLiteral("error"), r.error);
        Driver::print(o);
        return 1;
    }
    Driver::print(QJsonObject{{QStringLiteral("table"), t.table()},
                              {QStringLiteral("rows"), r.rows},
                              {QStringLiteral("dropped"), r.dropped},
                              {QStringLiteral("skipped"), QJsonArray::fromStringList(r.skipped)}});
    return 0;
}

// Round of --seq, or the next free one of the month.
bool seqFor(const Args& a, QString* seq) {
    *seq = a.get("seq");
    if (!seq->isEmpty()) return true;
    *seq = Rounds::nextSeqNo(Rounds::collectionTables(), a.get("ym"));
    if (seq->isEmpty()) {
        RoundMessages::badRound();
        return false;
    }
    return true;
}

int create(const QString& how, const Args& a) {
    QString seq;
    if (!seqFor(a, &seq)) return 1;
    const QStringList before = Rounds::collectionTables();
    const RoundTarget t = target(a, seq);
    const QString title = a.get("title");
    if (how == QLatin1String("merge"))
        return report(Action::Merge, t, RoundBuilder::createMerged(t, a.list("sources"), title));
    if (how == QLatin1String("copy"))
        return report(Action::Copy, t, RoundBuilder::createCopy(t, a.get("source"), title));
    if (a.has("groups"))
        return report(Action::CreateByGroup, t, RoundBuilder::createByGroup(t, groupItems(a), title));
    const int rc = report(Action::CreateByGrade, t, RoundBuilder::createByGrade(t, gradeSelection(a), title));
    // The first round of a month by grade offers the unused rounds.
    if (rc == 0 && seq == QLatin1String("01")) {
        const QStringList unused = RoundBuilder::unusedRounds(before);
        if (!unused.isEmpty())
            Driver::print(QJsonObject{{QStringLiteral("unused"), QJsonArray::fromStringList(unused)}});
    }
    return rc;
}

int run(const QStringList& args) {
    if (args.isEmpty()) return Driver::fail(QStringLiteral("round: missing subcommand"));
    const QString sub = args.first();
    // The listing and the add-student save live with the work-window commands.
    if (sub == QLatin1String("show")) return Driver::runCommand(QStringLiteral("round-show"), args.mid(1));
    if (sub == QLatin1String("add-student"))
        return Driver::runCommand(QStringLiteral("round-add-student"), args.mid(1));
    // The row edits live with their own commands.
    if (sub == QLatin1String("edit") || sub == QLatin1String("status") || sub == QLatin1String("find"))
        return Driver::runCommand(QStringLiteral("round-") + sub, args.mid(1));
    const Args a = parse(args.mid(1));
    if (!a.error.isEmpty()) return Driver::fail(a.error);
    if (a.has("group")) DMData->SetItemGroup(a.get("group"));

    if (sub == QLatin1String("create") || sub == QLatin1String("merge") || sub == QLatin1String("copy")) {
        if (!a.has("ym")) return Driver::fail(QStringLiteral("round %1: --ym is required").arg(sub));
        return create(sub, a);
    }
    if (sub == QLatin1String("add")) {
        const RoundTarget t = target(a, a.get("seq"));
        if (a.has("groups")) return report(Action::AddByGroup, t, RoundBuilder::addByGroup(t, groupItems(a)));
        return report(Action::AddByGrade, t, RoundBuilder::addByGrade(t, gradeSelection(a)));
    }
    if (sub == QLatin1String("delete")) {
        if (a.has("drop")) {
            const int n = RoundBuilder::dropRounds(a.list("drop"));
            Rounds::plainBox(QStringLiteral("%1개의 회차가 삭제되었습니다.").arg(n));
            Driver::print(QJsonObject{{QStringLiteral("dropped"), n}});
            return 0;
        }
        const RoundTarget t = target(a, a.get("seq"));
        if (a.has("groups"))
            return report(Action::DeleteByGroup, t, RoundBuilder::deleteByGroup(t, groupItems(a)));
        const GradeSelection s = gradeSelection(a);
        return report(Action::DeleteByGrade, t,
                      RoundBuilder::deleteByGrade(t, s.grades, s.itemIds, s.itemLines));
    }
    if (sub == QLatin1String("title")) {
        const QString ym = a.get("ym"), ss = a.get("seq");
        if (a.has("set") && !Rounds::saveTitle(ym, ss, a.get("set")))
            return Driver::fail(QStringLiteral("title not saved"));
        Driver::print(QJsonObject{{QStringLiteral("round"), ym + QLatin1Char('-') + ss},
                                  {QStringLiteral("title"), Rounds::title(ym, ss)},
                                  {QStringLiteral("caption"), Rounds::roundCaption(ym, ss)}});
        return 0;
    }
    if (sub == QLatin1String("list")) {
        if (a.has("unused")) {
            Driver::print(QJsonObject{
                {QStringLiteral("unused"),
                 QJsonArray::fromStringList(RoundBuilder::unusedRounds(Rounds::collectionTables()))}});
            return 0;
        }
        if (a.has("candidates")) {
            Driver::print(
                QJsonObject{{QStringLiteral("candidates"),
                             QJsonArray::fromStringList(Rounds::mergeCandidates(a.get("candidates")))}});
            return 0;
        }
        for (const Rounds::RoundLine& l :
             Rounds::selectorRounds(a.get("mask", QStringLiteral("H_200_*.db")), a.get("gcode")))
            Driver::print(QJsonObject{{QStringLiteral("table"), l.table},
                                      {QStringLiteral("key"), l.key},
                                      {QStringLiteral("line"), l.display}});
        if (a.has("next"))
            Driver::print(QJsonObject{
                {QStringLiteral("next"), Rounds::nextSeqNo(Rounds::collectionTables(), a.get("next"))}});
        return 0;
    }
    return Driver::fail(QStringLiteral("round: unknown subcommand ") + sub);
}

const bool registered = [] {
    Driver::addCommand(QStringLiteral("round"),
                       QStringLiteral("round create|merge|copy|add|delete|title|list|show|add-student --ym "
                                      "YYYYMM [--seq SS] [--group 01] ..."),
                       run);
    return true;
}();

} // namespace
