#include "students/GradeFiles.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/TextViewer.h"
#include "students/F402B00.h"
#include "students/StudentStore.h"
#include "support/TestRoot.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <algorithm>

namespace {

class GradeFilesTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxBack"),
                              path(QStringLiteral("ext")) + "/");
        DMLib->FSchCode = QStringLiteral("Z123");
        // Class 1-01: three boys and two girls, numbers out of name order;
        // one student of grade 2; one whose number has no grade digit.
        const struct {
            const char *cust, *sno, *nm, *sex;
        } students[] = {
            {"0001000001", "10105", "마", "1"}, {"0001000002", "10104", "라", "2"},
            {"0001000003", "10103", "다", "1"}, {"0001000004", "10102", "나", "2"},
            {"0001000005", "10101", "가", "1"}, {"0001000006", "20101", "바", "1"},
            {"0001000007", "A0101", "사", "1"},
        };
        for (const auto& s : students)
            ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                            {{QStringLiteral("CustNo"), QLatin1String(s.cust)},
                                             {QStringLiteral("SCd"), QLatin1String(s.sno).left(1)},
                                             {QStringLiteral("SNo"), QLatin1String(s.sno)},
                                             {QStringLiteral("Nm"), QString::fromUtf8(s.nm)},
                                             {QStringLiteral("Sex"), QLatin1String(s.sex)},
                                             {QStringLiteral("UseTy"), QStringLiteral("1")},
                                             {QStringLiteral("AcctNo"), QStringLiteral("777")}}));
        ASSERT_TRUE(GradeFiles::split());
    }
    static QStringList numbers(int grade) {
        QStringList out;
        for (const GradeFiles::Row& r : GradeFiles::rows(grade))
            out << r.at(GradeFiles::SNo) + QLatin1Char('/') + r.at(GradeFiles::Nm);
        return out;
    }
    static QStringList roster() {
        return column(
            QStringLiteral("SELECT CustNo || '|' || ifnull(SCd,'') || '|' || ifnull(SNo,'') || '|' || "
                           "ifnull(Nm,'') || '|' || ifnull(AcctNo,'') FROM M_CUST ORDER BY CustNo"));
    }
};

