// The base invoice layout: the page of Report1, its thirteen bands in the order they print
// for one invoice, and every printable with its design position, size, font and text.
#include "invoice/layout/InvoiceLayouts.h"
#include "invoice/layout/LayoutTable.h"

namespace TDInvoice::Layout {

using namespace Table;

namespace {

TBandDesc band(std::string_view name, TBandClass bandClass, TReportBandType type, double height,
               std::string_view beforePrint) {
  TBandDesc b;
  b.name = name;
  b.bandClass = bandClass;
  b.bandType = type;
  b.height = mm(height);
  b.beforePrint = beforePrint;
  return b;
}

TBandDesc subDetail(std::string_view name, double height, std::string_view master,
                    std::string_view onNeedData, std::string_view beforePrint) {
  TBandDesc b =
      band(name, TBandClass::TReportSubDetail, TReportBandType::rbSubDetail, height, beforePrint);
  b.master = master;
  b.onNeedData = onNeedData;
  b.printIfEmpty = true;
  return b;
}

// Letterhead; the group starts every invoice on a page of its own and is not repeated on the
// invoice's continuation pages.
TBandDesc groupHeaderInvoice() {
  TBandDesc b = band("grphdrInvoice", TBandClass::TReportGroup, TReportBandType::rbGroupHeader,
                     38.1, "grphdrInvoiceBeforePrint");
  b.expression = "ADODataSet1.InvoiceNo";
  b.master = "Report1";
  b.footerBand = "InvoiceFooter";
  b.forceNewPage = true;
  b.reprintOnNewPage = false;
  b.frame.drawBottom = true;
  b.printables = {
      label("lblInvoiceLabel", 118.5, 0.0, 61.1, 6.1, font("Arial", 14, Bold), R, None,
            "INVOICE/STATEMENT"),
      label("lblServiceName", 1.1, 7.4, 31.8, 5.3, font("Arial", 12, Bold), L, AutoSize,
            kPrintTime),
      label("lblAddress", 1.6, 13.5, 16.4, 4.5, font("Arial", 10), L, AutoSize, kPrintTime),
      label("lblInvoiceNoLabel", 148.4, 15.9, 19.1, 4.5, font("Arial", 10, Bold), L, AutoSize,
            "Invoice No:"),
      label("lblInvoiceNo", 168.5, 15.9, 11.1, 4.5, font("Arial", 10, Bold), R, None, kPrintTime),
      label("lblPhoneLabel", 1.6, 18.5, 11.1, 4.5, font("Arial", 10), L, AutoSize, "Phone:"),
      label("lblPhone", 13.8, 18.5, 13.5, 4.5, font("Arial", 10), L, AutoSize, kPrintTime),
      label("lblABN", 141.3, 22.8, 38.9, 4.5, font("Arial", 10, Bold), R, None, kPrintTime),
      label("lblEmailLabel", 1.6, 23.5, 10.1, 4.5, font("Arial", 10), L, AutoSize | WordWrap,
            "Email:"),
      label("lblEmail", 12.7, 23.5, 12.4, 4.5, font("Arial", 10), L, AutoSize | WordWrap,
            kPrintTime),
      label("lblIssueDate", 139.7, 31.8, 40.0, 4.5, font("Arial", 10), R, None, kPrintTime),
      label("lblApprovalIDsLabel", 1.6, 32.3, 19.3, 4.5, font("Arial", 8, Bold), L,
            AutoSize | WordWrap, kPrintTime),
      label("lblApprovalIDs", 22.2, 32.3, 18.5, 4.5, font("Arial", 8), L, AutoSize | WordWrap,
            kPrintTime),
  };
  return b;
}

TBandDesc detailAddressBlock() {
  TBandDesc b = band("DetailBand1", TBandClass::TReportBand, TReportBandType::rbDetail, 28.3,
                     "DetailBand1BeforePrint");
  b.printables = {
      shape("shpAddressToLabel", 0.0, 0.0, 15.1, 5.6, stRectangle, kSilverFill),
      label("lblToLabel", 1.1, 0.5, 13.5, 4.5, font("Arial", 8, Bold), C, Transparent, "To:"),
      label("lblDistribChild", 93.1, 2.4, 86.0, 4.5, font("Arial", 10, Bold), R, None, kPrintTime),
      label("lblAccountName", 20.1, 6.6, 27.8, 4.5, font("Arial", 10, Bold), L, AutoSize,
            kPrintTime),
      label("lblHAddress1", 20.1, 11.6, 22.0, 4.5, font("Arial", 10, Bold), L, AutoSize,
            kPrintTime),
      label("lblHAddress2", 20.1, 16.7, 22.0, 4.5, font("Arial", 10, Bold), L, AutoSize,
            kPrintTime),
  };
  return b;
}

TBandDesc headerAccountHistory() {
  TBandDesc b = band("hdrAcctHist", TBandClass::TReportBand, TReportBandType::rbGroupHeader, 6.3,
                     "hdrAcctHistBeforePrint");
  b.frame.drawTop = b.frame.drawBottom = b.frame.drawLeft = b.frame.drawRight = true;
  b.printables = {
      label("lblDescriptionLabel", 1.1, 1.1, 16.9, 4.5, font("Arial", 8, Bold), L, AutoSize,
            "Description"),
      label("lblDaysLabel", 52.1, 1.1, 7.7, 4.5, font("Arial", 8, Bold), L, AutoSize, "Sess"),
      label("lblAbsPaidLabel", 60.1, 1.1, 6.1, 4.5, font("Arial", 8, Bold), L, AutoSize, "Abs"),
      label("lblHrsLabel", 67.2, 1.1, 5.3, 4.5, font("Arial", 8, Bold), L, AutoSize, "Hrs"),
      label("lblFeeLabel", 77.3, 1.1, 5.6, 4.5, font("Arial", 8, Bold), L, AutoSize, "Fee"),
      label("lblCCBHrsLabel", 85.2, 1.1, 12.2, 4.5, font("Arial", 8, Bold), L, AutoSize, "CCB Hrs"),
      label("lblPercentageLabel", 99.2, 1.1, 16.9, 4.5, font("Arial", 8, Bold), L, AutoSize,
            "Percentage"),
      label("lblCCBLabel", 121.7, 1.1, 6.3, 4.5, font("Arial", 8, Bold), L, AutoSize, "CCB"),
      label("lblJFALabel", 133.3, 1.1, 5.6, 4.5, font("Arial", 8, Bold), L, AutoSize, "JFA"),
      label("lblCCRLabel", 144.7, 1.1, 6.3, 4.5, font("Arial", 8, Bold), L, AutoSize, "CCR"),
      label("lblNetLabel", 157.4, 1.1, 5.0, 4.5, font("Arial", 8, Bold), L, AutoSize, "Net"),
      label("lblBalanceLabel", 167.2, 1.1, 11.4, 4.5, font("Arial", 8, Bold), L, AutoSize,
            "Balance"),
  };
  return b;
}

TBandDesc subDetailAccountHistory() {
  TBandDesc b = subDetail("subdtlAcctHist", 5.8, "Report1", "subdtlAcctHistNeedData",
                          "subdtlAcctHistBeforePrint");
  b.headerBand = "hdrAcctHist";
  b.footerBand = "ftrAcctHist";
  b.printables = {
      label("lblDescription", 1.1, 1.1, 51.9, 4.5, font("Arial", 8), L, AutoStretch | WordWrap,
            kPrintTime),
      label("lblDays", 53.2, 1.1, 5.8, 4.5, font("Arial", 8), C, None, kPrintTime),
      label("lblAbsPaid", 59.3, 1.1, 5.8, 4.5, font("Arial", 8), C, None, kPrintTime),
      label("lblChgHrs", 65.4, 1.1, 8.7, 4.5, font("Arial", 8), C, None, kPrintTime),
      label("lblTotal", 74.3, 1.1, 11.6, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblCCBHrs", 86.5, 1.1, 9.3, 4.5, font("Arial", 8), C, None, kPrintTime),
      label("lblPercentage", 96.0, 1.1, 22.2, 4.5, font("Arial", 8), C, None, kPrintTime),
      label("lblCCB", 118.8, 1.1, 11.1, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblJFA", 130.4, 1.1, 11.1, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblCCR", 141.8, 1.1, 11.1, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblNet", 153.2, 1.1, 11.6, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblBalance", 165.1, 1.1, 14.6, 4.5, font("Arial", 8), R, None, kPrintTime),
  };
  return b;
}

TBandDesc footerAccountHistory() {
  TBandDesc b = band("ftrAcctHist", TBandClass::TReportBand, TReportBandType::rbGroupFooter, 7.7,
                     "ftrAcctHistBeforePrint");
  b.frame.drawTop = true;
  b.printables = {
      richText("RichText1", 1.6, 1.6, 61.6, 5.8, font("Arial", 10), L, AutoStretch),
      label("lblOutstandingDebt", 131.2, 1.6, 26.2, 4.5, font("Arial", 8, Bold), L, AutoSize,
            kPrintTime),
      label("lblAmtDue", 162.2, 1.6, 17.2, 4.5, font("Arial", 8, Bold), R, None, kPrintTime),
  };
  return b;
}

TBandDesc headerEstimatedFees() {
  TBandDesc b =
      band("hdrEstFees", TBandClass::TReportBand, TReportBandType::rbGroupHeader, 16.1, {});
  b.printables = {
      label("lblEstimatedFeesLabel", 1.6, 2.1, 24.6, 4.5, kParentFont, L, AutoSize,
            "Estimated Fees"),
      label("lblNotIncludedLabel", 30.7, 2.6, 66.7, 4.5, font("Arial", 9, Italic), L,
            AutoSize | WordWrap, "(not included in balance to be carried forward)"),
      shape("shpEstFeesHeader", 0.0, 8.5, 169.9, 6.3, stRectangle),
      label("lblChargeDescriptionLabel", 29.1, 9.8, 28.3, 4.5, font("Arial", 8, Bold), L, AutoSize,
            "Charge Description"),
      label("lblMonLabel", 74.6, 9.8, 6.6, 4.5, font("Arial", 8, Bold), L, AutoSize, "Mon"),
      label("lblTueLabel", 89.7, 9.8, 5.8, 4.5, font("Arial", 8, Bold), L, AutoSize, "Tue"),
      label("lblWedLabel", 105.0, 9.8, 6.6, 4.5, font("Arial", 8, Bold), L, AutoSize, "Wed"),
      label("lblThuLabel", 120.1, 9.8, 5.8, 4.5, font("Arial", 8, Bold), L, AutoSize, "Thu"),
      label("lblFriLabel", 135.5, 9.8, 4.0, 4.5, font("Arial", 8, Bold), L, AutoSize, "Fri"),
      label("lblTotalLabel", 151.1, 9.8, 7.4, 4.5, font("Arial", 8, Bold), L, AutoSize, "Total"),
  };
  return b;
}

TBandDesc subDetailWeeks() {
  TBandDesc b =
      subDetail("subdetWeekly", 6.6, "Report1", "subdetWeeklyNeedData", "subdetWeeklyBeforePrint");
  b.headerBand = "hdrEstFees";
  b.footerBand = "ftrEstFees";
  b.printables = {
      label("lblWeekComm", 6.6, 1.6, 28.8, 4.0, font("Arial", 8, Bold | Underline), L, AutoSize,
            kPrintTime),
  };
  return b;
}

// Prints inside each week of subdetWeekly.
TBandDesc subDetailFeeRows() {
  TBandDesc b = subDetail("subdtlEstFeeRow", 4.8, "subdetWeekly", "subdtlEstFeeRowNeedData",
                          "subdtlEstFeeRowBeforePrint");
  b.footerBand = "ftrWeekEstFees";
  b.printables = {
      label("lblFirstName", 6.6, 0.3, 22.2, 4.0, font("Arial", 8, Bold), L, None, kPrintTime),
      label("lblAbbrev", 29.1, 0.3, 10.0, 4.5, font("Arial", 8), L, None, kPrintTime),
      label("lblChgDesc", 39.4, 0.3, 30.5, 4.5, font("Arial", 8), L, None, kPrintTime),
      label("lblMonFee", 70.1, 0.3, 12.2, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblTueFee", 84.9, 0.3, 12.2, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblWedFee", 100.3, 0.3, 12.2, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblThuFee", 115.6, 0.3, 12.2, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblFriFee", 130.7, 0.3, 12.2, 4.5, font("Arial", 8), R, None, kPrintTime),
      label("lblRowTotal", 146.1, 0.3, 14.6, 4.5, font("Arial", 8), R, None, kPrintTime),
  };
  return b;
}

TBandDesc footerWeekTotals() {
  TBandDesc b = band("ftrWeekEstFees", TBandClass::TReportBand, TReportBandType::rbGroupFooter, 7.9,
                     "ftrWeekEstFeesBeforePrint");
  b.printables = {
      shape("shpTotalForWeekRulerTop", 69.6, 0.0, 93.9, 2.1, stHorLine),
      label("lblTotalForWeekLabel", 41.5, 2.1, 22.2, 4.5, font("Arial", 8, Bold), L, AutoSize,
            "Total for week:"),
      label("lblMonTotal", 70.1, 2.1, 12.2, 4.5, font("Arial", 8), R, WordWrap, kPrintTime),
      label("lblTueTotal", 84.9, 2.1, 12.2, 4.5, font("Arial", 8), R, WordWrap, kPrintTime),
      label("lblWedTotal", 100.3, 2.1, 12.2, 4.5, font("Arial", 8), R, WordWrap, kPrintTime),
      label("lblThuTotal", 115.6, 2.1, 12.2, 4.5, font("Arial", 8), R, WordWrap, kPrintTime),
      label("lblFriTotal", 130.7, 2.1, 12.2, 4.5, font("Arial", 8), R, WordWrap, kPrintTime),
      label("lblWklyChgTotal", 143.4, 2.1, 17.2, 4.5, font("Arial", 8), R, WordWrap, kPrintTime),
      shape("shpTotalForWeekRulerBottom", 69.6, 5.8, 93.9, 2.1, stHorLine),
  };
  return b;
}

TBandDesc footerEstimatedFees() {
  TBandDesc b = band("ftrEstFees", TBandClass::TReportBand, TReportBandType::rbGroupFooter, 8.5,
                     "ftrEstFeesBeforePrint");
  b.frame.drawBottom = true;
  b.printables = {
      shape("shpTotalEstFeesRulerTop", 140.8, 0.3, 22.8, 2.1, stHorLine),
      label("lblPleasePay", 6.3, 1.9, 20.4, 4.5, font("Arial", 10, Italic), L, AutoSize | WordWrap,
            kPrintTime),
      label("lblTotalEstimatedLabel", 112.2, 2.1, 27.3, 4.5, font("Arial", 8), L,
            AutoSize | WordWrap, "Total Estimated Fees:"),
      label("lblEstFeesTotal", 143.4, 2.1, 17.2, 4.5, font("Arial", 8), R, WordWrap, kPrintTime),
      shape("shpTotEstFeesRulerBottom", 140.8, 5.8, 22.8, 2.1, stHorLine),
  };
  return b;
}

// Prints once per invoice: no data set and no need-data handler. The link to the payment slip
// makes the engine keep room for the slip below the message.
TBandDesc subDetailInvoiceMessage() {
  TBandDesc b = subDetail("subdtlInvMsg", 11.4, "Report1", {}, "subdtlInvMsgBeforePrint");
  b.linkBand = "InvoiceFooter";
  b.font = font("Times New Roman", 8, Bold | Italic);
  b.printables = {
      richText("richtxtInvoiceMessage", 0.0, 2.1, 135.7, 8.7,
               font("Courier New", 10, Bold | Italic), L, AutoStretch),
      label("lblYTDAbsencesLabel", 148.2, 2.1, 27.3, 4.5, font("Arial", 8, Bold | Underline), L,
            AutoSize | WordWrap, "YTD Absence Days"),
      memo("mmoYTDAbsences", 148.2, 6.3, 29.9, 4.5, font("Arial", 8), L, AutoStretch | WordWrap),
  };
  return b;
}

TBandDesc childCustomerNote() {
  TBandDesc b = band("ChildBand1", TBandClass::TReportChildBand, TReportBandType::rbChild, 5.3,
                     "ChildBand1BeforePrint");
  b.parentBand = "subdtlInvMsg";
  b.printables = {
      memo("mmoCustInvNote", 0.0, 0.0, 135.7, 4.5, font("Courier New", 10, Bold | Italic), L,
           AutoStretch | WordWrap),
  };
  return b;
}

// The payment slip, pushed to the bottom of the invoice's last page below a tear-off line.
TBandDesc footerPaymentSlip() {
  TBandDesc b = band("InvoiceFooter", TBandClass::TReportBand, TReportBandType::rbGroupFooter, 50.0,
                     "InvoiceFooterBeforePrint");
  b.alignToBottom = true;
  b.frame.drawTop = true;
  b.frame.style = TPenStyle::psDash;
  b.printables = {
      label("lblPaymentSlipLabel", 0.3, 1.3, 29.4, 5.0, font("Arial", 11, Bold), L, AutoSize,
            "PAYMENT SLIP"),
      label("lblAccountHolder", 48.7, 2.4, 129.4, 4.5, font("Arial", 9, Bold), R, None, kPrintTime),
      label("lblBPAYCustRefLabel", 111.9, 8.2, 26.5, 4.5, font("Arial", 9, Bold), L, AutoSize,
            "Customer Ref No:"),
      label("lblBPAYCustRef", 141.6, 8.3, 23.5, 4.2, font("Arial", 9), L, None, kPrintTime),
      label("lblPaymtSlipServiceName", 0.0, 8.5, 108.4, 4.5,
            font("Times New Roman", 10, Bold | Italic), L, None, kPrintTime),
      label("lblAmountPaidLabel", 20.1, 17.5, 12.7, 4.5, font("Arial", 9, Bold), L, AutoSize,
            "Amount:"),
      shape("shpAmountPaidRuler", 36.9, 21.8, 45.5, 2.0, stHorLine),
      shape("shpPeriodEndingLabel", 116.4, 18.0, 26.5, 6.3, stRectangle, kSilverFill),
      shape("shpPeriodEndingBox", 142.6, 18.0, 25.4, 6.3, stRectangle),
      label("lblPeriodEndingLabel", 118.5, 19.3, 20.4, 4.0, font("Arial", 8, Bold), L,
            AutoSize | Transparent, "Period Ending"),
      label("lblCloseDate", 145.0, 19.3, 19.3, 4.5, font("Arial", 9), R, None, kPrintTime),
      shape("shpPastDueLabel", 116.4, 24.1, 26.5, 6.3, stRectangle, kSilverFill),
      shape("shpPastDueBox", 142.6, 24.1, 25.4, 6.3, stRectangle),
      label("lblPastDue", 146.1, 25.1, 18.3, 4.5, font("Arial", 9), R, None, kPrintTime),
      label("lblPastDueLabel", 118.5, 25.4, 18.0, 4.0, font("Arial", 8, Bold), L,
            AutoSize | Transparent, kPrintTime),
      label("lblPaidByLabel", 20.1, 27.0, 11.9, 4.5, font("Arial", 9, Bold), L, AutoSize,
            "Paid by:"),
      label("lblCash", 34.3, 27.2, 13.1, 4.5, font("Arial", 9), R, None, "Cash"),
      shape("chkCash", 48.7, 27.8, 3.7, 3.7, stRectangle),
      label("lblCheq", 54.8, 27.3, 13.2, 4.5, font("Arial", 9), R, None, "Cheque"),
      shape("chkCheq", 68.8, 27.8, 3.7, 3.7, stRectangle),
      label("lblEFT", 75.8, 27.3, 8.5, 4.5, font("Arial", 9), L, None, "EFT"),
      shape("chkEFT", 85.3, 27.8, 3.7, 3.7, stRectangle),
      label("lblCard", 92.6, 27.3, 8.5, 4.5, font("Arial", 9), L, None, "Card"),
      shape("chkCard", 102.1, 27.8, 3.7, 3.7, stRectangle),
      shape("shpEstFeesLabel", 116.4, 30.2, 26.5, 6.3, stRectangle, kSilverFill),
      shape("shpEstFeesBox", 142.6, 30.2, 25.4, 6.3, stRectangle),
      label("lblEstFees", 146.1, 31.2, 18.3, 4.5, font("Arial", 9), R, None, kPrintTime),
      label("lblEsrFessLabel", 118.5, 31.5, 22.8, 4.0, font("Arial", 8, Bold), L,
            AutoSize | Transparent, "Estimated Fees"),
      shape("shpPleasePayLabel", 116.4, 36.2, 26.5, 6.3, stRectangle, kSilverFill),
      shape("shpPleasePayBox", 142.6, 36.2, 25.4, 6.3, stRectangle),
      label("lblPayAmt", 146.1, 37.3, 18.3, 4.5, font("Arial", 9), R, None, kPrintTime),
      label("lblPleasePayLabel", 118.5, 37.6, 15.9, 4.0, font("Arial", 8, Bold), L,
            AutoSize | Transparent, kPrintTime),
      label("lblPaymtInstructions", 117.2, 44.5, 53.2, 4.5, font("Arial", 8, Bold), L,
            AutoSize | WordWrap, kPrintTime),
  };
  return b;
}

void setReportProperties(TReportDesc &r) {
  r.formClassName = "TInvoiceReportForm";
  r.name = "Report1";
  r.dataSet = "ADODataSet1";
  r.units = "MM";
  r.zoom = 100;
  r.page = {150.0, 2970.0, 100.0, 2100.0, 150.0, 150.0, 0.0, "A4", "poPortrait", 1};
  r.font = font("Arial", 10);
  r.firstPageHeader = true;
  r.lastPageFooter = true;
  r.printIfEmpty = true;
  r.reportTitle = "Invoice";
  r.printerSettings.Copies = 1;
  r.printerSettings.Duplex = false;
  r.printerSettings.FirstPage = 0;
  r.printerSettings.LastPage = 0;
  r.printerSettings.OutputBin = TReportBin::Auto;
  r.functions = {{"PAGENUMBER", "0"}, {"COLUMNNUMBER", "0"}, {"REPORTTITLE", "''"}};
  r.beforePrint = "Report1BeforePrint";
  r.formOnDestroy = "FormDestroy";
}

TReportDesc makeBaseLayout() {
  TReportDesc r;
  setReportProperties(r);
  // The fold mark, measured from the paper's top-left corner, printed on every page.
  r.printables = {shape("shpFoldLine", 0.0, 99.5, 6.6, 4.5, stHorLine)};
  r.bands = {groupHeaderInvoice(),      detailAddressBlock(),      headerAccountHistory(),
             subDetailAccountHistory(), footerAccountHistory(),    headerEstimatedFees(),
             subDetailWeeks(),          subDetailFeeRows(),        footerWeekTotals(),
             footerEstimatedFees(),     subDetailInvoiceMessage(), childCustomerNote(),
             footerPaymentSlip()};
  return r;
}

} // namespace

const TReportDesc &baseLayout() {
  static const TReportDesc layout = makeBaseLayout();
  return layout;
}

} // namespace TDInvoice::Layout
