#include "basic/AccountStore.h"
#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "support/TestRoot.h"

namespace {

class AccountStoreTest : public TestRoot {
protected:
    static AcctInput acct(const QString& bank, const QString& acctNo, const QString& compyNo,
                          bool dist = false) {
        AcctInput in;
        in.bankCd = bank;
        in.acctNo = acctNo;
        in.compyNo = compyNo;
        in.passwd = QStringLiteral("pw#77");
        in.gcode = QStringLiteral("01");
        in.distribution = dist;
        return in;
    }
    static QStringList log() {
        return column(QStringLiteral("SELECT MenuName || '|' || JobLog FROM L_Log_202603 ORDER BY seq"));
    }
    static QStringList accounts() {
        return column(
            QStringLiteral("SELECT BankCd || ':' || Gubun || ':' || AcctNo || ':' || IFNULL(CompyNo,'') || "
                           "':' || IFNULL(RepYn,'') FROM C_ACCT ORDER BY BankCd, Gubun, AcctNo"));
    }
};

TEST_F(AccountStoreTest, FirstAccountOfABankIsItsRepresentative) {
    auto r = AccountStore::save(
        acct(QStringLiteral("20"), QStringLiteral("100200300400"), QStringLiteral("S1"), true));
    EXPECT_TRUE(r.saved && r.inserted && r.representative);
    r = AccountStore::save(acct(QStringLiteral("20"), QStringLiteral("100200300401"), QStringLiteral("S2")));
    EXPECT_TRUE(r.saved && r.inserted);
    EXPECT_FALSE(r.representative);
    r = AccountStore::save(acct(QStringLiteral("04"), QStringLiteral("123456789012"), QStringLiteral("K1")));
    EXPECT_TRUE(r.representative);
    EXPECT_EQ(accounts(), (QStringList{QStringLiteral("04:집금:123456789012:K1:Y"),
                                       QStringLiteral("20:배분:100200300400:S1:Y"),
                                       QStringLiteral("20:집금:100200300401:S2:")}));
    EXPECT_EQ(DMData->GetRepCompyNo(QStringLiteral("04")), QStringLiteral("K1"));
    // The password never reaches the log.
    EXPECT_EQ(log().value(0),
              QStringLiteral("은행등록|[등록] 항목그룹: 01.기본, 구분:배분, 은행:20.우리은행, "
                             "계좌번호:100200300400, 은행부여코드:S1, 비밀번호 :****"));
    for (const QString& l : log())
        EXPECT_FALSE(l.contains(QStringLiteral("pw#77"))) << l.toStdString();
}

TEST_F(AccountStoreTest, RepresentativeCannotBeDeletedAnyWay) {
    AccountStore::save(acct(QStringLiteral("04"), QStringLiteral("123456789012"), QStringLiteral("K1")));
    AccountStore::save(acct(QStringLiteral("04"), QStringLiteral("123456789099"), QStringLiteral("K1")));
    const auto rows = AccountStore::rows();
    ASSERT_EQ(rows.size(), 2);
    const AcctRow rep = rows[0].isRep() ? rows[0] : rows[1];
    const AcctRow other = rows[0].isRep() ? rows[1] : rows[0];
    ASSERT_TRUE(rep.isRep());
    const AcctInput repKey = acct(QStringLiteral("04"), rep.acctNo, rep.compyNo);
    const AcctInput otherKey = acct(QStringLiteral("04"), other.acctNo, other.compyNo);

    const struct {
        const char* name;
        AcctInput typed;
        std::optional<AcctRow> shown;
    } refused[] = {
        {"clicked and typed", repKey, rep},
        {"other row clicked, representative typed", repKey, other},
        {"nothing clicked, representative typed", repKey, std::nullopt},
        {"representative clicked, other row typed", otherKey, rep},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        const auto d = AccountStore::remove(c.typed, c.shown);
        EXPECT_FALSE(d.deleted);
        EXPECT_EQ(d.refusal.text, QStringLiteral("[대표코드]는 삭제할수 없습니다."));
    }
    EXPECT_EQ(AccountStore::rows().size(), 2);

    Database::exec(QStringLiteral("DELETE FROM L_Log_202603"));
    const auto d = AccountStore::remove(otherKey, other);
    EXPECT_TRUE(d.deleted);
    EXPECT_FALSE(d.refusal);
    EXPECT_EQ(accounts(), QStringList{QStringLiteral("04:집금:123456789012:K1:Y")});
    EXPECT_EQ(log(), QStringList{QStringLiteral("은행등록|[삭제] 항목그룹: 01.기본, 구분:집금,은행코드 : 04,"
                                                "계좌번호 : 123456789099,학교번호 : K1")});
    // A key that names no account deletes and logs nothing.
    EXPECT_FALSE(AccountStore::remove(otherKey, std::nullopt).deleted);
    EXPECT_EQ(log().size(), 1);

    // The next account of the bank does not become representative: there
    // still is one.
    EXPECT_FALSE(AccountStore::save(otherKey).representative);
}

TEST_F(AccountStoreTest, EditWritesOnlyChangesAndMasksThePassword) {
    AcctInput in = acct(QStringLiteral("26"), QStringLiteral("12345678901"), QStringLiteral("C1"));
    AccountStore::save(in);
    Database::exec(QStringLiteral("DELETE FROM L_Log_202603"));

    EXPECT_TRUE(AccountStore::save(in).saved);
    EXPECT_TRUE(log().isEmpty());

    in.passwd = QStringLiteral("9876");
    in.repCd = QStringLiteral("CMS01");
    auto r = AccountStore::save(in);
    EXPECT_TRUE(r.saved);
    EXPECT_FALSE(r.inserted);
    EXPECT_EQ(log(), QStringList{QStringLiteral(
                         "은행등록|[수정] (은행 : 26.신한은행 ,항목그룹 : 01.기본) 비밀번호 : ****")});
    const auto row = AccountStore::find(QStringLiteral("26"), QStringLiteral("집금"),
                                        QStringLiteral("12345678901"), QStringLiteral("C1"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->passwd, QStringLiteral("9876"));
    EXPECT_EQ(row->repCd, QStringLiteral("CMS01"));
    EXPECT_EQ(row->repYn, QStringLiteral("Y"));

    // A changed account number is a new account; the old one stays.
    in.acctNo = QStringLiteral("12345678902");
    r = AccountStore::save(in);
    EXPECT_TRUE(r.inserted);
    EXPECT_FALSE(r.representative);
    EXPECT_EQ(AccountStore::rows().size(), 2);
}

TEST_F(AccountStoreTest, BlankInstitutionCodeIsAKeyLikeAnyOther) {
    AcctInput in = acct(QStringLiteral("11"), QStringLiteral("3010123456789"), QString());
    EXPECT_TRUE(AccountStore::save(in).inserted);
    in.eduCode = QStringLiteral("E1234");
    const auto r = AccountStore::save(in);
    EXPECT_TRUE(r.saved);
    EXPECT_FALSE(r.inserted);
    EXPECT_EQ(AccountStore::rows().value(0).eduCode, QStringLiteral("E1234"));
}

TEST_F(AccountStoreTest, RefusalsStoreNothing) {
    const struct {
        const char* name;
        AcctInput in;
        QString text;
        int field;
    } cases[] = {
        {"distribution at bank 04",
         acct(QStringLiteral("04"), QStringLiteral("123456789012"), QString(), true),
         QStringLiteral("현재 배분이체 서비스는 우리/조흥은행만 가능합니다!!"), AccountStore::FieldKind},
        {"letters in a Nonghyup institution code",
         acct(QStringLiteral("11"), QStringLiteral("30101234567"), QStringLiteral("A123")),
         QStringLiteral("농협용 은행부여코드에는 숫자이외의 값이 들어갈수없습니다~!!"),
         AccountStore::FieldCompyNo},
        {"no bank", acct(QString(), QStringLiteral("123456789012"), QString()), QString(),
         AccountStore::FieldBank},
        {"empty account number", acct(QStringLiteral("04"), QString(), QString()), QString(),
         AccountStore::FieldAcctNo},
        {"account number over 15", acct(QStringLiteral("04"), QStringLiteral("1234567890123456"), QString()),
         QString(), AccountStore::FieldAcctNo},
        {"institution code outside CP949",
         acct(QStringLiteral("04"), QStringLiteral("123456789012"), QStringLiteral("K😀")), QString(),
         AccountStore::FieldCompyNo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = AccountStore::save(c.in);
        EXPECT_FALSE(r.saved);
        EXPECT_EQ(r.refusal.field, c.field);
        if (!c.text.isEmpty()) {
            EXPECT_EQ(r.refusal.text, c.text);
        }
    }
    EXPECT_TRUE(AccountStore::rows().isEmpty());
    EXPECT_TRUE(log().isEmpty());

    // The same inputs pass where the rule does not apply.
    EXPECT_TRUE(
        AccountStore::save(acct(QStringLiteral("20"), QStringLiteral("123456789012"), QString(), true))
            .saved);
    EXPECT_TRUE(
        AccountStore::save(acct(QStringLiteral("04"), QStringLiteral("123456789012"), QStringLiteral("A123")))
            .saved);
}

TEST_F(AccountStoreTest, AccountNumberExitCheck) {
    const struct {
        const char* bank;
        const char* acct;
        bool ok;
    } cases[] = {
        {"11", "123456789012", true}, // bank 11: length only
        {"11", "12345678901", true},
        {"11", "1234567890", false},
        {"11", "12345678901a", false},
        {"04", "123456789012", true},
        {"04", "1234567890123", false},
        {"04", "12345678901a", false},
        {"", "123", true},
        {"04", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bank) + "/" + c.acct);
        EXPECT_EQ(AccountStore::acctNoValid(QString::fromLatin1(c.bank), QString::fromLatin1(c.acct)), c.ok);
    }
}

TEST_F(AccountStoreTest, BankNotesAreCreatedOnceWithEveryNote) {
    EXPECT_FALSE(Database::tableExists(QStringLiteral("C_BANKH")));
    EXPECT_TRUE(AccountStore::bankNotes(QStringLiteral("11")).isEmpty());
    EXPECT_TRUE(AccountStore::ensureBankNotes());
    EXPECT_EQ(AccountStore::defaultNoteCount(), 114);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_BANKH")), 114);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(DISTINCT bankcd) FROM C_BANKH")), 20);
    const QStringList n11 = AccountStore::bankNotes(QStringLiteral("11"));
    ASSERT_EQ(n11.size(), 5);
    EXPECT_EQ(n11.first(), QStringLiteral("은행측과 협의한 항목코드거래(최대 15 항목 까지 가능)"));
    EXPECT_EQ(n11.last(), QStringLiteral("은행에서의 이체순서: <은행->신청년월->항목->학반번호 순>"));
    EXPECT_EQ(AccountStore::bankNotes(QStringLiteral("45")).size(), 9);
    EXPECT_EQ(log(), QStringList{QStringLiteral("은행등록|은행설명테이블생성 성공")});

    // The second opening changes nothing.
    EXPECT_TRUE(AccountStore::ensureBankNotes());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_BANKH")), 114);
    EXPECT_EQ(log().size(), 1);
}

} // namespace
