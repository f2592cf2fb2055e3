#include "basic/ToolActions.h"

#include "platform/ui/Msg.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace ToolActions {

std::optional<QStringList> askGrade(const QString& grade, QWidget* parent) {
    if (Msg::show(QStringLiteral("학생일괄삭제"), QStringLiteral("학생 데이타를 삭제하시겠습니까?"),
                  MsgIcon::Question, MsgButtons::YesNo, parent, true) != MsgResult::Yes)
        return std::nullopt;
    const QStringList custNos = BulkDelete::gradeStudents(grade.trimmed());
    if (custNos.isEmpty()) {
        Msg::info(QStringLiteral("학생 일괄삭제"), QStringLiteral("삭제할 학생이 없습니다!"), parent);
        return std::nullopt;
    }
    return custNos;
}

BulkDelete::GradeResult runGrade(const QString& grade, QWidget* parent, const BulkDelete::StepProgress& progress) {
    const BulkDelete::GradeResult r = BulkDelete::deleteGrade(grade.trimmed(), progress);
    if (!r.ok)
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("학생을 삭제하지 못했습니다. 변경된 자료는 없습니다.\r") + r.error, parent);
    else
        Msg::info(QStringLiteral("졸업생일괄삭제"), QStringLiteral("졸업생 데이타를 모두 삭제 되었습니다"), parent);
    return r;
}

QStringList deleteRounds(bool listed, const QStringList& marked, QWidget* parent) {
    if (!listed) {
        Msg::info(QStringLiteral("확인"), QStringLiteral("삭제할 데이터가 없습니다!!"), parent);
        return {};
    }
    if (Msg::show(QStringLiteral("주의"),
                  QStringLiteral("선택 회차를\r\n삭제하시겠습니까?\r\r삭제 시 집금이체자료작성에서 \r해당 회차의 "
                                 "이체자료가 완전히 삭제됩니다\r정말 삭제하겠습니까?\r\r\n삭제하면 영원히 "
                                 "복구할수없습니다"),
                  MsgIcon::Question, MsgButtons::OkCancel, parent) != MsgResult::Ok)
        return {};
    if (marked.isEmpty()) return {};
    const BulkDelete::RoundsResult r = BulkDelete::dropRounds(marked);
    if (!r.ok) {
        Msg::error(QStringLiteral("삭제 실패"), QStringLiteral("삭제 실패하였습니다!!"), parent);
        return {};
    }
    for (int i = 0; i < r.dropped.size(); ++i)
        Msg::info(QStringLiteral("삭제 완료"), QStringLiteral("삭제되었습니다!!"), parent);
    return r.dropped;
}

IndexRepair::Outcome repairIndexes(const QStringList& marked, QWidget* parent) {
    const IndexRepair::Outcome o = IndexRepair::repair(marked);
    for (const QString& t : o.failed) {
        bool error = true;
        const QString text = IndexRepair::failText(t, &error);
        if (error)
            Msg::error(QStringLiteral("에러"), text, parent);
        else
            Msg::info(QStringLiteral("완료"), text, parent);
    }
    Msg::info(QStringLiteral("완료"), QStringLiteral("인덱스가 복구되었습니다."), parent);
    if (!o.integrityOk)
        Msg::error(QStringLiteral("에러"),
                   QStringLiteral("데이터베이스 검사에서 이상이 발견되었습니다.\r") +
                       o.integrity.mid(0, 10).join(QLatin1Char('\r')) +
                       QStringLiteral("\r[자료복구]로 백업 자료를 복구하세요!!"),
                   parent);
    return o;
}

void noData(QWidget* parent) {
    Msg::info(QCoreApplication::applicationName(), QStringLiteral("해당하는 자료가 없습니다."), parent);
}

namespace {

std::optional<QList<JobLogView::LogRow>> shown(const JobLogView::Found& f, QWidget* parent) {
    if (f.missing) {
        noData(parent);
        return std::nullopt;
    }
    if (!f.ok) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("로그를 조회하지 못했습니다.\r") + f.error, parent);
        return std::nullopt;
    }
    return f.rows;
}

} // namespace

std::optional<QList<JobLogView::LogRow>> searchMonth(const JobLogView::MonthFilter& f, QWidget* parent) {
    return shown(JobLogView::search(f), parent);
}

std::optional<QList<JobLogView::LogRow>> searchOld(const QString& from, const QString& to, const QString& text,
                                                   QWidget* parent) {
    static const QRegularExpression date(QStringLiteral("^\\d{8}$"));
    if (!date.match(from).hasMatch() || !date.match(to).hasMatch()) {
        Msg::error(QStringLiteral("입력오류"), QStringLiteral("조회일자를 입력하세요!!"), parent);
        return std::nullopt;
    }
    return shown(JobLogView::searchOld(from, to, text), parent);
}

} // namespace ToolActions
