#pragma once
#include "shared/StdListV.h"

#include <QList>
#include <QStringList>

// A list report of students three to a line: the base list report with a
// condition line, the three column titles repeated across, and one detail
// line per three consecutive rows (cells past the last row stay empty).
class TThreeAcrossList : public TFrmStdListV {
public:
    // rows: three cells each, in list order.
    TThreeAcrossList(const QString& title, const QString& condition, const QStringList& heads,
                     const QList<QStringList>& rows, ReportAlign third = ReportAlign::Left);
};

// "면제학생": the students exempt from one item and their amounts.
class TFrmF301P00 : public TThreeAcrossList {
public:
    // itemText: the searched item as its box shows it; rows: 학번, 성명, 면제금액.
    TFrmF301P00(const QString& itemText, const QList<QStringList>& rows);
};

// "학생 그룹": the members of a group.
class TFrmF302P00 : public TThreeAcrossList {
public:
    // rows: 학번, 성명, 구분.
    TFrmF302P00(const QString& groupName, const QList<QStringList>& rows);
};
