#include "basic/F103B00.h"
#include "basic/F104B00.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Browser.h"
#include "platform/ui/Modal.h"
#include "reports/P101B00.h"
#include "reports/P103B00.h"
#include "reports/P109B00.h"
#include "reports/P110B00.h"
#include "reports/P112B00.h"
#include "reports/P401B00.h"
#include "students/F301B00.h"
#include "students/F401Baa.h"
#include "students/PerDcInfo.h"
#include "support/TestRoot.h"
#include "transfers/collection/M101B00.h"
#include "transfers/collection/M101B08.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/distribution/M102B00.h"
#include "transfers/distribution/M102B08.h"
#include "transfers/registration/CreateRegData.h"
#include "van/M202B00.h"
#include "van/M301B00.h"
#include "van/M302B00.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTableWidget>

#include <functional>
#include <memory>

// The figures a clerk reads off a grid show whole: with a fixture row of the
// widest values each column holds, every title and every cell of the
// windows' shown grids fits its column, measured with the widget's own font.
// Report windows name their columns before the first listing and show no
// label whose control they hide.

namespace {

QString widestOf(const QStringList& texts, const QFont& font) {
    const QFontMetrics fm(font);
    QString best;
    for (const QString& t : texts)
        if (fm.horizontalAdvance(t) > fm.horizontalAdvance(best)) best = t;
    return best;
}

QString describe(const QTableView* t) {
    return t->objectName().isEmpty() ? QString::fromLatin1(t->metaObject()->className()) : t->objectName();
}

// Titles and cells of every shown column of every shown grid in w.
QStringList columnFaults(const QWidget* w) {
    QStringList faults;
    for (const QTableView* t : w->findChildren<QTableView*>()) {
        if (!t->isVisibleTo(w) || !t->model()) continue;
        const QAbstractItemModel* m = t->model();
        const QHeaderView* h = t->horizontalHeader();
        // A title is drawn in bold while its column is selected.
        QFont titleFont = h->font();
        titleFont.setBold(true);
        const int headerMargin = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
        const int cellMargin = t->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, t) + 1;
        const int gridLine = t->showGrid() ? 1 : 0;
        for (int c = 0; c < m->columnCount(); ++c) {
            if (t->isColumnHidden(c)) continue;
            const QString title = m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            const int titleNeed = QFontMetrics(titleFont).horizontalAdvance(title) + 2 * headerMargin;
            if (titleNeed > h->sectionSize(c))
                faults << QStringLiteral("%1 title \"%2\" needs %3 in %4")
                              .arg(describe(t), title)
                              .arg(titleNeed)
                              .arg(h->sectionSize(c));
            for (int r = 0; r < m->rowCount(); ++r) {
                const QModelIndex i = m->index(r, c);
                const QString text = i.data(Qt::DisplayRole).toString();
                if (text.isEmpty()) continue;
                const QVariant f = i.data(Qt::FontRole);
                const QFont font = f.isValid() ? f.value<QFont>() : t->font();
                const int need = QFontMetrics(font).horizontalAdvance(text) + 2 * cellMargin + gridLine;
                if (need > t->columnWidth(c))
                    faults << QStringLiteral("%1 \"%2\" (%3) needs %4 in %5")
                                  .arg(describe(t), text, title)
                                  .arg(need)
                                  .arg(t->columnWidth(c));
            }
        }
    }
    return faults;
}

// A grid whose titles are still the toolkit's numbers.
QStringList unnamedTitles(const QWidget* w) {
    QStringList faults;
    for (const QTableView* t : w->findChildren<QTableView*>()) {
        if (!t->isVisibleTo(w) || !t->model()) continue;
        if (t->model()->columnCount() == 0) faults << describe(t) + QStringLiteral(" has no columns");
        for (int c = 0; c < t->model()->columnCount(); ++c) {
            const QVariant v = t->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole);
            if (!t->isColumnHidden(c) && v.typeId() != QMetaType::QString)
                faults << QStringLiteral("%1 column %2 titled %3").arg(describe(t)).arg(c).arg(v.toString());
        }
    }
    return faults;
}

