// The .xlsx reader: the package is a zip of XML parts. The workbook part is
// found through the package relationships, each sheet through the
// workbook's; part names may be written relative or absolute, in any case.

#include "platform/sheet/SheetFiles.h"
#include "platform/sheet/SheetValue.h"

#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QUrl>
#include <QXmlStreamReader>

#include <zip.h>

#include <cmath>
#include <memory>
#include <optional>

namespace SheetFiles {

namespace {

// An XML token (a text or a tag with its attributes) longer than this is no
// cell of a spreadsheet: a cell holds 32,767 characters at most.
constexpr qint64 kMaxToken = 1024 * 1024;

QString mib(qint64 bytes) { return QString::number(bytes / (1024 * 1024)); }

// One part, unpacked as the XML reader asks for it. It counts what it
// unpacks and stops with a refusal when the part grows out of proportion,
// whatever sizes the zip directory claims.
class PartDevice : public QIODevice {
public:
    PartDevice(zip_file_t* f, zip_uint64_t packed, const QString& name, const SheetLimits& l)
        : f_(f), packed_(packed), name_(name), limits_(l) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    ~PartDevice() override {
        if (f_) zip_fclose(f_);
    }
    bool isSequential() const override { return true; }
    const QString& refusal() const { return refusal_; }

protected:
    qint64 readData(char* data, qint64 max) override {
        if (!refusal_.isEmpty() || failed_) return -1;
        const zip_int64_t got = zip_fread(f_, data, zip_uint64_t(max));
        if (got < 0) {
            failed_ = true;
            return -1;
        }
        unpacked_ += got;
        if (unpacked_ > limits_.partBytes) return refuse(partTooLarge(name_, limits_.partBytes));
        if (unpacked_ > limits_.ratioFrom && qint64(packed_) * limits_.ratio < unpacked_)
            return refuse(ratioTooHigh(name_, limits_.ratio));
        for (zip_int64_t i = 0; i < got; ++i) {
            const char c = data[i];
            if (c == '<' || c == '>') run_ = 0;
            else if (++run_ > kMaxToken)
                return refuse(QStringLiteral("한 항목이 %1MB를 넘는 부분(%2)이 있어 읽지 않습니다").arg(mib(kMaxToken), name_));
        }
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

public:
    static QString partTooLarge(const QString& name, qint64 limit) {
        return QStringLiteral("압축을 푼 크기가 %1MB를 넘는 부분(%2)이 있어 읽지 않습니다").arg(mib(limit), name);
    }
    static QString ratioTooHigh(const QString& name, int limit) {
        return QStringLiteral("압축률이 %1배를 넘는 부분(%2)이 있어 읽지 않습니다").arg(limit).arg(name);
    }

private:
    qint64 refuse(const QString& why) {
        refusal_ = why;
        return -1;
    }
    zip_file_t* f_;
    zip_uint64_t packed_;
    QString name_;
    SheetLimits limits_;
    qint64 unpacked_ = 0;
    qint64 run_ = 0;
    bool failed_ = false;
    QString refusal_;
};

class Package {
public:
    explicit Package(const QString& path) {
        int err = 0;
        z_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    }
    ~Package() {
        if (z_) zip_discard(z_);
    }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;
    bool ok() const { return z_ != nullptr; }

    // The part as a stream; nothing when it is missing or unreadable, or
    // (with *why set) when its declared sizes are already out of proportion.
    std::unique_ptr<PartDevice> open(const QString& name, QString* why) const {
        const QByteArray n = name.toUtf8();
        zip_int64_t i = zip_name_locate(z_, n.constData(), 0);
        if (i < 0) i = zip_name_locate(z_, n.constData(), ZIP_FL_NOCASE);
        if (i < 0) return nullptr;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z_, zip_uint64_t(i), 0, &st) != 0) return nullptr;
        const SheetLimits& l = SheetReader::limits();
        const zip_uint64_t packed = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
        if (st.valid & ZIP_STAT_SIZE) {
            if (st.size > zip_uint64_t(l.partBytes)) {
                *why = PartDevice::partTooLarge(name, l.partBytes);
                return nullptr;
            }
            if (st.size > zip_uint64_t(l.ratioFrom) && packed * zip_uint64_t(l.ratio) < st.size) {
                *why = PartDevice::ratioTooHigh(name, l.ratio);
                return nullptr;
            }
        }
        zip_file_t* f = zip_fopen_index(z_, zip_uint64_t(i), 0);
        if (!f) return nullptr;
        return std::make_unique<PartDevice>(f, packed, name, l);
    }

private:
    zip_t* z_ = nullptr;
};

// The folder part of a part name ("xl/workbook.xml" -> "xl").
QString folderOf(const QString& part) {
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash);
}

