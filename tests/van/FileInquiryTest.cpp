#include "van/FileInquiry.h"

#include "data/AppliedFiles.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Modal.h"
#include "support/TestRoot.h"
#include "transfers/common/ResultFile.h"
#include "van/M201B00.h"
#include "van/M202B00.h"

#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>

#include <QDir>
#include <QFile>

#include <functional>
#include <tuple>

using namespace FileInquiry;

namespace {

// A fixed-width record: blanks, with values put at their offsets.
struct Rec {
    QByteArray b;
    explicit Rec(int len) : b(len, ' ') {}
    Rec& put(int off, const QByteArray& v) {
        b.replace(off, v.size(), v);
        return *this;
    }
    Rec& put(int off, const char* v) { return put(off, QByteArray(v)); }
    Rec& put(int off, const QString& v) { return put(off, Cp949::encode(v)); }
};

QByteArray zero(qint64 v, int w) {
    return QByteArray::number(v).rightJustified(w, '0');
}

QByteArray join(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + "\r\n";
    return out;
}

class FileInquiryTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        for (const auto& [cust, sno, nm] :
             {std::tuple{"0888800001", "10101", u"홍길동"}, std::tuple{"0888800002", "10102", u"김철수"},
              std::tuple{"0888800021", "20101", u"이영희"}, std::tuple{"0888800031", "30101", u"박민수"},
              std::tuple{"0888800041", "40101", u"최지우"}, std::tuple{"1000000001", "30101", u"정하나"}})
            ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                            {{QStringLiteral("CustNo"), QString::fromLatin1(cust)},
                                             {QStringLiteral("SNo"), QString::fromLatin1(sno)},
                                             {QStringLiteral("Nm"), QString::fromUtf16(nm)}}));
        for (const auto& [cd, id, nm] :
             {std::tuple{"A1", "01", u"수업료"}, std::tuple{"A2", "02", u"급식비"}})
            ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"),
                                            {{QStringLiteral("ItemCd"), QString::fromLatin1(cd)},
                                             {QStringLiteral("ItemID"), QString::fromLatin1(id)},
                                             {QStringLiteral("ItemNm"), QString::fromUtf16(nm)},
                                             {QStringLiteral("Gcode"), QStringLiteral("01")}}));
        DMData->LoadLists();
    }

    void put(Kind k, const QString& name, const QByteArray& content) {
        QFile f(path(folder(k) + QLatin1Char('/') + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    static QByteArray golden(const char* name) {
        QFile f(QStringLiteral(ZQ_TEST_SOURCE_DIR "/transfers/golden/") + QString::fromLatin1(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll();
    }

    static BookRow book(const char* name, const char* bank, const char* type = "2") {
        BookRow r;
        r.fileName = QString::fromLatin1(name);
        r.bankCd = QString::fromLatin1(bank);
        r.bankNm = DMData->GetBankName(r.bankCd);
        r.fileType = QString::fromLatin1(type);
        r.gcode = QStringLiteral("01");
        return r;
    }

    static void book(Kind k, const char* name, const char* ym, const char* seq, const char* type,
                     const char* bank, int cnt, const char* date, const char* gcode = "01") {
        ASSERT_TRUE(Database::insertRow(
            QStringLiteral("M_SRFILE"),
            {{QStringLiteral("SRType"), k == Kind::Sent ? QStringLiteral("S") : QStringLiteral("R")},
             {QStringLiteral("FileName"), QString::fromLatin1(name)},
             {QStringLiteral("FileType"), QString::fromLatin1(type)},
             {QStringLiteral("YearMon"), QString::fromLatin1(ym)},
             {QStringLiteral("SeqNo"), QString::fromLatin1(seq)},
             {QStringLiteral("BankCd"), QString::fromLatin1(bank)},
             {QStringLiteral("DataCnt"), cnt},
             {QStringLiteral("SRDate"), QString::fromLatin1(date)},
             {QStringLiteral("Gcode"), QString::fromLatin1(gcode)}}));
    }
};

QString u(const char16_t* s) {
    return QString::fromUtf16(s);
}

// Every sent-file viewer against a file of its layout: the writer's golden
// files and, for the layouts it does not write, small fixtures.
TEST_F(FileInquiryTest, SentViewersDecodeTheirLayouts) {
    // Banks 10/11, 80 bytes: the trailer counts header and trailer too.
    const QByteArray nh80 =
        join({Rec(80).put(0, "S").put(13, "260317").put(19, "260318").put(39, "301012345678901").b,
              Rec(80)
                  .put(0, "D")
                  .put(9, "01")
                  .put(11, "11")
                  .put(13, "   301012345678")
                  .put(34, zero(12000, 10))
                  .put(44, "0888800001")
                  .b,
              Rec(80).put(0, "E").put(9, zero(3, 6)).put(15, zero(12000, 12)).b});
    // Bank 12, 80 bytes: a payer key, and a student packed at 48.
    const QByteArray nh12 = join({Rec(80).put(0, "S").put(4, "260317").put(30, "1234560112345601").b,
                                  Rec(80)
                                      .put(0, "22")
                                      .put(9, "12")
                                      .put(11, "123456-78-901234")
                                      .put(27, zero(5000, 12))
                                      .put(46, "0888800002")
                                      .put(59, "02")
                                      .b,
                                  Rec(80)
                                      .put(0, "22")
                                      .put(9, "12")
                                      .put(11, "123456-78-901234")
                                      .put(27, zero(7000, 12))
                                      .put(46, "021 02005")
                                      .put(55, u(u"김학생"))
                                      .b,
                                  Rec(80).put(0, "E").put(2, zero(2, 6)).put(8, zero(12000, 12)).b});
    // Bank 03 distribution.
    const QByteArray d03 = join({Rec(80).put(0, "S").put(6, "260320").put(18, "03012345678901").b,
                                 Rec(80)
                                     .put(0, "D")
                                     .put(2, "03")
                                     .put(12, "03099999999999")
                                     .put(26, zero(30000, 11))
                                     .put(37, QByteArray("C40102 ") + Cp949::encode(u(u"장학생")))
                                     .b,
                                 Rec(80).put(0, "E").put(6, zero(1, 7)).put(13, zero(30000, 13)).b});
    put(Kind::Sent, QStringLiteral("26030104.201"), golden("layout80_bank04.txt"));
    put(Kind::Sent, QStringLiteral("26030193.201"), golden("layout100a_bank93.txt"));
    put(Kind::Sent, QStringLiteral("26030123.201"), golden("layout100b_bank23.txt"));
    put(Kind::Sent, QStringLiteral("26030111.201"), golden("layout200_bank11.txt"));
    put(Kind::Sent, QStringLiteral("26030111.202"), nh80);
    put(Kind::Sent, QStringLiteral("26030112.301"), nh12);
    put(Kind::Sent, QStringLiteral("26030103.301"), d03);
    put(Kind::Sent, QStringLiteral("26031720.301"), golden("dist80_bank20.txt"));

    const struct {
        BookRow row;
        Viewer viewer;
        const char16_t* panels; // acct|start|end|count|amount
        int rows;
        const char16_t* first; // the first row's cells
    } cases[] = {
        {book("26030104.201", "04"), Viewer::Default80, u"04012345678901 |2026-03-17|2026-03-17|3|335,000", 3,
         u"10101|홍길동|국민은행|123456789012   |수업료|        150,000"},
        {book("26030193.201", "93"), Viewer::L100A, u"93012345678    |2026-03-17|2026-03-17|2|170,000", 2,
         u"20101|이영희||930123456789   |수업료|        150,000"},
        {book("26030123.201", "23"), Viewer::L100B, u"|2026-03-17|0000-00-00|2|170,000", 2,
         u"30101|박민수|제일은행|23012345678     |수업료|        150,000"},
        {book("26030111.201", "11"), Viewer::NH200, u"30111111111111|2026-03-17|2026-03-17|3|95,000", 3,
         u"40101|최지우|농협중앙|30112345678901|수업료|       30,000"},
        {book("26030111.202", "11"), Viewer::NH80, u"301012345678901|2026-03-17|2026-03-18|1|12,000", 1,
         u"10101|홍길동|농협중앙|30101234567|수업료|       12,000"},
        {book("26030112.301", "12"), Viewer::NH12, u"1234560112345601|2026-03-17|2026-03-17|2|12,000", 2,
         u"10102|김철수|회원농협|12345678901234|급식비|        5,000"},
        {book("26030103.301", "03", "3"), Viewer::Dist03, u"03012345678901|2026-03-20|2026-03-20|1|30,000", 1,
         u"40102 |장학생                    |기업은행|03099999999999||         30,000"},
        // The distribution writer's own file: "C", the student number, the name.
        {book("26031720.301", "20", "3"), Viewer::Default80,
         u"55566677788    |2026-03-17|2026-03-17|2|70,000", 2,
         u"10101 |김일   |%1|11122233344    |수업료|         50,000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row.fileName.toStdString());
        const FileView v = view(Kind::Sent, c.row);
        ASSERT_EQ(v.status, FileView::Status::Shown) << v.message.toStdString();
        EXPECT_EQ(v.viewer, c.viewer);
        EXPECT_EQ(
            QStringList({v.masterAcct, v.startDate, v.endDate, v.totCnt, v.totAmt}).join(QLatin1Char('|')),
            u(c.panels));
        ASSERT_EQ(v.rows.size(), c.rows);
        EXPECT_EQ(v.rows.first().join(QLatin1Char('|')),
                  u(c.first).replace(QStringLiteral("%1"), DMData->GetBankName(c.row.bankCd)));
    }
    // Bank 12's student packed into the key field.
    const FileView v12 = view(Kind::Sent, book("26030112.301", "12"));
    EXPECT_EQ(v12.rows.value(1).mid(0, 2), QStringList({QStringLiteral("102005"), u(u"김학생   ")}));
    EXPECT_EQ(v12.rows.value(1).value(4), u(u"급식비"));
}

// The student written into a distribution record ("C", student number,
// name) is never taken for a payer number, whatever the name's length, and
// every field is cut by CP949 bytes. One file per layout with names of one to
// four syllables, sent and received.
TEST_F(FileInquiryTest, DistributionViewersShowTheStudentsOfEveryLayout) {
    const QList<QString> names = {u(u"이"), u(u"이이"), u(u"홍길동"), u(u"남궁민수")};
    // The name padded with blanks to a width in bytes.
    auto pad = [](const QString& n, int width) {
        return n + QString(width - Cp949::byteLength(n), QLatin1Char(' '));
    };
    // A name field of 7 bytes; a syllable that starts inside it is whole.
    auto name7 = [&](const QString& n) { return Cp949::byteLength(n) <= 7 ? pad(n, 7) : n; };
    const QByteArray sno = "10102 "; // a five-digit number in its six bytes

    struct Layout {
        const char* what;
        const char* file;
        const char* bank;
        Viewer viewer;
        std::function<QByteArray()> head;
        std::function<QByteArray(const QString& name, qint64 amt, bool ok)> data;
        std::function<QByteArray(int n, qint64 total, qint64 okAmt, qint64 failAmt)> tail;
        std::function<QString(const QString&)> sentName, recvName;
        const char* acct;
        const char16_t* item;
        int sentWidth, recvWidth;
        const char* sno = "10102 ";
    };
    const QList<Layout> layouts = {
        // Bank 04's unprocessed collection records show the amount at 38,
        // which the distribution writer leaves zero: here the amount asked.
        {"80 bytes", "26032004.301", "04", Viewer::Default80,
         [] { return Rec(80).put(0, "S").put(13, "04").put(15, "260320").put(21, "260320").b; },
         [&](const QString& n, qint64 amt, bool ok) {
             return Rec(80)
                 .put(0, "D")
                 .put(1, "04")
                 .put(3, "123456789012")
                 .put(18, "10")
                 .put(20, zero(amt, 11))
                 .put(33, ok ? "Y" : "N")
                 .put(34, ok ? "0000" : "0107")
                 .put(38, zero(0, 10))
                 .put(48, "C" + sno)
                 .put(55, n)
                 .put(76, "01")
                 .b;
         },
         [](int n, qint64 total, qint64 okAmt, qint64) {
             return Rec(80)
                 .put(0, "E")
                 .put(1, zero(n + 2, 7))
                 .put(8, zero(n, 7))
                 .put(15, zero(total, 13))
                 .put(28, zero(n / 2, 7))
                 .put(35, zero(okAmt, 13))
                 .put(48, zero(n / 2, 7))
                 .b;
         },
         name7, name7, "123456789012   ", u"수업료", 15, 15},
        {"banks 10 and 11, 80 bytes", "26032011.301", "11", Viewer::NH80,
         [] {
             return Rec(80)
                 .put(0, "S")
                 .put(1, "11")
                 .put(13, "260320")
                 .put(19, "260320")
                 .put(39, "301012345678901")
                 .b;
         },
         [&](const QString& n, qint64 amt, bool ok) {
             return Rec(80)
                 .put(0, "D")
                 .put(9, "01")
                 .put(11, "11")
                 .put(13, "   301012345678")
                 .put(34, zero(amt, 10))
                 .put(44, "C" + sno)
                 .put(51, Cp949::cutToBytes(n, 6))
                 .put(68, ok ? "Y" : "N")
                 .put(69, ok ? "00" : "07")
                 .b;
         },
         [](int n, qint64 total, qint64, qint64) {
             return Rec(80).put(0, "E").put(9, zero(n + 2, 6)).put(15, zero(total, 12)).b;
         },
         [&](const QString& n) { return pad(Cp949::cutToBytes(n, 6), 6); },
         [&](const QString& n) { return pad(Cp949::cutToBytes(n, 6), 6); }, "30101234567", u"수업료", 13, 10},
        {"bank 12, 80 bytes", "26032012.301", "12", Viewer::NH12,
         [] { return Rec(80).put(0, "S").put(2, "12").put(4, "260320").put(30, "1234560112345601").b; },
         [&](const QString& n, qint64 amt, bool ok) {
             return Rec(80)
                 .put(0, "22")
                 .put(9, "12")
                 .put(11, "123456-78-901234")
                 .put(27, zero(amt, 12))
                 .put(39, ok ? "1" : "0")
                 .put(40, ok ? "00" : "07")
                 .put(46, "011 01002")
                 .put(55, n)
                 .put(66, u(u"수업료"))
                 .b;
         },
         [](int n, qint64 total, qint64, qint64) {
             return Rec(80).put(0, "E").put(2, zero(n, 6)).put(8, zero(total, 12)).b;
         },
         [&](const QString& n) { return pad(n, 9); }, [&](const QString& n) { return pad(n, 9); },
         "12345678901234", u"수업료", 13, 10, "101002"},
        {"bank 03", "26032003.301", "03", Viewer::Dist03,
         [] { return Rec(80).put(0, "S").put(6, "260320").put(18, "03012345678901").b; },
         [&](const QString& n, qint64 amt, bool ok) {
             return Rec(80)
                 .put(0, "D")
                 .put(2, "03")
                 .put(12, "03099999999999")
                 .put(26, zero(amt, 11))
                 .put(37, "C" + sno)
                 .put(44, n)
                 .put(71, ok ? "1" : "0")
                 .put(72, ok ? "0000" : "0107")
                 .b;
         },
         [](int n, qint64 total, qint64 okAmt, qint64 failAmt) {
             return Rec(80)
                 .put(0, "E")
                 .put(6, zero(n, 7))
                 .put(13, zero(total, 13))
                 .put(26, zero(n / 2, 7))
                 .put(33, zero(okAmt, 13))
                 .put(46, zero(n / 2, 7))
                 .put(53, zero(failAmt, 13))
                 .b;
         },
         [&](const QString& n) { return pad(n, 26); }, name7, "03099999999999", u"", 15, 15},
    };

    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.what);
        QList<QByteArray> lines{l.head()};
        qint64 total = 0, okAmt = 0, failAmt = 0;
        for (int i = 0; i < names.size(); ++i) {
            const qint64 amt = 1000 * (i + 1);
            const bool ok = i % 2 == 0;
            lines << l.data(names[i], amt, ok);
            total += amt;
            (ok ? okAmt : failAmt) += amt;
        }
        lines << l.tail(int(names.size()), total, okAmt, failAmt);
        put(Kind::Sent, QString::fromLatin1(l.file), join(lines));
        put(Kind::Received, QString::fromLatin1(l.file), join(lines));
        const QString bankNm = DMData->GetBankName(QString::fromLatin1(l.bank));

        const FileView sent = view(Kind::Sent, book(l.file, l.bank, "3"));
        ASSERT_EQ(sent.status, FileView::Status::Shown) << sent.message.toStdString();
        EXPECT_EQ(sent.viewer, l.viewer);
        ASSERT_EQ(sent.rows.size(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i].toStdString());
            EXPECT_EQ(sent.rows[i], QStringList({QString::fromLatin1(l.sno), l.sentName(names[i]), bankNm,
                                                 QString::fromLatin1(l.acct), u(l.item),
                                                 amountText(1000 * (i + 1), l.sentWidth)}));
        }

        const FileView recv = view(Kind::Received, book(l.file, l.bank, "3"));
        ASSERT_EQ(recv.status, FileView::Status::Shown) << recv.message.toStdString();
        EXPECT_EQ(QStringList({recv.procCnt, recv.procAmt, recv.nonProcCnt, recv.nonProcAmt}),
                  QStringList({"2", amountText(okAmt), "2", amountText(failAmt)}));
        ASSERT_EQ(recv.rows.size(), 2);
        ASSERT_EQ(recv.failRows.size(), 2);
        for (int i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i].toStdString());
            const QStringList& row = i % 2 == 0 ? recv.rows[i / 2] : recv.failRows[i / 2];
            EXPECT_EQ(row.mid(0, 6), QStringList({QString::fromLatin1(l.sno), l.recvName(names[i]), bankNm,
                                                  QString::fromLatin1(l.acct), u(l.item),
                                                  amountText(1000 * (i + 1), l.recvWidth)}));
            if (i % 2) {
                EXPECT_FALSE(row.value(6).trimmed().isEmpty());
            }
        }
    }
}

