#include "students/GradeFiles.h"

#include "basic/DataBackup.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/System.h"
#include "students/StudentStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <map>

namespace GradeFiles {

const QStringList kFields{
    QStringLiteral("CustNo"),      QStringLiteral("SCd"),         QStringLiteral("SNo"),
    QStringLiteral("Nm"),          QStringLiteral("Sex"),         QStringLiteral("BankCd"),
    QStringLiteral("AcctNo"),      QStringLiteral("Owr"),         QStringLiteral("UseTy"),
    QStringLiteral("InDate"),      QStringLiteral("OutDate"),     QStringLiteral("Ju_No"),
    QStringLiteral("AcctRegYn_1"), QStringLiteral("AcctRegYn_2"), QStringLiteral("AcctRegDt"),
    QStringLiteral("MTelNo"),      QStringLiteral("smsYN"),       QStringLiteral("Ju_No_Stud")};

namespace {

const QString kMenu = QStringLiteral("학년,학번 자동변경");

QString downDir() {
    return DMLib ? DMLib->dir(QStringLiteral("down")) : QDir::currentPath() + QStringLiteral("/down/");
}

QString columnList() {
    return kFields.join(QStringLiteral(", "));
}

QString placeholders(int n) {
    QStringList q;
    for (int i = 0; i < n; ++i)
        q << QStringLiteral("?");
    return q.join(QStringLiteral(", "));
}

bool failWith(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

int maxRowsNow = kMaxRows;

QString fileName(int grade) {
    return QFileInfo(path(grade)).fileName();
}

// SQLite's English turned into the office's words.
QString unreadable(int grade, const QString& sqliteError) {
    if (sqliteError.contains(QLatin1String("too big")))
        return QStringLiteral("%1 파일을 읽을 수 없습니다. 한 학생의 자료가 %2바이트를 넘습니다.")
            .arg(fileName(grade))
            .arg(kMaxRowBytes);
    return QStringLiteral("%1 파일은 학년별 파일이 아니거나 손상되어 읽을 수 없습니다.").arg(fileName(grade));
}

// One grade file open for as long as the call needs it. Only our files are
// taken: a database holding the table Studt with the roster's columns.
// Whatever the file says, no value or row read from it is larger than
// kMaxRowBytes.
struct File {
    Connection c;
    int grade = 0;
    bool open(int g, QString* error, bool readOnly = false) {
        grade = g;
        if (g < 1 || g > kGrades) return failWith(error, QStringLiteral("학년을 입력하세요!"));
        if (!QFile::exists(path(g)))
            return failWith(error, QStringLiteral("%1 파일이 없습니다.").arg(fileName(g)));
        QString why;
        if (!c.open(path(g), readOnly, &why)) return failWith(error, unreadable(g, why));
        sqlite3_limit(c.handle(), SQLITE_LIMIT_LENGTH, kMaxRowBytes);
        // The header is read at the first statement: a text file fails here.
        Query t(c, QStringLiteral("SELECT type FROM sqlite_master WHERE name = 'Studt' COLLATE NOCASE"));
        if (!t.exec()) return failWith(error, unreadable(g, t.error()));
        if (!t.next() || t.str(0) != QLatin1String("table"))
            return failWith(error,
                            QStringLiteral("%1 파일에 학생 자료 표(Studt)가 없습니다.").arg(fileName(g)));
        t.finish();
        QStringList have;
        Query cols(c, QStringLiteral("SELECT name FROM pragma_table_info('Studt')"));
        if (!cols.exec()) return failWith(error, unreadable(g, cols.error()));
        while (cols.next())
            have << cols.str(0).toLower();
        for (const QString& f : kFields)
            if (!have.contains(f.toLower()))
                return failWith(
                    error, QStringLiteral("%1 파일의 학생 자료에 %2 항목이 없습니다.").arg(fileName(g), f));
        return true;
    }
    // The rows are counted before they are read, and no further than the
    // limit: a file of millions of rows is refused at once.
    bool countWithin(const QString& table, QString* error) {
        Query q(c, QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM %1 LIMIT ?)").arg(table));
        q.add(maxRowsNow + 1);
        if (!q.exec() || !q.next()) return failWith(error, unreadable(grade, q.error()));
        if (q.num(0) > maxRowsNow)
            return failWith(error, QStringLiteral("%1 파일의 학생이 너무 많습니다. 학년별 파일은 %2명까지 "
                                                  "읽습니다.")
                                       .arg(fileName(grade))
                                       .arg(maxRowsNow));
        return true;
    }
    bool begin(QString* error) { return c.exec(QStringLiteral("BEGIN IMMEDIATE"), error); }
    bool end(bool ok, QString* error) {
        if (!ok) {
            c.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        return c.exec(QStringLiteral("COMMIT"), error);
    }
};

Row read(Query& q) {
    Row r;
    for (int i = 0; i < kFields.size(); ++i)
        r << q.str(i);
    return r;
}

// A bank code comes into a grade file from outside: today's three-digit
// "0NN" reads as the list's "NN", any other longer code is refused.
bool readBankCode(QString& value, QString* error) {
    QString why;
    const std::optional<QString> code = StudentStore::outsideBankCode(value.trimmed(), &why);
    if (!code) return failWith(error, why);
    value = *code;
    return true;
}

// Nothing is cut on the way into the roster: a value the roster's rules
// refuse is refused when it is typed. Bank codes are read first. kept are
// values of the row that stay as they are and are judged with the new ones.
bool fits(QList<std::pair<int, QString>>& set, QString* error,
          const QList<std::pair<int, QString>>& kept = {}) {
    for (auto& [f, v] : set)
        if (f == BankCd && !readBankCode(v, error)) return false;
    QList<std::pair<QString, QString>> values;
    for (const auto& [f, v] : set)
        values.append({kFields.at(f), v.trimmed()});
    for (const auto& [f, v] : kept)
        values.append({kFields.at(f), v.trimmed()});
    const QString p = StudentStore::rosterProblem(values);
    return p.isEmpty() || failWith(error, p);
}

// The SMS consent is judged with the mobile number and the other way round:
// when an edit sets one of them, the row's other one.
QList<std::pair<int, QString>> consentPartner(Connection& c, const QString& custNo,
                                              const QList<std::pair<int, QString>>& set) {
    const int sms = int(kFields.indexOf(QStringLiteral("smsYN")));
    const int mobile = int(kFields.indexOf(QStringLiteral("MTelNo")));
    bool hasSms = false, hasMobile = false;
    for (const auto& [f, v] : set) {
        hasSms = hasSms || f == sms;
        hasMobile = hasMobile || f == mobile;
    }
    if (hasSms == hasMobile) return {};
    const int other = hasSms ? mobile : sms;
    Query q(c, QStringLiteral("SELECT %1 FROM Studt WHERE CustNo = ?").arg(kFields.at(other)));
    q.add(custNo);
    if (!q.exec() || !q.next()) return {};
    return {{other, q.str(0)}};
}

bool update(Connection& c, const QString& custNo, QList<std::pair<int, QString>> set, QString* error) {
    if (!fits(set, error, consentPartner(c, custNo, set))) return false;
    QStringList parts;
    for (const auto& [f, v] : set)
        parts << kFields.at(f) + QStringLiteral(" = ?");
    Query q(c, QStringLiteral("UPDATE Studt SET %1 WHERE CustNo = ?").arg(parts.join(QStringLiteral(", "))));
    for (const auto& [f, v] : set)
        q.add(Database::storableText(v.trimmed(), 0));
    q.add(custNo);
    if (!q.exec()) return failWith(error, q.error());
    return true;
}

QList<std::pair<int, QString>> entryFields(const Entry& e) {
    return {{Sex, e.sex},       {Nm, e.nm},   {BankCd, e.bankCd},
            {AcctNo, e.acctNo}, {Owr, e.owr}, {UseTy, QStringLiteral("1")}};
}

QSet<QString> column(const QString& sql) {
    QSet<QString> out;
    Query q(sql);
    if (q.exec())
        while (q.next())
            out.insert(q.str(0));
    return out;
}

} // namespace

QString path(int grade) {
    return downDir() + QStringLiteral("Studt%1.db").arg(grade);
}

bool exists(int grade) {
    return QFile::exists(path(grade));
}

bool split(QString* error) {
    if (!QDir().mkpath(downDir())) return failWith(error, QStringLiteral("down 폴더를 만들지 못했습니다."));
    for (int n = 1; n <= kGrades; ++n) {
        const QString target = path(n), temp = target + QStringLiteral(".tmp");
        QFile::remove(temp);
        bool ok = false;
        {
            Connection c;
            ok = c.open(temp, false, error) &&
                 c.exec(QStringLiteral("CREATE TABLE Studt (%1, PRIMARY KEY (CustNo))")
                            .arg(kFields.join(QStringLiteral(" TEXT, ")) + QStringLiteral(" TEXT")),
                        error) &&
                 c.exec(QStringLiteral(
                            "CREATE INDEX Studt_Index1 ON Studt (SNo COLLATE NOCASE, Nm COLLATE NOCASE)"),
                        error) &&
                 // Students added here, whose payer numbers the roster has given out already.
                 c.exec(QStringLiteral("CREATE TABLE Added (CustNo TEXT PRIMARY KEY)"), error) &&
                 c.exec(QStringLiteral("BEGIN"), error);
            if (ok) {
                Query from(QStringLiteral("SELECT %1 FROM M_CUST WHERE SNo LIKE ? ORDER BY SNo, CustNo")
                               .arg(columnList()));
                from.add(QString::number(n) + QLatin1Char('%'));
                ok = from.exec() || failWith(error, from.error());
                Query to(c, QStringLiteral("INSERT INTO Studt (%1) VALUES (%2)")
                                .arg(columnList(), placeholders(int(kFields.size()))));
                while (ok && from.next()) {
                    for (int i = 0; i < kFields.size(); ++i)
                        to.bind(i, from.value(i));
                    ok = to.exec() || failWith(error, to.error());
                }
                ok = ok && c.exec(QStringLiteral("COMMIT"), error);
            }
        }
        // The finished file replaces the old one in one step.
        if (!ok || !System::moveFileReplace(temp, target)) {
            QFile::remove(temp);
            if (ok) return failWith(error, QStringLiteral("%1 파일을 만들지 못했습니다.").arg(target));
            return false;
        }
    }
    return true;
}

QList<Row> rows(int grade, QString* error) {
    QList<Row> out;
    File f;
    if (!f.open(grade, error, true) || !f.countWithin(QStringLiteral("Studt"), error)) return out;
    Query q(f.c, QStringLiteral("SELECT %1 FROM Studt ORDER BY SNo, Nm, CustNo").arg(columnList()));
    if (!q.exec()) {
        failWith(error, unreadable(grade, q.error()));
        return out;
    }
    while (q.next())
        out << read(q);
    if (!q.ok()) {
        failWith(error, unreadable(grade, q.error()));
        out.clear();
    }
    return out;
}

void setMaxRows(int n) {
    maxRowsNow = n > 0 ? n : kMaxRows;
}

std::optional<Row> findBySNo(int grade, const QString& sNo) {
    File f;
    if (!f.open(grade, nullptr, true)) return std::nullopt;
    Query q(f.c, QStringLiteral("SELECT %1 FROM Studt WHERE SNo = ? ORDER BY Nm, CustNo").arg(columnList()));
    q.add(sNo);
    if (!q.exec() || !q.next()) return std::nullopt;
    return read(q);
}

bool autoNumber(int grade, bool threeDigits, QString* error) {
    QString readError;
    const QList<Row> all = rows(grade, &readError);
    if (!readError.isEmpty()) return failWith(error, readError);
    // Group key: grade + class, then the sex digit (three-digit numbers) or 0.
    std::map<QString, QList<Row>> groups;
    for (const Row& r : all) {
        const QString sex = r.at(Sex).trimmed().left(1);
        groups[r.at(SNo).left(3) + (threeDigits && !sex.isEmpty() ? sex : QStringLiteral("0"))] << r;
    }
    File f;
    if (!f.open(grade, error) || !f.begin(error)) return false;
    bool ok = true;
    for (auto& [key, members] : groups) {
        std::stable_sort(members.begin(), members.end(),
                         [](const Row& a, const Row& b) { return a.at(Nm) < b.at(Nm); });
        for (int a = 0; ok && a < members.size(); ++a) {
            const QString seq = QStringLiteral("%1").arg(a + 1, 2, 10, QLatin1Char('0'));
            const QString sNo = (threeDigits ? key.left(4) : key.left(3)) + seq;
            ok = update(f.c, members.at(a).at(CustNo), {{SNo, sNo}}, error);
        }
    }
    return f.end(ok, error);
}

bool moveGrade(int grade, bool up, QString* error) {
    QString readError;
    const QList<Row> all = rows(grade, &readError);
    if (!readError.isEmpty()) return failWith(error, readError);
    File f;
    if (!f.open(grade, error) || !f.begin(error)) return false;
    bool ok = true;
    for (const Row& r : all) {
        if (!ok) break;
        const QString old = r.at(SNo);
        bool digit = false;
        const int g = old.left(1).toInt(&digit);
        if (!digit) continue; // no grade digit to move
        const QString sNo = QString::number(g + (up ? 1 : -1)) + old.mid(1, 5);
        ok = update(f.c, r.at(CustNo), {{SNo, sNo}, {SCd, QString::number(sNo.left(1).toInt())}}, error);
    }
    return f.end(ok, error);
}

bool change(int grade, const QString& custNo, const QString& newSNo, const Entry& e, QString* error) {
    File f;
    if (!f.open(grade, error)) return false;
    QList<std::pair<int, QString>> set = entryFields(e);
    set.prepend({SCd, newSNo.left(1)});
    set.prepend({SNo, newSNo});
    Query q(f.c, QStringLiteral("SELECT COUNT(*) FROM Studt WHERE CustNo = ?"));
    q.add(custNo);
    if (!q.exec() || !q.next() || q.num(0) == 0)
        return failWith(error, QStringLiteral("저장이 안되었습니다!"));
    q.finish();
    return update(f.c, custNo, set, error);
}

bool add(int grade, const QString& sNo, const Entry& e, QString* custNo, QString* error) {
    if (const auto found = findBySNo(grade, sNo)) {
        if (custNo) *custNo = found->at(CustNo);
        File f;
        return f.open(grade, error) && update(f.c, found->at(CustNo), entryFields(e), error);
    }
    QList<std::pair<int, QString>> set = entryFields(e);
    set.append({SNo, sNo});
    if (!fits(set, error)) return false;
    File f;
    if (!f.open(grade, error)) return false;
    // The number is taken from the roster's numbering and recorded there at
    // once, so neither the roster nor a later addition gives it again.
    QString number;
    {
        Transaction tx;
        if (!tx.ok()) return failWith(error, tx.error());
        number = StudentStore::sNewCustNo();
        if (!StudentStore::rememberCustNo(number) || !tx.commit())
            return failWith(error, QStringLiteral("고객번호를 부여하지 못했습니다."));
    }
    Row r;
    for (int i = 0; i < kFields.size(); ++i)
        r << QString();
    r[CustNo] = number;
    r[SNo] = sNo;
    r[SCd] = QString::number(grade);
    for (const auto& [field, v] : set)
        if (field != SNo) r[field] = v;
    if (!f.begin(error)) return false;
    Query ins(f.c, QStringLiteral("INSERT INTO Studt (%1) VALUES (%2)")
                       .arg(columnList(), placeholders(int(kFields.size()))));
    for (int i = 0; i < r.size(); ++i)
        ins.bind(i, Database::storableText(r.at(i), 0));
    bool ok = ins.exec() || failWith(error, ins.error());
    Query mark(f.c, QStringLiteral("INSERT INTO Added (CustNo) VALUES (?)"));
    mark.add(number);
    ok = ok && (mark.exec() || failWith(error, mark.error()));
    if (!f.end(ok, error)) return false;
    if (custNo) *custNo = number;
    return true;
}

bool setCell(int grade, const QString& custNo, int field, const QString& value, QString* error) {
    if (field <= CustNo || field >= kFields.size())
        return failWith(error, QStringLiteral("고객번호는 바꿀 수 없습니다."));
    File f;
    return f.open(grade, error) && update(f.c, custNo, {{field, value}}, error);
}

namespace {

// The student numbers the merged roster would hold twice: the roster's
// students with the updates in place, and the additions. Each line names
// the number and every student holding it.
QStringList sharedNumbers(const QList<Row>& updates, const QList<Row>& additions) {
    struct Holder {
        QString sNo, nm, from;
    };
    std::map<QString, Holder> byCust;
    Query q(QStringLiteral("SELECT CustNo, SNo, Nm FROM M_CUST"));
    if (q.exec())
        while (q.next())
            byCust[q.str(0)] = {q.str(1), q.str(2), QStringLiteral("학생명부")};
    for (const QList<Row>* rs : {&updates, &additions})
        for (const Row& r : *rs)
            byCust[r.at(CustNo).trimmed()] = {r.at(SNo), r.at(Nm), QStringLiteral("학년별 파일")};
    std::map<QString, QStringList> bySNo;
    for (const auto& [custNo, h] : byCust) {
        const QString sNo = h.sNo.trimmed();
        if (!sNo.isEmpty())
            bySNo[sNo] << QStringLiteral("%1(고객번호 %2, %3)").arg(h.nm.trimmed(), custNo, h.from);
    }
    QStringList out;
    for (const auto& [sNo, who] : bySNo)
        if (who.size() > 1) out << QStringLiteral("학번 %1: ").arg(sNo) + who.join(QStringLiteral(", "));
    return out;
}

} // namespace

MergePlan plan() {
    MergePlan p;
    const QSet<QString> roster = column(QStringLiteral("SELECT CustNo FROM M_CUST"));
    const QSet<QString> purged = Database::tableExists(QStringLiteral("D_CUST"))
                                     ? column(QStringLiteral("SELECT CustNo FROM D_CUST"))
                                     : QSet<QString>();
    QSet<QString> seen;
    for (int n = 1; n <= kGrades; ++n) {
        QString error;
        const QList<Row> rs = rows(n, &error);
        if (!error.isEmpty()) {
            p.error = error;
            return p;
        }
        QSet<QString> added;
        {
            File f;
            if (!f.open(n, &error, true)) {
                p.error = error;
                return p;
            }
            const bool hasAdded = [&f] {
                Query t(f.c,
                        QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'Added' COLLATE NOCASE"));
                return t.exec() && t.next();
            }();
            if (hasAdded) {
                if (!f.countWithin(QStringLiteral("Added"), &error)) {
                    p.error = error;
                    return p;
                }
                Query q(f.c, QStringLiteral("SELECT CustNo FROM Added"));
                if (q.exec())
                    while (q.next())
                        added.insert(q.str(0));
                if (!q.ok()) {
                    p.error = unreadable(n, q.error());
                    return p;
                }
            }
        }
        for (Row r : rs) {
            const QString c = r.at(CustNo).trimmed();
            // The report names the row; a line break in a refused name must
            // not break the report's lines.
            const auto shown = [](QString v) {
                for (QChar& ch : v)
                    if (ch.unicode() < 0x20 || ch.unicode() == 0x7f) ch = QLatin1Char('?');
                return v;
            };
            const QString who = QStringLiteral("Studt%1 학번:%2 성명:%3 고객번호:%4")
                                    .arg(n)
                                    .arg(shown(r.at(SNo)), shown(r.at(Nm)), shown(c));
            QString bankProblem;
            const bool bankRead = readBankCode(r[BankCd], &bankProblem);
            QList<std::pair<QString, QString>> values;
            for (int i = 0; i < kFields.size(); ++i)
                values.append({kFields.at(i), r.at(i)});
            if (c.isEmpty())
                p.refused << who + QStringLiteral(" - 고객번호가 없습니다.");
            else if (seen.contains(c))
                p.refused << who + QStringLiteral(" - 고객번호가 다른 학년 파일에도 있습니다.");
            else if (!bankRead)
                p.refused << who + QStringLiteral(" - ") + shown(bankProblem);
            else if (const QString bad = StudentStore::rosterProblem(values); !bad.isEmpty())
                p.refused << who + QStringLiteral(" - ") + bad;
            else if (roster.contains(c))
                p.updates << r;
            else if (added.contains(c) && !purged.contains(c))
                p.additions << r;
            else
                p.refused << who + QStringLiteral(" - 학생명부에 없는 고객번호입니다(삭제된 학생).");
            if (!c.isEmpty()) seen.insert(c);
        }
    }
    Query q(QStringLiteral("SELECT CustNo, SNo, Nm FROM M_CUST ORDER BY SNo, CustNo"));
    if (q.exec())
        while (q.next())
            if (!seen.contains(q.str(0)))
                p.notInFiles
                    << QStringLiteral("학번:%1 성명:%2 고객번호:%3").arg(q.str(1), q.str(2), q.str(0));
    p.duplicates = sharedNumbers(p.updates, p.additions);
    return p;
}

QString sharedNumbersText(const QStringList& duplicates) {
    return QStringLiteral("합친 학생명부에서 %1개의 학번을 두 학생 이상이 갖게 되어 파일을 합치지 "
                          "않았습니다.\r학년별 파일의 학번을 고친 후 다시 합치십시오.")
        .arg(duplicates.size());
}

MergeResult merge(const MergePlan& p) {
    MergeResult r;
    if (!p.error.isEmpty()) {
        r.error = p.error;
        return r;
    }
    {
        Transaction tx;
        if (!tx.ok()) {
            r.error = tx.error();
            return r;
        }
        // Asked again inside the transaction: the roster may have changed
        // since the plan was made.
        r.duplicates = sharedNumbers(p.updates, p.additions);
        if (!r.duplicates.isEmpty()) {
            r.error = sharedNumbersText(r.duplicates);
            return r;
        }
        bool ok = true;
        for (const Row& row : p.updates) {
            ColumnValues set;
            for (int i = 1; i < kFields.size(); ++i)
                set.append({kFields.at(i), row.at(i)});
            int affected = 0;
            ok = Database::updateRows(QStringLiteral("M_CUST"), set,
                                      {{QStringLiteral("CustNo"), row.at(CustNo)}}, &r.error, &affected) &&
                 affected == 1;
            if (!ok) {
                if (r.error.isEmpty())
                    r.error = QStringLiteral("고객번호 %1 학생이 학생명부에 없습니다.").arg(row.at(CustNo));
                break;
            }
            ++r.updated;
        }
        for (int i = 0; ok && i < p.additions.size(); ++i) {
            const Row& row = p.additions.at(i);
            ColumnValues values;
            for (int f = 0; f < kFields.size(); ++f)
                values.append({kFields.at(f), row.at(f)});
            ok = Database::insertRow(QStringLiteral("M_CUST"), values, &r.error) &&
                 (StudentStore::rememberCustNo(row.at(CustNo)) ||
                  failWith(&r.error, QStringLiteral("고객번호를 기록하지 못했습니다.")));
            if (ok) ++r.added;
        }
        ok = ok && (!DMLib ||
                    DMLib->WriteJobLog(kMenu, QStringLiteral("[파일합치기] 수정:%1명, 추가:%2명, 제외:%3건")
                                                  .arg(r.updated)
                                                  .arg(r.added)
                                                  .arg(p.refused.size())) ||
                    failWith(&r.error, QStringLiteral("작업기록을 남기지 못했습니다.")));
        if (ok && !tx.commit()) {
            ok = false;
            r.error = tx.error();
        }
        if (!ok) {
            r.updated = r.added = 0;
            return r;
        }
    }
    r.ok = true;
    for (int n = 1; n <= kGrades; ++n)
        QFile::remove(path(n));
    for (const QString& s : p.refused)
        r.report << QStringLiteral("[합치지 못함] ") + s;
    for (const QString& s : p.notInFiles)
        r.report << QStringLiteral("[학년별 파일에 없음, 그대로 둠] ") + s;
    return r;
}

BackedMerge backupAndMerge(const MergePlan& p) {
    BackedMerge r;
    if (!p.error.isEmpty()) {
        r.error = p.error;
        return r;
    }
    // Refused before the backup: nothing would change.
    if (!p.duplicates.isEmpty()) {
        r.duplicates = p.duplicates;
        r.error = sharedNumbersText(p.duplicates);
        return r;
    }
    QString error;
    const bool backedUp =
        DataBackup::makeBackup(&r.archive, &error, kMenu, QStringLiteral("[백업] 파일합치기 전 자료백업"),
                               [&r](const QString& made, QString* err) {
                                   return DataBackup::copyToExternal(made, DataBackup::externalFolder(), err,
                                                                     QFileInfo(r.archive).fileName());
                               });
    if (!backedUp) {
        r.backupFailed = true;
        r.error = error;
        return r;
    }
    static_cast<MergeResult&>(r) = merge(p);
    return r;
}

} // namespace GradeFiles
