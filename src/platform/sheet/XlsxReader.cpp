// The .xlsx reader: the package is a zip of XML parts. The workbook part is
// found through the package relationships, each sheet through the
// workbook's; part names may be written relative or absolute, in any case.

#include "platform/sheet/SheetFiles.h"
#include "platform/sheet/SheetValue.h"

#include <QFile>
#include <QHash>
#include <QUrl>
#include <QXmlStreamReader>

#include <zip.h>

namespace SheetFiles {

namespace {

// No part of a workbook the office edits comes near this; a larger one is
// refused rather than unpacked.
constexpr zip_uint64_t kMaxPart = 512ull * 1024 * 1024;

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

    // The part's bytes; nothing when it is missing or unreadable.
    std::optional<QByteArray> part(const QString& name) const {
        const QByteArray n = name.toUtf8();
        zip_int64_t i = zip_name_locate(z_, n.constData(), 0);
        if (i < 0) i = zip_name_locate(z_, n.constData(), ZIP_FL_NOCASE);
        if (i < 0) return std::nullopt;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z_, zip_uint64_t(i), 0, &st) != 0) return std::nullopt;
        if ((st.valid & ZIP_STAT_SIZE) && st.size > kMaxPart) return std::nullopt;
        zip_file_t* f = zip_fopen_index(z_, zip_uint64_t(i), 0);
        if (!f) return std::nullopt;
        QByteArray out;
        char buf[65536];
        zip_int64_t got = 0;
        while ((got = zip_fread(f, buf, sizeof buf)) > 0) {
            out.append(buf, qsizetype(got));
            if (zip_uint64_t(out.size()) > kMaxPart) {
                got = -1;
                break;
            }
        }
        zip_fclose(f);
        if (got < 0) return std::nullopt;
        return out;
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

QHash<QString, Rel> readRels(const Package& pkg, const QString& part) {
    QHash<QString, Rel> out;
    const std::optional<QByteArray> xml = pkg.part(relsOf(part));
    if (!xml) return out;
    const QString folder = folderOf(part);
    QXmlStreamReader x(*xml);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("Relationship")) {
            const auto a = x.attributes();
            if (a.value(QLatin1String("TargetMode")) == QLatin1String("External")) continue;
            out.insert(a.value(QLatin1String("Id")).toString(),
                       Rel{a.value(QLatin1String("Type")).toString(),
                           resolve(folder, a.value(QLatin1String("Target")).toString())});
        }
    }
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

// The text of a string item (<si> or <is>): its <t> elements, plain or in
// rich-text runs, leaving out phonetic readings (<rPh>). The reader stands
// on the item's start element and ends on its end element.
QString stringItem(QXmlStreamReader& x) {
    QString out;
    int phonetic = 0;
    const QString end = x.name().toString();
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("rPh")) ++phonetic;
            else if (x.name() == QLatin1String("t") && phonetic == 0) out += x.readElementText();
        } else if (x.isEndElement()) {
            if (x.name() == QLatin1String("rPh")) --phonetic;
            else if (x.name() == end) break;
        }
    }
    return unescape(out);
}

QStringList readSharedStrings(const QByteArray& xml) {
    QStringList out;
    QXmlStreamReader x(xml);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("si")) out << stringItem(x);
    }
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

QVariant cellValue(QStringView type, const QString& v, const QString& inlineText, bool hasInline,
                   const QStringList& sst) {
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
        return dt.isValid() ? QVariant(SheetValue::serialOf(dt)) : QVariant(v);
    }
    if (v.trimmed().isEmpty()) return {};
    bool ok = false;
    const double d = v.trimmed().toDouble(&ok);
    return ok ? QVariant(d) : QVariant(v);
}

bool readSheetXml(const QByteArray& xml, const QStringList& sst, SheetTable* out, QString* error) {
    QXmlStreamReader x(xml);
    int row = 0, col = 0;
    while (!x.atEnd()) {
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
        int r = 0, c = 0;
        if (!ref.isEmpty()) splitRef(ref, &r, &c);
        if (row == 0) row = 1;
        col = c > 0 ? c : col + 1;
        if (r > 0) row = r;
        QString v, inlineText;
        bool hasInline = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement()) {
                if (x.name() == QLatin1String("v")) v = x.readElementText();
                else if (x.name() == QLatin1String("is")) {
                    inlineText = stringItem(x);
                    hasInline = true;
                } else x.skipCurrentElement();
            } else if (x.isEndElement() && x.name() == QLatin1String("c")) break;
        }
        if (row > 1048576 || col > 16384) continue;
        out->set(row, col, cellValue(type, v, inlineText, hasInline, sst));
    }
    if (x.hasError()) {
        if (error) *error = QStringLiteral("시트를 읽을 수 없습니다: ") + x.errorString();
        return false;
    }
    return true;
}

} // namespace

bool readXlsx(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
              QString* error) {
    const auto fail = [error, &path](const QString& why) {
        if (error) *error = why + QStringLiteral(": ") + path;
        return false;
    };
    Package pkg(path);
    if (!pkg.ok()) return fail(QStringLiteral("엑셀화일을 열 수 없습니다"));

    QString workbookPart;
    for (const Rel& r : readRels(pkg, QString()))
        if (typeIs(r, "officeDocument")) workbookPart = r.target;
    if (workbookPart.isEmpty()) workbookPart = QStringLiteral("xl/workbook.xml");
    const std::optional<QByteArray> wbXml = pkg.part(workbookPart);
    if (!wbXml) return fail(QStringLiteral("엑셀화일의 통합문서를 찾을 수 없습니다"));

    QStringList sheetNames, sheetIds;
    {
        QXmlStreamReader x(*wbXml);
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement() || x.name() != QLatin1String("sheet")) continue;
            QString id;
            for (const QXmlStreamAttribute& a : x.attributes())
                if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty()) id = a.value().toString();
            sheetNames << x.attributes().value(QLatin1String("name")).toString();
            sheetIds << id;
        }
        if (x.hasError()) return fail(QStringLiteral("엑셀화일의 통합문서를 읽을 수 없습니다"));
    }
    if (names) *names = sheetNames;
    if (!out) return true;

    int pick = index;
    if (!name.isEmpty()) pick = int(sheetNames.indexOf(name));
    if (pick < 0 || pick >= sheetNames.size())
        return fail(QStringLiteral("시트를 찾을 수 없습니다(") + (name.isEmpty() ? QString::number(index + 1) : name) +
                    QLatin1Char(')'));

    const QHash<QString, Rel> rels = readRels(pkg, workbookPart);
    QString sheetPart;
    if (rels.contains(sheetIds.at(pick))) sheetPart = rels.value(sheetIds.at(pick)).target;
    else sheetPart = QStringLiteral("xl/worksheets/sheet%1.xml").arg(pick + 1);
    QStringList sst;
    for (const Rel& r : rels)
        if (typeIs(r, "sharedStrings"))
            if (const std::optional<QByteArray> s = pkg.part(r.target)) sst = readSharedStrings(*s);
    const std::optional<QByteArray> sheetXml = pkg.part(sheetPart);
    if (!sheetXml) return fail(QStringLiteral("시트를 찾을 수 없습니다(") + sheetNames.at(pick) + QLatin1Char(')'));
    QString why;
    if (!readSheetXml(*sheetXml, sst, out, &why)) return fail(why);
    return true;
}

} // namespace SheetFiles
