#include "reports/Resolutions.h"

#include "data/DMModule.h"
#include "platform/report/Report.h"
#include "platform/settings/IniFile.h"
#include "platform/sys/Clock.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

QStringList ResolutionForm::keys() const {
    QStringList out;
    for (const ResolutionField& f : fields)
        out << f.key;
    return out;
}

namespace Resolutions {

namespace {

using F = ResolutionField;

const QString kSection = QStringLiteral("DATA");

F edit(const char* key, const char* control, const char* caption, const char* label,
       F::Format fmt = F::AsTyped, int maxLen = 0) {
    return F{QString::fromUtf8(key),
             QString::fromLatin1(control),
             QString::fromUtf8(caption),
             QString::fromLatin1(label),
             F::Edit,
             fmt,
             maxLen};
}

F date(const char* key, const char* control, const char* caption, const char* label,
       F::Format fmt = F::AsTyped, F::Kind kind = F::Date) {
    return F{QString::fromUtf8(key),
             QString::fromLatin1(control),
             QString::fromUtf8(caption),
             QString::fromLatin1(label),
             kind,
             fmt,
             0};
}

ResolutionForm incomeForm() {
    const F::Format typed = F::AsTyped;
    return ResolutionForm{
        QStringLiteral("income-resolution"),
        QStringLiteral("P104B00"),
        QStringLiteral("수입결의서"),
        QStringLiteral(" 내역 (회비개인별 징수 명세서 별첨)"),
        {edit("증제", "EdtSeqNo", "증 제", "QRLblSqlNo"),
         edit("년도", "EdtYear", "년도 세입", "QRLblYear", typed, 4),
         edit("항목명", "EdtOrganNm", "항목명", "QRLblOrganNm"), edit("계", "EdtAmt", "계", "QRLblAmt"),
         edit("수입원", "EdtOrgIncom", "수입원", "QRLblOrgIncom"),
         date("발의", "MedtDate1", "발  의", "QRLblDate1"),
         date("세입부등기", "MedtDate2", "세입부등기", "QRLblDate2"),
         date("금전출납부등기", "MedtDate3", "금전출납부등기", "QRLblDate3"),
         edit("관", "EdtKwan", "관", "QRLblKwan"), edit("항", "EdtHwang", "항", "QRLblHwang"),
         edit("목", "EdtMok", "목", "QRLblMok"), edit("일금", "EdtHanSumAmt", "일금", "QRLblHanSumAmt"),
         edit("원", "EdtSumAmt", "￦", "QRLblSumAmt")}};
}

ResolutionForm paymentForm() {
    const F::Kind dash = F::DashDate;
    const F::Format amt = F::Amount, typed = F::AsTyped;
    return ResolutionForm{
        QStringLiteral("payment-resolution"),
        QStringLiteral("P105B00"),
        QStringLiteral("지급결의서"),
        QStringLiteral("적        요"),
        {edit("증제", "EdtSeqNo", "증 제", "QRLblSeqNo"),
         edit("년도", "EdtYear", "년도 세출", "QRLblYear", typed, 4),
         date("영수일", "MedtPayDate", "영 수 일", "QRLblPayDate", typed, dash),
         date("발의1", "MedtDate1", "발      의", "QRLblDate1", typed, dash),
         edit("발의2", "EdtSign1", "발의 서명", "QRLblSign1"),
         date("지금원인해위부등기1", "MedtDate2", "지금원인해위부등기", "QRLblDate2", typed, dash),
         edit("지금원인해위부등기2", "EdtSign2", "지금원인해위부등기 서명", "QRLblSign2"),
         date("계약1", "MedtDate3", "계      약", "QRLblDate3", typed, dash),
         edit("계약2", "EdtSign3", "계약 서명", "QRLblSign3"),
         date("검수1", "MedtDate4", "검      수", "QRLblDate4", typed, dash),
         edit("검수2", "EdtSign4", "검수 서명", "QRLblSign4"),
         date("출납부등기1", "MedtDate5", "출납부등기", "QRLblDate5", typed, dash),
         edit("출납부등기2", "EdtSign5", "출납부등기 서명", "QRLblSign5"),
         edit("장", "EdtItem1", "장", "QRLblItem1"),
         edit("관", "EdtItem2", "관", "QRLblItem2"),
         edit("항", "EdtItem3", "항", "QRLblItem3"),
         edit("세항", "EdtItem4", "세항", "QRLblItem4"),
         edit("세세항", "EdtItem5", "세세항", "QRLblItem5"),
         edit("목", "EdtItem6", "목", "QRLblItem6"),
         edit("상호", "EdtCompyNm", "상        호", "QRLblCompyNm"),
         edit("주소", "EdtAddr", "주        소", "QRLblAddr"),
         edit("주민번호", "MedtSocial", "주민번호", "QRLblSocial"),
         edit("계좌번호", "EdtAcctNo", "계좌번호", "QRLblAcctNo"),
         edit("성명", "EdtNm", "성        명", "QRLblNm"),
         date("발의3", "MedtDate6", "발    의", "QRLblDate6", typed, dash),
         edit("발의4", "EdtSign6", "발의 서명", "QRLblSign6"),
         date("현금출납부등기1", "MedtDate7", "현금출납부등기", "QRLblDate7", typed, dash),
         edit("현금출납부등기2", "EdtSign7", "현금출납부등기 서명", "QRLblSign7"),
         date("지역내역부등기1", "MedtDate8", "지역내역부등기", "QRLblDate8", typed, dash),
         edit("지역내역부등기2", "EdtSign8", "지역내역부등기 서명", "QRLblSign8"),
         edit("지급통지서번호", "EdtSeqNo1", "지급통지서번호", "QRLblSeqNo1"),
         edit("부가가치세1", "EdtAmt1", "부가가치세", "QRLblAmt1", amt),
         edit("부가가치세2", "EdtAmtTxt2", "부가가치세 2", "QRLblAmtTxt2", amt),
         edit("부가가치세3", "EdtAmt2", "￦", "QRLblAmt2", amt),
         edit("부가가치세4", "EdtAmtTxt3", "부가가치세 3", "QRLblAmtTxt3", amt),
         edit("부가가치세5", "EdtAmt3", "￦", "QRLblAmt3", amt),
         edit("부가가치세6", "EdtAmtTxt4", "부가가치세 4", "QRLblAmtTxt4", amt),
         edit("부가가치세7", "EdtAmt4", "￦", "QRLblAmt4", amt),
         edit("공급가액", "EdtAmt5", "공 급 가 액", "QRLblAmt5", amt),
         edit("합계", "EdtTotAmt", "합    계", "QRLblTotAmt", amt),
         edit("금", "EdtHanAmt", "금", "QRLblHanAmt"),
         edit("지급통지서발행액", "EdtIssAmt", "지급통지서발행액", "QRLblIssAmt", amt)}};
}

ResolutionForm refundForm() {
    const F::Format amt = F::Amount, words = F::DateWords;
    return ResolutionForm{
        QStringLiteral("refund-resolution"),
        QStringLiteral("P106B00"),
        QStringLiteral("과오납금반환결의서"),
        QStringLiteral("적요"),
        {edit("증제", "EdtSeqNo", "증  제", "QRLblSeqNo"),
         date("발의", "MedtDate1", "발              의", "QRLblDate1", words),
         edit("년도", "EdtYear", "년  도", "QRLblYear"),
         date("징수부등기", "MedtDate2", "징  수  부  등  기", "QRLblDate2", words),
         edit("회계", "EdtAcctYear", "회  계", "QRLblAcctYear"),
         date("과오납금정리부등기", "MedtDate3", "과오납금정리부등기", "QRLblDate3", words),
         edit("관", "EdtBigItem", "관", "QRLblBigItem"),
         date("반환명령발행부호", "MedtDate4", "반환명령발행부호", "QRLblDate4", words),
         edit("항", "EdtMidItem", "항", "QRLblMidItem"),
         edit("반환명령발행번호", "EdtIssNo", "반환명령발행번호", "QRLblIssNo"),
         edit("목", "EdtSmlItem", "목", "QRLblSmlItem"), edit("채주", "EdtTitle", "채 주", "QRLblTitle"),
         edit("일금", "EdtHanAmt", "일 금", "QRLblHanAmt"), edit("원", "EdtAmt", "￦", "QRLblAmt", amt),
         edit("보호자", "EdtParent", "보호자", "QRLblParent"),
         edit("학생", "EdtStudt", "학  생", "QRLblStudt")}};
}

ResolutionForm collectionForm() {
    const F::Format amt = F::Amount, words = F::DateWords;
    return ResolutionForm{
        QStringLiteral("collection-resolution"),
        QStringLiteral("P107B00"),
        QStringLiteral("징수결의서"),
        QStringLiteral("적요"),
        {date("발의", "MedtDate1", "발              의", "QRLblDate1", words),
         date("고지서발행", "MedtDate2", "고  지  서  발  행", "QRLblDate2", words),
         date("납입기간", "MedtDate3", "납   입    기   간", "QRLblDate3", words),
         date("징수부등기", "MedtDate4", "징  수  부  등  기", "QRLblDate4", words),
         edit("고지서번호", "EdtIssNo", "고  지  서  번  호", "QRLblIssNo"),
         edit("년도", "EdtYear", "년  도", "QRLblYear"),
         edit("회계", "EdtAcctYear", "회  계", "QRLblAcctYear"),
         edit("관", "EdtBigItem", "관", "QRLblBigItem"), edit("항", "EdtMidItem", "항", "QRLblMidItem"),
         edit("목", "EdtSmlItem", "목", "QRLblSmlItem"),
         edit("납입자성명", "EdtTitle", "납입자성명", "QRLblTitle"),
         edit("일금", "EdtHanAmt", "일 금", "QRLblHanAmt"), edit("원", "EdtAmt", "￦", "QRLblAmt", amt)}};
}

QList<ResolutionForm> makeForms() {
    return {incomeForm(), paymentForm(), refundForm(), collectionForm()};
}

const ReportFont kPlain{QStringLiteral("굴림"), 9};
const ReportFont kTitle{QStringLiteral("굴림"), 22, true};
const ReportFont kLine{QStringLiteral("굴림"), 10, false, true};

// Places fixed texts, printed values (by label name), lines and boxes.
struct Sheet {
    ReportBand* b;
    QMap<QString, QString> values; // by label name
    void text(const QString& t, double x, double y, double w, double h = 5, ReportAlign a = ReportAlign::Left,
              const ReportFont& f = kPlain) {
        static int n = 0;
        b->addLabel(QStringLiteral("fixed%1").arg(++n), {x, y, w, h}, t, f, a);
    }
    void value(const QString& label, double x, double y, double w, double h = 5,
               ReportAlign a = ReportAlign::Left, const ReportFont& f = kPlain) {
        b->addLabel(label, {x, y, w, h}, values.value(label), f, a);
    }
    void box(double x, double y, double w, double h) { b->addFrame({x, y, w, h}); }
    void hline(double x, double y, double w) { b->addLine({x, y, w, 0}); }
    void vline(double x, double y, double h) { b->addLine({x, y, 0, h}); }
    void memo(const QString& t, double x, double y, double w, double h) {
        b->addLabel(QStringLiteral("QRMemoDescript"), {x, y, w, h}, t, kPlain).wordWrap = true;
    }
    // An approval box of columns with their heads.
    void approvals(const QStringList& heads, double x, double y, double colW, double h) {
        box(x, y, colW * heads.size(), h);
        hline(x, y + 6, colW * heads.size());
        for (int i = 0; i < heads.size(); ++i) {
            if (i > 0) vline(x + colW * i, y, h);
            text(heads.at(i), x + colW * i, y + 0.5, colW, 5, ReportAlign::Center);
        }
    }
};

void incomePage(Sheet& s, const QString& memo) {
    s.text(QStringLiteral("수 입 결 의 서"), 0, 4, 190, 11, ReportAlign::Center, kTitle);
    s.box(0, 22, 62, 8);
    s.text(QStringLiteral("증제"), 2, 23.5, 12);
    s.value(QStringLiteral("QRLblSqlNo"), 14, 23.5, 38, 5, ReportAlign::Right);
    s.text(QStringLiteral("호"), 54, 23.5, 6);
    s.box(0, 34, 190, 42);
    s.approvals({QStringLiteral("학 교 장"), QStringLiteral("회 장")}, 130, 34, 30, 42);
    s.value(QStringLiteral("QRLblYear"), 4, 37, 20, 5, ReportAlign::Right);
    s.text(QStringLiteral(" 년도  세입"), 24, 37, 30);
    s.value(QStringLiteral("QRLblOrganNm"), 4, 46, 120);
    s.text(QStringLiteral("계"), 4, 55, 10);
    s.value(QStringLiteral("QRLblAmt"), 14, 55, 110);
    s.text(QStringLiteral("수 입 원"), 4, 64, 18);
    s.value(QStringLiteral("QRLblOrgIncom"), 22, 64, 102);
    s.box(0, 80, 190, 30);
    s.vline(110, 80, 30);
    const QStringList rows{QStringLiteral("발 의"), QStringLiteral("세 입 부 등 기"),
                           QStringLiteral("금전 출납부 등기")};
    const QStringList classes{QStringLiteral("관"), QStringLiteral("항"), QStringLiteral("목")};
    const QStringList classLabels{QStringLiteral("QRLblKwan"), QStringLiteral("QRLblHwang"),
                                  QStringLiteral("QRLblMok")};
    for (int i = 0; i < 3; ++i) {
        const double y = 80 + 10 * i;
        if (i > 0) s.hline(0, y, 190);
        s.text(rows.at(i), 2, y + 2.5, 40);
        s.value(QStringLiteral("QRLblDate%1").arg(i + 1), 45, y + 2.5, 60);
        s.text(classes.at(i), 112, y + 2.5, 10);
        s.value(classLabels.at(i), 124, y + 2.5, 64);
    }
    s.text(QStringLiteral("일금"), 0, 116, 12, 6, ReportAlign::Left, kLine);
    s.value(QStringLiteral("QRLblHanSumAmt"), 12, 116, 100, 6, ReportAlign::Left, kLine);
    s.text(QStringLiteral("￦"), 120, 116, 6, 6, ReportAlign::Left, kLine);
    s.value(QStringLiteral("QRLblSumAmt"), 126, 116, 60, 6, ReportAlign::Left, kLine);
    s.box(0, 128, 190, 145);
    s.text(QStringLiteral("내역(   회비 개인별 징수명세서   별첨   )"), 0, 129.5, 190, 5,
           ReportAlign::Center);
    s.hline(0, 136, 190);
    s.memo(memo, 3, 138, 184, 133);
}

void paymentPage(Sheet& s, const QString& memo) {
    s.text(QStringLiteral("지 급 결 의 서"), 0, 2, 277, 11, ReportAlign::Center, kTitle);
    s.text(QStringLiteral("증제"), 215, 4, 10);
    s.value(QStringLiteral("QRLblSeqNo"), 225, 4, 40, 5, ReportAlign::Right);
    s.text(QStringLiteral("호"), 266, 4, 6);
    s.value(QStringLiteral("QRLblYear"), 0, 16, 16, 5, ReportAlign::Right);
    s.text(QStringLiteral("년도   세출"), 17, 16, 30);
    s.approvals({QStringLiteral("담 당"), QStringLiteral("출 납 원"), QStringLiteral("분 임 경 리 관")}, 0,
                24, 30, 22);
    s.approvals({QStringLiteral("담 당"), QStringLiteral("일 상 경 비 출 납 원")}, 187, 24, 45, 22);
    s.box(95, 24, 87, 30);
    s.text(QStringLiteral("서 울 특 별 시"), 95, 25, 87, 5, ReportAlign::Center);
    s.text(QStringLiteral("교 육 비 특 별 회 계"), 95, 31, 87, 5, ReportAlign::Center);
    s.hline(95, 38, 87);
    s.hline(95, 45, 87);
    const QStringList heads{QStringLiteral("장"),   QStringLiteral("관"),     QStringLiteral("항"),
                            QStringLiteral("세항"), QStringLiteral("세세항"), QStringLiteral("목")};
    const double cw = 87.0 / 6;
    for (int i = 0; i < 6; ++i) {
        if (i > 0) s.vline(95 + cw * i, 38, 16);
        s.text(heads.at(i), 95 + cw * i, 39, cw, 5, ReportAlign::Center);
        s.value(QStringLiteral("QRLblItem%1").arg(i + 1), 95 + cw * i, 47, cw, 5, ReportAlign::Center);
    }
    // Left: the five dated and signed rows, then the memo.
    const QStringList left{QStringLiteral("발 의"), QStringLiteral("지급원인행위부등기"),
                           QStringLiteral("계 약"), QStringLiteral("검 수"),
                           QStringLiteral("출 납 부 등 기")};
    s.box(0, 50, 90, 40);
    for (int i = 0; i < 5; ++i) {
        const double y = 50 + 8 * i;
        if (i > 0) s.hline(0, y, 90);
        s.text(left.at(i), 1, y + 1.5, 32);
        s.value(QStringLiteral("QRLblDate%1").arg(i + 1), 34, y + 1.5, 26);
        s.value(QStringLiteral("QRLblSign%1").arg(i + 1), 61, y + 1.5, 28);
    }
    s.box(0, 94, 90, 94);
    s.text(QStringLiteral("적 요"), 0, 95, 90, 5, ReportAlign::Center);
    s.hline(0, 101, 90);
    s.memo(memo, 2, 103, 86, 84);
    // Middle: the creditor and the receipt.
    s.box(95, 58, 87, 62);
    s.text(QStringLiteral("채 주"), 95, 59, 87, 5, ReportAlign::Center);
    s.hline(95, 65, 87);
    const QStringList who{QStringLiteral("상 호 :"), QStringLiteral("주 소 :"),
                          QStringLiteral("주민등록번호 :"), QStringLiteral("계 좌 번 호 :"),
                          QStringLiteral("성 명 :")};
    const QStringList whoLabels{QStringLiteral("QRLblCompyNm"), QStringLiteral("QRLblAddr"),
                                QStringLiteral("QRLblSocial"), QStringLiteral("QRLblAcctNo"),
                                QStringLiteral("QRLblNm")};
    for (int i = 0; i < 5; ++i) {
        s.text(who.at(i), 97, 67 + 7 * i, 26);
        s.value(whoLabels.at(i), 123, 67 + 7 * i, 58);
    }
    s.text(QStringLiteral("오른쪽의 금액을 영수함"), 95, 104, 87, 5, ReportAlign::Center);
    s.value(QStringLiteral("QRLblPayDate"), 95, 111, 87, 5, ReportAlign::Center);
    // Right: the second dated rows, the notice number and the amounts.
    const QStringList right{QStringLiteral("발 의"), QStringLiteral("지급명령서발행"),
                            QStringLiteral("출 납 부 등 지")};
    s.box(187, 50, 90, 24);
    for (int i = 0; i < 3; ++i) {
        const double y = 50 + 8 * i;
        if (i > 0) s.hline(187, y, 90);
        s.text(right.at(i), 188, y + 1.5, 30);
        s.value(QStringLiteral("QRLblDate%1").arg(i + 6), 219, y + 1.5, 30);
        s.value(QStringLiteral("QRLblSign%1").arg(i + 6), 250, y + 1.5, 26);
    }
    s.text(QStringLiteral("지급명령서번호"), 188, 78, 30);
    s.text(QStringLiteral("제"), 219, 78, 6);
    s.value(QStringLiteral("QRLblSeqNo1"), 225, 78, 40, 5, ReportAlign::Right);
    s.text(QStringLiteral("호"), 266, 78, 6);
    s.box(187, 86, 90, 32);
    s.text(QStringLiteral("부 가 가 치 세"), 188, 98, 24);
    s.vline(213, 86, 32);
    s.text(QStringLiteral("￦"), 240, 87.5, 5);
    s.value(QStringLiteral("QRLblAmt1"), 245, 87.5, 30, 5, ReportAlign::Right);
    for (int k = 2; k <= 4; ++k) {
        const double y = 87.5 + 8 * (k - 1);
        s.hline(213, y - 1.5, 64);
        s.value(QStringLiteral("QRLblAmtTxt%1").arg(k), 214, y, 25, 5, ReportAlign::Right);
        s.text(QStringLiteral("￦"), 240, y, 5);
        s.value(QStringLiteral("QRLblAmt%1").arg(k), 245, y, 30, 5, ReportAlign::Right);
    }
    const struct {
        const char* caption;
        const char* label;
    } sums[] = {{"공 급 가 액", "QRLblAmt5"}, {"합 계", "QRLblTotAmt"}};
    for (int i = 0; i < 2; ++i) {
        const double y = 122 + 8 * i;
        s.text(QString::fromUtf8(sums[i].caption), 188, y, 30);
        s.text(QStringLiteral("￦"), 240, y, 5);
        s.value(QString::fromLatin1(sums[i].label), 245, y, 30, 5, ReportAlign::Right);
    }
    s.text(QStringLiteral("금"), 188, 140, 6);
    s.value(QStringLiteral("QRLblHanAmt"), 195, 140, 80);
    s.text(QStringLiteral("지급통지서 발행액"), 188, 150, 34);
    s.text(QStringLiteral("￦"), 240, 150, 5);
    s.value(QStringLiteral("QRLblIssAmt"), 245, 150, 30, 5, ReportAlign::Right);
}

// 과오납금반환결의서 and 징수결의서 share their frame: five rows ending in a
// seal mark, the year and classification lines, the amount and the memo.
void collectionLikePage(Sheet& s, bool refund, const QString& memo) {
    s.text(refund ? QStringLiteral("과오납금반환결의서") : QStringLiteral("징  수  결  의  서"), 0, 4, 190,
           11, ReportAlign::Center, kTitle);
    if (refund) {
        s.box(0, 22, 62, 8);
        s.text(QStringLiteral("증 제"), 2, 23.5, 12);
        s.value(QStringLiteral("QRLblSeqNo"), 14, 23.5, 38, 5, ReportAlign::Right);
        s.text(QStringLiteral("호"), 54, 23.5, 6);
    }
    s.approvals({QStringLiteral("징수관"), QStringLiteral("과 장"), QStringLiteral("계")}, 118, 22, 24, 24);
    const QStringList rows =
        refund ? QStringList{QStringLiteral("발 의"), QStringLiteral("징 수 부 등 기"),
                             QStringLiteral("과 오 납 급 정 리 부 등 기"),
                             QStringLiteral("반 환 명 령 발 행 부 호"),
                             QStringLiteral("반 환 명 령 발 행 번 호")}
               : QStringList{QStringLiteral("발 의"), QStringLiteral("고 지 서 발 행"),
                             QStringLiteral("납 입 기 관"), QStringLiteral("징 수 부 등 기"),
                             QStringLiteral("고 지 서 번 호")};
    s.box(0, 50, 190, 50);
    for (int i = 0; i < 5; ++i) {
        const double y = 50 + 10 * i;
        if (i > 0) s.hline(0, y, 190);
        s.text(rows.at(i), 2, y + 2.5, 55);
        if (i < 4) {
            s.value(QStringLiteral("QRLblDate%1").arg(i + 1), 60, y + 2.5, 100);
        } else {
            s.text(QStringLiteral("제"), 60, y + 2.5, 6);
            s.value(QStringLiteral("QRLblIssNo"), 66, y + 2.5, 60, 5, ReportAlign::Right);
            s.text(QStringLiteral("호"), 128, y + 2.5, 6);
        }
        s.text(QStringLiteral("인"), 180, y + 2.5, 6);
    }
    s.value(QStringLiteral("QRLblYear"), 0, 106, 20, 5, ReportAlign::Right);
    s.text(QStringLiteral("년 도"), 21, 106, 12);
    s.value(QStringLiteral("QRLblAcctYear"), 36, 106, 30, 5, ReportAlign::Right);
    s.text(QStringLiteral("회 계"), 67, 106, 12);
    const QStringList heads{QStringLiteral("( 관 )"), QStringLiteral("( 항 )"), QStringLiteral("( 목 )")};
    const QStringList labels{QStringLiteral("QRLblBigItem"), QStringLiteral("QRLblMidItem"),
                             QStringLiteral("QRLblSmlItem")};
    for (int i = 0; i < 3; ++i) {
        s.text(heads.at(i), 84 + 35 * i, 102, 35, 5, ReportAlign::Center);
        s.value(labels.at(i), 84 + 35 * i, 108, 35, 5, ReportAlign::Center);
    }
    s.text(QStringLiteral("일 금"), 0, 118, 14, 6, ReportAlign::Left, kLine);
    s.value(QStringLiteral("QRLblHanAmt"), 14, 118, 100, 6, ReportAlign::Left, kLine);
    s.text(QStringLiteral("￦"), 120, 118, 6, 6, ReportAlign::Left, kLine);
    s.value(QStringLiteral("QRLblAmt"), 126, 118, 60, 6, ReportAlign::Left, kLine);
    double y = 130;
    if (refund) {
        s.text(QStringLiteral("채 주"), 0, y, 14);
        s.value(QStringLiteral("QRLblTitle"), 16, y, 100);
        s.text(QStringLiteral("상기 금액을 영수 하였음."), 0, y + 8, 100);
        s.value(QStringLiteral("QRLblToday"), 100, y + 8, 90, 5, ReportAlign::Right);
        s.text(QStringLiteral("영수자 성명 :"), 60, y + 16, 26);
        s.text(QStringLiteral("보호자 :"), 88, y + 16, 16);
        s.value(QStringLiteral("QRLblParent"), 104, y + 16, 60);
        s.text(QStringLiteral("( 인 )"), 170, y + 16, 14);
        s.text(QStringLiteral("학 생 :"), 88, y + 23, 16);
        s.value(QStringLiteral("QRLblStudt"), 104, y + 23, 60);
        s.text(QStringLiteral("( 인 )"), 170, y + 23, 14);
        y += 32;
    } else {
        s.text(QStringLiteral("납입자주소성명"), 0, y, 30);
        s.value(QStringLiteral("QRLblTitle"), 32, y, 150);
        y += 10;
    }
    s.box(0, y, 190, 273 - y);
    s.text(QStringLiteral("적 요"), 0, y + 1, 190, 5, ReportAlign::Center);
    s.hline(0, y + 7, 190);
    s.memo(memo, 3, y + 9, 184, 273 - y - 11);
}

} // namespace

const QList<ResolutionForm>& forms() {
    static const QList<ResolutionForm> all = makeForms();
    return all;
}

const ResolutionForm* find(const QString& unitOrName) {
    for (const ResolutionForm& f : forms())
        if (f.unit == unitOrName || f.name == unitOrName) return &f;
    return nullptr;
}

QString iniPath(const ResolutionForm& f) {
    const QString rel = QStringLiteral("ini/") + f.title + QStringLiteral(".ini");
    return DMLib ? DMLib->path(rel) : rel;
}

bool ensure(const ResolutionForm& f, QString* error) {
    const QString path = iniPath(f);
    if (QFileInfo::exists(path)) return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini(path);
    for (const QString& k : f.keys())
        ini.setValue(kSection, k, QString());
    if (ini.save()) return true;
    if (error) *error = ini.error().isEmpty() ? path : ini.error();
    return false;
}

ResolutionValues load(const ResolutionForm& f, QString* error) {
    IniFile ini(iniPath(f));
    if (!ini.load() && error) *error = ini.error();
    ResolutionValues v;
    for (const QString& k : f.keys())
        v.insert(k, ini.value(kSection, k));
    return v;
}

bool save(const ResolutionForm& f, const ResolutionValues& v, QString* error) {
    const QString path = iniPath(f);
    IniFile ini(path);
    // Other sections or keys someone put into the file stay; a file that
    // could not be read is not replaced.
    if (ini.load()) {
        for (const QString& k : f.keys())
            ini.setValue(kSection, k, v.value(k));
        if (ini.save()) return true;
    }
    if (error) *error = ini.error().isEmpty() ? path : ini.error();
    return false;
}

ReportBox writeFailed(const QString& path) {
    return ReportBox{QStringLiteral("오류"), QStringLiteral("입력내용을 저장하지 못했습니다.\r\n") + path,
                     MsgIcon::Error};
}

ReportBox readFailed(const QString& error) {
    return ReportBox{QStringLiteral("오류"), QStringLiteral("저장된 입력내용을 읽지 못했습니다.\r\n") + error,
                     MsgIcon::Error};
}

QString amountText(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok) return {};
    return ReportSelect::amount(qRound64(v), 0);
}