// A relationship target resolved against the folder of its source part.
QString resolve(const QString& folder, const QString& target) {
    const QString t = QUrl::fromPercentEncoding(target.toUtf8()).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString joined = t.startsWith(QLatin1Char('/')) ? t : folder + QLatin1Char('/') + t;
    QStringList out;
    for (const QString& seg : joined.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (seg == QLatin1String(".")) continue;
        if (seg == QLatin1String("..")) {
            if (!out.isEmpty()) out.removeLast();
            continue;
        }
        out << seg;
    }
    return out.join(QLatin1Char('/'));
}

// The rels part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
QString relsOf(const QString& part) {
    const QString folder = folderOf(part);
    const QString file = part.mid(folder.isEmpty() ? 0 : folder.size() + 1);
    return (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/") + file +
           QStringLiteral(".rels");
}

struct Rel {
    QString type;
    QString target; // resolved part name
};

// Why a read stopped: the limit it met, or the XML reader's fault.
QString failure(const QXmlStreamReader& x, const PartDevice& dev, const QString& refusal) {
    if (!dev.refusal().isEmpty()) return dev.refusal();
    if (!refusal.isEmpty()) return refusal;
    if (x.hasError()) return QStringLiteral("시트를 읽을 수 없습니다: ") + x.errorString();
    return {};
}

QHash<QString, Rel> readRels(const Package& pkg, const QString& part, QString* why) {
    QHash<QString, Rel> out;
    const std::unique_ptr<PartDevice> dev = pkg.open(relsOf(part), why);
    if (!dev) return out;
    const QString folder = folderOf(part);
    QXmlStreamReader x(dev.get());
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("Relationship")) {
            const auto a = x.attributes();
            if (a.value(QLatin1String("TargetMode")) == QLatin1String("External")) continue;
            out.insert(a.value(QLatin1String("Id")).toString(),
                       Rel{a.value(QLatin1String("Type")).toString(),
                           resolve(folder, a.value(QLatin1String("Target")).toString())});
            if (out.size() > 10000) break; // no workbook relates to more parts
        }
    }
    if (!dev->refusal().isEmpty()) *why = dev->refusal();
    return out;
}

// Relationship types end alike in the transitional and the strict forms.
bool typeIs(const Rel& r, const char* tail) {
    return r.type.endsWith(QLatin1Char('/') + QLatin1String(tail));
}

// OOXML writes characters XML cannot carry as _xHHHH_.
QString unescape(const QString& s) {
    if (!s.contains(QLatin1String("_x"))) return s;
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        if (s.at(i) == QLatin1Char('_') && i + 6 < s.size() && s.at(i + 1) == QLatin1Char('x') &&
            s.at(i + 6) == QLatin1Char('_')) {
            bool ok = false;
            const ushort code = s.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += s.at(i);
    }
    return out;
}

// What a read has taken so far, against the limits.
struct Budget {
    const SheetLimits& limits;
    qint64 chars = 0; // characters of the strings kept
    QString refusal;

    bool take(qint64 n) {
        chars += n;
        if (chars > limits.textChars && refusal.isEmpty()) refusal = tooMuchText(limits.textChars);
        return refusal.isEmpty();
    }
};

