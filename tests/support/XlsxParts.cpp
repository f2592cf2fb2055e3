#include "XlsxParts.h"

#include <QFile>
#include <vector>

#include <zip.h>

namespace XlsxParts {

QByteArray cell(const char* ref, const QByteArray& value, const char* type, int style) {
    QByteArray c = QByteArray("<c r=\"") + ref + '"';
    if (type) c += QByteArray(" t=\"") + type + '"';
    if (style >= 0) c += " s=\"" + QByteArray::number(style) + '"';
    return c + "><v>" + value + "</v></c>";
}

bool write(const QString& path, const Book& book) {
    const QByteArray ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    std::vector<std::pair<const char*, QByteArray>> parts;
    parts.push_back({"[Content_Types].xml",
                  "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                  "content-types\"><Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"});
    parts.push_back({"_rels/.rels", "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/"
                                 "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"" +
                                     rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"});
    parts.push_back({"xl/workbook.xml", "<?xml version=\"1.0\"?><workbook " + ns + " xmlns:r=\"" + rel +
                                         "\"><workbookPr " + book.workbookPr +
                                         "/><sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
                                         "</workbook>"});
    QByteArray wbRels = "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
                        "2006/relationships\"><Relationship Id=\"rId1\" Type=\"" +
                        rel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    if (!book.sharedStrings.isNull())
        wbRels += "<Relationship Id=\"rId2\" Type=\"" + rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    if (!book.styles.isNull())
        wbRels += "<Relationship Id=\"rId3\" Type=\"" + rel + "/styles\" Target=\"styles.xml\"/>";
    parts.push_back({"xl/_rels/workbook.xml.rels", wbRels + "</Relationships>"});
    parts.push_back({"xl/worksheets/sheet1.xml",
                  "<?xml version=\"1.0\"?><worksheet " + ns + "><sheetData>" + book.sheetData +
                      "</sheetData></worksheet>"});
    if (!book.sharedStrings.isNull())
        parts.push_back({"xl/sharedStrings.xml", "<?xml version=\"1.0\"?><sst " + ns + ">" + book.sharedStrings + "</sst>"});
    if (!book.styles.isNull())
        parts.push_back({"xl/styles.xml", "<?xml version=\"1.0\"?><styleSheet " + ns + ">" + book.styles + "</styleSheet>"});

    QFile::remove(path);
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) return false;
    for (const auto& [name, data] : parts) {
        zip_source_t* src = zip_source_buffer(z, data.constData(), zip_uint64_t(data.size()), 0);
        if (!src || zip_file_add(z, name, src, ZIP_FL_OVERWRITE) < 0) {
            if (src) zip_source_free(src);
            zip_discard(z);
            return false;
        }
    }
    // The buffers stay alive until the archive is written.
    return zip_close(z) == 0;
}

} // namespace XlsxParts
