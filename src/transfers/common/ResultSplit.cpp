#include "transfers/common/ResultSplit.h"

#include "transfers/common/ResultEngine.h"
#include "transfers/common/ResultFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

QByteArray num(qint64 v, int width) {
    QByteArray s = QByteArray::number(v);
    if (s.size() >= width) return s.left(width);
    return QByteArray(width - s.size(), '0') + s;
}

qint64 amount(const QByteArray& f) {
    bool ok = false;
    const qint64 v = f.trimmed().toLongLong(&ok);
    return ok ? v : 0;
}

bool isData(const QByteArray& line) {
    return !line.isEmpty() && (line.at(0) == 'D' || line.at(0) == 'd');
}

QByteArray roundKey(const QByteArray& line, int recLen) {
    return (recLen == 200 ? line.mid(114, 6) : line.mid(62, 6)).trimmed();
}

// Highest part number in use, as the next split's base.
int splitBase(const QString& recvDir) {
    int highest = 0;
    for (const QString& n : ResultFile::listFiles(recvDir))
        highest = std::max(highest, n.mid(10, 2).toInt());
    return highest > 20 ? highest - 20 : 0;
}

// The round keys of the data records, in the order of their first appearance.
QList<QByteArray> roundKeys(const QList<QByteArray>& lines, int recLen) {
    QList<QByteArray> keys;
    for (const QByteArray& l : lines) {
        if (!isData(l)) continue;
        const QByteArray k = roundKey(l, recLen);
        if (!keys.contains(k)) keys << k;
    }
    return keys;
}

// One part: the header with the round written over its own, the round's
// records in file order, and a trailer counted from them.
QList<QByteArray> partOf(const QList<QByteArray>& lines, const QByteArray& key, int recLen) {
    QList<QByteArray> part;
    const QByteArray& head = lines.first();
    const QByteArray k = key.leftJustified(6, ' ');
    part << (recLen == 200 ? head.left(72) + k + head.mid(78) : head.left(31) + k + head.mid(37));
    for (const QByteArray& l : lines)
        if (isData(l) && roundKey(l, recLen) == key) part << l;
    part << lines.last();
    ResultSplit::RebuildSplitTrailer(part, recLen);
    return part;
}

// The parts of a file under their names; false when a name would pass 299.
bool buildParts(const QDir& dir, const QString& name, const QList<QByteArray>& lines,
                const QList<QByteArray>& keys, int recLen, QList<std::pair<QString, QByteArray>>* parts) {
    int number = 221 + splitBase(dir.path());
    for (const QByteArray& key : keys) {
        // The next free number: an existing file is never overwritten.
        QString partName;
        do {
            partName = name.left(8) + QLatin1Char('.') + QString::number(number++);
        } while (dir.exists(partName));
        // A part past 299 would not be a result file any more ("*.2*") and
        // its round would vanish from the list: the file is kept whole.
        if (number - 1 > 299) return false;
        QByteArray bytes;
        for (const QByteArray& l : partOf(lines, key, recLen))
            bytes += l + "\r\n";
        *parts << std::pair{partName, bytes};
    }
    return true;
}

bool writeWhole(const QString& path, const QByteArray& bytes);

// Every part, or none: those written are removed when one fails.
bool writeParts(const QDir& dir, const QList<std::pair<QString, QByteArray>>& parts, QStringList* written) {
    for (const auto& [partName, bytes] : parts) {
        if (!writeWhole(dir.filePath(partName), bytes)) {
            for (const QString& w : *written)
                QFile::remove(dir.filePath(w));
            written->clear();
            return false;
        }
        *written << partName;
    }
    return true;
}

bool writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace

namespace ResultSplit {

void RebuildSplitTrailer(QList<QByteArray>& lines, int recLen) {
    if (lines.isEmpty()) return;
    qint64 okA = 0, okAmtA = 0, badA = 0, badAmtA = 0;
    qint64 okB = 0, okAmtB = 0, badB = 0, badAmtB = 0;
    qint64 okC = 0, okAmtC = 0, badC = 0, badAmtC = 0;
    qint64 all = 0;
    for (const QByteArray& l : lines) {
        if (!isData(l)) continue;
        const QByteArray bank = recLen == 200 ? l.mid(24, 2) : l.mid(11, 2);
        const qint64 amt = recLen == 200 ? amount(l.mid(42, 13)) : amount(l.mid(34, 10));
        const bool ok = (recLen == 200 ? l.mid(154, 1) : l.mid(68, 1)).toUpper() == "Y";
        all += amt;
        qint64 *cnt, *sum;
        if (bank == "10" || bank == "11") {
            cnt = ok ? &okA : &badA;
            sum = ok ? &okAmtA : &badAmtA;
        } else if (bank == "12") {
            cnt = ok ? &okB : &badB;
            sum = ok ? &okAmtB : &badAmtB;
        } else {
            cnt = ok ? &okC : &badC;
            sum = ok ? &okAmtC : &badAmtC;
        }
        ++*cnt;
        *sum += amt;
    }
    const qint64 lineCount = lines.size();
    QByteArray t;
    if (recLen == 200) {
        t = "E" + num(lineCount, 7) + num(okA, 7) + num(okAmtA, 15) + "0000000" + QByteArray(15, '0') +
            num(badA, 7) + num(badAmtA, 15) + num(okB, 7) + num(okAmtB, 15) + "0000000" +
            QByteArray(15, '0') + num(badB, 7) + num(badAmtB, 15) + num(okC, 7) + num(okAmtC, 15) +
            num(badC, 7) + num(badAmtC, 15) + QByteArray(16, ' ');
    } else {
        QByteArray head9 = lines.last().left(9);
        head9 += QByteArray(9 - head9.size(), ' ');
        t = head9 + num(lineCount, 6) + num(all, 12) + num(okA, 6) + num(okAmtA, 12) + num(okB, 6) +
            num(okAmtB, 12) + num(badA + badB, 5) + num(badAmtA + badAmtB, 10) + "  ";
    }
    lines.last() = t;
}

Outcome splitMultiRoundFiles(const QString& recvDir) {
    Outcome out;
    const QDir dir(recvDir);
    for (const QString& name : ResultFile::listFiles(recvDir)) {
        const QString bank = name.mid(2, 2);
        if (bank != QLatin1String("10") && bank != QLatin1String("11")) continue;
        ResultEngine::Loaded f;
        if (!ResultEngine::load(dir.filePath(name), &f) || f.lines.size() < 3) continue;
        const int recLen = int(f.lines.first().size());
        const QList<QByteArray> keys = roundKeys(f.lines, recLen);
        if (keys.size() <= 1) continue;
        // Checked whole against its own trailer first: once split, each part
        // carries a trailer made from its own lines, which a lost or cut
        // record would agree with.
        MsgBox refusal;
        if (!ResultEngine::checkWhole(f, ResultFile::layoutOf(ResultFile::chooseReader(bank, recLen)), &refusal)) {
            out.refusedFiles << name;
            out.refusals << refusal;
            continue;
        }
        QList<std::pair<QString, QByteArray>> parts;
        QStringList written;
        if (!buildParts(dir, name, f.lines, keys, recLen, &parts) || !writeParts(dir, parts, &written)) {
            out.errors << name;
            continue;
        }
        QFile::remove(dir.filePath(name));
        out.splitFiles << name;
        out.writtenParts << written;
    }
    return out;
}

} // namespace ResultSplit