TEST_F(GradeFilesTest, RenumbersByNameAndMovesGrades) {
    for (int g = 1; g <= 6; ++g)
        EXPECT_TRUE(GradeFiles::exists(g)) << g;
    EXPECT_EQ(GradeFiles::rows(1).size(), 5);
    EXPECT_EQ(GradeFiles::rows(3).size(), 0);

    ASSERT_TRUE(GradeFiles::autoNumber(1, true));
    EXPECT_EQ(numbers(1), (QStringList{"101101/가", "101102/다", "101103/마", "101201/나", "101202/라"}));
    ASSERT_TRUE(GradeFiles::autoNumber(1, false));
    EXPECT_EQ(numbers(1), (QStringList{"10101/가", "10102/나", "10103/다", "10104/라", "10105/마"}));

    // Grade 1 down gives grade 0; the rows stay in their file.
    ASSERT_TRUE(GradeFiles::moveGrade(1, false));
    EXPECT_EQ(numbers(1).first(), QStringLiteral("00101/가"));
    EXPECT_EQ(GradeFiles::rows(1).first().at(GradeFiles::SCd), QStringLiteral("0"));
    ASSERT_TRUE(GradeFiles::moveGrade(2, true));
    EXPECT_EQ(numbers(2), QStringList{QStringLiteral("30101/바")});

    // The roster is untouched until the merge.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_CUST WHERE SNo = '10105'")), 1);
    // A value wider than the roster's column, or with a line break, is
    // refused, not cut.
    for (const QString& bad : {QString(11, QChar(0xAC00)), QStringLiteral("가\n나")}) {
        QString error;
        EXPECT_FALSE(GradeFiles::setCell(1, QStringLiteral("0001000001"), GradeFiles::Nm, bad, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(GradeFiles::rows(1).last().at(GradeFiles::Nm), QStringLiteral("마"));
}

// Students changed and added in the grade files come back into the roster;
// the added one gets a number from the roster's own numbering, which no
// roster, deleted or purged student has had. Rows that cannot be merged
// are reported, and students the files miss stay.
TEST_F(GradeFilesTest, MergeReplacesTheRosterAndNumbersNewStudents) {
    // A purged student of today: the day's numbering goes on after him.
    const QString today = StudentStore::sNewCustNo().left(5);
    ASSERT_TRUE(Database::createTable(Tables::DCust(), false));
    ASSERT_TRUE(
        Database::insertRow(QStringLiteral("D_CUST"), {{QStringLiteral("CustNo"), today + "00007"},
                                                       {QStringLiteral("SNo"), QStringLiteral("30109")}}));
    ASSERT_TRUE(GradeFiles::change(
        1, QStringLiteral("0001000005"), QStringLiteral("20105"),
        {QStringLiteral("1"), QStringLiteral("가"), QStringLiteral("99"), QString(), QString()}));
    QString added;
    ASSERT_TRUE(GradeFiles::add(
        2, QStringLiteral("20199"),
        {QStringLiteral("2"), QStringLiteral("새"), QStringLiteral("99"), QString(), QString()}, &added));
    EXPECT_EQ(added, today + "00008");
    // A row carrying the purged student's number, and a number twice.
    {
        Connection c;
        ASSERT_TRUE(c.open(GradeFiles::path(3)));
        ASSERT_TRUE(c.exec(QStringLiteral("INSERT INTO Studt (CustNo, SNo, Nm) VALUES ('%1', '30109', '옛')")
                               .arg(today + "00007")));
        ASSERT_TRUE(c.exec(
            QStringLiteral("INSERT INTO Studt (CustNo, SNo, Nm) VALUES ('0001000006', '30101', '둘')")));
    }
    const GradeFiles::MergePlan p = GradeFiles::plan();
    ASSERT_TRUE(p.error.isEmpty());
    EXPECT_EQ(p.updates.size(), 6);
    EXPECT_EQ(p.additions.size(), 1);
    ASSERT_EQ(p.refused.size(), 2);
    ASSERT_EQ(p.notInFiles.size(), 1);
    EXPECT_TRUE(p.notInFiles.first().contains(QStringLiteral("A0101")));

    const GradeFiles::BackedMerge r = GradeFiles::backupAndMerge(p);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(QFile::exists(r.archive));
    EXPECT_EQ(r.updated, 6);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(r.report.size(), 3);
    EXPECT_EQ(column(QStringLiteral("SELECT SNo FROM M_CUST WHERE CustNo = '0001000005'")),
              QStringList{"20105"});
    EXPECT_EQ(column(QStringLiteral("SELECT SNo || Nm FROM M_CUST WHERE CustNo = ?"), {added}),
              QStringList{QStringLiteral("20199새")});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_CUST")), 8);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_CUST WHERE CustNo = ?"), {today + "00007"}), 0);
    for (int g = 1; g <= 6; ++g)
        EXPECT_FALSE(GradeFiles::exists(g)) << g;
    // The next student of the roster does not get the added one's number.
    EXPECT_EQ(StudentStore::sNewCustNo(), today + "00009");
}

TEST_F(GradeFilesTest, MergeThatFailsPartWayLeavesTheRoster) {
    ASSERT_TRUE(GradeFiles::add(
        2, QStringLiteral("20199"),
        {QStringLiteral("2"), QStringLiteral("새"), QStringLiteral("99"), QString(), QString()}));
    ASSERT_TRUE(GradeFiles::change(
        1, QStringLiteral("0001000001"), QStringLiteral("10109"),
        {QStringLiteral("1"), QStringLiteral("마"), QStringLiteral("99"), QString(), QString()}));
    // The last update of the merge is refused by the database.
    ASSERT_TRUE(
        Database::exec(QStringLiteral("CREATE TRIGGER stop BEFORE UPDATE ON M_CUST WHEN NEW.SNo = '20101' "
                                      "BEGIN SELECT RAISE(ABORT, 'stopped'); END")));
    const QStringList before = roster();
    const GradeFiles::MergeResult r = GradeFiles::merge(GradeFiles::plan());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("stopped"))) << r.error.toStdString();
    EXPECT_EQ(roster(), before);
    for (int g = 1; g <= 6; ++g)
        EXPECT_TRUE(GradeFiles::exists(g)) << g;

    // A missing grade file: nothing is planned.
    QFile::remove(GradeFiles::path(4));
    EXPECT_FALSE(GradeFiles::plan().error.isEmpty());
}

