#pragma once
#include <array>

// Where the fields of the bank files lie: 0-based byte offset and width
// within a record (CR LF not counted). The request-file writer, the result
// reader and the file inquiries' record viewers all read these tables, so a
// layout is described once.
namespace FileLayout {

struct Field {
    int off = -1;
    int width = 0;
    constexpr bool valid() const { return off >= 0; }
    constexpr int end() const { return off + width; }
};

// The data records an amount of the trailer sums.
enum class Records { All, Processed, Unprocessed };

// One amount the trailer states: the sum of `amount` over the data records
// of the kind. Where a trailer splits an amount over several fields, they
// are added up. A result reader compares every sum of its layout before it
// changes anything.
struct TrailerSum {
    Records records = Records::All;
    Field amount{};
    std::array<Field, 8> trailer{};
};

// Layout80; Layout100A is the same 80 bytes and the payer number again at 80.
namespace L80 {
inline constexpr int Width = 80;
inline constexpr int Width100A = 100;
// header
inline constexpr Field HeadBank{13, 2};
inline constexpr Field HeadStart{15, 6}; // yymmdd
inline constexpr Field HeadEnd{21, 6};   // yymmdd (the end date for bank 05)
inline constexpr Field HeadAcct{27, 15};
inline constexpr Field HeadRunKey{63, 17}; // yymmss
// data
inline constexpr Field Bank{1, 2};
inline constexpr Field Acct{3, 15};
inline constexpr Field Amt{20, 11};
inline constexpr Field Flag{33, 1}; // result: 'Y' processed
inline constexpr Field Reply{34, 4};
inline constexpr Field Amt38{38, 10}; // result amount of most banks' unprocessed records
inline constexpr Field Payer{48, 24};
inline constexpr Field Item{76, 2};
inline constexpr Field Payer100A{80, 20};
// trailer
inline constexpr Field TrailAll{1, 7}; // records with header and trailer
inline constexpr Field TrailCount{8, 7};
inline constexpr Field TrailTotal{15, 13};
inline constexpr Field TrailOkCount{28, 7};
inline constexpr Field TrailOkAmt{35, 13};
inline constexpr Field TrailFailCount{48, 7};
inline constexpr Field TrailFailAmt{55, 13};
inline constexpr Field TrailCheck{68, 8};
// In a result the bank fills the processed and the unprocessed figures
// (their counts at TrailOkCount and TrailFailCount); the request total stays.
inline constexpr TrailerSum Sums[] = {
    {Records::All, Amt, {TrailTotal}},
    {Records::Processed, Amt, {TrailOkAmt}},
    {Records::Unprocessed, Amt, {TrailFailAmt}},
};
} // namespace L80

// Layout100B (bank 23).
namespace L100B {
inline constexpr int Width = 100;
inline constexpr Field HeadStart{26, 8}; // yyyymmdd
inline constexpr Field HeadEnd{34, 8};
inline constexpr Field Bank{1, 2};
inline constexpr Field Acct{3, 16};
inline constexpr Field Amt{19, 13};
inline constexpr Field Flag{32, 1};
inline constexpr Field Reply{33, 4};
inline constexpr Field OkAmt{37, 13};
inline constexpr Field RunKey{50, 10};
inline constexpr Field Item{60, 3};
inline constexpr Field ItemNm{63, 14};
inline constexpr Field Payer{77, 20};
inline constexpr Field TrailAll{1, 6};
inline constexpr Field TrailCount{7, 6};
inline constexpr Field TrailTotal{13, 13};
inline constexpr Field TrailOkCount{26, 6}; // in a result: the processed records
inline constexpr Field TrailOkAmt{32, 13};
inline constexpr Field TrailFailCount{64, 6};
// A failed record keeps its requested amount but has no processed amount:
// the request total and the processed total are two sums.
inline constexpr TrailerSum Sums[] = {
    {Records::All, Amt, {TrailTotal}},
    {Records::Processed, OkAmt, {TrailOkAmt}},
};
} // namespace L100B

// Layout200 (banks 10, 11, 12).
namespace L200 {
inline constexpr int Width = 200;
inline constexpr Field HeadBank{4, 3};
inline constexpr Field HeadDate{21, 8}; // yyyymmdd
inline constexpr Field HeadAcct{41, 16};
inline constexpr Field HeadRunKey{72, 10};
inline constexpr Field Item{20, 3}; // characters 2-3 are the item id
inline constexpr Field Bank{23, 3}; // characters 2-3 are the bank code
inline constexpr Field Acct{26, 16};
inline constexpr Field Amt{42, 13};
inline constexpr Field OkAmt{55, 13};
inline constexpr Field Payer{94, 20};
inline constexpr Field RecRunKey{114, 6};
inline constexpr Field Flag{154, 1};
inline constexpr Field Reply{155, 4};
inline constexpr Field TrailAll{1, 7};
inline constexpr Field TrailCount{8, 7};
inline constexpr Field TrailTotal{15, 15};
// The result trailer: per payer class (A banks 10 and 11, B bank 12, C the
// others) the processed, partly processed and unprocessed amounts.
inline constexpr Field TrailOkAmtA{15, 15};
inline constexpr Field TrailPartAmtA{37, 15};
inline constexpr Field TrailFailAmtA{59, 15};
inline constexpr Field TrailOkAmtB{81, 15};
inline constexpr Field TrailPartAmtB{103, 15};
inline constexpr Field TrailFailAmtB{125, 15};
inline constexpr Field TrailOkAmtC{147, 15};
inline constexpr Field TrailFailAmtC{169, 15};
// Which records a partly processed amount stands for is not known, so the
// eight amounts are taken together against every record's requested amount.
inline constexpr TrailerSum Sums[] = {
    {Records::All,
     Amt,
     {TrailOkAmtA, TrailPartAmtA, TrailFailAmtA, TrailOkAmtB, TrailPartAmtB, TrailFailAmtB, TrailOkAmtC,
      TrailFailAmtC}},
};
} // namespace L200

// The 80-byte layout of banks 10 and 11.
namespace NH80 {
inline constexpr int Width = 80;
inline constexpr Field HeadBank{1, 2};
inline constexpr Field HeadStart{13, 6}; // yymmdd
inline constexpr Field HeadEnd{19, 6};
inline constexpr Field HeadRunKey{31, 8};
inline constexpr Field HeadAcct{39, 15};
inline constexpr Field Item{9, 2};
inline constexpr Field Bank{11, 2};
inline constexpr Field Acct{13, 15};
inline constexpr Field Amt{34, 10};
inline constexpr Field Payer{44, 13};
inline constexpr Field Flag{68, 1};
inline constexpr Field Reply{69, 2};
inline constexpr Field ProcDate{71, 6};
inline constexpr Field TrailAll{9, 6};
inline constexpr Field TrailTotal{15, 12};
inline constexpr TrailerSum Sums[] = {{Records::All, Amt, {TrailTotal}}};
} // namespace NH80

// The 80-byte layout of bank 12.
namespace NH12 {
inline constexpr int Width = 80;
inline constexpr Field HeadBank{2, 2};
inline constexpr Field HeadDate{4, 6}; // yymmdd
inline constexpr Field HeadAcct{30, 16};
inline constexpr Field Bank{9, 2};
inline constexpr Field Acct{11, 16};
inline constexpr Field Amt{27, 12};
inline constexpr Field Flag{39, 1}; // result: '1' processed
inline constexpr Field Reply{40, 2};
inline constexpr Field Key{46, 13};
// A record that carries the student instead of a payer number: item id,
// grade, class, number and name.
inline constexpr Field StudentItem{46, 2};
inline constexpr Field StudentGrade{48, 1};
inline constexpr Field StudentClass{50, 2};
inline constexpr Field StudentNo{52, 3};
inline constexpr Field StudentNm{55, 9};
inline constexpr Field Item{59, 2};
inline constexpr Field ItemWide{59, 5};
inline constexpr Field ItemNm{66, 14};
inline constexpr Field TrailCount{2, 6};
inline constexpr Field TrailTotal{8, 12};
inline constexpr Field TrailOkCount{20, 6};
inline constexpr Field TrailFailCount{38, 6};
inline constexpr TrailerSum Sums[] = {{Records::All, Amt, {TrailTotal}}};
} // namespace NH12

// The 80-byte distribution layout of bank 03.
namespace D03 {
inline constexpr int Width = 80;
inline constexpr Field HeadDate{6, 6}; // yymmdd
inline constexpr Field HeadAcct{18, 14};
inline constexpr Field Bank{2, 2};
inline constexpr Field Acct{12, 14};
inline constexpr Field Amt{26, 11};
inline constexpr Field Student{37, 34};
inline constexpr Field Flag{71, 1}; // result: '1' processed
inline constexpr Field Reply{72, 4};
inline constexpr Field TrailCount{6, 7};
inline constexpr Field TrailTotal{13, 13};
inline constexpr Field TrailOkCount{26, 7};
inline constexpr Field TrailOkAmt{33, 13};
inline constexpr Field TrailFailCount{46, 7};
inline constexpr Field TrailFailAmt{53, 13};
inline constexpr TrailerSum Sums[] = {
    {Records::All, Amt, {TrailTotal}},
    {Records::Processed, Amt, {TrailOkAmt}},
    {Records::Unprocessed, Amt, {TrailFailAmt}},
};
} // namespace D03

// The 100-byte account-registration layout: request and result.
namespace Reg100 {
inline constexpr int Width = 100;
// header
inline constexpr Field HeadKind{1, 2};
inline constexpr Field HeadCompy{3, 10};  // institution code
inline constexpr Field HeadBank{13, 2};   // "88" stands for bank 26
inline constexpr Field HeadDate{15, 8};   // yyyymmdd
inline constexpr Field HeadDate26{24, 8}; // bank 26 only
inline constexpr Field HeadRepCd{32, 10};
inline constexpr Field HeadRunKey{42, 56}; // yyyymm + run, left-aligned
// data
inline constexpr Field RecNo{1, 7};
inline constexpr Field Bank{8, 2};
inline constexpr Field Acct{10, 16};
inline constexpr Field ReqDate{35, 8};
inline constexpr Field Flag{43, 1};  // result: 'Y' registered
inline constexpr Field Reply{44, 4}; // result code
inline constexpr Field Consent{48, 1};
inline constexpr Field SocId{49, 13};
inline constexpr Field Payer{62, 20};
inline constexpr Field RunKey23{82, 16}; // rows of bank 23 only
// trailer
inline constexpr Field TrailAll{1, 7}; // records with header and trailer
inline constexpr Field TrailCount{8, 7};
// The trailer counts records only: no amounts to compare.
} // namespace Reg100

} // namespace FileLayout
