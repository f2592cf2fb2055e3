#include "support/TestRoot.h"

#include "platform/db/Database.h"
#include "transfers/common/BatFile.h"

#include <QDir>
#include <QFile>

namespace {

class DistribFile : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        pSetMasterAcct(CollectAcctLine(QStringLiteral("SCH2100001"), QStringLiteral("55566677788"),
                                       QStringLiteral("1234"), QString()));
    }
    static DistribRow row(const char* sno, const char* nm, const char* bank, const char* acct, qint64 amt,
                          const char* item, const char* reply = "0") {
        DistribRow r;
        r.SNo = QString::fromUtf8(sno);
        r.Nm = QString::fromUtf8(nm);
        r.BankCd = QString::fromUtf8(bank);
        r.AcctNo = QString::fromUtf8(acct);
        r.Amt = amt;
        r.ItemCd = QString::fromUtf8(item);
        r.ItemNm = QStringLiteral("장학금");
        r.ReplyTy = QString::fromUtf8(reply);
        return r;
    }
    QByteArray sendFile(const QString& name) {
        QFile f(path(QStringLiteral("send/") + name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray golden(const char* name) {
        QFile f(QStringLiteral(ZQ_TEST_SOURCE_DIR "/transfers/golden/") + QString::fromLatin1(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll();
    }
};

TEST_F(DistribFile, GoldenFilesPerBankAndNoRowPaidTwice) {
    struct Case {
        const char* bank;
        const char* golden;
        const char* name;
    };
    for (const Case& c : {Case{"21", "dist80_bank21.txt", "26030121.301"},
                          Case{"20", "dist80_bank20.txt", "26030120.301"}}) {
        SCOPED_TRACE(c.bank);
        const QList<DistribRow> marked = {row("10101", "김일", c.bank, "11122233344", 50000, "01"),
                                          row("10102", "이이", c.bank, "99988877766", 30000, "01", "1"),
                                          row("20101", "박삼", c.bank, "12312312312", 20000, "02")};
        QString name;
        int count = 0;
        QStringList leftOut;
        ASSERT_TRUE(bCreateDistribFile(QStringLiteral("260317"), QStringLiteral("260318"), QString::fromLatin1(c.bank),
                                       QStringLiteral("20260301"), marked, name, count, &leftOut));
        EXPECT_EQ(name, QString::fromLatin1(c.name));
        EXPECT_EQ(count, 2);
        EXPECT_EQ(leftOut, QStringList{QStringLiteral("10102 이이")});
        EXPECT_EQ(sendFile(name), golden(c.golden));
    }
    EXPECT_TRUE(QDir(path(QStringLiteral("Temp"))).entryList(QDir::Files).isEmpty());
}

TEST_F(DistribFile, NextTypeAndNothingToPay) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_SRFILE"), {{QStringLiteral("SRType"), QStringLiteral("S")},
                                                                 {QStringLiteral("FileName"), QStringLiteral("26030121.301")},
                                                                 {QStringLiteral("FileType"), QStringLiteral("301")},
                                                                 {QStringLiteral("YearMon"), QStringLiteral("2603")},
                                                                 {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                                                 {QStringLiteral("BankCd"), QStringLiteral("21")}}));
    EXPECT_EQ(BatFile::NextDistribFileType(QStringLiteral("20260301")), QStringLiteral("302"));
    EXPECT_EQ(BatFile::NextDistribFileType(QStringLiteral("20260302")), QStringLiteral("301"));
    // Every marked row was paid already: no file.
    QString name;
    int count = 0;
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(bCreateDistribFile(QStringLiteral("260317"), QStringLiteral("260318"), QStringLiteral("21"),
                                    QStringLiteral("20260301"), {row("10101", "김일", "21", "111", 100, "01", "1")},
                                    name, count));
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("본 회차에는 송신대상 자료가 존재하지 않습니다."));
    EXPECT_TRUE(QDir(path(QStringLiteral("send"))).entryList(QDir::Files).isEmpty());
}

} // namespace
