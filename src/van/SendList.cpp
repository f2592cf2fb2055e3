#include "van/SendList.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Msg.h"
#include "transfers/common/BatFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstdio>

QStringList SendListRow::cells() const {
    return {QStringLiteral("S"),
            BankCd,
            FileType,
            QString::number(DataCnt),
            FileName,
            Date,
            CompyNo,
            AcctNo,
            QString()};
}

namespace SendFolder {

namespace {

QString sendDir() {
    return DMLib->dir(QStringLiteral("send"));
}
QString tempDir() {
    return DMLib->dir(QStringLiteral("SendTempFile"));
}

QStringList sendFiles() {
    return QDir(sendDir()).entryList(QDir::Files, QDir::Name);
}

QByteArray readAll(const QString& path, bool* ok = nullptr) {
    QFile f(path);
    const bool opened = f.open(QIODevice::ReadOnly);
    if (ok) *ok = opened;
    return opened ? f.readAll() : QByteArray();
}

QByteArray digits(qint64 n, int width) {
    QByteArray d = QByteArray::number(n);
    if (d.size() > width) return d.right(width);
    return QByteArray(width - d.size(), '0') + d;
}

bool readNumber(const QByteArray& field, qint64* out) {
    const QByteArray t = field.trimmed();
    if (t.isEmpty() || t.size() > 18) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    *out = t.toLongLong();
    return true;
}

QString text(const QByteArray& line, int offset, int width) {
    return Cp949::decode(line.mid(offset, width));
}

int bankOf(const QString& name) {
    return name.mid(6, 2).toInt();
}
QString typeOf(const QString& name) {
    return name.mid(9, 1) + QStringLiteral("00");
}

QString bookedGroup(const QString& name) {
    Query q(QStringLiteral("SELECT Gcode FROM M_SRFILE WHERE FileName = ? AND SRType IN ('S', 'G')"));
    q.add(name);
    if (!q.exec() || !q.next()) return {};
    return q.str(0).trimmed();
}

bool isMergedName(const QString& name) {
    return name.size() == 12 && name.startsWith(QLatin1String("2099")) &&
           name.endsWith(QLatin1String("11.201"));
}

// Item group of every file of send; a merged file, which has no booking,
// takes its name's characters 5-6 when fallback is set.
QMap<QString, QString> groupsOf(const QStringList& files, bool fallback) {
    QMap<QString, QString> out;
    for (const QString& f : files) {
        QString g = bookedGroup(f);
        if (g.isEmpty() && fallback && isMergedName(f)) g = f.mid(4, 2);
        out.insert(f, g);
    }
    return out;
}

void plainBox(const QString& text) {
    Msg::show(QCoreApplication::applicationName(), text);
}

void standardError(const QString& text) {
    Msg::error(QCoreApplication::applicationName(), text);
}

// Header fields of a 200/300 file: transfer date (yyyymmdd), the date as
// listed, institution code and master account.
struct HeaderFields {
    QString date8;
    QString shown;
    QString compyNo;
    QString acctNo;
};

HeaderFields headerFields(const QString& name, const QByteArray& h, int recLen) {
    HeaderFields f;
    const int bank = bankOf(name);
    auto six = [&](int off) {
        const QString d = text(h, off, 6);
        f.date8 = QStringLiteral("20") + d;
        f.shown = QStringLiteral("20") + d.left(2) + QLatin1Char('-') + d.mid(2, 2) + QLatin1Char('-') +
                  d.mid(4, 2);
    };
    if ((bank == 10 || bank == 11 || bank == 12) && recLen == 200) {
        f.date8 = text(h, 21, 8);
        f.compyNo = text(h, 8, 10).trimmed();
        f.acctNo = text(h, 41, 16).trimmed();
    } else if (bank == 10 || bank == 11) {
        six(13);
        f.compyNo = text(h, 2, 8);
        f.acctNo = text(h, 39, 15);
    } else if (bank == 12) {
        six(4);
        f.compyNo = text(h, 19, 7);
        f.acctNo = text(h, 31, 16);
    } else if (bank == 23 && recLen == 100) {
        f.date8 = text(h, 26, 8);
        f.shown = text(h, 26, 4) + QLatin1Char('-') + text(h, 30, 2) + QLatin1Char('-') + text(h, 32, 2);
        f.compyNo = text(h, 6, 10);
    } else {
        six(15);
        f.compyNo = text(h, 3, 10);
        f.acctNo = text(h, 27, 15);
    }
    if (recLen == 200) f.shown = f.date8;
    return f;
}

bool writeReplacing(const QString& target, const QByteArray& content) {
    const QString part =
        DMLib->dir(QStringLiteral("Temp")) + QFileInfo(target).fileName() + QStringLiteral(".part");
    QFile f(part);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = f.write(content) == content.size() && f.flush();
    f.close();
    if (!written || !MoveReplacing(part, target)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

// What a join of request files has gathered: the lines written so far,
// the data records (D) and all records (U), the sums and the NH check's
// accumulator, the trailer's classes, and the first header's password and
// first trailer.
struct Join {
    QList<QByteArray> out;
    qint64 D = 0, U = 0, total = 0, acc = 0;
    qint64 cnt[3] = {0, 0, 0}, amt[3] = {0, 0, 0};
    QByteArray password;
    QByteArray trailer;
    bool haveHeader = false, haveTrailer = false;
};

// The first file's header is the joined file's.
void joinHeader(Join& j, const QByteArray& line, int L) {
    if (j.haveHeader) return;
    j.haveHeader = true;
    j.out << line;
    ++j.U;
    if (L == 200) {
        j.password = line.mid(37, 4).trimmed();
        if (j.password.isEmpty()) j.password = BatFile::NHDefaultPasswd().toLatin1();
    }
}

// A data record renumbered and keyed with its run; false with the field
// that is not a number.
bool joinData(Join& j, const QByteArray& line, int L, const QByteArray& runKey, QString* error) {
    ++j.D;
    ++j.U;
    const QByteArray rec = line.leftJustified(L, ' ', true);
    qint64 amount = 0, bank = 0;
    const QByteArray amtField = L == 200 ? rec.mid(42, 13) : rec.mid(34, 10);
    const QByteArray bankField = L == 200 ? rec.mid(24, 2) : rec.mid(11, 2);
    if (!readNumber(amtField, &amount)) {
        *error = QString::fromLatin1(amtField);
        return false;
    }
    if (!readNumber(bankField, &bank)) {
        *error = QString::fromLatin1(bankField);
        return false;
    }
    j.total += amount;
    if (L == 200) {
        if (bank < 10 || bank > 17) {
            j.acc += bank;
        } else {
            const char d = rec.at(39);
            if (d < '0' || d > '9') {
                *error = QString::fromLatin1(rec.mid(39, 1));
                return false;
            }
            j.acc += d - '0';
        }
    }
    // The classes of the NH trailer, as the request-file writer
    // counts them: 10-11, 12-17, the rest.
    const int cls = (bank == 10 || bank == 11) ? 0 : (bank >= 12 && bank <= 17) ? 1 : 2;
    ++j.cnt[cls];
    j.amt[cls] += amount;
    if (L == 200)
        j.out << rec.left(1) + digits(j.D, 7) + rec.mid(8, 106) + runKey + rec.mid(120, 80);
    else
        j.out << rec.left(28) + digits(j.D, 6) + rec.mid(34, 28) + runKey + rec.mid(68);
    return true;
}

// The first trailer with the joined counts and sums; false with the
// password when it is not a number.
bool joinedTrailer(Join& j, QByteArray* t, QString* error) {
    const qint64 n = j.cnt[0] + j.cnt[1] + j.cnt[2];
    if (j.trailer.size() == 200) {
        qint64 pw = 0;
        if (j.password.isEmpty()) j.password = BatFile::NHDefaultPasswd().toLatin1();
        if (!readNumber(j.password, &pw)) {
            *error = QString::fromLatin1(j.password);
            return false;
        }
        const QString check = TDMBankLib::CheckValueNH(j.acc, n, j.total, pw);
        *t = j.trailer.left(1) + digits(j.U, 7) + digits(j.D, 7) + digits(j.total, 15);
        for (int k = 0; k < 3; ++k)
            *t += digits(j.cnt[k], 7) + digits(j.amt[k], 15);
        *t += check.left(4).toLatin1().leftJustified(4, ' ', true) + j.trailer.mid(100, 100);
    } else {
        *t = j.trailer.left(9) + digits(j.U, 6) + digits(j.total, 12) + digits(j.cnt[0], 6) +
             digits(j.amt[0], 12) + digits(j.cnt[1], 6) + digits(j.amt[1], 12) + j.trailer.mid(63);
    }
    return true;
}

// The files of send that may be offered. A file the operator already
// confirmed (its book row has a send date) stays in send only when its move
// failed: it is moved again and never offered a second time, so no payer is
// debited twice. A request file the database does not book (one a restored
// database never wrote) would debit payers for a round it does not hold:
// never offered. Merged files carry no booking of their own.
QStringList offeredFiles() {
    const QString send = sendDir();
    QStringList files = sendFiles();
    files.removeIf([&](const QString& name) {
        Query q(QStringLiteral("SELECT SRDate FROM M_SRFILE WHERE SRType = 'S' AND FileName = ?"));
        q.add(name);
        if (!q.exec() || !q.next() || q.str(0).trimmed().isEmpty()) return false;
        MoveReplacing(send + name, DMLib->dir(QStringLiteral("sback")) + name);
        return true;
    });
    files.removeIf(
        [](const QString& name) { return !isMergedName(name) && !TDMData::IsBookedRequest(name); });
    return files;
}

// Copies the files into SendTempFile and adds them to the backup list; the
// names whose copy succeeded.
QSet<QString> backUpToTemp(SendFolderState& st, const QStringList& files) {
    const QString send = sendDir(), temp = tempDir();
    QDir().mkpath(temp);
    QSet<QString> backedUp;
    for (const QString& f : files) {
        if (!CopyReplacing(send + f, temp + f)) continue;
        backedUp.insert(f);
        if (!st.FSendBackupList.contains(f)) st.FSendBackupList << f;
    }
    return backedUp;
}

// One item group's pass over send: the files and their groups, and the
// request files joined into the group's merged file with their record counts.
struct GroupPass {
    QStringList files;
    QMap<QString, QString> groups;
    QStringList joined;
    QList<int> joinedCounts;
};

// The files listed as past their transfer date, and the last of them.
struct Expired {
    int count = 0;
    QString last;
};

// The NH collection files of the group that are not a merge themselves, with
// their distinct transfer dates. Only collection files join: a payout file in
// a collection file would move money the wrong way.
QList<JoinInput> joinCandidates(const GroupPass& pass, const QString& g, const QSet<QString>& backedUp,
                                QStringList* dates) {
    const QString send = sendDir();
    QList<JoinInput> candidates;
    for (const QString& f : pass.files) {
        const int bank = bankOf(f);
        if ((bank != 10 && bank != 11) || pass.groups.value(f) != g || f.startsWith(QLatin1String("2099")) ||
            f.mid(9, 1) != QLatin1String("2"))
            continue;
        // Joining deletes the file from send; without its copy an undo
        // could not bring it back.
        if (!backedUp.contains(f)) continue;
        const QByteArray content = readAll(send + f);
        const QList<QByteArray> lines = SplitLines(content);
        const QByteArray head = lines.value(0);
        const QString date =
            (lines.isEmpty() ? 0 : lines.last().size()) == 200 ? text(head, 21, 8) : text(head, 13, 6);
        bool seen = false;
        for (const QString& d : *dates)
            if (d.trimmed() == date.trimmed()) seen = true;
        if (!seen) *dates << date;
        candidates << JoinInput{f, content};
    }
    return candidates;
}

// Writes the merged file into send and removes its sources there. A source
// left in send beside the merged file would go out twice: the merge is then
// undone. False, after the error box, when the merge does not stand.
bool putMerged(const QString& merged, const QByteArray& content, const QStringList& sources) {
    const QString send = sendDir(), temp = tempDir();
    if (!writeReplacing(send + merged, content)) {
        standardError(QStringLiteral(u"파일을 쓸 수 없습니다: ") + send + merged);
        return false;
    }
    bool removed = true;
    for (const QString& src : sources)
        removed = QFile::remove(send + src) && removed;
    if (removed) return true;
    QFile::remove(send + merged);
    for (const QString& src : sources)
        if (!QFile::exists(send + src)) MoveReplacing(temp + src, send + src);
    standardError(QStringLiteral(u"파일을 지울 수 없습니다: ") + send);
    return false;
}

// Joins the group's NH collection files into its merged file, which then
// stands in send in their place; each group is judged on its own files and
// dates. False, after its box, when the list stops.
bool mergeGroup(SendFolderState& st, const QString& g, const QSet<QString>& backedUp, GroupPass& pass) {
    QStringList dates;
    const QList<JoinInput> candidates = joinCandidates(pass, g, backedUp, &dates);
    if (candidates.size() <= 1) return true;
    if (dates.size() > 1) {
        plainBox(QString::number(dates.size()) +
                 QStringLiteral(u"개의 송신파일이 이체일자가 다릅니다.(또는 포맷이 다릅니다.)") +
                 QStringLiteral("\r") + QStringLiteral(u"동일한 이체일자로 다시 생성하십시오."));
        return false;
    }
    const JoinResult j = JoinRequestFiles(candidates);
    if (!j.ok) {
        standardError(QStringLiteral("'%1' is not a valid integer value").arg(j.error));
        return false;
    }
    if (j.content.isEmpty()) return true;
    const QString merged = MergedFileName(g);
    QStringList sources;
    for (const JoinInput& c : candidates)
        sources << c.name;
    if (!putMerged(merged, j.content, sources)) return false;
    pass.joined << sources;
    pass.joinedCounts = j.counts;
    st.PendingMerges.insert(merged, sources);
    st.FMerged = true;
    pass.files = sendFiles();
    pass.groups = groupsOf(pass.files, true);
    return true;
}

// The list row of a file of send; listable is false when its transfer date
// has passed.
SendListRow sendRow(const QString& f, const QString& today, bool* listable) {
    const QString send = sendDir();
    const QList<QByteArray> lines = SplitLines(readAll(send + f));
    const int recLen = TDMData::FirstLineLength(send + f);
    const QByteArray head = lines.value(0);
    const QString type = typeOf(f);
    SendListRow row;
    row.BankCd = QStringLiteral("00") + f.mid(6, 2);
    row.FileType = type;
    row.DataCnt = int(lines.size()) - 2;
    row.FileName = f;
    *listable = true;
    if (type == QLatin1String("200") || type == QLatin1String("300")) {
        const HeaderFields h = headerFields(f, head, recLen);
        row.Date = h.shown;
        row.CompyNo = h.compyNo;
        row.AcctNo = h.acctNo;
        *listable = today <= h.date8;
    } else if (type == QLatin1String("R00")) {
        row.Date = text(head, 15, 8);
        row.CompyNo = text(head, 3, 10);
    }
    return row;
}

// Lists the group's files; one past its transfer date is counted instead.
void listGroup(const GroupPass& pass, const QString& g, const QString& today, QList<SendListRow>& rows,
               Expired& expired) {
    for (const QString& f : pass.files) {
        if (pass.groups.value(f) != g) continue;
        bool listable = true;
        const SendListRow row = sendRow(f, today, &listable);
        if (listable) {
            rows << row;
        } else {
            ++expired.count;
            expired.last = sendDir() + f;
        }
    }
}

void expiredBox(const Expired& expired) {
    plainBox(QStringLiteral(u"송신폴더(Send)에 이체 불가능한(이체날짜 경과 등) 파일이 존재합니다\r\r") +
             expired.last + QStringLiteral(u" 등 ") + QString::number(expired.count) +
             QStringLiteral(u"개 파일") + QStringLiteral("\r\r") +
             QStringLiteral(u"확인하시고 삭제 해 주십시오"));
}

// The request files joined into the group's merged file, by month and round.
void joinedBox(const GroupPass& pass) {
    QString box = QStringLiteral(u"파일합치기 전송파일목록\r\r");
    for (int i = 0; i < pass.joined.size(); ++i)
        box += pass.joined[i].left(4) + QStringLiteral(u"월 ") + pass.joined[i].mid(4, 2) +
               QStringLiteral(u"회차 ") + QString::number(pass.joinedCounts.value(i)) +
               QStringLiteral(u"건") + QStringLiteral("\r");
    plainBox(box);
}

} // namespace

QString MergedFileName(const QString& gcode) {
    return QStringLiteral("2099") + gcode + QStringLiteral("11.201");
}

QList<QByteArray> SplitLines(const QByteArray& content) {
    QList<QByteArray> lines = content.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool IsPlainName(const QString& name, bool allowDots) {
    if (name.isEmpty() || name.size() > 64) return false;
    if (allowDots && (name.startsWith(QLatin1Char('.')) || name.contains(QStringLiteral("..")))) return false;
    for (const QChar c : name) {
        if (c.isLetterOrNumber()) continue;
        if (allowDots && (c == QLatin1Char('.') || c == QLatin1Char('_') || c == QLatin1Char('-'))) continue;
        return false;
    }
    return true;
}

bool MoveReplacing(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) return true;
    // Another file system: copy whole, then drop the original.
    if (!CopyReplacing(from, to)) return false;
    return QFile::remove(from);
}

bool CopyReplacing(const QString& from, const QString& to) {
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part)) return false;
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(to).constData()) != 0) {
        QFile::remove(part);
        return false;
    }
    return true;
}