// Collection files name payers: looked up, with bank 45's "C" before the
// number, also for numbers of the years that begin with "1".
TEST_F(FileInquiryTest, CollectionViewersLookUpPayers) {
    auto data = [](const char* bank, const QByteArray& payer) {
        return Rec(80).put(0, "D").put(1, bank).put(20, zero(1000, 11)).put(48, payer).put(76, "01").b;
    };
    const QByteArray head = Rec(80).put(0, "S").put(15, "260317").put(21, "260317").b;
    const QByteArray tail = Rec(80).put(0, "E").put(8, zero(2, 7)).put(15, zero(2000, 13)).b;
    put(Kind::Sent, QStringLiteral("26031745.201"),
        join({head, data("45", "C0888800001   " + Cp949::encode(u(u"수업료"))), data("45", "C1000000001"),
              tail}));
    put(Kind::Sent, QStringLiteral("26031704.201"),
        join({head, data("04", "0888800002    " + Cp949::encode(u(u"급식비"))), data("04", "0888800041"),
              tail}));
    const struct {
        const char* file;
        const char* bank;
        QStringList first, second;
    } cases[] = {
        {"26031745.201", "45", {"10101", u(u"홍길동")}, {"30101", u(u"정하나")}},
        {"26031704.201", "04", {"10102", u(u"김철수")}, {"40101", u(u"최지우")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const FileView v = view(Kind::Sent, book(c.file, c.bank));
        ASSERT_EQ(v.rows.size(), 2) << v.message.toStdString();
        EXPECT_EQ(v.rows[0].mid(0, 2), c.first);
        EXPECT_EQ(v.rows[1].mid(0, 2), c.second);
    }
}

TEST_F(FileInquiryTest, ViewerChoiceByBankTypeAndLength) {
    const struct {
        const char* bank;
        const char* type;
        int len;
        Viewer v;
    } cases[] = {
        {"03", "3", 80, Viewer::Dist03},    {"03", "2", 80, Viewer::Default80},
        {"10", "2", 200, Viewer::NH200},    {"11", "2", 80, Viewer::NH80},
        {"12", "2", 200, Viewer::NH200},    {"12", "3", 80, Viewer::NH12},
        {"23", "2", 80, Viewer::Default80}, {"23", "2", 100, Viewer::L100B},
        {"23", "2", 200, Viewer::None},     {"45", "2", 100, Viewer::L100A},
        {"93", "2", 82, Viewer::None},      {"04", "2", 100, Viewer::Default80},
    };
    for (const auto& c : cases)
        EXPECT_EQ(choose(QString::fromLatin1(c.bank), QString::fromLatin1(c.type), c.len), c.v)
            << c.bank << " " << c.len;
}

// The "C" rule of bank 45: a payer after "C0", otherwise the student itself.
TEST_F(FileInquiryTest, Bank45PayerFieldWithC) {
    auto data = [](const QByteArray& payer) {
        return Rec(80).put(0, "D").put(1, "45").put(20, zero(1000, 11)).put(48, payer).put(76, "01").b;
    };
    put(Kind::Sent, QStringLiteral("26030145.201"),
        join({Rec(80).put(0, "S").put(15, "260317").put(21, "260317").b, data("C0888800001"),
              data(QByteArray("C20305 ") + Cp949::encode(u(u"한소년"))),
              Rec(80).put(0, "E").put(8, zero(2, 7)).put(15, zero(2000, 13)).b}));
    const FileView v = view(Kind::Sent, book("26030145.201", "45"));
    ASSERT_EQ(v.rows.size(), 2);
    EXPECT_EQ(v.rows[0].mid(0, 2), QStringList({QStringLiteral("10101"), u(u"홍길동")}));
    EXPECT_EQ(v.rows[1].mid(0, 2), QStringList({QStringLiteral("20305 "), u(u"한소년 ")}));
}

TEST_F(FileInquiryTest, ReceivedViewersSplitProcessedAndUnprocessed) {
    // Default layout, bank 04: an unprocessed record shows its amount at 38,
    // while the unprocessed sum adds the amounts at 20.
    auto rec80 = [](const char* cust, qint64 amt, bool ok, const char* code, qint64 amt38) {
        return Rec(80)
            .put(0, "D")
            .put(1, "04")
            .put(3, "123456789012")
            .put(20, zero(amt, 11))
            .put(33, ok ? "Y" : "N")
            .put(34, code)
            .put(38, zero(amt38, 10))
            .put(48, cust)
            .put(76, "01")
            .b;
    };
    put(Kind::Received, QStringLiteral("24050304.201"),
        join({Rec(80)
                  .put(0, "S")
                  .put(13, "04")
                  .put(15, "240510")
                  .put(21, "240510")
                  .put(27, "04012345678901")
                  .b,
              rec80("0888800001", 50000, true, "0000", 0), rec80("0888800002", 30000, false, "0107", 1234),
              rec80("0888800021", 20000, false, "0999", 0),
              Rec(80)
                  .put(0, "E")
                  .put(8, zero(3, 7))
                  .put(15, zero(100000, 13))
                  .put(28, zero(1, 7))
                  .put(35, zero(50000, 13))
                  .put(48, zero(2, 7))
                  .b}));
    const FileView v = view(Kind::Received, book("24050304.201", "04"));
    ASSERT_EQ(v.status, FileView::Status::Shown) << v.message.toStdString();
    EXPECT_EQ(QStringList({v.totCnt, v.totAmt, v.procCnt, v.procAmt, v.nonProcCnt, v.nonProcAmt}),
              QStringList({"3", "100,000", "1", "50,000", "2", "50,000"}));
    ASSERT_EQ(v.rows.size(), 1);
    EXPECT_EQ(v.rows[0].join(QLatin1Char('|')),
              u(u"10101|홍길동|국민은행|123456789012   |수업료|         50,000"));
    ASSERT_EQ(v.failRows.size(), 2);
    EXPECT_EQ(v.failRows[0].join(QLatin1Char('|')),
              u(u"10102|김철수|국민은행|123456789012   |수업료|          1,234|주민번호상이"));
    // A code missing from the table shows as four digits.
    EXPECT_EQ(v.failRows[1].value(6), QStringLiteral("0999"));

    // 200 bytes whose trailer counts only header and trailer: all empty, all 0.
    put(Kind::Received, QStringLiteral("24050311.201"),
        join({Rec(200).put(0, "S").put(21, "20240510").b, Rec(200).put(0, "E").put(1, zero(2, 7)).b}));
    const FileView e = view(Kind::Received, book("24050311.201", "11"));
    ASSERT_EQ(e.status, FileView::Status::Shown) << e.message.toStdString();
    EXPECT_TRUE(e.rows.isEmpty());
    EXPECT_TRUE(e.failRows.isEmpty());
    EXPECT_EQ(QStringList({e.totCnt, e.totAmt, e.procCnt, e.procAmt, e.nonProcCnt, e.nonProcAmt}),
              QStringList(6, QStringLiteral("0")));

    // Bank 03 distribution: every panel from the trailer, the reason by bank 03's table.
    put(Kind::Received, QStringLiteral("24050303.301"),
        join({Rec(80).put(0, "S").put(6, "240510").put(18, "03012345678901").b,
              Rec(80)
                  .put(0, "D")
                  .put(2, "03")
                  .put(12, "03099999999999")
                  .put(26, zero(30000, 11))
                  .put(37, QByteArray("C40102 ") + Cp949::encode(u(u"장학생")))
                  .put(71, "1")
                  .b,
              Rec(80)
                  .put(0, "D")
                  .put(2, "03")
                  .put(12, "03088888888888")
                  .put(26, zero(10000, 11))
                  .put(37, QByteArray("C40103 ") + Cp949::encode(u(u"두학생")))
                  .put(71, "0")
                  .put(72, "0107")
                  .b,
              Rec(80)
                  .put(0, "E")
                  .put(6, zero(2, 7))
                  .put(13, zero(40000, 13))
                  .put(26, zero(1, 7))
                  .put(33, zero(30000, 13))
                  .put(46, zero(1, 7))
                  .put(53, zero(10000, 13))
                  .b}));
    const FileView d = view(Kind::Received, book("24050303.301", "03", "3"));
    ASSERT_EQ(d.status, FileView::Status::Shown) << d.message.toStdString();
    EXPECT_EQ(QStringList({d.totCnt, d.totAmt, d.procCnt, d.procAmt, d.nonProcCnt, d.nonProcAmt}),
              QStringList({"2", "40,000", "1", "30,000", "1", "10,000"}));
    ASSERT_EQ(d.failRows.size(), 1);
    EXPECT_EQ(d.failRows[0].mid(0, 2), QStringList({QStringLiteral("40103 "), u(u"두학생 ")}));
    EXPECT_EQ(d.failRows[0].value(6), u(u"주민번호상이"));
}

// A file not matching its layout shows nothing but the error.
TEST_F(FileInquiryTest, MalformedFilesShowOnlyTheError) {
    const QByteArray head = Rec(80).put(0, "S").put(15, "260317").b;
    const QByteArray data = Rec(80).put(0, "D").put(1, "04").put(20, zero(1000, 11)).put(48, "0888800001").b;
    auto trailer = [](int n, const QByteArray& amt) {
        return Rec(80).put(0, "E").put(8, zero(n, 7)).put(15, amt).b;
    };
    const struct {
        const char* what;
        QByteArray content;
    } cases[] = {
        {"short line", join({head, data.left(70), trailer(1, zero(1000, 13))})},
        {"fewer records than the trailer counts", join({head, data, trailer(2, zero(1000, 13))})},
        {"amount not a number", join({head, data, trailer(1, "12a4")})},
        {"no trailer", join({head})},
        {"last line without CR LF", join({head, data}) + trailer(1, zero(1000, 13))},
        {"a data record that is not one", join({head, data, head, trailer(2, zero(2000, 13))})},
        {"empty file", QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        put(Kind::Sent, QStringLiteral("26030104.201"), c.content);
        put(Kind::Received, QStringLiteral("26030104.201"), c.content);
        for (Kind k : {Kind::Sent, Kind::Received}) {
            const FileView v = view(k, book("26030104.201", "04"));
            EXPECT_EQ(v.status, FileView::Status::Malformed);
            EXPECT_TRUE(v.message.startsWith(QStringLiteral("화일의 형식이 맞지 않습니다")));
            EXPECT_TRUE(v.rows.isEmpty() && v.failRows.isEmpty() && v.totCnt.isEmpty() &&
                        v.startDate.isEmpty());
        }
    }
    EXPECT_EQ(view(Kind::Sent, book("missing.201", "04")).status, FileView::Status::Unreadable);
}

TEST_F(FileInquiryTest, ListingFiltersAndOrder) {
    book(Kind::Sent, "24050104.201", "2405", "01", "201", "04", 3, "20240502");
    book(Kind::Sent, "24050104.202", "2405", "01", "202", "04", 5, "20240503");
    book(Kind::Sent, "24050111.203", "2405", "01", "203", "11", 5, "20240503");
    book(Kind::Sent, "24060104.201", "2406", "01", "201", "04", 3, "20240601");
    book(Kind::Sent, "24060204.201", "2406", "02", "201", "04", 3, ""); // never sent
    book(Kind::Received, "24050104.201", "2405", "01", "201", "04", 1234, "20240510", "");
    auto names = [](Kind k, const ListFilter& f) {
        QList<BookRow> rows;
        EXPECT_TRUE(list(k, f, &rows));
        QStringList out;
        for (const BookRow& r : rows)
            out << r.fileName;
        return out;
    };
    EXPECT_EQ(names(Kind::Sent, {}),
              QStringList({"24050111.203", "24050104.202", "24050104.201", "24060104.201"}));
    ListFilter f;
    f.bankCd = QStringLiteral("04");
    f.yearMonFrom = f.yearMonTo = QStringLiteral("202405");
    EXPECT_EQ(names(Kind::Sent, f), QStringList({"24050104.202", "24050104.201"}));
    f.count = QStringLiteral("5");
    EXPECT_EQ(names(Kind::Sent, f), QStringList({"24050104.202"}));
    f = {};
    f.seqNo = QStringLiteral("02");
    EXPECT_TRUE(names(Kind::Sent, f).isEmpty());

    QList<BookRow> rows;
    ASSERT_TRUE(list(Kind::Received, {}, &rows));
    ASSERT_EQ(rows.size(), 1);
    const BookRow& r = rows.first();
    EXPECT_EQ(QStringList({r.yearMon, r.seqNo, r.fileType, r.bankNm, r.srDate, r.dataCnt, r.gcode}),
              QStringList({"2024.05", "01", "2", u(u"국민은행"), "2024-05-10", "     1,234", "01"}));
}

// A result applied, then deleted in the inquiry with its copy, stays
// refused when the same file is offered again.
TEST_F(FileInquiryTest, DeletedResultStaysRefused) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20240503")));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_20240503"),
                                    {{QStringLiteral("YearMon"), QStringLiteral("202405")},
                                     {QStringLiteral("SeqNo"), QStringLiteral("03")},
                                     {QStringLiteral("SNo"), QStringLiteral("30101")},
                                     {QStringLiteral("ItemCd"), QStringLiteral("01")},
                                     {QStringLiteral("BankCd"), QStringLiteral("11")},
                                     {QStringLiteral("Amt"), 50000},
                                     {QStringLiteral("ReplyTy"), QStringLiteral("0")},
                                     {QStringLiteral("ExempTy"), QStringLiteral("1")},
                                     {QStringLiteral("CustNo"), QStringLiteral("1000000001")}}));
    const QByteArray content =
        join({Rec(200).put(0, "S").put(4, "011").put(21, "20260310").put(72, "2405030000").b,
              Rec(200)
                  .put(0, "D")
                  .put(20, " 01")
                  .put(23, "011")
                  .put(26, "301123456789")
                  .put(42, zero(50000, 13))
                  .put(55, zero(50000, 13))
                  .put(94, "1000000001")
                  .put(114, "240503")
                  .put(154, "Y")
                  .put(155, "0000")
                  .b,
              Rec(200).put(0, "E").put(1, zero(3, 7)).put(15, zero(50000, 15)).b});
    auto offer = [&] {
        QFile f(path(QStringLiteral("recv/00110001.201")));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        ResultApplyRequest req;
        req.path = path(QStringLiteral("recv/00110001.201"));
        req.workBank = QStringLiteral("11");
        req.gcode = QStringLiteral("01");
        req.listBankName = QStringLiteral("농협중앙");
        req.listCount = QStringLiteral("1");
        return ResultApplier::apply(req);
    };
    const ResultApplyOutcome first = offer();
    ASSERT_EQ(first.status, ResultApplyOutcome::Status::Applied)
        << first.messages.value(0).text.toStdString();

    QList<BookRow> rows;
    ASSERT_TRUE(list(Kind::Received, {}, &rows));
    ASSERT_EQ(rows.size(), 1);
    const FileView v = view(Kind::Received, rows.first());
    ASSERT_EQ(v.status, FileView::Status::Shown) << v.message.toStdString();
    EXPECT_EQ(v.viewer, Viewer::NH200);
    EXPECT_EQ(QStringList({v.procCnt, v.procAmt, v.totAmt}), QStringList({"1", "50,000", "50,000"}));

    ASSERT_TRUE(remove(Kind::Received, rows.first().fileName));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("rback/") + rows.first().fileName)));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 0);
    // The round keeps its marks.
    EXPECT_EQ(column(QStringLiteral("select ReplyTy from H_200_20240503")), QStringList{QStringLiteral("1")});

    const ResultApplyOutcome again = offer();
    EXPECT_EQ(again.status, ResultApplyOutcome::Status::Invalid);
    ASSERT_FALSE(again.messages.isEmpty());
    EXPECT_TRUE(again.messages.first().text.startsWith(QStringLiteral("이미 파일풀기 된 결과파일입니다.")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("recv/00110001.201"))));

    // A file applied before the book of fingerprints existed: the book is
    // filled from rback when it is made, so deleting the file keeps it refused.
    QByteArray older = content;
    older.replace(QByteArray("0000000050000"), QByteArray("0000000040000"));
    older.replace(QByteArray("000000000050000"), QByteArray("000000000040000"));
    put(Kind::Received, QStringLiteral("24050311.202"), older);
    book(Kind::Received, "24050311.202", "2405", "03", "202", "11", 1, "20240101");
    ASSERT_TRUE(Database::dropTable(QStringLiteral("M_APPLIED")));
    ASSERT_TRUE(AppliedFiles::ensureTable());
    ASSERT_TRUE(remove(Kind::Received, QStringLiteral("24050311.202")));
    const QString hash = AppliedFiles::fingerprint(older);
    EXPECT_TRUE(AppliedFiles::isApplied(hash));
    QFile f(path(QStringLiteral("recv/00110001.202")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(older);
    f.close();
    ResultApplyRequest req;
    req.path = f.fileName();
    req.workBank = QStringLiteral("11");
    req.listBankName = QStringLiteral("농협중앙");
    const ResultApplyOutcome o = ResultApplier::apply(req);
    EXPECT_EQ(o.status, ResultApplyOutcome::Status::Invalid);
    EXPECT_TRUE(o.messages.value(0).text.startsWith(QStringLiteral("이미 파일풀기 된 결과파일입니다.")));
}

// The received-file window: the detail of a booked file, printing only a
// filled grid, a malformed file shown as the error alone, and deletion.
TEST_F(FileInquiryTest, ReceivedWindowDetailPrintAndDelete) {
    const QByteArray good = join(
        {Rec(80).put(0, "S").put(13, "04").put(15, "240510").put(21, "240510").put(27, "04012345678901").b,
         Rec(80)
             .put(0, "D")
             .put(1, "04")
             .put(3, "123456789012")
             .put(20, zero(50000, 11))
             .put(33, "Y")
             .put(48, "0888800001")
             .put(76, "01")
             .b,
         Rec(80)
             .put(0, "E")
             .put(8, zero(1, 7))
             .put(15, zero(50000, 13))
             .put(28, zero(1, 7))
             .put(35, zero(50000, 13))
             .b});
    put(Kind::Received, QStringLiteral("24050104.201"), good);
    put(Kind::Received, QStringLiteral("24050104.202"), good.left(good.size() - 5));
    book(Kind::Received, "24050104.201", "2405", "01", "201", "04", 1, "20240510");
    book(Kind::Received, "24050104.202", "2405", "01", "202", "04", 1, "20240511");
    int previews = 0;
    Modal::setRunner([&](QDialog*) {
        ++previews;
        return int(QDialog::Rejected);
    });

    TFrmM202B00 w;
    ASSERT_EQ(w.SGrdList->rowCount(), 2);
    EXPECT_EQ(w.SGrdList->item(0, 3)->text(), QStringLiteral("집금"));
    w.SGrdList->setCurrentCell(1, 0); // 24050104.201, after the higher file type
    w.bbtnDtlDataClick();
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabShtDetail);
    EXPECT_EQ(w.SGrdRecvDetailProc->rowCount(), 1);
    EXPECT_EQ(w.SGrdRecvDetailProc->item(0, 0)->text(), QStringLiteral("10101"));
    EXPECT_EQ(w.PnlProcCnt->text(), QStringLiteral("1"));
    EXPECT_EQ(w.PnlNonProcCnt->text(), QStringLiteral("0"));
    w.PageControl1->setCurrentIndex(1);
    w.btnPrintClick(); // no unprocessed record: nothing
    EXPECT_EQ(previews, 0);
    w.PageControl1->setCurrentIndex(0);
    w.btnPrintClick();
    EXPECT_EQ(previews, 1);

    // The cut file: the error box and nothing else.
    w.btnRtn->click();
    w.SGrdList->setCurrentCell(0, 0);
    msg.expect(MsgResult::Ok);
    w.bbtnDtlDataClick();
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral("화일오류"));
    EXPECT_TRUE(w.PnlProcCnt->text().isEmpty());
    EXPECT_TRUE(w.PnlBnkNm->text().isEmpty());
    EXPECT_EQ(w.SGrdRecvDetailProc->item(0, 0), nullptr);
    w.btnPrintClick();
    EXPECT_EQ(previews, 1);

    // Deleting asks, then takes the book row and the copy.
    w.btnRtn->click();
    w.SGrdList->setCurrentCell(0, 0);
    msg.expect(MsgResult::Cancel);
    w.bbtnDelClick();
    EXPECT_EQ(w.listed().size(), 2);
    msg.expect(MsgResult::Ok);
    w.bbtnDelClick();
    EXPECT_EQ(msg.shown().last().text, QStringLiteral("24050104.202파일을 정말로 삭제하시겠습니까??"));
    ASSERT_EQ(w.listed().size(), 1);
    EXPECT_EQ(w.listed().first().fileName, QStringLiteral("24050104.201"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("rback/24050104.202"))));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("rback/24050104.201"))));
    Modal::setRunner({});
}

