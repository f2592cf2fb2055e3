#include "students/RosterPrint.h"

#include "data/DMMain.h"
#include "students/F201P00.h"
#include "students/F201P01.h"

namespace RosterPrint {

namespace {

struct Column {
    const char16_t* title;
    const char* field;
    double width;
};

const Column kColumns[] = {
    {u"학번", "SNo", 18},     {u"성명", "Nm", 24},         {u"성별", "Sex", 12},
    {u"은행", "Bank", 26},    {u"계좌번호", "AcctNo", 34}, {u"예금주", "Owr", 26},
    {u"재학구분", "Use", 18}, {u"전출일", "OutDate", 20},  {u"전입일", "InDate", 20},
};

} // namespace

QString sexText(const QString& code) {
    if (code == QLatin1String("1")) return QStringLiteral("남자");
    if (code == QLatin1String("2")) return QStringLiteral("여자");
    return code;
}

QString useText(const QString& code) {
    if (code == QLatin1String("1")) return QStringLiteral("재학");
    if (code == QLatin1String("0")) return QStringLiteral("전출");
    return code;
}

ReportRows rows(const QList<StudentRow>& students) {
    ReportRows r;
    for (const Column& c : kColumns)
        r.columns << QString::fromLatin1(c.field);
    r.columns << QStringLiteral("UseTy");
    r.rows.reserve(students.size());
    for (const StudentRow& s : students)
        r.rows << QStringList{
            s.sNo,    s.nm,   sexText(s.sex),   DMData ? DMData->GetBankName(s.bankCd) : QString(),
            s.acctNo, s.owr,  useText(s.useTy), s.outDate,
            s.inDate, s.useTy};
    return r;
}

void addColumns(ReportBand* header, double top, ReportBand* detail) {
    double x = 1;
    for (const Column& c : kColumns) {
        const QString field = QString::fromLatin1(c.field);
        header->addLabel(QStringLiteral("QRLblHead") + field, {x, top + 1.0, c.width - 1, 4.6},
                         QString::fromUtf16(c.title), {}, ReportAlign::Center);
        detail->addField(QStringLiteral("QRDBText") + field, {x, 1.0, c.width - 1, 4.6}, field);
        x += c.width;
    }
}

std::unique_ptr<TFrmStdListV> make(const QList<StudentRow>& students, bool whole, const QStringList& counts) {
    if (whole) return std::make_unique<TFrmF201P01>(students, counts);
    return std::make_unique<TFrmF201P00>(students);
}

} // namespace RosterPrint