// The text of a string item (<si> or <is>): its <t> elements, plain or in
// rich-text runs, leaving out phonetic readings (<rPh>). The reader stands
// on the item's start element and ends on its end element.
QString stringItem(QXmlStreamReader& x, Budget& b) {
    QString out;
    int phonetic = 0;
    const QString end = x.name().toString();
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("rPh")) ++phonetic;
            else if (x.name() == QLatin1String("t") && phonetic == 0) {
                out += x.readElementText();
                // Runs of a rich text add up: the item is one cell.
                if (out.size() > qsizetype(b.limits.cellChars) * 7) {
                    b.refusal = cellTooLong(b.limits.cellChars);
                    return {};
                }
            }
        } else if (x.isEndElement()) {
            if (x.name() == QLatin1String("rPh")) --phonetic;
            else if (x.name() == end) break;
        }
    }
    out = unescape(out);
    if (out.size() > b.limits.cellChars) {
        b.refusal = cellTooLong(b.limits.cellChars);
        return {};
    }
    return out;
}

QStringList readSharedStrings(PartDevice& dev, Budget& b, QString* why) {
    QStringList out;
    QXmlStreamReader x(&dev);
    while (!x.atEnd() && b.refusal.isEmpty()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("si")) {
            if (out.size() >= b.limits.sharedStrings) {
                b.refusal = QStringLiteral("공유 문자열이 %1개를 넘어 읽지 않습니다").arg(b.limits.sharedStrings);
                break;
            }
            const QString item = stringItem(x, b);
            if (b.take(item.size())) out << item;
        }
    }
    *why = failure(x, dev, b.refusal);
    return out;
}

// Whether a number format shows a date: the built-in date formats (those
// of the Korean and other East Asian editions included) or a format code
// with day, month or year in it, outside its quoted texts and brackets.
bool isDateFormat(int id, const QString& code) {
    if (code.isEmpty())
        return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
    QString bare;
    bool quoted = false;
    int bracket = 0;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == QLatin1Char(';') && !quoted && bracket == 0) break; // the first section decides
        if (c == QLatin1Char('"')) quoted = !quoted;
        else if (quoted) continue;
        else if (c == QLatin1Char('[')) ++bracket;
        else if (c == QLatin1Char(']')) bracket = std::max(0, bracket - 1);
        else if (bracket > 0) continue;
        else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) ++i;
        else bare += c.toLower();
    }
    if (bare.contains(QLatin1Char('y')) || bare.contains(QLatin1Char('d'))) return true;
    // "m" alone is a month; beside hours or seconds it is minutes.
    return bare.contains(QLatin1Char('m')) && !bare.contains(QLatin1Char('h')) && !bare.contains(QLatin1Char('s'));
}

// Which cell formats (by their index, the cells' s attribute) show a date.
QList<bool> readDateStyles(PartDevice& dev) {
    QHash<int, QString> codes;
    QList<int> xfs;
    QXmlStreamReader x(&dev);
    int inXfs = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("numFmt")) {
                if (codes.size() < 65536)
                    codes.insert(x.attributes().value(QLatin1String("numFmtId")).toInt(),
                                 x.attributes().value(QLatin1String("formatCode")).toString());
            } else if (x.name() == QLatin1String("cellXfs")) ++inXfs;
            else if (x.name() == QLatin1String("xf") && inXfs > 0 && xfs.size() < 65536)
                xfs << x.attributes().value(QLatin1String("numFmtId")).toInt();
        } else if (x.isEndElement() && x.name() == QLatin1String("cellXfs")) --inXfs;
    }
    QList<bool> out;
    out.reserve(xfs.size());
    for (int id : xfs)
        out << isDateFormat(id, codes.value(id));
    return out;
}

// "AB12" -> column 28, row 12 (either may be missing: 0).
void splitRef(QStringView ref, int* row, int* col) {
    int c = 0, r = 0, i = 0;
    for (; i < ref.size(); ++i) {
        const QChar ch = ref.at(i).toUpper();
        if (ch < QLatin1Char('A') || ch > QLatin1Char('Z')) break;
        c = c * 26 + (ch.unicode() - 'A' + 1);
        if (c > 16384) c = 16385;
    }
    for (; i < ref.size() && ref.at(i).isDigit(); ++i) {
        r = r * 10 + ref.at(i).digitValue();
        if (r > 1048576) r = 1048577;
    }
    *row = r;
    *col = c;
}

// A date serial number as the date it shows; nothing outside the years a
// sheet can show.
std::optional<QDate> dateOf(double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466) return std::nullopt;
    const QDate d = SheetValue::dateOfSerial(serial + (date1904 ? 1462 : 0)).date();
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