// A shown combo box shows each of its entries whole.
QStringList comboFaults(const QWidget* w) {
    QStringList faults;
    for (const QComboBox* b : w->findChildren<QComboBox*>()) {
        if (!b->isVisibleTo(w)) continue;
        QStyleOptionComboBox opt;
        opt.initFrom(b);
        opt.editable = b->isEditable();
        const int room =
            b->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, b).width();
        for (int i = 0; i < b->count(); ++i) {
            const int need = b->fontMetrics().horizontalAdvance(b->itemText(i));
            if (need > room)
                faults << QStringLiteral("%1 entry \"%2\" needs %3 in %4")
                              .arg(b->objectName(), b->itemText(i))
                              .arg(need)
                              .arg(room);
        }
    }
    return faults;
}

// A shown combo box lists its entries in rows as high as a drop-down list
// of its font has them (a combo box that is not editable), so Hangul shows
// whole.
QStringList comboRowFaults(const QWidget* w) {
    QStringList faults;
    for (const QComboBox* b : w->findChildren<QComboBox*>()) {
        if (!b->isVisibleTo(w)) continue;
        QComboBox plain;
        plain.setFont(b->font());
        for (int i = 0; i < b->count(); ++i)
            plain.addItem(b->itemText(i));
        for (int i = 0; i < b->count(); ++i) {
            const int row = b->view()->sizeHintForRow(i), need = plain.view()->sizeHintForRow(i);
            if (row < need)
                faults << QStringLiteral("%1 entry \"%2\" in a row of %3, not %4")
                              .arg(b->objectName(), b->itemText(i))
                              .arg(row)
                              .arg(need);
        }
    }
    return faults;
}

// A shown label whose control is hidden: its buddy, or the widget that
// follows it in its grid row.
QStringList orphanLabels(const QWidget* w) {
    QStringList faults;
    for (const QLabel* l : w->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(w) || l->text().trimmed().isEmpty()) continue;
        if (l->buddy() && !l->buddy()->isVisibleTo(w)) faults << QStringLiteral("\"%1\" without its control").arg(l->text());
    }
    for (const QGridLayout* g : w->findChildren<QGridLayout*>()) {
        for (int i = 0; i < g->count(); ++i) {
            const auto* l = qobject_cast<const QLabel*>(g->itemAt(i)->widget());
            if (!l || !l->isVisibleTo(w)) continue;
            int row = 0, col = 0, rs = 0, cs = 0;
            g->getItemPosition(i, &row, &col, &rs, &cs);
            const QLayoutItem* next = g->itemAtPosition(row, col + cs);
            if (next && next->widget() && !next->widget()->isVisibleTo(w))
                faults << QStringLiteral("\"%1\" beside a hidden control").arg(l->text());
        }
    }
    return faults;
}

// A figure printed to a fixed width shows without its leading blanks and
// right-aligned: a cell whose text starts with a blank before a figure, or a
// grouped figure drawn from the left.
QStringList figureFaults(const QWidget* w) {
    static const QRegularExpression figure(QStringLiteral("^-?[0-9][0-9,]*$"));
    QStringList faults;
    for (const QTableView* t : w->findChildren<QTableView*>()) {
        if (!t->isVisibleTo(w) || !t->model()) continue;
        const QAbstractItemModel* m = t->model();
        for (int c = 0; c < m->columnCount(); ++c) {
            if (t->isColumnHidden(c)) continue;
            for (int r = 0; r < m->rowCount(); ++r) {
                const QModelIndex i = m->index(r, c);
                const QString text = i.data(Qt::DisplayRole).toString();
                const QString bare = text.trimmed();
                if (!figure.match(bare).hasMatch()) continue;
                if (text.front().isSpace())
                    faults << QStringLiteral("%1 \"%2\" padded").arg(describe(t), text);
                const int align = i.data(Qt::TextAlignmentRole).toInt();
                if (bare.contains(QLatin1Char(',')) && !(align & Qt::AlignRight))
                    faults << QStringLiteral("%1 \"%2\" not right-aligned").arg(describe(t), text);
            }
        }
    }
    return faults;
}

