#!/usr/bin/python3
# Makes the workbook fixtures of the sheet and import tests, as other
# programs write them: openpyxl for .xlsx, xlwt for .xls, and one package put
# together by hand for the forms those two never write (absolute part names,
# inline strings, cells without references, phonetic runs, _xHHHH_ escapes).
#
#   tests/platform/sheets/make_fixtures.py     (Debian: python3-openpyxl python3-xlwt)
#
# The outputs are committed; run this again only to change them.
import datetime
import os
import zipfile

import openpyxl
import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))


def path(name):
    return os.path.join(HERE, name)


def openpyxl_book():
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "학생"
    ws.append(["학번", "성명", "금액", "비율", "주민번호", "재학", "입학일", "비고"])
    ws.append([10101, "홍길동", 12345, 3.5, 9901011234567, True, datetime.datetime(2026, 3, 2), None])
    ws.append(["00123", "김 철수 ", -7, 0.1, "0101013234567", False, datetime.datetime(2026, 3, 16, 12, 0), "끝"])
    ws["J5"] = "멀리"
    other = wb.create_sheet("둘째")
    other["A1"] = "둘째 시트"
    wb.save(path("openpyxl.xlsx"))


def xlwt_book():
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("첫시트")
    date = xlwt.easyxf(num_format_str="yyyy-mm-dd")
    for c, v in enumerate(["학번", "성명", "금액", "입학일"]):
        ws.write(0, c, v)
    ws.write(1, 0, 10101)
    ws.write(1, 1, "홍길동")
    ws.write(1, 2, 12345.0)
    ws.write(1, 3, datetime.date(2026, 3, 2), date)
    ws.write(2, 0, "00123")
    ws.write(2, 1, "이영희")
    ws.write(2, 2, 2.25)
    wb.add_sheet("둘째").write(0, 0, "둘째 시트")
    wb.save(path("xlwt.xls"))


def handmade_book():
    ct = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
<Override PartName="/xl/worksheets/data.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/strings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>
</Types>"""
    rels = """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="/xl/workbook.xml"/>
</Relationships>"""
    workbook = """<?xml version="1.0" encoding="UTF-8"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<x:sheets><x:sheet name="Data" sheetId="7" r:id="rIdData"/></x:sheets>
</x:workbook>"""
    wb_rels = """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rIdData" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/data.xml"/>
<Relationship Id="rIdStr" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="/xl/strings.xml"/>
<Relationship Id="rIdWeb" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink" Target="http://example.invalid/" TargetMode="External"/>
</Relationships>"""
    strings = """<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2" uniqueCount="2">
<si><t xml:space="preserve"> 앞뒤 공백 </t></si>
<si><r><rPr><b/></rPr><t>굵은</t></r><r><t>글씨</t></r><rPh sb="0" eb="2"><t>ふりがな</t></rPh></si>
</sst>"""
    sheet = """<?xml version="1.0" encoding="UTF-8"?>
<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<x:sheetData>
<x:row><x:c t="s"><x:v>0</x:v></x:c><x:c t="s"><x:v>1</x:v></x:c><x:c t="inlineStr"><x:is><x:t>인라인</x:t></x:is></x:c></x:row>
<x:row><x:c><x:v>1.0E+3</x:v></x:c><x:c t="str"><x:f>A2*2</x:f><x:v>계산_x000D_값</x:v></x:c><x:c t="b"><x:v>0</x:v></x:c><x:c t="e"><x:v>#N/A</x:v></x:c></x:row>
<x:row r="5"><x:c r="B5" s="3"/><x:c r="D5" t="d"><x:v>2026-03-16</x:v></x:c></x:row>
</x:sheetData>
</x:worksheet>"""
    with zipfile.ZipFile(path("handmade.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", ct)
        z.writestr("_rels/.rels", rels)
        # Part names differ in case from the references, as some writers do.
        z.writestr("XL/Workbook.xml", workbook)
        z.writestr("xl/_rels/workbook.xml.rels", wb_rels)
        z.writestr("xl/worksheets/data.xml", sheet)
        z.writestr("xl/strings.xml", strings)


def import_book():
    # The roster import: one row for each reason a row is refused, and rows
    # that are taken, some typed as numbers the way a person enters them.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(["학번", "성명", "성별", "은행", "계좌번호", "예금주", "전입일", "전출일",
               "예금주주민번호", "핸드폰", "SMS", "학생주민번호"])
    rows = [
        [10101, "홍길동", 1, "04", "123456789012", "홍판서", 20260302, None, "7001011234567", "01012345678", 1, "1001013234567"],
        ["10102", " 이영희 ", "2", "99", "아무거나", "이부모", "20260302", "20260310", None, None, "2", None],
        [None, "학번없음", "1", "04", "123456789012", None, None, None, None, None, None, None],
        ["1010", "짧은학번", "1", "04", "123456789012", None, None, None, None, None, None, None],
        ["00101", "영반", "1", "04", "123456789012", None, None, None, None, None, None, None],
        ["10001", "영반둘", "1", "04", "123456789012", None, None, None, None, None, None, None],
        ["10101", "중복", "1", "04", "123456789012", None, None, None, None, None, None, None],
        ["10103", "계좌틀림", "1", "04", "1234", None, None, None, None, None, None, None],
        ["10104", "", "1", "04", "123456789012", None, None, None, None, None, None, None],
        ["10105", "이름이아주아주아주긴학생", "1", "04", "123456789012", None, None, None, None, None, None, None],
        ["10106", "홍🙂", "1", "04", "123456789012", None, None, None, None, None, None, None],
        ["10107", "박민수", "1", "", "", None, None, None, None, None, None, None],
    ]
    for r in rows:
        ws.append(r)
    ws.append([])
    ws.append(["10199", "빈줄뒤", "1", "99", "", None, None, None, None, None, None, None])
    wb.save(path("import_students.xlsx"))


def xlwt_far_book():
    # Two cells: A1 and the last cell of the old format (IV65536). The sheet
    # declares 65,536 rows by 256 columns.
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("먼셀")
    ws.write(0, 0, "학번")
    ws.write(65535, 255, 1)
    wb.save(path("xlwt_far.xls"))


def memo_rows():
    # A roster whose fourth row holds only a memo in column M, past the
    # twelve columns the import reads, with rows below it.
    rows = [["학번", "성명", "성별"], ["10101", "홍길동", "1"], ["10102", "이영희", "2"]]
    memo = [None] * 12 + ["메모만 있는 줄"]
    return rows + [memo] + [["10103", "박민수", "1"], ["10104", "최지우", "2"]]


def memo_books():
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("학생")
    for r, row in enumerate(memo_rows()):
        for c, v in enumerate(row):
            if v is not None:
                ws.write(r, c, v)
    wb.save(path("memo_row.xls"))
    book = openpyxl.Workbook()
    for row in memo_rows():
        book.active.append(row)
    book.save(path("memo_row.xlsx"))


def xlwt_row513_book():
    # Cells at row 513, columns K and O: their records begin with the bytes of
    # a DIMENSION record's header, and the numbers after them read as a sheet
    # of millions of cells.
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("행513")
    ws.write(0, 0, "학번")
    ws.write(512, 10, 123456789.123)
    ws.write(512, 14, 987654321.987)
    ws.write(513, 0, "아래")
    wb.save(path("xlwt_row513.xls"))


openpyxl_book()
xlwt_book()
handmade_book()
import_book()
xlwt_far_book()
memo_books()
xlwt_row513_book()
