// zq-driver meal items / meal settings: the meal-certification items and
// settings as the two settings dialogs keep them.

#include "driver/Driver.h"
#include "transfers/collection/MealExport.h"
#include "transfers/collection/MealItems.h"
#include "transfers/common/Rounds.h"
#include "platform/ui/Msg.h"


#include <QJsonObject>

namespace {

void printItems(const QList<MealItems::Item>& items, const char* kind) {
    for (const MealItems::Item& i : items)
        Driver::print(QJsonObject{{QString::fromLatin1(kind), i.code},
                                  {QStringLiteral("name"), i.name},
                                  {QStringLiteral("kind"), i.kind}});
}

int mealCommand(const QStringList& args) {
    const QString what = args.value(0), verb = args.value(1);
    if (what == QLatin1String("items")) {
        if (!MealItems::ensureTable()) return Driver::fail(QStringLiteral("D_ITEM cannot be created"));
        if (verb == QLatin1String("list")) {
            printItems(MealItems::chosen(), "item");
            return 0;
        }
        if (verb == QLatin1String("available")) {
            printItems(MealItems::available(MealItems::chosen()), "available");
            return 0;
        }
        if (verb == QLatin1String("save")) {
            // CODE[:KIND],... with the names from C_ITEM, as the dialog takes them.
            const QList<MealItems::Item> all = MealItems::available({});
            QList<MealItems::Item> rows;
            for (const QString& entry : args.value(2).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QString code = entry.section(QLatin1Char(':'), 0, 0);
                MealItems::Item it{code, QString(), entry.section(QLatin1Char(':'), 1)};
                for (const MealItems::Item& a : all)
                    if (a.code == code) it.name = a.name;
                if (it.name.isEmpty()) return Driver::fail(QStringLiteral("no fee item ") + code);
                rows << it;
            }
            QString error;
            if (!MealItems::save(rows, &error)) return Driver::fail(error);
            printItems(MealItems::chosen(), "item");
            return 0;
        }
    }
    if (what == QLatin1String("rounds")) {
        // meal rounds yyyy-mm yyyy-mm: "조회" of the export window.
        const auto rounds = MealExport::roundsInRange(args.value(1), args.value(2));
        if (!rounds) {
            Msg::error(QStringLiteral("작성년월 입력오류"),
                       QStringLiteral("작성년월 조건이 잘못 입력되었습니다. 확인하십시오."));
            return 1;
        }
        for (const QString& t : *rounds)
            Driver::print(QJsonObject{{QStringLiteral("table"), t},
                                      {QStringLiteral("title"),
                                       Rounds::title(Rounds::yearMonOf(t), Rounds::seqNoOf(t))}});
        return 0;
    }
    if (what == QLatin1String("export")) {
        // meal export H_200_...,... [--kinds both|auto|cash]
        MealExport::Kinds k;
        const QString kinds = args.value(2) == QLatin1String("--kinds") ? args.value(3) : QStringLiteral("both");
        k.autoPaid = kinds != QLatin1String("cash");
        k.cash = kinds != QLatin1String("auto");
        const QString folder = MealItems::read().folder;
        int failures = 0;
        for (const QString& t : verb.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            qint64 amount = 0;
            const int counted = MealExport::countRows(t, k, &amount);
            QString file, error;
            const int rows = MealExport::writeRound(t, k, folder, &file, &error);
            if (rows < 0) ++failures;
            Driver::print(QJsonObject{{QStringLiteral("table"), t},
                                      {QStringLiteral("count"), counted},
                                      {QStringLiteral("amount"), amount},
                                      {QStringLiteral("rows"), rows},
                                      {QStringLiteral("file"), file},
                                      {QStringLiteral("error"), error}});
        }
        return failures ? 1 : 0;
    }
    if (what == QLatin1String("settings")) {
        MealItems::Settings s = MealItems::read();
        for (int i = 1; i + 1 < args.size(); i += 2) {
            if (args.at(i) == QLatin1String("--use")) s.use = args.at(i + 1) == QLatin1String("1");
            else if (args.at(i) == QLatin1String("--folder")) s.folder = args.at(i + 1);
            else return Driver::fail(QStringLiteral("unknown option ") + args.at(i));
        }
        if (args.size() > 1 && !MealItems::write(s)) return Driver::fail(QStringLiteral("settings not written"));
        Driver::print(QJsonObject{{QStringLiteral("use"), s.use}, {QStringLiteral("folder"), s.folder}});
        return 0;
    }
    return Driver::fail(QStringLiteral("meal items list|available|save CODE[:KIND],... | meal settings [--use 0|1] [--folder DIR]"));
}

const bool g_registered = [] {
    Driver::addCommand(QStringLiteral("meal"),
                       QStringLiteral("meal items list|available|save CODE[:KIND],...   meal settings [--use 0|1] [--folder DIR]   meal rounds FROM TO   meal export H_200_...,... [--kinds both|auto|cash]"),
                       mealCommand);
    return true;
}();

} // namespace