// The sent-file window opens the copy in sback; a file gone from it is named.
TEST_F(FileInquiryTest, SentWindowDetailAndMissingCopy) {
    put(Kind::Sent, QStringLiteral("26030104.201"), golden("layout80_bank04.txt"));
    book(Kind::Sent, "26030104.201", "2603", "01", "201", "04", 3, "20260317");
    book(Kind::Sent, "26030104.202", "2603", "01", "202", "04", 1, "20260317");
    TFrmM201B00 w;
    ASSERT_EQ(w.listed().size(), 2);
    w.SGrdList->setCurrentCell(0, 0);
    msg.expect(MsgResult::Ok);
    w.bbtnDtlDataClick();
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral("파일없음"));
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabShtList);
    w.SGrdList->setCurrentCell(1, 0);
    w.bbtnDtlDataClick();
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabShtDetail);
    EXPECT_EQ(w.SGrdSendDetail->rowCount(), 3);
    EXPECT_EQ(w.pnlTotAmt->text(), QStringLiteral("335,000"));
    EXPECT_EQ(w.SGrdSendDetail->item(2, 5)->text(), QStringLiteral("150,000"));
}

class FileInquiryDriver : public FileInquiryTest {
protected:
    QList<QJsonObject> drive(const QStringList& args, int* rc, const QString& answers = QString()) {
        stopServices();
        QStringList pre{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                        QStringLiteral("20260316")};
        if (!answers.isEmpty()) pre << QStringLiteral("--answers") << answers;
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH), pre + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        startServices();
        return out;
    }
};