// The texts of every shown cell of w's shown grids.
QStringList cellTexts(const QWidget* w) {
    QStringList texts;
    for (const QTableView* t : w->findChildren<QTableView*>()) {
        if (!t->isVisibleTo(w) || !t->model()) continue;
        for (int r = 0; r < t->model()->rowCount(); ++r)
            for (int c = 0; c < t->model()->columnCount(); ++c)
                if (!t->isColumnHidden(c)) texts << t->model()->index(r, c).data().toString().trimmed();
    }
    return texts;
}

// Where a box under a grid stands against the column it sums: its left
// edge and width against the column's, in the window's coordinates.
QString offColumn(const QWidget* w, const QTableView* t, const QWidget* box, int column) {
    const int boxX = box->mapTo(w, QPoint(0, 0)).x();
    const int colX = t->viewport()->mapTo(w, QPoint(t->columnViewportPosition(column), 0)).x();
    if (boxX == colX && box->width() == t->columnWidth(column)) return {};
    return QStringLiteral("%1 at %2 wide %3, column %4 at %5 wide %6")
        .arg(box->objectName())
        .arg(boxX)
        .arg(box->width())
        .arg(column)
        .arg(colX)
        .arg(t->columnWidth(column));
}

// A box drawn whole: as high as its text and frame need, inside its window.
QString cut(const QWidget* w, const QWidget* box) {
    const QRect r(box->mapTo(w, QPoint(0, 0)), box->size());
    if (box->height() >= box->minimumSizeHint().height() && w->rect().contains(r)) return {};
    return QStringLiteral("%1 cut: %2,%3 %4x%5 in %6x%7")
        .arg(box->objectName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(w->width())
        .arg(w->height());
}

constexpr qint64 kNine = 888888888;

class ColumnFit : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        // Boxes and sub-dialogs the windows raise while opening are not judged here.
        msg.allowUnexpected(true);
        Modal::setRunner([](QDialog*) { return int(QDialog::Rejected); });
        Browser::setOpener([](const QString&) { return true; });
        // The bank whose name is the widest of the list.
        QStringList names;
        Query q(QStringLiteral("SELECT BankCd, BankNm FROM C_BANK"));
        ASSERT_TRUE(q.exec());
        QMap<QString, QString> codeOf;
        while (q.next()) {
            names << q.str(1);
            codeOf.insert(q.str(1), q.str(0));
        }
        ASSERT_FALSE(names.isEmpty());
        bankNm_ = widestOf(names, QApplication::font());
        bankCd_ = codeOf.value(bankNm_);
    }
    void TearDown() override {
        Browser::setOpener({});
        Modal::setRunner({});
        TestRoot::TearDown();
    }

    static void show(QWidget* w) {
        w->resize(1366, 700);
        w->show();
        QApplication::processEvents();
    }
    static QString faults(const QStringList& f) { return f.join(QLatin1Char('\n')); }

    // The widest values of a student: the longest number, a name filling
    // its field, an account of fifteen digits.
    void widestStudent() {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QStringLiteral("6")},
                                                                  {QStringLiteral("SCdNm"), QStringLiteral("6학년")}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                        {{QStringLiteral("CustNo"), QStringLiteral("260316000001")},
                                         {QStringLiteral("SCd"), QStringLiteral("6")},
                                         {QStringLiteral("SNo"), QString(SNoLen, QLatin1Char('8'))},
                                         {QStringLiteral("Nm"), QStringLiteral("남궁가나다라마바사아")},
                                         {QStringLiteral("BankCd"), bankCd_},
                                         {QStringLiteral("AcctNo"), QStringLiteral("888888888888888")},
                                         {QStringLiteral("UseTy"), QStringLiteral("1")}}));
    }

    // A result file of the widest bank waiting in recv: 80-byte records,
    // the header's transfer date at 15, the trailer's count at 8.
    void resultFile(const QString& name) {
        QByteArray head(80, ' '), data(80, ' '), tail(80, ' ');
        head.replace(0, 1, "H").replace(15, 6, "260316");
        data.replace(0, 1, "D");
        tail.replace(0, 1, "T").replace(8, 7, "8888888");
        QDir().mkpath(path(QStringLiteral("recv")));
        QFile f(path(QStringLiteral("recv/")) + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(head + "\r\n" + data + "\r\n" + tail + "\r\n");
    }

    // Amounts of nine digits: the widest student and a student of class
    // 1-01 in a round, both paid on 2026-03-16 and one more row unpaid; an
    // item of that amount with the widest student's partial exemption.
    void nineDigitRound() {
        widestStudent();
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_SCD"),
                                        {{QStringLiteral("SCd"), QStringLiteral("1")},
                                         {QStringLiteral("SCdNm"), QStringLiteral("1학년")}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                        {{QStringLiteral("CustNo"), QStringLiteral("260316000002")},
                                         {QStringLiteral("SCd"), QStringLiteral("1")},
                                         {QStringLiteral("SNo"), QStringLiteral("10101").left(SNoLen)},
                                         {QStringLiteral("Nm"), QStringLiteral("김하나")},
                                         {QStringLiteral("BankCd"), bankCd_},
                                         {QStringLiteral("AcctNo"), QStringLiteral("888888888888888")},
                                         {QStringLiteral("UseTy"), QStringLiteral("1")}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"),
                                        {{QStringLiteral("ItemCd"), QStringLiteral("01")},
                                         {QStringLiteral("ItemID"), QStringLiteral("01")},
                                         {QStringLiteral("Gcode"), QStringLiteral("01")},
                                         {QStringLiteral("ItemNm"), QStringLiteral("방과후학교수강료")},
                                         {QStringLiteral("ItemAmt"), kNine},
                                         {QStringLiteral("Kwan"), QStringLiteral("학교운영지원회계")},
                                         {QStringLiteral("Hang"), QStringLiteral("방과후학교활동비")},
                                         {QStringLiteral("EduType"), QStringLiteral("1")}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"),
                                        {{QStringLiteral("ItemCd"), QStringLiteral("02")},
                                         {QStringLiteral("ItemID"), QStringLiteral("02")},
                                         {QStringLiteral("Gcode"), QStringLiteral("01")},
                                         {QStringLiteral("ItemNm"), QStringLiteral("급식비")},
                                         {QStringLiteral("ItemAmt"), kNine}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_EXEMP"),
                                        {{QStringLiteral("CustNo"), QStringLiteral("260316000001")},
                                         {QStringLiteral("ItemCd"), QStringLiteral("01")},
                                         {QStringLiteral("Itemval"), kNine},
                                         {QStringLiteral("Free"), QStringLiteral("P")}}));
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260301")));
        struct {
            const char* custNo;
            QString sNo;
            const char* nm;
            const char* scd;
            const char* item;
            const char* reply;
        } rows[] = {
            {"260316000001", QString(SNoLen, QLatin1Char('8')), "남궁가나다라마바사아", "6", "01", "1"},
            {"260316000002", QStringLiteral("10101").left(SNoLen), "김하나", "1", "01", "1"},
            {"260316000002", QStringLiteral("10101").left(SNoLen), "김하나", "1", "02", "0"}};
        for (const auto& r : rows) {
            const bool paid = QLatin1String(r.reply) == QLatin1String("1");
            ASSERT_TRUE(Database::insertRow(
                QStringLiteral("H_200_20260301"),
                {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                 {QStringLiteral("SeqNo"), QStringLiteral("01")},
                 {QStringLiteral("SNo"), r.sNo},
                 {QStringLiteral("ItemCd"), QString::fromLatin1(r.item)},
                 {QStringLiteral("Gcode"), QStringLiteral("01")},
                 {QStringLiteral("BankCd"), bankCd_},
                 {QStringLiteral("AcctNo"), QStringLiteral("888888888888888")},
                 {QStringLiteral("Amt"), kNine},
                 {QStringLiteral("ExempTy"), QStringLiteral("1")},
                 {QStringLiteral("ReplyTy"), QString::fromLatin1(r.reply)},
                 {QStringLiteral("ProcDt"), paid ? QStringLiteral("20260316") : QString()},
                 {QStringLiteral("CustNo"), QString::fromLatin1(r.custNo)},
                 {QStringLiteral("Nm"), QString::fromUtf8(r.nm)},
                 {QStringLiteral("SCd"), QString::fromLatin1(r.scd)}}));
        }
        DMData->LoadLists();
    }

    QString bankCd_, bankNm_;
};

TEST_F(ColumnFit, ResultDialogsShowEveryColumnWholeWithoutScrolling) {
    // Characters 3-4 of the name are the bank; "2.." a collection result, "3.." a distribution one.
    resultFile(QStringLiteral("26") + bankCd_ + QStringLiteral("0301.201"));
    resultFile(QStringLiteral("26") + bankCd_ + QStringLiteral("0301.301"));
    const QString bankText = bankCd_ + QLatin1Char('.') + bankNm_;
    TFrmM101B08 collection(bankText, QStringLiteral("01.기본"), nullptr);
    TFrmM102B08 distribution(bankText, QStringLiteral("01.기본"), QStringLiteral("202603"), QStringLiteral("01"),
                             nullptr);
    for (TResultFileDialog* d : {static_cast<TResultFileDialog*>(&collection),
                                 static_cast<TResultFileDialog*>(&distribution)}) {
        SCOPED_TRACE(d->metaObject()->className());
        d->show();
        QApplication::processEvents();
        ASSERT_EQ(d->SGrdRecvData->rowCount(), 1);
        EXPECT_EQ(d->SGrdRecvData->item(0, 1)->text(), bankNm_);
        EXPECT_TRUE(columnFaults(d).isEmpty()) << faults(columnFaults(d)).toStdString();
        int sum = 0;
        for (int c = 0; c < d->SGrdRecvData->columnCount(); ++c)
            sum += d->SGrdRecvData->columnWidth(c);
        EXPECT_LE(sum, d->SGrdRecvData->viewport()->width()) << "the list scrolls sideways";
        EXPECT_FALSE(d->SGrdRecvData->horizontalScrollBar()->isVisible());
        d->hide();
    }
}

TEST_F(ColumnFit, KeyColumnsShowTheWidestValueTheyHold) {
    widestStudent();
    ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"), {{QStringLiteral("BankCd"), bankCd_},
                                                               {QStringLiteral("Gubun"), QStringLiteral("집금")},
                                                               {QStringLiteral("AcctNo"), QStringLiteral("888888888888888")},
                                                               {QStringLiteral("CompyNo"), QStringLiteral("8888888888")},
                                                               {QStringLiteral("Passwd"), QStringLiteral("8888888888")},
                                                               {QStringLiteral("Gcode"), QStringLiteral("01")},
                                                               {QStringLiteral("RepYn"), QStringLiteral("Y")}}));
    {
        SCOPED_TRACE("F103B00");
        TFrmF103B00 accounts(nullptr);
        show(&accounts);
        ASSERT_GE(accounts.SGrdMBank->rowCount(), 1);
        EXPECT_EQ(accounts.SGrdMBank->item(0, 2)->text(), QStringLiteral("888888888888888"));
        EXPECT_TRUE(columnFaults(&accounts).isEmpty()) << faults(columnFaults(&accounts)).toStdString();
    }
    {
        SCOPED_TRACE("F401Baa");
        TFrmF401Baa newTerm(nullptr);
        show(&newTerm);
        EXPECT_TRUE(columnFaults(&newTerm).isEmpty()) << faults(columnFaults(&newTerm)).toStdString();
    }
    {
        SCOPED_TRACE("M101B00");
        TFrmM101B00 work(nullptr);
        show(&work);
        // Before any listing the titles and the transfer state's words show whole.
        EXPECT_TRUE(columnFaults(&work).isEmpty()) << faults(columnFaults(&work)).toStdString();
        QStringList row(ColCount);
        row[ColSNo] = QString(SNoLen, QLatin1Char('8'));
        row[ColNm] = QStringLiteral("남궁가나다라마바사아");
        row[ColItem] = QStringLiteral("방과후학교수강료");
        row[ColBank] = bankCd_;
        row[ColAcct] = QStringLiteral("888888888888888");
        row[ColAmt] = QString::number(kNine);
        row[ColExemp] = QStringLiteral("1");
        row[ColReply] = QStringLiteral("2"); // 현금수납
        row[ColDate] = QStringLiteral("2026-03-16");
        row[ColReAmt] = QString::number(kNine);
        row[ColReDt] = QStringLiteral("2026-03-16");
        row[ColCustNo] = QStringLiteral("260316000001");
        row[ColGcode] = QStringLiteral("01");
        work.SGrdPay->payModel()->setRows({row});
        QApplication::processEvents();
        EXPECT_EQ(work.SGrdPay->model()->index(0, ColReply).data().toString(), QStringLiteral("현금수납"));
        EXPECT_EQ(work.SGrdPay->model()->index(0, ColBank).data().toString(), bankNm_);
        EXPECT_TRUE(columnFaults(&work).isEmpty()) << faults(columnFaults(&work)).toStdString();
        EXPECT_TRUE(comboFaults(&work).isEmpty()) << faults(comboFaults(&work)).toStdString();
        EXPECT_TRUE(figureFaults(&work).isEmpty()) << faults(figureFaults(&work)).toStdString();
    }
    {
        SCOPED_TRACE("M102B00");
        TFrmM102B00 dist(nullptr);
        show(&dist);
        EXPECT_TRUE(columnFaults(&dist).isEmpty()) << faults(columnFaults(&dist)).toStdString();
        QStringList row(DistCol::Count);
        row[DistCol::SNo] = QString(SNoLen, QLatin1Char('8'));
        row[DistCol::Nm] = QStringLiteral("남궁가나다라마바사아");
        row[DistCol::Bank] = bankCd_;
        row[DistCol::Acct] = QStringLiteral("888888888888888");
        row[DistCol::Amt] = QString::number(kNine);
        row[DistCol::Exemp] = QStringLiteral("1");
        row[DistCol::Reply] = QStringLiteral("2");
        row[DistCol::Date] = QStringLiteral("2026-03-16");
        dist.SGrdPay->payModel()->setRows({row});
        QApplication::processEvents();
        EXPECT_EQ(dist.SGrdPay->model()->index(0, DistCol::Amt).data().toString().trimmed(),
                  QStringLiteral("888,888,888"));
        EXPECT_TRUE(columnFaults(&dist).isEmpty()) << faults(columnFaults(&dist)).toStdString();
        EXPECT_TRUE(figureFaults(&dist).isEmpty()) << faults(figureFaults(&dist)).toStdString();
    }
    {
        SCOPED_TRACE("CreateRegData");
        TFrmCreateRegData reg(nullptr);
        show(&reg);
        EXPECT_TRUE(columnFaults(&reg).isEmpty()) << faults(columnFaults(&reg)).toStdString();
    }
}

