#include "RoundFixture.h"

void RoundFixture::SetUp() {
    TestRoot::SetUp();
    for (const auto& [cd, nm] : {std::pair{"1", u"1학년"}, {"2", u"2학년"}, {"3", u"3학년"}})
        Database::insertRow(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QString::fromLatin1(cd)},
                                                      {QStringLiteral("SCdNm"), QString::fromUtf16(nm)}});
    Database::insertRow(QStringLiteral("G_GROUP"), {{QStringLiteral("G_CODE"), QStringLiteral("02")},
                                                    {QStringLiteral("G_NAME"), QStringLiteral("방과후")}});
    // Group 01's items have ItemCd 05/06; group 02 has ItemCd 01 with ItemID
    // 01, so a lookup by equal codes picks the wrong item.
    item(QStringLiteral("05"), QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("수업료"), 10000);
    item(QStringLiteral("06"), QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("급식비"), 5000);
    item(QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("01"), QStringLiteral("방과후"), 8000);
    item(QStringLiteral("02"), QStringLiteral("02"), QStringLiteral("03"), QStringLiteral("체험"), 3000);

    student(QStringLiteral("C1"), QStringLiteral("1"), QStringLiteral("10101"), QStringLiteral("김일"),
            QStringLiteral("04"));
    student(QStringLiteral("C2"), QStringLiteral("1"), QStringLiteral("10102"), QStringLiteral("이이"),
            QStringLiteral("11"));
    student(QStringLiteral("C3"), QStringLiteral("2"), QStringLiteral("20101"), QStringLiteral("박삼"),
            QStringLiteral("99"));
    student(QStringLiteral("C4"), QStringLiteral("2"), QStringLiteral("20102"), QStringLiteral("최사"),
            QStringLiteral("05"));
    student(QStringLiteral("C5"), QStringLiteral("3"), QStringLiteral("30101"), QStringLiteral("정오"),
            QStringLiteral("12"));
    student(QStringLiteral("C6"), QStringLiteral("1"), QStringLiteral("10103"), QStringLiteral("전출"),
            QStringLiteral("04"), QStringLiteral("2"));
    // Shares C2's student number.
    student(QStringLiteral("C7"), QStringLiteral("1"), QStringLiteral("10102"), QStringLiteral("동번"),
            QStringLiteral("10"));

    exemp(QStringLiteral("C1"), QStringLiteral("01"), QStringLiteral("A"), 0); // group 02's item only
    exemp(QStringLiteral("C1"), QStringLiteral("05"), QStringLiteral("P"), 3000);
    exemp(QStringLiteral("C2"), QStringLiteral("05"), QStringLiteral("A"), 0);
    exemp(QStringLiteral("C3"), QStringLiteral("05"), QString(), 12000);
    exemp(QStringLiteral("C3"), QStringLiteral("06"), QString(), 2000);
    exemp(QStringLiteral("C4"), QStringLiteral("05"), QStringLiteral("P"), 0);
    exemp(QStringLiteral("C4"), QStringLiteral("06"), QStringLiteral("P"), 9000);

    member(QStringLiteral("방과후반"), QStringLiteral("C1"));
    member(QStringLiteral("방과후반"), QStringLiteral("C4"));
    member(QStringLiteral("합창단"), QStringLiteral("C4"));
    member(QStringLiteral("합창단"), QStringLiteral("C5"));
    member(QStringLiteral("빈반"), QStringLiteral("C9")); // no such student
}

void RoundFixture::student(const QString& custNo, const QString& scd, const QString& sno, const QString& nm,
                           const QString& bank, const QString& useTy) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                    {{QStringLiteral("CustNo"), custNo},
                                     {QStringLiteral("SCd"), scd},
                                     {QStringLiteral("SNo"), sno},
                                     {QStringLiteral("Nm"), nm},
                                     {QStringLiteral("BankCd"), bank},
                                     {QStringLiteral("AcctNo"), QStringLiteral("123-") + custNo},
                                     {QStringLiteral("UseTy"), useTy}}));
}

void RoundFixture::item(const QString& itemCd, const QString& gcode, const QString& itemId, const QString& nm,
                        qint64 amt) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), itemCd},
                                                               {QStringLiteral("ItemNm"), nm},
                                                               {QStringLiteral("ItemAmt"), amt},
                                                               {QStringLiteral("Gcode"), gcode},
                                                               {QStringLiteral("ItemID"), itemId}}));
}

void RoundFixture::exemp(const QString& custNo, const QString& itemCd, const QString& free, qint64 itemval) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_EXEMP"), {{QStringLiteral("CustNo"), custNo},
                                                                {QStringLiteral("ItemCd"), itemCd},
                                                                {QStringLiteral("Itemval"), itemval},
                                                                {QStringLiteral("Free"), free}}));
}

void RoundFixture::member(const QString& grp, const QString& custNo) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("C_GRP"),
                                    {{QStringLiteral("GrpNm"), grp}, {QStringLiteral("CustNo"), custNo}}));
}

QMap<QString, QVariant> RoundFixture::row(const QString& custNo, const QString& sno, const QString& itemId,
                                          qint64 amt, const QString& replyTy, const QString& exempTy) {
    return {{QStringLiteral("CustNo"), custNo},
            {QStringLiteral("SNo"), sno},
            {QStringLiteral("ItemCd"), itemId},
            {QStringLiteral("Amt"), amt},
            {QStringLiteral("ReplyTy"), replyTy},
            {QStringLiteral("ExempTy"), exempTy},
            {QStringLiteral("Gcode"), QStringLiteral("01")},
            {QStringLiteral("BankCd"), QStringLiteral("05")},
            {QStringLiteral("SCd"), sno.left(1)}};
}

void RoundFixture::round(const QString& suffix, const QList<QMap<QString, QVariant>>& rows) {
    ASSERT_TRUE(DMData->CreateH200(suffix));
    for (const auto& r : rows) {
        ColumnValues v{{QStringLiteral("YearMon"), suffix.left(6)}, {QStringLiteral("SeqNo"), suffix.mid(6)}};
        for (auto it = r.begin(); it != r.end(); ++it)
            v.append({it.key(), it.value()});
        ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_") + suffix, v));
    }
}

QStringList RoundFixture::rowsOf(const QString& table) {
    QStringList out;
    Query q(QStringLiteral("SELECT SNo, ItemCd, ExempTy, Amt, GrpNm, CustNo FROM %1 ORDER BY SNo, ItemCd")
                .arg(Database::quoted(table)));
    EXPECT_TRUE(q.exec()) << q.error().toStdString();
    while (q.next()) {
        QString l =
            QStringLiteral("%1/%2 %3 %4 %5").arg(q.str(5), q.str(1), q.str(2)).arg(q.num(3)).arg(q.str(4));
        out << l.trimmed();
    }
    return out;
}

QStringList RoundFixture::logRows() {
    return column(QStringLiteral("SELECT MenuName || '|' || JobLog FROM L_Log_202603 ORDER BY seq"));
}

GradeSelection RoundFixture::grades(const QStringList& g, const QStringList& items, const QString& bank,
                                    const QStringList& offered) {
    GradeSelection s;
    s.grades = g;
    s.itemIds = items;
    for (const QString& i : items)
        s.itemLines << i + (i == QLatin1String("01") ? QStringLiteral(".수업료") : QStringLiteral(".급식비"));
    s.bank = Rounds::BankChoice{bank, offered};
    return s;
}
