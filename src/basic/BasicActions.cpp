#include "basic/BasicActions.h"

#include "platform/ui/Msg.h"

namespace {

const QString kDeleteQuestion = QStringLiteral("삭제하시겠습니까?");

ActionResult refused(const Refusal& r, QWidget* parent) {
    Msg::error(r.caption, r.text, parent);
    return ActionResult{false, r.field};
}

// A database failure after every check passed.
ActionResult failed(QWidget* parent) {
    Msg::error(QStringLiteral("오류"), QStringLiteral("저장하지 못했습니다. 다시 시도해주세요."), parent);
    return {};
}

} // namespace

namespace GradeActions {

ActionResult save(const GradeRow& g, QWidget* parent) {
    const auto r = GradeStore::save(g);
    if (r.refusal) return refused(r.refusal, parent);
    if (!r.saved) return failed(parent);
    return ActionResult{true, 0};
}

ActionResult remove(const QString& code, QWidget* parent) {
    if (!Msg::askYesNo(GradeStore::kMenuName, kDeleteQuestion, parent, MsgIcon::Question, true)) return {};
    if (!GradeStore::remove(code)) return failed(parent);
    return ActionResult{true, 0};
}

} // namespace GradeActions

namespace GroupActions {

std::optional<QString> newCode(QWidget* parent) {
    const QString code = GroupStore::nextCode();
    if (code.isEmpty()) {
        Msg::error(QStringLiteral("그룹저장"),
                   QStringLiteral("그룹코드 01~99를 모두 사용중입니다. 더 이상 그룹을 "
                                  "추가할 수 없습니다."),
                   parent);
        return std::nullopt;
    }
    return code;
}

ActionResult save(const GroupRow& g, const QString& shownName, QWidget* parent) {
    const auto r = GroupStore::save(g, shownName);
    if (r.refusal) return refused(r.refusal, parent);
    if (!r.saved) return failed(parent);
    Msg::warning(QStringLiteral("그룹저장"), QStringLiteral("저장되었습니다"), parent);
    return ActionResult{true, 0};
}

ActionResult remove(const QString& code, const QString& shownName, QWidget* parent) {
    if (!Msg::askYesNo(QStringLiteral("그룹저장"), kDeleteQuestion, parent, MsgIcon::Question, true))
        return {};
    if (!GroupStore::remove(code, shownName)) return failed(parent);
    return ActionResult{true, 0};
}

} // namespace GroupActions

namespace ItemActions {

ActionResult save(const ItemInput& in, QWidget* parent) {
    const auto r = ItemStore::save(in);
    if (r.refusal) return refused(r.refusal, parent);
    if (!r.saved) return failed(parent);
    if (r.amountChanged &&
        Msg::askYesNo(QStringLiteral("개인별 면제금액 변경"),
                      QStringLiteral("해당 항목에 대한 학생별 전체 면제금액을 자동 변경 하시겠습니까?"),
                      parent)) {
        const int n = ItemStore::carryAmount(r.itemCd, r.oldAmount, r.newAmount, r.logPrefix);
        if (n < 0)
            Msg::error(QStringLiteral("오류"), QStringLiteral("면제금액을 변경하지 못했습니다."), parent);
        else if (n == 0)
            Msg::error(QStringLiteral("변경대상 자료없음"),
                       QStringLiteral("변경대상 자료가 존재하지 않습니다. \r\r "), parent);
        else
            Msg::info(QStringLiteral("면제금액 자동 변경 완료"),
                      QStringLiteral("학생별 전체 면제금액 자동 변경되었습니다. \r\r해당 메뉴에서 확인 가능"),
                      parent);
    }
    return ActionResult{true, 0};
}

ActionResult remove(const QString& itemCd, const QString& shownItemId, QWidget* parent) {
    if (itemCd.trimmed().isEmpty() || itemCd == ItemStore::kPlaceholder) return {};
    if (!Msg::askYesNo(ItemStore::kMenuName, kDeleteQuestion, parent, MsgIcon::Question, true)) return {};
    return ActionResult{ItemStore::remove(itemCd, shownItemId), 0};
}

} // namespace ItemActions

namespace AccountActions {

bool checkAcctNo(const QString& bankCd, const QString& acctNo, QWidget* parent) {
    if (AccountStore::acctNoValid(bankCd, acctNo)) return true;
    Msg::error(QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호 오류입니다!\r다시입력하십시오."),
               parent);
    return false;
}

ActionResult save(const AcctInput& in, QWidget* parent) {
    const auto r = AccountStore::save(in);
    if (r.refusal) return refused(r.refusal, parent);
    if (!r.saved) return failed(parent);
    return ActionResult{true, 0};
}

ActionResult remove(const AcctInput& typed, const std::optional<AcctRow>& shown, QWidget* parent) {
    if (const Refusal r = AccountStore::checkDelete(typed, shown)) return refused(r, parent);
    if (!Msg::askYesNo(AccountStore::kMenuName, kDeleteQuestion, parent, MsgIcon::Question, true)) return {};
    const auto d = AccountStore::remove(typed, shown);
    if (d.refusal) return refused(d.refusal, parent);
    return ActionResult{d.deleted, 0};
}

} // namespace AccountActions
