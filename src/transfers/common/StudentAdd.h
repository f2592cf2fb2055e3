#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Adding the fee items of one enrolled student to a round ("학생추가").
namespace StudentAdd {

struct Student {
    QString custNo, nm, bankCd, acctNo, sCd;
};

// The enrolled student of that number; nullopt when there is none (unknown
// number or transferred out).
std::optional<Student> findStudent(const QString& sno);

// ItemIDs the student already has in the round.
QStringList itemsInRound(const QString& yearMon, const QString& seqNo, const QString& sno);

struct Request {
    QString yearMon, seqNo; // the round
    QString sno;            // full student number
    QString nm;             // the name as found
    Student student;        // kept from the search
    QString gcode;          // the work window's item group
    QStringList entries;    // ItemID + "." + ItemNm, in list order
};

struct AddedRow {
    QString itemId, exempTy;
    qint64 amt = 0;
    QString logLine;
};

struct Outcome {
    bool ok = false;
    QString error;
    QList<AddedRow> added; // rows appended, in entry order
    QStringList skipped;   // entries the round already had
};

// Appends one row per entry the round does not yet hold, with the item's
// amount less the student's exemption, and logs each; all or nothing.
Outcome save(const Request& r);

} // namespace StudentAdd
