#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// Student groups (C_GRP): a named set of students, one row per member.
// Students are held as the group window's lines and moved between the two
// lists by payer number, never by student number, since two students can
// share one. A blank group name is stored as NULL.

struct StGroupStudent {
    QString sNo, nm, useTy, custNo;
    // The window's line: "%-10s%-20s%1s%10s" of the four; sorted, it orders
    // students by number.
    QString line() const;
    bool enrolled() const { return useTy == QLatin1String("1"); }
};

struct StGroupResult {
    bool ok = false;
    QString caption, text; // the box to show
    int rows = 0;
};

// The window's working state: every student stands in exactly one of the
// two lists, each kept sorted by its line.
class StGroupLists {
public:
    // Every student on the left, then the group's members moved right.
    void load(const QString& name);
    const QList<StGroupStudent>& src() const { return src_; }
    const QList<StGroupStudent>& dest() const { return dest_; }
    // Rows a grid shows: those whose number starts with the filter (digits).
    static QList<StGroupStudent> filtered(const QList<StGroupStudent>& list, const QString& filter);
    // Moves the students with these payer numbers to the other side.
    int toDest(const QStringList& custNos);
    int toSrc(const QStringList& custNos);

private:
    static int move(QList<StGroupStudent>& from, QList<StGroupStudent>& to, const QStringList& custNos);
    QList<StGroupStudent> src_, dest_;
};

namespace StGroupStore {

inline constexpr const char16_t* kMenuName = u"학생그룹등록";

// Group names, sorted; rows without a name are not a group.
QStringList names();
// Every student in number order (then payer number).
QList<StGroupStudent> allStudents();
// Payer numbers of a group's members.
QStringList members(const QString& name);

// A new or changed name: blank, or over 10 bytes, is refused with the box.
bool checkName(const QString& name, StGroupResult* refusal);

// Replaces the whole membership of the group by these payer numbers, with
// the job-log rows, in one transaction. An empty list deletes the group.
StGroupResult save(const QString& name, const QList<StGroupStudent>& members);
// Renames a group in one statement; fails (nothing changed) when no row
// carries the old name ("그룹명을 확인하세요.") or a member already belongs
// to the new name.
StGroupResult rename(const QString& oldName, const QString& newName);

} // namespace StGroupStore