// The window: a student found by his number and given a new one, then the
// merge after its question, with the report in the viewer.
TEST_F(GradeFilesTest, WindowChangesAStudentAndMerges) {
    QString viewed;
    Modal::setRunner([&viewed](QDialog* d) {
        if (auto* v = qobject_cast<TextViewer*>(d)) viewed = v->text();
        return 1;
    });
    TFrmF402B00 w;
    w.show();
    ASSERT_FALSE(w.threeDigits()); // five-digit numbers: two-digit class numbers
    w.EdtStudt->setText(QStringLiteral("1"));
    QTest::keyClick(w.EdtStudt, Qt::Key_Return);
    ASSERT_EQ(w.openGrade(), 1);
    EXPECT_EQ(w.DBGrid2->rowCount(), 5);
    w.EdtStudt1->setText(QStringLiteral("1"));
    w.EdtStudt2->setText(QStringLiteral("1"));
    QTest::keyClick(w.EdtStudt2, Qt::Key_Return);
    EXPECT_EQ(w.EdtStudt2->text(), QStringLiteral("01"));
    w.EdtStudt3->setText(QStringLiteral("3"));
    QTest::keyClick(w.EdtStudt3, Qt::Key_Return);
    EXPECT_EQ(w.EdtStudt3->text(), QStringLiteral("03"));
    EXPECT_EQ(w.currentCustNo(), QStringLiteral("0001000003"));
    EXPECT_EQ(w.EdtNm->text(), QStringLiteral("다"));
    w.MEdtUpdtStudtNo->setText(QStringLiteral("20103"));
    w.BbtnOKClick();
    // The next number is shown; the roster waits for the merge.
    EXPECT_EQ(w.EdtStudt3->text(), QStringLiteral("04"));
    EXPECT_EQ(w.currentCustNo(), QStringLiteral("0001000002"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM M_CUST WHERE SNo = '20103'")), 0);

    msg.expect(MsgResult::Yes);
    msg.expect(MsgResult::Ok);
    w.BbtnFileCollectClick();
    EXPECT_EQ(msg.texts().value(1), QStringLiteral("파일 합치기가 완료되었습니다!!"));
    EXPECT_EQ(column(QStringLiteral("SELECT CustNo FROM M_CUST WHERE SNo = '20103'")),
              QStringList{"0001000003"});
    EXPECT_TRUE(viewed.contains(QStringLiteral("A0101")));
    EXPECT_EQ(w.openGrade(), 0);
    Modal::setRunner({});
}

TEST_F(GradeFilesTest, DriverSplitsAddsAndMerges) {
    stopServices();
    const auto drive = [this](const QStringList& args, int* rc) {
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                            QStringLiteral("20260316")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
            if (!line.trimmed().isEmpty()) out << QJsonDocument::fromJson(line).object();
        return out;
    };
    int rc = -1;
    drive({QStringLiteral("--answers"), QStringLiteral("ok"), QStringLiteral("newterm"),
           QStringLiteral("files"), QStringLiteral("split")},
          &rc);
    EXPECT_EQ(rc, 0);
    auto out =
        drive({QStringLiteral("newterm"), QStringLiteral("files"), QStringLiteral("add"), QStringLiteral("1"),
               QStringLiteral("10199"), QStringLiteral("--name"), QStringLiteral("새")},
              &rc);
    EXPECT_EQ(rc, 0);
    const QString added = out.value(0).value(QStringLiteral("custNo")).toString();
    EXPECT_EQ(added.size(), 10);
    // Refusing the question changes nothing.
    drive({QStringLiteral("--answers"), QStringLiteral("no"), QStringLiteral("newterm"),
           QStringLiteral("merge")},
          &rc);
    EXPECT_EQ(rc, 1);
    out = drive({QStringLiteral("--answers"), QStringLiteral("yes,ok"), QStringLiteral("newterm"),
                 QStringLiteral("merge")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last().value(QStringLiteral("added")).toInt(), 1);
    EXPECT_EQ(out.last().value(QStringLiteral("report")).toArray().size(), 1); // A0101 stays
    // The report opens in the viewer, as after the window's merge.
    EXPECT_TRUE(std::any_of(out.begin(), out.end(), [](const QJsonObject& o) {
        return o.value(QStringLiteral("viewer")).toString() == QStringLiteral("학년별파일합치기");
    }));
    startServices();
    EXPECT_EQ(column(QStringLiteral("SELECT SNo FROM M_CUST WHERE CustNo = ?"), {added}),
              QStringList{"10199"});
}

} // namespace