bool StampSendDate(const QString& srType, const QString& fileName, const QString& today) {
    Query q(QStringLiteral("UPDATE M_SRFILE SET SRDate = ? WHERE SRType = ? AND FileName = ?"));
    q.add(today).add(srType).add(fileName);
    return q.exec();
}

JoinResult JoinRequestFiles(const QList<JoinInput>& files) {
    JoinResult r;
    Join j;
    for (const JoinInput& f : files) {
        const QList<QByteArray> lines = SplitLines(f.content);
        const int L = lines.isEmpty() ? 0 : int(lines.first().size());
        const QByteArray runKey = Cp949::encode(f.name.left(6));
        int own = 0;
        for (const QByteArray& line : lines) {
            const char kind = line.isEmpty() ? ' ' : char(toupper(static_cast<unsigned char>(line.at(0))));
            if (kind == 'S') {
                joinHeader(j, line, L);
                own = 0;
            } else if (kind == 'D') {
                ++own;
                if (!joinData(j, line, L, runKey, &r.error)) return r;
            } else if (kind == 'E') {
                r.counts << own;
                if (!j.haveTrailer) {
                    j.haveTrailer = true;
                    j.trailer = line;
                    ++j.U;
                }
            }
        }
    }
    r.ok = true;
    if (j.out.size() <= 1 || !j.haveTrailer) return r;

    QByteArray t;
    if (!joinedTrailer(j, &t, &r.error)) {
        r.ok = false;
        return r;
    }
    j.out << t;
    for (const QByteArray& line : j.out)
        r.content += line + "\r\n";
    return r;
}

