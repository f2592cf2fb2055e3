#pragma once
#include "platform/report/ReportDocument.h"
#include "van/FileInquiry.h"

// The printouts of the file inquiries, each of the rows the detail page
// shows: 송신이체자료 (TFrmM201P00), 처리데이터 (TFrmM202P00) and 미처리데이터
// (TFrmM202P01).
namespace InquiryPrint {

ReportDocument sent(const FileInquiry::FileView& v);
ReportDocument processed(const FileInquiry::FileView& v);
ReportDocument unprocessed(const FileInquiry::FileView& v);

} // namespace InquiryPrint