struct CellFormats {
    QList<bool> dateStyle;
    bool date1904 = false;
};

QVariant cellValue(QStringView type, const QString& v, const QString& inlineText, bool hasInline,
                   const QStringList& sst, bool dateStyle, bool date1904) {
    if (type == QLatin1String("s")) {
        bool ok = false;
        const int i = v.trimmed().toInt(&ok);
        return ok && i >= 0 && i < sst.size() ? QVariant(sst.at(i)) : QVariant();
    }
    if (type == QLatin1String("inlineStr")) return hasInline ? QVariant(inlineText) : QVariant(unescape(v));
    if (type == QLatin1String("str") || type == QLatin1String("e")) return QVariant(unescape(v));
    if (type == QLatin1String("b")) return v.isEmpty() ? QVariant() : QVariant(v.trimmed() == QLatin1String("1"));
    if (type == QLatin1String("d")) {
        QDateTime dt = QDateTime::fromString(v.trimmed(), Qt::ISODateWithMs);
        if (!dt.isValid()) dt = QDateTime(QDate::fromString(v.trimmed(), Qt::ISODate), QTime(0, 0));
        return dt.isValid() ? QVariant(dt.date()) : QVariant(v);
    }
    if (v.trimmed().isEmpty()) return {};
    bool ok = false;
    const double d = v.trimmed().toDouble(&ok);
    if (!ok) return QVariant(v);
    if (dateStyle)
        if (const std::optional<QDate> date = dateOf(d, date1904)) return QVariant(*date);
    return QVariant(d);
}

bool readSheetXml(PartDevice& dev, const QStringList& sst, const CellFormats& formats, Budget& b,
                  const SheetOptions& options, SheetTable* out, QString* error) {
    QXmlStreamReader x(&dev);
    int row = 0, col = 0;
    int rowsHeld = 0, lastHeld = 0;
    const int keep = options.columns > 0 ? options.columns : 16384;
    while (!x.atEnd() && b.refusal.isEmpty()) {
        x.readNext();
        if (!x.isStartElement()) continue;
        if (x.name() == QLatin1String("row")) {
            bool ok = false;
            const int r = x.attributes().value(QLatin1String("r")).toInt(&ok);
            row = ok && r > 0 ? r : row + 1;
            col = 0;
            continue;
        }
        if (x.name() != QLatin1String("c")) continue;
        const auto attrs = x.attributes();
        const QString type = attrs.value(QLatin1String("t")).toString();
        const QStringView ref = attrs.value(QLatin1String("r"));
        const int style = attrs.value(QLatin1String("s")).toInt();
        int r = 0, c = 0;
        if (!ref.isEmpty()) splitRef(ref, &r, &c);
        if (row == 0) row = 1;
        col = c > 0 ? c : col + 1;
        if (r > 0) row = r;
        if (col > 16384) {
            b.refusal = QStringLiteral("열이 16384개를 넘는 행이 있어 읽지 않습니다");
            break;
        }
        const bool kept = col <= keep && row <= 1048576;
        QString v, inlineText;
        bool hasInline = false, any = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement()) {
                if (!kept) {
                    // A cell the caller does not read: only whether it holds something.
                    any = any || x.name() == QLatin1String("v") || x.name() == QLatin1String("is");
                    x.skipCurrentElement();
                } else if (x.name() == QLatin1String("v")) {
                    v = x.readElementText();
                    any = true;
                } else if (x.name() == QLatin1String("is")) {
                    inlineText = stringItem(x, b);
                    hasInline = any = true;
                } else x.skipCurrentElement();
            } else if (x.isEndElement() && x.name() == QLatin1String("c")) break;
        }
        if (!any || !b.refusal.isEmpty()) continue;
        if (row != lastHeld) {
            lastHeld = row;
            if (++rowsHeld > b.limits.rows) {
                b.refusal = tooManyRows(b.limits.rows);
                break;
            }
        }
        if (!kept) {
            if (row <= 1048576) out->markRow(row);
            continue;
        }
        const QVariant value = cellValue(type, v, inlineText, hasInline, sst,
                                         style >= 0 && style < formats.dateStyle.size() && formats.dateStyle.at(style),
                                         formats.date1904);
        if (type != QLatin1String("s") && value.typeId() == QMetaType::QString) {
            if (value.toString().size() > b.limits.cellChars) {
                b.refusal = cellTooLong(b.limits.cellChars);
                break;
            }
            if (!b.take(value.toString().size())) break;
        }
        out->set(row, col, value);
    }
    const QString why = failure(x, dev, b.refusal);
    if (!why.isEmpty()) {
        if (error) *error = why;
        return false;
    }
    return true;
}

} // namespace