void UndoPendingMerges(SendFolderState& st, const QString& busyFile) {
    const QString send = sendDir(), temp = tempDir();
    for (auto it = st.PendingMerges.begin(); it != st.PendingMerges.end();) {
        if (it.key() == busyFile) {
            ++it;
            continue;
        }
        QFile::remove(send + it.key());
        for (const QString& src : it.value())
            if (QFile::exists(temp + src) && !QFile::exists(send + src))
                MoveReplacing(temp + src, send + src);
        it = st.PendingMerges.erase(it);
    }
    st.FMerged = !st.PendingMerges.isEmpty();
}

void ArchiveMergeSources(SendFolderState& st, const QString& mergedName, const QString& today) {
    const QStringList sources = st.PendingMerges.take(mergedName);
    st.FMerged = !st.PendingMerges.isEmpty();
    const QString temp = tempDir();
    const QString org = DMLib->dir(QStringLiteral("OrgSendFile"));
    QDir().mkpath(org);
    for (const QString& src : sources) {
        CopyReplacing(temp + src, DMLib->dir(QStringLiteral("sback")) + src);
        MoveReplacing(temp + src, org + src);
        StampSendDate(QStringLiteral("S"), src, today);
    }
}

SendListResult BuildSendList(SendFolderState& st, const QStringList& groupCodes, const QString& today,
                             const QString& busyFile) {
    SendListResult res;
    UndoPendingMerges(st, busyFile);
    QStringList files = offeredFiles();
    res.anyFile = !files.isEmpty();
    const QSet<QString> backedUp = backUpToTemp(st, files);

    // The expired files are counted over the groups listed so far.
    Expired expired;
    for (const QString& g : groupCodes) {
        GroupPass pass{files, groupsOf(files, false), {}, {}};
        if (!mergeGroup(st, g, backedUp, pass)) {
            res.stopped = true;
            return res;
        }
        files = pass.files;
        listGroup(pass, g, today, res.rows, expired);
        if (expired.count > 0) expiredBox(expired);
        if (pass.joined.size() > 1) joinedBox(pass);
    }
    return res;
}

} // namespace SendFolder
