// The driver meets the windows' modal dialogs (text viewers, file dialogs)
// as scripted lines and ends; the student commands refuse and fail as their
// windows do.

#include "platform/db/Database.h"
#include "platform/sheet/Workbook.h"
#include "students/NewTerm.h"
#include "support/TestRoot.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct DriverRun {
    int code = -1;
    bool finished = false;
    QList<QJsonObject> lines;
    QByteArray err;

    QStringList boxes() const {
        QStringList out;
        for (const QJsonObject& o : lines)
            if (o.contains(QStringLiteral("box"))) out << o.value(QStringLiteral("text")).toString();
        return out;
    }
    // The text viewers shown: title and text.
    QList<std::pair<QString, QString>> viewers() const {
        QList<std::pair<QString, QString>> out;
        for (const QJsonObject& o : lines)
            if (o.contains(QStringLiteral("viewer")))
                out << std::pair{o.value(QStringLiteral("viewer")).toString(),
                                 o.value(QStringLiteral("text")).toString()};
        return out;
    }
    // The file dialogs asked: title and answer.
    QStringList dialogs() const {
        QStringList out;
        for (const QJsonObject& o : lines)
            if (o.contains(QStringLiteral("dialog")))
                out << o.value(QStringLiteral("dialog")).toString() + QLatin1Char('=') +
                           o.value(QStringLiteral("answer")).toString();
        return out;
    }
};

class ModalDriver : public TestRoot {
protected:
    DriverRun drive(const QStringList& args) {
        stopServices();
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                            QStringLiteral("20260316")} +
                    args);
        DriverRun r;
        // A modal nobody answers would hang here.
        r.finished = p.waitForFinished(60000);
        if (!r.finished) p.kill();
        r.code = p.exitCode();
        r.err = p.readAllStandardError();
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) r.lines << QJsonDocument::fromJson(l).object();
        startServices();
        return r;
    }
    static void student(const QString& custNo, const QString& sNo, const QString& nm) {
        ASSERT_TRUE(
            Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), custNo},
                                                           {QStringLiteral("SCd"), sNo.left(1)},
                                                           {QStringLiteral("SNo"), sNo},
                                                           {QStringLiteral("Nm"), nm},
                                                           {QStringLiteral("UseTy"), QStringLiteral("1")}}));
    }
    // A grade-change workbook: payer number and new number per row.
    QString numbers(const QString& name, const QList<QStringList>& rows) {
        Workbook wb;
        wb.writeRow(1, 1, {QStringLiteral("학생고유번호"), QStringLiteral("학번")});
        int r = 1;
        for (const QStringList& row : rows)
            wb.writeRow(++r, 1, {row.value(0), row.value(1)});
        const QString file = path(name);
        EXPECT_TRUE(wb.save(file));
        return file;
    }
};

// Each command that can open a file dialog or a text viewer, run to its end.
TEST_F(ModalDriver, EveryViewerAndFileDialogIsScripted) {
    student(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("가"));
    student(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("나"));
    const QString refused = numbers(QStringLiteral("refused.xlsx"), {{"C1", "20101"}, {"C9", "20102"}});
    const QString good = numbers(QStringLiteral("good.xlsx"), {{"C1", "20101"}, {"C2", "20102"}});
    const QString open = QStringLiteral("엑셀파일에서 학생자료 불러오기");
    const struct {
        const char* name;
        QStringList args;
        int rc;
        QStringList dialogs;
        const char* viewer;      // title of the viewer shown, nullptr for none
        const char* viewerHolds; // a text the viewer shows
    } cases[] = {
        {"refused row",
         {"sno", "import", refused},
         1,
         {open + QLatin1Char('=') + refused},
         "학번변경 오류",
         "3행: C9 동일한 학생고유번호가 존재하지 않습니다."},
        {"dialog cancelled", {"sno", "import"}, 1, {open + QStringLiteral("=cancel")}, nullptr, nullptr},
        {"file from --file",
         {"--file", good, "sno", "import"},
         0,
         {open + QLatin1Char('=') + good},
         nullptr,
         nullptr},
        {"text export",
         {"export", "students", "--text", path(QStringLiteral("s.txt"))},
         0,
         {QStringLiteral("학생자료를 텍스트화일로 만들기=") + path(QStringLiteral("s.txt"))},
         nullptr,
         nullptr},
    };
    for (const auto& c : cases) {
        const DriverRun r = drive(c.args);
        ASSERT_TRUE(r.finished) << c.name;
        EXPECT_EQ(r.code, c.rc) << c.name;
        EXPECT_EQ(r.dialogs(), c.dialogs) << c.name;
        const auto v = r.viewers();
        ASSERT_EQ(v.size(), c.viewer ? 1 : 0) << c.name;
        if (c.viewer) {
            EXPECT_EQ(v[0].first, QString::fromUtf8(c.viewer)) << c.name;
            EXPECT_TRUE(v[0].second.contains(QString::fromUtf8(c.viewerHolds)))
                << c.name << " " << v[0].second.toStdString();
        }
    }
    EXPECT_EQ(column(QStringLiteral("SELECT SNo FROM M_CUST ORDER BY CustNo")),
              (QStringList{QStringLiteral("20101"), QStringLiteral("20102")}));
}

