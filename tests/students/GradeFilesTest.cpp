#include "students/GradeFiles.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/sheet/Workbook.h"
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
#include <functional>

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

// A number typed in a grade file that another student holds, or a grade
// moved up onto the next one before that has moved: the merge lists every
// number held twice and changes nothing, not even by a backup.
TEST_F(GradeFilesTest, MergeRefusesANumberHeldTwice) {
    const QStringList before = roster();
    // Grade 1 moved up while grade 2 still holds 20101.
    ASSERT_TRUE(GradeFiles::moveGrade(1, true));
    GradeFiles::MergePlan p = GradeFiles::plan();
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    ASSERT_EQ(p.duplicates.size(), 1);
    EXPECT_TRUE(p.duplicates.first().startsWith(QStringLiteral("학번 20101: ")));
    EXPECT_TRUE(p.duplicates.first().contains(QStringLiteral("0001000005")));
    EXPECT_TRUE(p.duplicates.first().contains(QStringLiteral("0001000006")));
    const GradeFiles::BackedMerge r = GradeFiles::backupAndMerge(p);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.backupFailed);
    EXPECT_TRUE(r.archive.isEmpty());
    EXPECT_EQ(r.duplicates, p.duplicates);
    EXPECT_EQ(roster(), before);
    for (int g = 1; g <= 6; ++g)
        EXPECT_TRUE(GradeFiles::exists(g)) << g;
    // The window: its box, no question, the numbers in the viewer.
    {
        QString viewed;
        Modal::setRunner([&viewed](QDialog* d) {
            if (auto* v = qobject_cast<TextViewer*>(d)) viewed = v->text();
            return 1;
        });
        msg.expect(MsgResult::Ok);
        TFrmF402B00 w;
        w.BbtnFileCollectClick();
        Modal::setRunner({});
        EXPECT_EQ(msg.texts(), QStringList{GradeFiles::sharedNumbersText(p.duplicates)});
        EXPECT_EQ(viewed, p.duplicates.join(QLatin1Char('\n')));
        EXPECT_EQ(roster(), before);
    }

    // Grade 2 moved on first: nothing is shared any more.
    ASSERT_TRUE(GradeFiles::moveGrade(2, true));
    p = GradeFiles::plan();
    EXPECT_TRUE(p.duplicates.isEmpty()) << p.duplicates.join(' ').toStdString();

    // A roster student who takes a number after the plan was made stops the
    // merge inside its transaction.
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                    {{QStringLiteral("CustNo"), QStringLiteral("0001000009")},
                                     {QStringLiteral("SNo"), QStringLiteral("30101")}}));
    const QStringList later = roster();
    const GradeFiles::MergeResult m = GradeFiles::merge(p);
    EXPECT_FALSE(m.ok);
    ASSERT_EQ(m.duplicates.size(), 1);
    EXPECT_TRUE(m.duplicates.first().startsWith(QStringLiteral("학번 30101: ")));
    EXPECT_EQ(roster(), later);
}

// Files in down/ that are not grade files of ours: refused with the
// office's words before any row is read, whatever they hold.
TEST_F(GradeFilesTest, FilesThatAreNotOursAreRefused) {
    const QString file = GradeFiles::path(1);
    const auto sql = [&file](const QStringList& statements) {
        QFile::remove(file);
        Connection c;
        ASSERT_TRUE(c.open(file));
        for (const QString& s : statements)
            ASSERT_TRUE(c.exec(s)) << s.toStdString();
    };
    const auto bytes = [&file](const QByteArray& b) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(b);
    };
    QByteArray ours;
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        ours = f.readAll();
    }
    const QString columns = GradeFiles::kFields.join(QStringLiteral(" TEXT, ")) + QStringLiteral(" TEXT");
    // Millions of rows a view makes from nothing.
    const QString millions = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                            "LIMIT 5000000) SELECT i AS CustNo FROM n");
    struct Case {
        const char* why;
        std::function<void()> make;
        const char* says;
        int maxRows = 0;
    };
    const Case cases[] = {
        {"a text file", [&] { bytes("CustNo,SNo,Nm\r\n0001000001,10101,가\r\n"); },
         "학년별 파일이 아니거나 손상"},
        {"an empty file", [&] { bytes({}); }, "학생 자료 표(Studt)가 없습니다"},
        {"the first bytes only", [&] { bytes(ours.left(100)); }, "학년별 파일이 아니거나 손상"},
        {"the first page only", [&] { bytes(ours.left(4096)); }, "학년별 파일이 아니거나 손상"},
        {"no table", [&] { sql({QStringLiteral("CREATE TABLE Other (a TEXT)")}); },
         "학생 자료 표(Studt)가 없습니다"},
        {"a view of millions", [&] { sql({QStringLiteral("CREATE VIEW Studt AS ") + millions}); },
         "학생 자료 표(Studt)가 없습니다"},
        {"a column missing", [&] { sql({QStringLiteral("CREATE TABLE Studt (CustNo TEXT, SNo TEXT)")}); },
         "학생 자료에 SCd 항목이 없습니다"},
        {"more rows than the limit", [&] { bytes(ours); }, "학년별 파일은 3명까지 읽습니다", 3},
        {"additions of millions",
         [&] {
             sql({QStringLiteral("CREATE TABLE Studt (%1)").arg(columns),
                  QStringLiteral("CREATE VIEW Added AS ") + millions});
         },
         "학년별 파일은 20000명까지 읽습니다"},
        {"a row longer than any student's",
         [&] {
             sql({QStringLiteral("CREATE TABLE Studt (%1)").arg(columns),
                  QStringLiteral("INSERT INTO Studt (CustNo, Owr) VALUES ('0001000001', zeroblob(100000))")});
         },
         "4096바이트를 넘습니다"},
    };
    const QStringList before = roster();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        c.make();
        GradeFiles::setMaxRows(c.maxRows);
        const GradeFiles::MergePlan p = GradeFiles::plan();
        GradeFiles::setMaxRows(0);
        EXPECT_TRUE(p.error.startsWith(QStringLiteral("Studt1.db 파일"))) << p.error.toStdString();
        EXPECT_TRUE(p.error.contains(QString::fromUtf8(c.says))) << p.error.toStdString();
        const GradeFiles::MergeResult r = GradeFiles::merge(p);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(roster(), before);
        EXPECT_TRUE(GradeFiles::exists(2));
    }
    // The window's 조회 gets the same words.
    bytes("not a database");
    QString error;
    EXPECT_TRUE(GradeFiles::rows(1, &error).isEmpty());
    EXPECT_EQ(error, QStringLiteral("Studt1.db 파일은 학년별 파일이 아니거나 손상되어 읽을 수 없습니다."));
}

