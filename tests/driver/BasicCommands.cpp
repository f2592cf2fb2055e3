// zq-driver commands of the basic codes: grades, item groups, fee items and
// the school's accounts. Saves and deletions run the dialogs' own actions, so
// their questions are answered from --answers.
#include "basic/BasicActions.h"
#include "driver/Driver.h"

#include <QJsonObject>
#include <QMap>

namespace {

// "--name value" options and bare "--flag"s after the subcommand.
struct Options {
    QMap<QString, QString> values;
    QStringList flags;
    QStringList positional;
    QString value(const char* name) const { return values.value(QString::fromLatin1(name)); }
    bool has(const char* name) const {
        return values.contains(QString::fromLatin1(name)) || flags.contains(QString::fromLatin1(name));
    }
};

Options parse(const QStringList& args, const QStringList& flagNames) {
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QLatin1String("--"))) {
            const QString name = a.mid(2);
            if (flagNames.contains(name) || i + 1 >= args.size())
                o.flags << name;
            else
                o.values.insert(name, args[++i]);
        } else {
            o.positional << a;
        }
    }
    return o;
}

int finish(const ActionResult& r) {
    Driver::print(QJsonObject{{QStringLiteral("done"), r.done}, {QStringLiteral("focus"), r.focus}});
    return r.done ? 0 : 1;
}

int grade(const QStringList& args) {
    const QString sub = args.value(0);
    if (sub == QLatin1String("list")) {
        for (const GradeRow& g : GradeStore::rows())
            Driver::print(QJsonObject{{QStringLiteral("code"), g.code},
                                      {QStringLiteral("name"), g.name},
                                      {QStringLiteral("kind"), g.kind}});
        return 0;
    }
    if (sub == QLatin1String("save") && args.size() >= 3)
        return finish(GradeActions::save(GradeRow{args[1], args[2], args.value(3)}));
    if (sub == QLatin1String("delete") && args.size() >= 2) return finish(GradeActions::remove(args[1]));
    return Driver::fail(QStringLiteral("usage: grade list | save CODE NAME [KIND] | delete CODE"));
}

QString groupName(const QString& code) {
    for (const GroupRow& g : GroupStore::rows())
        if (g.code == code) return g.name;
    return {};
}

int group(const QStringList& args) {
    const QString sub = args.value(0);
    if (sub == QLatin1String("list")) {
        for (const GroupRow& g : GroupStore::rows())
            Driver::print(QJsonObject{{QStringLiteral("code"), g.code},
                                      {QStringLiteral("name"), g.name},
                                      {QStringLiteral("memo"), g.memo}});
        return 0;
    }
    if (sub == QLatin1String("next")) {
        const auto code = GroupActions::newCode();
        if (!code) return 1;
        Driver::print(QJsonObject{{QStringLiteral("code"), *code}});
        return 0;
    }
    // A new group: the dialog's "신규" proposes the code.
    if (sub == QLatin1String("add") && args.size() >= 2) {
        const auto code = GroupActions::newCode();
        if (!code) return 1;
        Driver::print(QJsonObject{{QStringLiteral("code"), *code}});
        return finish(GroupActions::save(GroupRow{*code, args[1], args.value(2)}, QString()));
    }
    if (sub == QLatin1String("save") && args.size() >= 3)
        return finish(GroupActions::save(GroupRow{args[1], args[2], args.value(3)}, groupName(args[1])));
    if (sub == QLatin1String("delete") && args.size() >= 2)
        return finish(GroupActions::remove(args[1], groupName(args[1])));
    return Driver::fail(
        QStringLiteral("usage: group list | next | add NAME [MEMO] | save CODE NAME [MEMO] | delete CODE"));
}

int item(const QStringList& args) {
    const QString sub = args.value(0);
    const Options o = parse(args.mid(1), {QStringLiteral("edu")});
    if (sub == QLatin1String("list") && !o.positional.isEmpty()) {
        for (const ItemRow& i : ItemStore::rowsOfGroup(o.positional[0]))
            Driver::print(QJsonObject{{QStringLiteral("itemCd"), i.itemCd},
                                      {QStringLiteral("itemId"), i.itemId},
                                      {QStringLiteral("name"), i.name},
                                      {QStringLiteral("amount"), double(i.amount)},
                                      {QStringLiteral("kwan"), i.kwan},
                                      {QStringLiteral("hang"), i.hang},
                                      {QStringLiteral("eduType"), i.eduType},
                                      {QStringLiteral("gcode"), i.gcode}});
        return 0;
    }
    if (sub == QLatin1String("next") && !o.positional.isEmpty()) {
        Driver::print(QJsonObject{{QStringLiteral("itemId"), ItemStore::nextItemId(o.positional[0])}});
        return 0;
    }
    if (sub == QLatin1String("save") && o.has("group")) {
        ItemInput in;
        in.gcode = o.value("group");
        in.itemId = o.value("id");
        in.name = o.value("name");
        in.amount = o.value("amount");
        // Kwan and Hang follow the name as typed unless given.
        in.kwan = o.has("kwan") ? o.value("kwan") : in.name;
        in.hang = o.has("hang") ? o.value("hang") : in.name;
        in.eduTarget = o.has("edu");
        if (o.has("item")) {
            // Editing: the item as if its row had been clicked.
            const auto row = ItemStore::find(o.value("item"));
            if (!row) return Driver::fail(QStringLiteral("no item ") + o.value("item"));
            in.itemCd = row->itemCd;
            in.shownItemId = row->itemId;
            if (!o.has("id")) in.itemId = row->itemId;
            if (!o.has("name")) in.name = row->name;
            if (!o.has("amount")) in.amount = QString::number(row->amount);
            if (!o.has("kwan")) in.kwan = row->kwan;
            if (!o.has("hang")) in.hang = row->hang;
            if (!o.has("edu")) in.eduTarget = row->eduType == QLatin1String("1");
        } else if (!o.has("id")) {
            in.itemId = ItemStore::nextItemId(in.gcode); // as "신규" proposes
        }
        return finish(ItemActions::save(in));
    }
    if (sub == QLatin1String("delete") && !o.positional.isEmpty()) {
        const auto row = ItemStore::find(o.positional[0]);
        return finish(ItemActions::remove(o.positional[0], row ? row->itemId : QString()));
    }
    return Driver::fail(
        QStringLiteral("usage: item list GCODE | next GCODE | save --group G [--item ITEMCD] [--id ID] "
                       "[--name N] [--amount A] [--kwan K] [--hang H] [--edu] | delete ITEMCD"));
}