// The new-term check opens its list, and the final apply refused for two
// students of one new number says so once and lists each pair once.
TEST_F(ModalDriver, NewTermListsOpenInTheViewer) {
    student(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("가"));
    student(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("나"));
    student(QStringLiteral("C3"), QStringLiteral("20101"), QStringLiteral("다"));
    ASSERT_TRUE(NewTerm::FillVTemp().ok);
    // Grade 1's two students both typed as 2-01-01; grade 2 apart from them.
    QList<NewTermRow> rows = NewTerm::rows({}, {});
    for (NewTermRow& r : rows) {
        r.newBan = QStringLiteral("01");
        r.newBun = r.sCd == QLatin1String("1") ? QStringLiteral("01") : QStringLiteral("02");
    }
    ASSERT_TRUE(NewTerm::save(rows));

    DriverRun r = drive({QStringLiteral("newterm"), QStringLiteral("check")});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.viewers().size(), 1);
    EXPECT_EQ(r.viewers()[0].first, QStringLiteral("신학기반편성오류.txt"));
    EXPECT_TRUE(r.viewers()[0].second.contains(QStringLiteral("신학반번호 동일")));

    // Only grade 2 shown: the shown rows pass, the whole table does not.
    r = drive({QStringLiteral("--answers"), QStringLiteral("yes"), QStringLiteral("newterm"),
               QStringLiteral("apply"), QStringLiteral("--from"), QStringLiteral("2"), QStringLiteral("--to"),
               QStringLiteral("2")});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 1);
    const QStringList boxes = r.boxes();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1], QStringLiteral("신학번이 같은 학생이 있습니다. 아무것도 변경하지 않았습니다."));
    ASSERT_EQ(r.viewers().size(), 1);
    const QStringList lines = r.viewers()[0].second.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].count(QStringLiteral("신학반번호 동일")), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("(구) 10101 가")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("(구) 10102 나")));
    EXPECT_EQ(column(QStringLiteral("SELECT SNo FROM M_CUST ORDER BY CustNo")),
              (QStringList{QStringLiteral("10101"), QStringLiteral("10102"), QStringLiteral("20101")}));
}

// A group that does not exist is refused by the store with the window's
// message; an existing one is renamed.
TEST_F(ModalDriver, RenameRefusesAMissingGroup) {
    student(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("가"));
    ASSERT_TRUE(
        Database::insertRow(QStringLiteral("C_GRP"), {{QStringLiteral("GrpNm"), QStringLiteral("합창단")},
                                                      {QStringLiteral("CustNo"), QStringLiteral("C1")}}));
    const struct {
        const char *name, *from, *to;
        int rc;
        const char* box;
        QStringList groups;
    } cases[] = {
        {"missing group", "없는반", "새반", 1, "그룹명을 확인하세요.", {QStringLiteral("합창단")}},
        {"blank group", " ", "새반", 1, "그룹명을 확인하세요.", {QStringLiteral("합창단")}},
        {"new name too long",
         "합창단",
         "아주긴그룹이름",
         1,
         "그룹명은 5자이내로 입력하세요!",
         {QStringLiteral("합창단")}},
        {"renamed", "합창단", "중창단", 0, "변경되었습니다.", {QStringLiteral("중창단")}},
    };
    for (const auto& c : cases) {
        const DriverRun r = drive({QStringLiteral("stgroup"), QStringLiteral("rename"),
                                   QString::fromUtf8(c.from), QString::fromUtf8(c.to)});
        EXPECT_EQ(r.code, c.rc) << c.name;
        EXPECT_EQ(r.boxes(), QStringList{QString::fromUtf8(c.box)}) << c.name;
        EXPECT_EQ(column(QStringLiteral("SELECT DISTINCT GrpNm FROM C_GRP")), c.groups) << c.name;
    }
}

// An import that a database error stops shows its box and fails; the rows
// before stay.
TEST_F(ModalDriver, ImportStoppedByTheDatabaseFails) {
    const QString file = QStringLiteral(ZQ_TEST_SOURCE_DIR "/platform/sheets/import_students.xlsx");
    ASSERT_TRUE(Database::exec(QStringLiteral(
        "CREATE TRIGGER full_disk BEFORE INSERT ON M_CUST BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    DriverRun r = drive({QStringLiteral("import"), QStringLiteral("students"), file});
    EXPECT_EQ(r.code, 1);
    ASSERT_FALSE(r.boxes().isEmpty());
    EXPECT_TRUE(r.boxes().last().startsWith(QStringLiteral("학생 정보를 저장하지 못했습니다.")))
        << r.boxes().last().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_CUST")), 0);
    ASSERT_TRUE(Database::exec(QStringLiteral("DROP TRIGGER full_disk")));
    r = drive({QStringLiteral("import"), QStringLiteral("students"), file});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_CUST")), 3);
}

// The usage text keeps its Hangul whatever the locale says.
TEST_F(ModalDriver, HelpIsUtf8) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZQ_DRIVER_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    const QString help = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(help.contains(QStringLiteral("--itemline \"01.수업료\""))) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("개별학년변경")));
}

} // namespace