QString dateWords(const QString& t) {
    return t.left(4) + QStringLiteral(" 년 ") + t.mid(4, 2) + QStringLiteral(" 월 ") + t.mid(6, 2) +
           QStringLiteral(" 일");
}

QString printedValue(const ResolutionField& field, const QString& text) {
    switch (field.format) {
    case ResolutionField::Amount:
        return amountText(text);
    case ResolutionField::DateWords:
        return dateWords(text);
    case ResolutionField::AsTyped:
        break;
    }
    return text;
}

ReportDocument printForm(const ResolutionForm& f, const ResolutionValues& v) {
    Report r;
    r.title = f.title;
    r.page.landscape = f.unit == QLatin1String("P105B00");
    r.page.left = r.page.top = r.page.right = r.page.bottom = 10;
    ReportBand* band = r.addBand(ReportBand::Detail, r.page.landscape ? 190 : 277);
    Sheet s{band, {}};
    for (const ResolutionField& field : f.fields)
        s.values.insert(field.label, printedValue(field, v.value(field.key)));
    const QDate today = Clock::today();
    s.values.insert(QStringLiteral("QRLblToday"),
                    today.toString(QStringLiteral("yyyy")) + QStringLiteral("  년  ") +
                        today.toString(QStringLiteral("MM")) + QStringLiteral("  월  ") +
                        today.toString(QStringLiteral("dd")) + QStringLiteral("  일"));
    const QString memo = v.value(QStringLiteral("memo"));
    if (f.unit == QLatin1String("P104B00"))
        incomePage(s, memo);
    else if (f.unit == QLatin1String("P105B00"))
        paymentPage(s, memo);
    else
        collectionLikePage(s, f.unit == QLatin1String("P106B00"), memo);
    bool printed = false;
    r.setNeedData([&printed] { return !std::exchange(printed, true); });
    return r.layout();
}