AcctInput acctInput(const Options& o) {
    AcctInput in;
    in.bankCd = o.value("bank");
    in.distribution = o.has("dist");
    in.acctNo = o.value("acct");
    in.compyNo = o.value("compy");
    in.passwd = o.value("passwd");
    in.gcode = o.has("group") ? o.value("group") : QStringLiteral("01");
    in.eduCode = o.value("edu");
    in.repCd = o.value("cms");
    return in;
}

int account(const QStringList& args) {
    AccountStore::ensureBankNotes(); // as the dialog does when it opens
    const QString sub = args.value(0);
    const Options o = parse(args.mid(1), {QStringLiteral("dist")});
    if (sub == QLatin1String("list")) {
        for (const AcctRow& a : AccountStore::rows())
            Driver::print(QJsonObject{{QStringLiteral("bankCd"), a.bankCd},
                                      {QStringLiteral("gubun"), a.gubun},
                                      {QStringLiteral("acctNo"), a.acctNo},
                                      {QStringLiteral("compyNo"), a.compyNo},
                                      {QStringLiteral("passwd"), a.passwd},
                                      {QStringLiteral("gcode"), a.gcode},
                                      {QStringLiteral("eduCode"), a.eduCode},
                                      {QStringLiteral("repCd"), a.repCd},
                                      {QStringLiteral("repYn"), a.repYn}});
        return 0;
    }
    if (sub == QLatin1String("notes") && !o.positional.isEmpty()) {
        for (const QString& n : AccountStore::bankNotes(o.positional[0]))
            Driver::print(QJsonObject{{QStringLiteral("note"), n}});
        return 0;
    }
    if (sub == QLatin1String("check") && o.positional.size() >= 2) {
        const bool ok = AccountActions::checkAcctNo(o.positional[0], o.positional[1]);
        Driver::print(QJsonObject{{QStringLiteral("valid"), ok}});
        return ok ? 0 : 1;
    }
    if (sub == QLatin1String("save") && o.has("bank")) return finish(AccountActions::save(acctInput(o)));
    if (sub == QLatin1String("delete") && o.has("bank")) {
        // --shown BANK,KIND,ACCT,COMPY: the row clicked before the key was
        // typed (defaults to the typed account itself).
        std::optional<AcctRow> shown;
        const AcctInput typed = acctInput(o);
        if (o.has("shown")) {
            const QStringList k = o.value("shown").split(QLatin1Char(','));
            if (k.size() != 4) return Driver::fail(QStringLiteral("--shown BANK,KIND,ACCT,COMPY"));
            shown = AccountStore::find(k[0], k[1], k[2], k[3]);
        } else {
            shown = AccountStore::find(typed.bankCd, typed.gubun(), typed.acctNo, typed.compyNo);
        }
        return finish(AccountActions::remove(typed, shown));
    }
    return Driver::fail(QStringLiteral(
        "usage: account list | notes BANK | check BANK ACCTNO | save --bank B [--dist] --acct A [--compy C] "
        "[--passwd P] [--group G] [--edu E] [--cms R] | delete --bank B [--dist] --acct A [--compy C] "
        "[--shown BANK,KIND,ACCT,COMPY]"));
}

struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("grade"),
                           QStringLiteral("grade list|save CODE NAME [KIND]|delete CODE   grades (학년등록)"),
                           grade);
        Driver::addCommand(
            QStringLiteral("group"),
            QStringLiteral("group list|next|add NAME [MEMO]|save CODE NAME [MEMO]|delete CODE   "
                           "item groups (항목그룹등록)"),
            group);
        Driver::addCommand(
            QStringLiteral("item"),
            QStringLiteral("item list G|next G|save --group G ...|delete ITEMCD   fee items (항목등록)"),
            item);
        Driver::addCommand(
            QStringLiteral("account"),
            QStringLiteral("account list|notes B|check B N|save --bank B ...|delete --bank B ...   "
                           "school accounts (은행등록)"),
            account);
    }
};
const Registrar registrar;

} // namespace
