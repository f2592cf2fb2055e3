#include "students/PurgeActions.h"

#include "platform/ui/Msg.h"
#include "students/StudentStore.h"

namespace {

void failedBox(const QString& what, const PurgeResult& r, QWidget* parent) {
    Msg::error(QStringLiteral("오류"),
               what + QStringLiteral(" 중 오류가 발생하여 아무것도 변경하지 않았습니다.\r") + r.error, parent);
}

} // namespace

namespace PurgeActions {

PurgeResult outDel(const QString& caption, QWidget* parent, const PurgeStore::Progress& progress,
                   const Finish& finish) {
    if (!Msg::askYesNo(caption, QStringLiteral("전출생을 일괄 삭제하시겠습니까?"), parent)) return {};
    // The job-log row is written with the students' move; the panel goes
    // and the list is searched again before the closing box.
    const PurgeResult r = PurgeStore::purge(progress);
    if (finish) finish(r);
    switch (r.outcome) {
    case PurgeResult::Outcome::Nothing:
        Msg::show(StudentStore::plainCaption(), QStringLiteral("해당되는 자료가 없습니다."), MsgIcon::None,
                  MsgButtons::Ok, parent);
        break;
    case PurgeResult::Outcome::Failed:
        failedBox(QStringLiteral("전출생 일괄삭제"), r, parent);
        break;
    case PurgeResult::Outcome::Done:
        Msg::show(StudentStore::plainCaption(), QString::number(r.count) + QStringLiteral("건이 삭제되었습니다."),
                  MsgIcon::None, MsgButtons::Ok, parent);
        break;
    }
    return r;
}

PurgeResult dCancel(const QString& caption, QWidget* parent, const PurgeStore::Progress& progress,
                    const Finish& finish) {
    const QString batch = PurgeStore::latestBatch();
    if (batch.isEmpty()) {
        Msg::show(StudentStore::plainCaption(), QStringLiteral("삭제된 데이타가 없습니다."), MsgIcon::None,
                  MsgButtons::Ok, parent);
        return {};
    }
    if (!Msg::askYesNo(caption, QStringLiteral("최근(") + batch + QStringLiteral(")에 삭제한 전출생을 복원하시겠습니까?"),
                       parent))
        return {};
    const PurgeResult r = PurgeStore::restore(batch, progress);
    if (finish) finish(r);
    switch (r.outcome) {
    case PurgeResult::Outcome::Nothing:
        Msg::show(StudentStore::plainCaption(), QStringLiteral("해당되는 자료가 없습니다."), MsgIcon::None,
                  MsgButtons::Ok, parent);
        break;
    case PurgeResult::Outcome::Failed:
        failedBox(QStringLiteral("삭제자료복구"), r, parent);
        break;
    case PurgeResult::Outcome::Done:
        Msg::show(StudentStore::plainCaption(),
                  QString::number(r.count) + QStringLiteral("건이 복원되었습니다."), MsgIcon::None,
                  MsgButtons::Ok, parent);
        if (!r.clashes.isEmpty())
            Msg::warning(QStringLiteral("학번중복"),
                         QStringLiteral("복원한 학생의 학번을 다른 학생이 사용하고 있습니다.\r") +
                             r.clashes.join(QLatin1Char('\r')) +
                             QStringLiteral("\r[학생명부]에서 학번을 확인하세요!!"),
                         parent);
        break;
    }
    return r;
}

} // namespace PurgeActions