TEST_F(FileInquiryDriver, ListViewPrintDelete) {
    put(Kind::Sent, QStringLiteral("26030104.201"), golden("layout80_bank04.txt"));
    book(Kind::Sent, "26030104.201", "2603", "01", "201", "04", 3, "20260317");
    int rc = -1;
    auto out = drive({"inquiry", "sent", "202603", "202603", "--bank", "04"}, &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out[0].value("row").toArray().at(2).toString(), QStringLiteral("26030104.201"));

    out = drive({"inquiry", "view", "sent", "26030104.201"}, &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].value("viewer").toString(), QStringLiteral("default80"));
    EXPECT_EQ(out[0].value("totAmt").toString(), QStringLiteral("335,000"));
    EXPECT_EQ(out[0].value("rows").toArray().size(), 3);

    const QString dump = path(QStringLiteral("sent.txt"));
    out = drive({"print", "inquiry", "sent", "26030104.201", "--dump", dump}, &rc);
    EXPECT_EQ(rc, 0);
    QFile d(dump);
    ASSERT_TRUE(d.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(d.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("송신이체자료")));
    EXPECT_TRUE(text.contains(QStringLiteral("335,000")));

    out = drive({"inquiry", "delete", "sent", "26030104.201"}, &rc, QStringLiteral("ok"));
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out.last().value("deleted").toBool(), true);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("sback/26030104.201"))));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 0);
}

} // namespace