TEST_F(GradeFilesTest, DriverShowsTheWindowsRefusals) {
    const QString third = GradeFiles::path(3);
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
    drive({QStringLiteral("newterm"), QStringLiteral("files"), QStringLiteral("grade"), QStringLiteral("1"),
           QStringLiteral("up")},
          &rc);
    ASSERT_EQ(rc, 0);
    // The merge is refused before its question, with the numbers listed.
    auto out = drive({QStringLiteral("newterm"), QStringLiteral("merge")}, &rc);
    EXPECT_EQ(rc, 1);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out.at(0).value(QStringLiteral("box")).toString(), QStringLiteral("학년별파일합치기"));
    EXPECT_TRUE(out.at(0)
                    .value(QStringLiteral("text"))
                    .toString()
                    .startsWith(QStringLiteral("합친 학생명부에서 1개의")));
    EXPECT_EQ(out.at(1).value(QStringLiteral("duplicates")).toArray().size(), 1);
    // A name the roster cannot hold, and a file that is not ours.
    out =
        drive({QStringLiteral("newterm"), QStringLiteral("files"), QStringLiteral("set"), QStringLiteral("2"),
               QStringLiteral("0001000006"), QStringLiteral("Nm"), QStringLiteral("가\t나")},
              &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out.value(0).value(QStringLiteral("text")).toString(),
              QStringLiteral("저장이 안되었습니다!\r성명에 쓸 수 없는 문자가 있습니다!!"));
    {
        QFile f(third);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("plain text");
    }
    out = drive(
        {QStringLiteral("newterm"), QStringLiteral("files"), QStringLiteral("list"), QStringLiteral("3")},
        &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out.value(0).value(QStringLiteral("box")).toString(), QStringLiteral("학년,학번 자동변경"));
    EXPECT_EQ(out.value(0).value(QStringLiteral("text")).toString(),
              QStringLiteral("Studt3.db 파일은 학년별 파일이 아니거나 손상되어 읽을 수 없습니다."));
    out = drive({QStringLiteral("sno"), QStringLiteral("change"), QStringLiteral("0001000001"),
                 QStringLiteral("10199"), QStringLiteral("가\r\n나")},
                &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out.value(0).value(QStringLiteral("box")).toString(), QStringLiteral("입력오류"));
    EXPECT_EQ(out.value(0).value(QStringLiteral("text")).toString(),
              QStringLiteral("성명에 쓸 수 없는 문자가 있습니다!!"));
    // The workbook of new numbers: the window's box, then the refused rows
    // its viewer lists.
    Workbook book;
    book.writeRow(1, 1, {QStringLiteral("고유번호"), QStringLiteral("학번")});
    book.writeRow(2, 1, {QStringLiteral("0001000001"), QStringLiteral("10101010101")});
    ASSERT_TRUE(book.save(path(QStringLiteral("sno.xlsx"))));
    out = drive({QStringLiteral("sno"), QStringLiteral("import"), path(QStringLiteral("sno.xlsx"))}, &rc);
    EXPECT_EQ(rc, 1);
    auto first = [&](const char* key) {
        for (const QJsonObject& o : out)
            if (o.contains(QLatin1String(key))) return o;
        return QJsonObject();
    };
    EXPECT_EQ(first("box").value(QStringLiteral("box")).toString(), QStringLiteral("확인요망"));
    EXPECT_TRUE(first("viewer").value(QStringLiteral("text")).toString().contains(
        QStringLiteral("2행: 0001000001 학번은(는) 한글 5자, 영문/숫자 10자까지 입력할 수 있습니다!!")));
    EXPECT_FALSE(first("stored").value(QStringLiteral("stored")).toBool());
    startServices();
}

} // namespace