bool readXlsx(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
              QString* error, const SheetOptions& options) {
    const auto fail = [error, &path](const QString& why) {
        if (error) *error = why + QStringLiteral(": ") + path;
        return false;
    };
    Package pkg(path);
    if (!pkg.ok()) return fail(QStringLiteral("엑셀화일을 열 수 없습니다"));

    QString why;
    QString workbookPart;
    for (const Rel& r : readRels(pkg, QString(), &why))
        if (typeIs(r, "officeDocument")) workbookPart = r.target;
    if (!why.isEmpty()) return fail(why);
    if (workbookPart.isEmpty()) workbookPart = QStringLiteral("xl/workbook.xml");

    QStringList sheetNames, sheetIds;
    CellFormats formats;
    {
        const std::unique_ptr<PartDevice> wb = pkg.open(workbookPart, &why);
        if (!wb) return fail(why.isEmpty() ? QStringLiteral("엑셀화일의 통합문서를 찾을 수 없습니다") : why);
        QXmlStreamReader x(wb.get());
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement()) continue;
            if (x.name() == QLatin1String("workbookPr")) {
                const QStringView d = x.attributes().value(QLatin1String("date1904"));
                formats.date1904 = d == QLatin1String("1") || d == QLatin1String("true");
            }
            if (x.name() != QLatin1String("sheet") || sheetNames.size() >= 32767) continue;
            QString id;
            for (const QXmlStreamAttribute& a : x.attributes())
                if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty()) id = a.value().toString();
            sheetNames << x.attributes().value(QLatin1String("name")).toString();
            sheetIds << id;
        }
        if (!wb->refusal().isEmpty()) return fail(wb->refusal());
        if (x.hasError()) return fail(QStringLiteral("엑셀화일의 통합문서를 읽을 수 없습니다"));
    }
    if (names) *names = sheetNames;
    if (!out) return true;

    int pick = index;
    if (!name.isEmpty()) pick = int(sheetNames.indexOf(name));
    if (pick < 0 || pick >= sheetNames.size())
        return fail(QStringLiteral("시트를 찾을 수 없습니다(") + (name.isEmpty() ? QString::number(index + 1) : name) +
                    QLatin1Char(')'));

    const QHash<QString, Rel> rels = readRels(pkg, workbookPart, &why);
    if (!why.isEmpty()) return fail(why);
    QString sheetPart;
    if (rels.contains(sheetIds.at(pick))) sheetPart = rels.value(sheetIds.at(pick)).target;
    else sheetPart = QStringLiteral("xl/worksheets/sheet%1.xml").arg(pick + 1);
    Budget budget{SheetReader::limits()};
    QStringList sst;
    for (const Rel& r : rels) {
        if (typeIs(r, "sharedStrings") && sst.isEmpty()) {
            if (const std::unique_ptr<PartDevice> d = pkg.open(r.target, &why)) sst = readSharedStrings(*d, budget, &why);
        } else if (typeIs(r, "styles") && formats.dateStyle.isEmpty()) {
            if (const std::unique_ptr<PartDevice> d = pkg.open(r.target, &why)) {
                formats.dateStyle = readDateStyles(*d);
                if (!d->refusal().isEmpty()) why = d->refusal();
            }
        }
        if (!why.isEmpty()) return fail(why);
    }
    const std::unique_ptr<PartDevice> sheet = pkg.open(sheetPart, &why);
    if (!sheet)
        return fail(why.isEmpty() ? QStringLiteral("시트를 찾을 수 없습니다(") + sheetNames.at(pick) + QLatin1Char(')')
                                  : why);
    if (!readSheetXml(*sheet, sst, formats, budget, options, out, &why)) return fail(why);
    return true;
}

} // namespace SheetFiles