TEST_F(ColumnFit, WorkWindowDropDownsShowTheirEntriesWhole) {
    // In the main window's font, whose text fills a bare row.
    QWidget main;
    main.setFont(QFont(QStringLiteral("NanumGothicCoding"), 9));
    main.resize(1366, 700);
    auto* collection = new TFrmM101B00(&main);
    auto* distribution = new TFrmM102B00(&main);
    for (QWidget* w : std::initializer_list<QWidget*>{collection, distribution}) {
        SCOPED_TRACE(w->metaObject()->className());
        w->resize(1366, 700);
        main.show();
        QApplication::processEvents();
        EXPECT_TRUE(comboRowFaults(w).isEmpty()) << faults(comboRowFaults(w)).toStdString();
    }
}

TEST_F(ColumnFit, ReceivedFileViewerShowsAmountsWholeAndRightAligned) {
    widestStudent();
    // A default 80-byte result: one processed and one unprocessed record of the widest amount.
    auto record = [&](char flag) {
        QByteArray d(80, ' ');
        d.replace(0, 1, "D").replace(1, 2, bankCd_.toLatin1()).replace(3, 15, "888888888888888");
        d.replace(20, 11, "88888888888").replace(33, 1, QByteArray(1, flag)).replace(34, 4, "0012");
        d.replace(38, 10, "8888888888").replace(48, 24, QByteArray("260316000001").leftJustified(24, ' '));
        d.replace(76, 2, "01");
        return d;
    };
    QByteArray head(80, ' '), tail(80, ' ');
    head.replace(0, 1, "H").replace(13, 2, "45").replace(15, 12, "260316260316");
    tail.replace(0, 1, "T").replace(8, 7, "0000002").replace(15, 13, "0177777777776");
    tail.replace(28, 7, "0000001").replace(35, 13, "0088888888888").replace(48, 7, "0000001");
    QDir().mkpath(path(QStringLiteral("rback")));
    // Booked under a bank of the default layout; the records name the widest bank.
    const QString name = QStringLiteral("26030104.201");
    QFile f(path(QStringLiteral("rback/")) + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(head + "\r\n" + record('Y') + "\r\n" + record('N') + "\r\n" + tail + "\r\n");
    f.close();
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_SRFILE"), {{QStringLiteral("SRType"), QStringLiteral("R")},
                                                                 {QStringLiteral("FileName"), name},
                                                                 {QStringLiteral("FileType"), QStringLiteral("201")},
                                                                 {QStringLiteral("YearMon"), QStringLiteral("2603")},
                                                                 {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                                                 {QStringLiteral("BankCd"), QStringLiteral("04")},
                                                                 {QStringLiteral("DataCnt"), 8888888},
                                                                 {QStringLiteral("SRDate"), QStringLiteral("20260316")},
                                                                 {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    TFrmM202B00 w(nullptr);
    show(&w);
    EXPECT_TRUE(columnFaults(&w).isEmpty()) << faults(columnFaults(&w)).toStdString();
    ASSERT_GE(w.SGrdList->rowCount(), 1);
    w.SGrdList->setCurrentCell(0, 0);
    w.bbtnDtlDataClick();
    ASSERT_EQ(w.shown().status, FileInquiry::FileView::Status::Shown) << w.shown().message.toStdString();
    for (QTableWidget* g : {w.SGrdRecvDetailProc, w.SGrdRecvDetailNonProc}) {
        SCOPED_TRACE(g->objectName().toStdString());
        w.PageControl1->setCurrentWidget(g);
        QApplication::processEvents();
        ASSERT_TRUE(g->item(0, 5));
        EXPECT_EQ(g->item(0, 5)->text(), QStringLiteral("88,888,888,888"));
        EXPECT_EQ(g->item(0, 5)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
        EXPECT_TRUE(columnFaults(&w).isEmpty()) << faults(columnFaults(&w)).toStdString();
    }
}

TEST_F(ColumnFit, ReportWindowsNameTheirColumnsAndShowNoLabelWithoutItsControl) {
    TFrmP103B00 receipts(nullptr);
    TFrmP109B00 unpaid(nullptr);
    TFrmP110B00 notices(nullptr);
    TFrmP401B00 refunds(nullptr);
    for (QWidget* w : std::initializer_list<QWidget*>{&receipts, &unpaid, &notices, &refunds}) {
        SCOPED_TRACE(w->windowTitle().toStdString());
        show(w);
        EXPECT_TRUE(unnamedTitles(w).isEmpty()) << faults(unnamedTitles(w)).toStdString();
        EXPECT_TRUE(columnFaults(w).isEmpty()) << faults(columnFaults(w)).toStdString();
        EXPECT_TRUE(orphanLabels(w).isEmpty()) << faults(orphanLabels(w)).toStdString();
        w->hide();
    }
}

TEST_F(ColumnFit, AmountsOfNineDigitsShowWholeAndRightAligned) {
    nineDigitRound();
    SelCustNo = QStringLiteral("260316000001");
    using Open = std::function<std::unique_ptr<QWidget>()>;
    const struct {
        const char* window;
        Open open;
    } windows[] = {
        {"수입일계표",
         [] {
             auto w = std::make_unique<TFrmP112B00>();
             w->medtDateShft->setText(QStringLiteral("2026-03-16"));
             w->bbtnSearchClick();
             return std::unique_ptr<QWidget>(std::move(w));
         }},
        {"수입명세서",
         [] {
             auto w = std::make_unique<TFrmP101B00>();
             w->MEdtYearMon->setText(QStringLiteral("2026-03"));
             w->MEdtSeqNo->setText(QStringLiteral("01"));
             w->bbtnShftDateViewClick();
             return std::unique_ptr<QWidget>(std::move(w));
         }},
        {"학생자료집계",
         [] {
             auto w = std::make_unique<TFrmM302B00>();
             w->MEdtYearMon->setText(QStringLiteral("2026-03"));
             w->MEdtSeqNo->setText(QStringLiteral("01"));
             w->bbtnShftDateViewClick();
             w->TimeShowTimer();
             return std::unique_ptr<QWidget>(std::move(w));
         }},
        {"항목등록", [] { return std::unique_ptr<QWidget>(std::make_unique<TFrmF104B00>()); }},
        {"항목별 면제등록 정보", [] { return std::unique_ptr<QWidget>(std::make_unique<TFrmPerDcInfo>()); }},
        {"면제학생 항목등록",
         [] {
             auto w = std::make_unique<TFrmF301B00>();
             w->BBtnInquiryClick();
             for (int r = 0; r < w->listRows(); ++r)
                 if (w->listCell(r, 3) == QLatin1String("260316000001")) w->SGrdCustClick(r);
             return std::unique_ptr<QWidget>(std::move(w));
         }},
        {"학생별이체현황",
         [] {
             auto w = std::make_unique<TFrmM301B00>();
             w->SHakEdit->setText(QStringLiteral("1"));
             w->SBanEdit->setText(QStringLiteral("01"));
             w->SBunEdit->setText(QStringLiteral("01").right(SNoLen - 3));
             w->bbtnSearchClick();
             return std::unique_ptr<QWidget>(std::move(w));
         }},
    };
    for (const auto& row : windows) {
        SCOPED_TRACE(row.window);
        const std::unique_ptr<QWidget> w = row.open();
        show(w.get());
        const QStringList texts = cellTexts(w.get());
        EXPECT_TRUE(texts.contains(QStringLiteral("888,888,888")) ||
                    texts.contains(QStringLiteral("888888888")) ||
                    texts.contains(QStringLiteral("1,777,777,776")))
            << texts.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(columnFaults(w.get()).isEmpty()) << faults(columnFaults(w.get())).toStdString();
        EXPECT_TRUE(figureFaults(w.get()).isEmpty()) << faults(figureFaults(w.get())).toStdString();
        w->hide();
    }
}

TEST_F(ColumnFit, TotalBoxesStandUnderTheColumnsTheySum) {
    nineDigitRound();
    {
        SCOPED_TRACE("학생자료집계");
        TFrmM302B00 w;
        w.MEdtYearMon->setText(QStringLiteral("2026-03"));
        w.MEdtSeqNo->setText(QStringLiteral("01"));
        w.bbtnShftDateViewClick();
        w.TimeShowTimer();
        show(&w);
        const QLabel* total = w.findChild<QLabel*>(QStringLiteral("PnlTot"));
        ASSERT_TRUE(total);
        EXPECT_EQ(offColumn(&w, w.SGrdSum, total, 0), QString());
        EXPECT_EQ(cut(&w, total), QString());
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(offColumn(&w, w.SGrdSum, w.totals[i], i + 1), QString());
            EXPECT_EQ(cut(&w, w.totals[i]), QString());
        }
        EXPECT_EQ(w.totals[11]->text(), QStringLiteral("2,666,666,664"));
    }
    {
        SCOPED_TRACE("수입명세서");
        TFrmP101B00 w;
        w.MEdtYearMon->setText(QStringLiteral("2026-03"));
        w.MEdtSeqNo->setText(QStringLiteral("01"));
        w.bbtnShftDateViewClick();
        show(&w);
        const QLabel* label = w.findChild<QLabel*>(QStringLiteral("PnlSumTitle"));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), QStringLiteral("합계"));
        EXPECT_EQ(offColumn(&w, w.SGrdIncom, label, 0), QString());
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(offColumn(&w, w.SGrdIncom, w.PnlSum[i], i + 1), QString());
            EXPECT_EQ(cut(&w, w.PnlSum[i]), QString());
        }
        EXPECT_EQ(w.PnlSum[4]->text().trimmed(), QStringLiteral("888,888,888"));
    }
}

} // namespace