namespace {

ResolutionValues merged(const ResolutionForm& f, const ReportSelection& s, QString* error = nullptr) {
    ResolutionValues v = load(f, error);
    for (auto it = s.extra.cbegin(); it != s.extra.cend(); ++it)
        if (f.keys().contains(it.key()) || it.key() == QLatin1String("memo")) v.insert(it.key(), it.value());
    return v;
}

} // namespace

ReportListing list(const QString& unit, const ReportSelection& s) {
    ReportListing l;
    l.columns = {QStringLiteral("항목"), QStringLiteral("입력값"), QStringLiteral("인쇄")};
    const ResolutionForm* f = find(unit);
    if (!f) return l;
    QString error;
    const ResolutionValues v = merged(*f, s, &error);
    if (!error.isEmpty()) {
        l.box = readFailed(error);
        return l;
    }
    for (const ResolutionField& field : f->fields)
        l.rows << QStringList{field.key, v.value(field.key), printedValue(field, v.value(field.key))};
    l.count = l.rows.size();
    return l;
}

std::optional<ReportBox> print(const QString& unit, const ReportSelection& s, ReportDocument* doc) {
    const ResolutionForm* f = find(unit);
    if (!f) return ReportSelect::noData();
    QString error;
    const ResolutionValues v = merged(*f, s, &error);
    if (!error.isEmpty()) return readFailed(error);
    *doc = printForm(*f, v);
    return std::nullopt;
}

} // namespace Resolutions
