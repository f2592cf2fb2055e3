#include "students/F201P00.h"

TFrmF201P00::TFrmF201P00(const QList<StudentRow>& students) {
    setTitle(QStringLiteral("학생명부"));
    ChildBand1->enabled = false;
    QRBand4->enabled = false;

    // The column header carries the class of the page above the titles.
    constexpr double kClass = 6.1;
    QRBand3->height = kClass + 6.1;
    QRLblClass = &QRBand3->addLabel(QStringLiteral("QRLblClass"), {1, 1.0, 100, 4.6});
    QRBand3->addLine({0, kClass, bandWidth(), 0});
    QRBand3->find(QStringLiteral("QRShape2"))->box.moveTop(kClass + 6.1);
    RosterPrint::addColumns(QRBand3, kClass, QRBand2);
    Report& r = QuickRep1;
    QRBand3->beforePrint = [this, &r](ReportBand&) {
        const QString sNo = r.value(QStringLiteral("SNo"));
        QRLblClass->text = sNo.left(1) + QStringLiteral(" 학년 ") + sNo.mid(1, 2) + QStringLiteral(" 반");
    };

    Report::Group& g = r.addGroup([&r] { return r.value(QStringLiteral("SNo")).left(3); }, 0, 7.0, true);
    QRGroupFooter = g.footer;
    QRGroupFooter->addLine({0, 0.5, bandWidth(), 0});
    QRGroupFooter->addLabel(QStringLiteral("QRLblUseY"), {1, 1.8, 44, 4.6});
    QRGroupFooter->addLabel(QStringLiteral("QRLblUseN"), {46, 1.8, 44, 4.6});
    QRGroupFooter->addLabel(QStringLiteral("QRLblTot"), {91, 1.8, 44, 4.6});

    QRBand2->beforePrint = [this, &r](ReportBand&) {
        const QString use = r.value(QStringLiteral("UseTy"));
        if (use == QLatin1String("1")) ++FUseY;
        if (use == QLatin1String("0")) ++FUseN;
    };
    QRGroupFooter->beforePrint = [this](ReportBand& b) {
        b.setText(QStringLiteral("QRLblUseY"), QStringLiteral("재학생수: ") + QString::number(FUseY));
        b.setText(QStringLiteral("QRLblUseN"), QStringLiteral("전출생수: ") + QString::number(FUseN));
        b.setText(QStringLiteral("QRLblTot"), QStringLiteral("총인원수: ") + QString::number(FUseY + FUseN));
        FUseY = FUseN = 0; // the next class counts from nought
    };
    QuickRep1.setRows(RosterPrint::rows(students));
}
