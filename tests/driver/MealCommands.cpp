// zq-driver meal items / settings / rounds / export: the meal-certification
// items and settings as the two settings dialogs keep them, and the manual
// export window.

#include "driver/Driver.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "transfers/collection/M401B00.h"
#include "transfers/collection/M401B01.h"
#include "transfers/collection/MealExport.h"
#include "transfers/collection/MealItems.h"
#include "transfers/common/Rounds.h"

#include <QJsonObject>
#include <QLabel>
#include <QPushButton>

namespace {

void printItems(const QList<MealItems::Item>& items, const char* kind) {
    for (const MealItems::Item& i : items)
        Driver::print(QJsonObject{{QString::fromUtf8(kind), i.code},
                                  {QStringLiteral("name"), i.name},
                                  {QStringLiteral("kind"), i.kind}});
}

// meal export H_200_...,... [--kinds both|auto|cash]: the menu's and the
// window's checks as they come, the rounds marked, "급식인증파일생성" with its
// boxes and its confirmation (a box line answered from --answers).
int mealExport(const QStringList& args) {
    const QString kinds = Driver::opt(args, QStringLiteral("kinds"), QStringLiteral("both"));
    if (kinds != QLatin1String("both") && kinds != QLatin1String("auto") && kinds != QLatin1String("cash"))
        return Driver::fail(QStringLiteral("--kinds takes both, auto or cash"));
    MealExport::Kinds k;
    k.autoPaid = kinds != QLatin1String("cash");
    k.cash = kinds != QLatin1String("auto");
    const MealItems::Settings settings = MealItems::read();
    if (settings.folder.trimmed().isEmpty()) {
        Msg::show(QStringLiteral("급식인증 파일 저장경로 미등록"),
                  QStringLiteral("급식인증 전송파일 저장경로가 등록되어 있지 않습니다. \r확인하십시오."),
                  MsgIcon::Error);
        return 1;
    }
    if (!settings.use) {
        Rounds::plainBox(QStringLiteral("급식인증 환경설정이 자동으로 설정 되어있지 않습니다."));
        return 1;
    }
    // Only rounds the window lists can be marked.
    const QStringList listed = Rounds::collectionTables();
    QStringList tables;
    for (const QString& t : args.value(0).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!listed.contains(t)) return Driver::fail(QStringLiteral("no collection round ") + t);
        tables << t;
    }
    Modal::setRunner([](QDialog* d) {
        auto* confirm = qobject_cast<TFrmM401B01*>(d);
        if (!confirm) return Driver::runModal(d);
        const MsgResult r = Driver::answer(MsgBox{confirm->windowTitle(),
                                                  QStringLiteral("총건수: ") + confirm->txtV->text() +
                                                      QStringLiteral("\r총금액: ") + confirm->txtW->text(),
                                                  MsgIcon::Question, MsgButtons::OkCancel});
        if (r == MsgResult::Ok)
            confirm->cmdApply->click();
        else
            confirm->cmdCancel->click();
        return confirm->result();
    });
    const TFrmM401B00::Run run = TFrmM401B00::createWorkbooks(tables, k, settings.folder);
    Modal::setRunner(Driver::runModal);
    for (const TFrmM401B00::Written& w : run.written)
        Driver::print(QJsonObject{{QStringLiteral("table"), w.table},
                                  {QStringLiteral("rows"), w.rows},
                                  {QStringLiteral("file"), w.file}});
    Driver::print(QJsonObject{{QStringLiteral("created"), run.created},
                              {QStringLiteral("count"), run.count},
                              {QStringLiteral("amount"), run.amount}});
    return run.created ? 0 : 1;
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
    if (what == QLatin1String("export")) return mealExport(args.mid(1));
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
