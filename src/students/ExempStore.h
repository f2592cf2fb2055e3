#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Students' exemptions from fee items (M_EXEMP): the item lists, the
// exempt-student listing and the saves of the exemption window and of the
// roster's per-student dialog. M_EXEMP.ItemCd holds C_ITEM.ItemCd, the code
// across all item groups, which round creation looks the items up by.

// One fee item as the exemption lists show it.
struct ExempItem {
    QString itemCd; // C_ITEM.ItemCd
    QString itemId;
    QString gcode;
    QString label; // group name padded to one column, ": ", ItemID "." ItemNm
};

// One stored exemption.
struct ExempRow {
    QString custNo;
    QString itemCd;
    QString free;           // "A" full, other non-blank partial, blank full
    bool hasAmount = false; // Itemval is not null
    qint64 amount = 0;
    bool full() const { return free.trimmed().isEmpty() || free == QLatin1String("A"); }
    // "전액면제", "부분면제", or "등록금액없음" for a row without an amount.
    QString kindText() const;
};

// One listed student: the list's columns 0-6.
struct ExempStudent {
    QString sNo, nm, useTy, custNo, sCd;
    QString amount; // column 6: the exempted amount of the searched item
};

struct ExempListResult {
    bool ok = false;
    QString caption, error; // the refusal box
    QList<ExempStudent> rows;
};

// What a save writes.
struct ExempSave {
    QString custNo;
    QString itemCd;
    QString amountText; // as typed
    bool full = true;   // "A" full, else "P" partial
};

struct ExempResult {
    bool ok = false;
    QString caption, text; // the box to show when not ok
    bool inserted = false; // a new row, not a change
    int rows = 0;          // rows written or released
};

namespace ExempStore {

// The item lists of both windows: every named item by group and ItemID.
QList<ExempItem> items();

// The kind text of a save: "전액면제" / "부분면제".
QString kindText(bool full);
// "A" / "P".
QString freeCode(bool full);

// Amount of a save: whole won, commas allowed; empty or not a number is
// refused with the box to show.
std::optional<qint64> parseAmount(const QString& text, ExempResult* refusal = nullptr);

// The exemption of a student for an item; nothing when there is none.
// A read failure is reported in *error.
std::optional<ExempRow> find(const QString& custNo, const QString& itemCd, QString* error = nullptr);
// Every exemption of a student, in stored order.
QList<ExempRow> ofStudent(const QString& custNo);

// The enrolled students between the bounds (the search edits as typed),
// all of them (itemCd "00") or those exempt from the item, by number.
ExempListResult listStudents(const QString& hak, const QString& ban, const QString& bun, const QString& hak2,
                             const QString& ban2, const QString& bun2, const QString& itemCd);

// The window's job-log line of a student: action + grade name's first
// character + "학년 " + class + "반 " + number + "번 (" + item label + tail.
QString logLine(const QString& action, const QString& sCd, const QString& sNo, const QString& itemLabel,
                const QString& tail);

// Registers (no row yet) or changes one student's exemption, with its
// job-log row, in one transaction. logLine gets "등록 -> " / "수정 -> "
// prepended by the caller through logOf.
ExempResult save(const ExempSave& s, const QString& menuName,
                 const std::function<QString(bool inserted)>& logOf);
// Releases one student's exemption with its job-log row.
ExempResult release(const QString& custNo, const QString& itemCd, const QString& menuName,
                    const QString& logLine);

// The batch actions of the window over the marked students, each whole or
// not at all. The release logs the released students' numbers (menu
// "면제학생일괄삭제"); the registration writes the same amount and kind to
// every student.
// extraLog, when given, is one more row of menu "면제항목학생등록" written
// with the release (the window's line for the student it shows).
ExempResult releaseMany(const QList<ExempStudent>& students, const QString& itemCd,
                        const QString& extraLog = {});
ExempResult saveMany(const QList<ExempStudent>& students, const QString& itemCd, const QString& amountText,
                     bool full);

} // namespace ExempStore
