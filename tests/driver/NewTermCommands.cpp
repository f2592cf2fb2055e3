// zq-driver sno change|import and newterm ...: the grade and number changes
// and the new-term class assignment, without a window.

#include "driver/Driver.h"

#include "data/DMModule.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "platform/ui/TextViewer.h"
#include "students/GradeFiles.h"
#include "students/NewTerm.h"
#include "students/SnoChange.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

const char* outcomeName(SnoChange::Outcome o) {
    switch (o) {
    case SnoChange::Outcome::Changed: return "changed";
    case SnoChange::Outcome::Empty: return "empty";
    case SnoChange::Outcome::Taken: return "taken";
    case SnoChange::Outcome::NotFound: return "not-found";
    case SnoChange::Outcome::Refused: return "refused";
    case SnoChange::Outcome::Failed: return "failed";
    }
    return "";
}

int sno(const QStringList& a) {
    if (a.value(0) == QLatin1String("change") && (a.size() == 3 || a.size() == 4)) {
        // The dialog's name edit shows the stored name unless it is retyped.
        QString name = a.value(3);
        if (a.size() == 3)
            for (const QString& g : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                                     QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")})
                for (const SnoChange::Student& s : SnoChange::gradeStudents(g))
                    if (s.custNo == a.at(1)) name = s.nm;
        QString error;
        const SnoChange::Outcome o = SnoChange::change(a.at(1), a.at(2), name, &error);
        if (o == SnoChange::Outcome::Empty)
            Msg::error(QStringLiteral("학번입력오류"), QStringLiteral("학번을 입력하세요!"));
        else if (o == SnoChange::Outcome::Taken)
            Msg::error(QStringLiteral("학년반변경"), QStringLiteral("존재하는 학번입니다"));
        else if (o == SnoChange::Outcome::Refused)
            Msg::error(QStringLiteral("입력오류"), error);
        Driver::print(QJsonObject{{QStringLiteral("result"), QString::fromLatin1(outcomeName(o))},
                                  {QStringLiteral("error"), error}});
        return o == SnoChange::Outcome::Changed ? 0 : 1;
    }
    if (a.value(0) == QLatin1String("import") && a.size() <= 2) {
        // FILE is the open dialog's answer (else --file); refused rows open
        // the viewer.
        if (a.size() == 2) Driver::queueFile(a.at(1));
        const SnoChange::ImportResult r = SnoChange::importWithDialogs(nullptr);
        Driver::print(QJsonObject{{QStringLiteral("stored"), r.changed},
                                  {QStringLiteral("refused"), int(r.errors.size())}});
        return r.ok ? 0 : 1;
    }
    return Driver::fail(QStringLiteral("usage: sno change CUSTNO NEWSNO [NAME] | sno import [FILE]"));
}

QJsonObject rowJson(const NewTermRow& r) {
    return {{QStringLiteral("custNo"), r.custNo}, {QStringLiteral("old"), r.sNo},
            {QStringLiteral("nm"), r.nm},         {QStringLiteral("new"), r.key()}};
}

// --from/--to as the range edits build them (MakeSNo of their parts).
QString bound(const QStringList& a, const QString& opt) {
    const int i = int(a.indexOf(opt));
    return i >= 0 ? a.value(i + 1) : QString();
}

QJsonArray rowJson(const GradeFiles::Row& r) {
    return QJsonArray::fromStringList(r);
}

// newterm files ...: the grade files of "학년,학번 자동변경".
int files(const QStringList& a) {
    const QString what = a.value(0);
    const int grade = a.value(1).toInt();
    QString error;
    bool ok = true;
    if (what == QLatin1String("split")) {
        ok = GradeFiles::split(&error);
        if (ok) Msg::info(QStringLiteral("학년별화일나누기"), QStringLiteral("파일 나누기가 완료되었습니다!"));
    } else if (what == QLatin1String("list")) {
        const QList<GradeFiles::Row> rows = GradeFiles::rows(grade, &error);
        ok = error.isEmpty();
        for (const GradeFiles::Row& r : rows) Driver::print(QJsonObject{{QStringLiteral("row"), rowJson(r)}});
    } else if (what == QLatin1String("autonum")) {
        const bool three = Driver::opt(a, QStringLiteral("digits"), SNoLen == 5 ? QStringLiteral("2") : QStringLiteral("3")) ==
                           QLatin1String("3");
        ok = GradeFiles::autoNumber(grade, three, &error);
        if (ok) Msg::info(QStringLiteral("변환완료"), QStringLiteral("자동번호부여가 완료되었습니다!!"));
    } else if (what == QLatin1String("grade") && (a.value(2) == QLatin1String("up") || a.value(2) == QLatin1String("down"))) {
        ok = GradeFiles::moveGrade(grade, a.value(2) == QLatin1String("up"), &error);
        if (ok) Msg::info(QStringLiteral("변환완료"), QStringLiteral("자동 학년 변경이 완료되었습니다!!"));
    } else if (what == QLatin1String("change") || what == QLatin1String("add")) {
        const GradeFiles::Entry e{Driver::opt(a, QStringLiteral("sex")), Driver::opt(a, QStringLiteral("name")),
                                  Driver::opt(a, QStringLiteral("bank"), QStringLiteral("99")),
                                  Driver::opt(a, QStringLiteral("acct")), Driver::opt(a, QStringLiteral("owr"))};
        QString custNo = a.value(2);
        ok = what == QLatin1String("change") ? GradeFiles::change(grade, custNo, a.value(3), e, &error)
                                             : GradeFiles::add(grade, a.value(2), e, &custNo, &error);
        if (ok) Driver::print(QJsonObject{{QStringLiteral("custNo"), custNo}});
    } else if (what == QLatin1String("set") && a.size() == 5) {
        ok = GradeFiles::setCell(grade, a.value(2), int(GradeFiles::kFields.indexOf(a.value(3))), a.value(4), &error);
    } else {
        return Driver::fail(QStringLiteral(
            "usage: newterm files split | list G | autonum G [--digits 2|3] | grade G up|down | "
            "change G CUSTNO NEWSNO [--name N] [--sex S] [--bank BB] [--acct A] [--owr O] | add G SNO [same options] | "
            "set G CUSTNO FIELD VALUE"));
    }
    if (!ok) {
        // The window's boxes: its own caption for reading, renumbering and
        // moving a grade, the save's for the rest.
        if (what == QLatin1String("split"))
            Msg::error(QStringLiteral("학년별화일나누기"), error);
        else if (what == QLatin1String("list") || what == QLatin1String("autonum") ||
                 what == QLatin1String("grade"))
            Msg::error(QStringLiteral("학년,학번 자동변경"), error);
        else
            Msg::error(QStringLiteral("저장오류"), QStringLiteral("저장이 안되었습니다!\r") + error);
        return 1;
    }
    return 0;
}

// newterm merge: the grade files into the roster after the question and a
// backup, in one transaction; the rows that could not be merged are listed.
int merge() {
    const QString caption = QStringLiteral("학년별파일합치기");
    const GradeFiles::MergePlan p = GradeFiles::plan();
    if (!p.error.isEmpty()) {
        Msg::error(caption, p.error);
        return 1;
    }
    // The window's box, then the list its viewer shows.
    const auto refuseShared = [&](const QStringList& duplicates) {
        Msg::error(caption, GradeFiles::sharedNumbersText(duplicates));
        Driver::print(QJsonObject{{QStringLiteral("duplicates"), QJsonArray::fromStringList(duplicates)}});
        return 1;
    };
    if (!p.duplicates.isEmpty()) return refuseShared(p.duplicates);
    if (!Msg::askYesNo(caption,
                       QStringLiteral("학년별 파일을 학생명부에 합치시겠습니까?\r수정 %1명, 추가 %2명, 합칠 수 없는 "
                                      "자료 %3건\r합치기 전에 자료백업을 합니다.")
                           .arg(p.updates.size())
                           .arg(p.additions.size())
                           .arg(p.refused.size()),
                       nullptr, MsgIcon::Question, true))
        return 1;
    const GradeFiles::BackedMerge r = GradeFiles::backupAndMerge(p);
    if (r.backupFailed) {
        Msg::error(QStringLiteral("백업실패"), QStringLiteral("자료백업을 하지 못하여 파일을 합치지 않았습니다.\r") + r.error);
        return 1;
    }
    if (!r.duplicates.isEmpty()) return refuseShared(r.duplicates);
    if (!r.ok) {
        Msg::error(caption, QStringLiteral("파일 합치기 중 오류가 발생하여 학생명부를 바꾸지 않았습니다.\r") + r.error);
        return 1;
    }
    Msg::info(caption, QStringLiteral("파일 합치기가 완료되었습니다!!"));
    if (!r.report.isEmpty()) TextViewer::showText(caption, r.report.join(QLatin1Char('\n')));
    Driver::print(QJsonObject{{QStringLiteral("updated"), r.updated},
                              {QStringLiteral("added"), r.added},
                              {QStringLiteral("backup"), r.archive},
                              {QStringLiteral("report"), QJsonArray::fromStringList(r.report)}});
    return 0;
}

int newterm(const QStringList& a) {
    const QString sub = a.value(0);
    if (sub == QLatin1String("files")) return files(a.mid(1));
    if (sub == QLatin1String("merge")) return merge();
    const QString from = bound(a, QStringLiteral("--from")), to = bound(a, QStringLiteral("--to"));
    if (sub == QLatin1String("prepare") || sub == QLatin1String("fill")) {
        const bool existed = NewTerm::VTempExists();
        const NewTerm::FillResult r = NewTerm::FillVTemp();
        if (r.ok && r.students == 0)
            Msg::show(QStringLiteral("zq-driver"), QStringLiteral("학생명부 DB에 학생자료가 존재하지 않습니다."));
        Driver::print(QJsonObject{{QStringLiteral("created"), !existed}, {QStringLiteral("students"), r.students},
                                  {QStringLiteral("added"), r.added}, {QStringLiteral("removed"), r.removed},
                                  {QStringLiteral("error"), r.error}});
        return r.ok ? 0 : 1;
    }
    bool ok = false;
    QList<NewTermRow> rows = NewTerm::rows(from, to, &ok);
    if (!ok) return Driver::fail(QStringLiteral("V_TEMP cannot be read"));
    if (sub == QLatin1String("rows")) {
        for (const NewTermRow& r : rows) Driver::print(QJsonObject{{QStringLiteral("row"), rowJson(r)}});
        return 0;
    }
    // The edit form's bulk buttons and typing, saved as the form saves.
    if (sub == QLatin1String("set")) {
        for (int i = 1; i < a.size(); ++i) {
            const QString& o = a.at(i);
            if (o == QLatin1String("--promote") || o == QLatin1String("--keep-grade")) {
                NewTerm::setGrades(rows, o == QLatin1String("--promote"));
            } else if (o == QLatin1String("--class")) {
                QString error;
                const QString ban = NewTerm::classEntry(a.value(++i), &error);
                if (ban.isEmpty()) {
                    Msg::error(QStringLiteral("새반 입력 오류"), error);
                    return 1;
                }
                NewTerm::setClass(rows, ban);
            } else if (o == QLatin1String("--old")) {
                NewTerm::keepOldClassAndNumber(rows);
            } else if (o == QLatin1String("--row")) {
                // CUSTNO=G,B,N
                const QStringList kv = a.value(++i).split(QLatin1Char('='));
                const QStringList v = kv.value(1).split(QLatin1Char(','));
                for (NewTermRow& r : rows)
                    if (r.custNo == kv.value(0)) {
                        r.newGrade = v.value(0);
                        r.newBan = v.value(1);
                        r.newBun = v.value(2);
                    }
            } else if (o == QLatin1String("--from") || o == QLatin1String("--to")) {
                ++i;
            } else {
                return Driver::fail(QStringLiteral("unknown option ") + o);
            }
        }
        QString error;
        if (!NewTerm::save(rows, &error)) return Driver::fail(error);
        Driver::print(QJsonObject{{QStringLiteral("saved"), int(rows.size())}});
        return 0;
    }
    if (sub == QLatin1String("reset")) {
        QString error;
        if (!NewTerm::reset(from, to, &error)) return Driver::fail(error);
        Driver::print(QJsonObject{{QStringLiteral("reset"), true}});
        return 0;
    }
    if (sub == QLatin1String("check")) {
        const QStringList lines = NewTerm::check(rows);
        if (lines.isEmpty()) {
            Msg::show(QString::fromUtf16(NewTerm::kCaption), QStringLiteral("편성된 내용의 문제점을 발견하지 못했습니다."));
            return 0;
        }
        QString path;
        if (!NewTerm::writeList(QStringLiteral("신학기반편성오류.txt"), lines, &path)) {
            Msg::error(QStringLiteral("오류"), path + QStringLiteral(" 파일을 쓸 수 없습니다."));
            return 1;
        }
        for (const QString& l : lines) Driver::print(QJsonObject{{QStringLiteral("line"), l}});
        Driver::print(QJsonObject{{QStringLiteral("file"), path}});
        TextViewer::showFile(path);
        return 1;
    }
    if (sub == QLatin1String("preview")) {
        for (const NewTermRow& r : NewTerm::preview(rows)) Driver::print(QJsonObject{{QStringLiteral("row"), rowJson(r)}});
        return 0;
    }
    if (sub == QLatin1String("apply")) {
        NewTerm::ApplyOptions o;
        o.graduate1 = bound(a, QStringLiteral("--grad1"));
        o.graduate2 = bound(a, QStringLiteral("--grad2"));
        o.deleteTransferred = !a.contains(QStringLiteral("--keep-out"));
        // The shown rows first: the first duplicate ends it.
        for (const NewTermRow& r : rows)
            if (const int d = NewTerm::duplicateOf(rows, r.key()); d >= 0) {
                Msg::show(QString::fromUtf16(NewTerm::kCaption), NewTerm::duplicateText(rows.at(d)));
                return 1;
            }
        if (!Msg::askYesNo(QString::fromUtf16(NewTerm::kCaption), QStringLiteral("변경사항을 최종확정 하시겠습니까?")))
            return 1;
        const NewTerm::ApplyResult r = NewTerm::apply(o);
        using O = NewTerm::ApplyResult::Outcome;
        QString path;
        if (r.outcome == O::Incomplete) {
            NewTerm::writeList(QStringLiteral("반편성오류.TXT"), r.lines, &path);
            Msg::show(QString::fromUtf16(NewTerm::kCaption),
                      QStringLiteral("최종확정을 할 시에는 전학년이 모두 편성작업이 되어 있어야 합니다.\r오류자료 "
                                     "리스트를 확인하십시오.(") + path);
        } else if (r.outcome == O::Duplicate) {
            Msg::error(QString::fromUtf16(NewTerm::kCaption),
                       QStringLiteral("신학번이 같은 학생이 있습니다. 아무것도 변경하지 않았습니다."));
            TextViewer::showText(QString::fromUtf16(NewTerm::kCaption), r.lines.join(QLatin1Char('\n')));
        } else if (r.outcome == O::Refused) {
            Msg::error(
                QString::fromUtf16(NewTerm::kCaption),
                QStringLiteral("학생명부에 쓸 수 없는 신학번이 있습니다. 아무것도 변경하지 않았습니다."));
            TextViewer::showText(QString::fromUtf16(NewTerm::kCaption), r.lines.join(QLatin1Char('\n')));
        } else if (r.outcome == O::Failed) {
            Msg::error(QStringLiteral("오류"), QStringLiteral("최종확정 중 오류가 발생하여 아무것도 변경하지 않았습니다.\r") + r.error);
        } else {
            Msg::show(QString::fromUtf16(NewTerm::kCaption),
                      QStringLiteral("신학기 반편성 최종확정 작업이 정상으로 완료되었습니다."));
        }
        Driver::print(QJsonObject{{QStringLiteral("updated"), r.updated},
                                  {QStringLiteral("lines"), QJsonArray::fromStringList(r.lines)}});
        return r.outcome == O::Done ? 0 : 1;
    }
    return Driver::fail(QStringLiteral(
        "usage: newterm prepare|fill | rows|reset [--from SNO] [--to SNO] | set [--promote|--keep-grade] "
        "[--class NN] [--old] [--row CUSTNO=G,B,N]... | check | preview | apply [--grad1 G] [--grad2 G] [--keep-out] | "
        "files ... | merge"));
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(
            QStringLiteral("sno"),
            QStringLiteral("sno change CUSTNO NEWSNO [NAME] | sno import [FILE]   개별학년변경"), sno);
        Driver::addCommand(QStringLiteral("newterm"),
                           QStringLiteral("newterm prepare|fill|rows|set|reset|check|preview|apply ...   신학기반편성; "
                                          "newterm files ...|merge   학년,학번 자동변경"),
                           newterm);
    }
} registrar;

} // namespace
