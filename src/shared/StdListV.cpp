#include "shared/StdListV.h"

namespace {

ReportFont titleFont() {
    ReportFont f;
    f.family = QStringLiteral("굴림체");
    f.size = 18;
    f.bold = f.underline = true;
    return f;
}

ReportFont conditionFont() {
    ReportFont f;
    f.family = QStringLiteral("굴림체");
    f.size = 10;
    return f;
}

constexpr double kInfoLeft = 153.5; // the header's "PAGE : " column, from the left in portrait
constexpr double kInfoTops[3] = {2.1, 7.1, 11.6};

} // namespace

TFrmStdListV::TFrmStdListV() {
    QuickRep1.page = PageSetup{};
    // Every page carries the title, its number and the print moment (and
    // the condition line under them): a page taken out of the pile still
    // says what it is.
    QuickRep1.headerFirstPageOnly = false;
    QuickRep1.footerLastPageOnly = true;
    QuickRep1.printIfEmpty = true;

    QRBand1 = QuickRep1.addBand(ReportBand::PageHeader, 18.0);
    QRLabel1 = &QRBand1->addLabel(QStringLiteral("QRLabel1"), {}, QStringLiteral("TITLE Caption"),
                                  titleFont(), ReportAlign::Center);
    const QString captions[3] = {QStringLiteral("PAGE : "), QStringLiteral("발행일자 : "),
                                 QStringLiteral("발행시간 : ")};
    const ReportSysData sys[3] = {ReportSysData::PageNumber, ReportSysData::Date, ReportSysData::Time};
    ReportElement** values[3] = {&QRSysData1, &QRSysData2, &QRSysData3};
    for (int i = 0; i < 3; ++i) {
        caption_[i] = &QRBand1->addLabel(QStringLiteral("QRLabel%1").arg(i + 2), {}, captions[i]);
        caption_[i]->autoSize = true;
        *values[i] = &QRBand1->addSysData(QStringLiteral("QRSysData%1").arg(i + 1), {}, sys[i], {},
                                          ReportAlign::Right);
    }

    ChildBand1 = QuickRep1.addChild(QRBand1, 6.1);
    QRLabel5 =
        &ChildBand1->addLabel(QStringLiteral("QRLabel5"), {}, QStringLiteral("[조건내역]"), conditionFont());
    bottomLine_[0] = &ChildBand1->addLine({});
    bottomLine_[0]->name = QStringLiteral("QRShape1");

    QRBand3 = QuickRep1.addBand(ReportBand::ColumnHeader, 6.1);
    bottomLine_[1] = &QRBand3->addLine({});
    bottomLine_[1]->name = QStringLiteral("QRShape2");
    QRBand2 = QuickRep1.addBand(ReportBand::Detail, 6.1);
    QRBand4 = QuickRep1.addBand(ReportBand::Summary, 6.6);
    placeBase();
}

TFrmStdListV::~TFrmStdListV() = default;

double TFrmStdListV::bandWidth() const {
    const PageSetup& p = QuickRep1.page;
    return p.paperWidth() - p.left - p.right;
}

void TFrmStdListV::placeBase() {
    const double w = bandWidth();
    QRLabel1->box = QRectF(0, 2.1, w, 8.0);
    // The right-hand labels keep their distance from the right edge.
    const double info = kInfoLeft + (w - 200.0);
    ReportElement* values[3] = {QRSysData1, QRSysData2, QRSysData3};
    for (int i = 0; i < 3; ++i) {
        caption_[i]->box = QRectF(info, kInfoTops[i], 14, 4.2);
        values[i]->box = QRectF(info, kInfoTops[i], w - info, 4.2); // right-aligned after the caption
    }
    QRLabel5->box = QRectF(2.9, 1.1, w - 2.9, 4.6);
    bottomLine_[0]->box = QRectF(0, 6.1, w, 0);
    bottomLine_[1]->box = QRectF(0, 6.1, w, 0);
}

void TFrmStdListV::setLandscape(bool landscape) {
    QuickRep1.page.landscape = landscape;
    placeBase();
}

void TFrmStdListV::setTitle(const QString& title) {
    QRLabel1->text = title;
    QuickRep1.title = title;
}

int TFrmStdListV::PreviewModal(QWidget* parent) {
    return QuickRep1.preview(parent);
}
