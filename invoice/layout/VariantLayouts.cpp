// The variant forms' layouts, each as the edits it makes to its parent's. They differ in the
// payment slip (InvoiceFooter); the Extend pair also renames the estimated fees.
#include "invoice/layout/InvoiceLayouts.h"
#include "invoice/layout/LayoutTable.h"

#include <utility>

namespace TDInvoice::Layout {

using namespace Table;

namespace {

constexpr std::string_view kSlip = "InvoiceFooter";

TLayoutEdit add(TPrintableDesc printable) { return TAddPrintable{kSlip, std::move(printable), {}}; }

TLayoutEdit addAt(int position, TPrintableDesc printable) {
  return TAddPrintable{kSlip, std::move(printable), position};
}

TLayoutEdit change(std::string_view band, std::string_view printable, TPrintableChange c) {
  return TChangePrintable{band, printable, std::move(c)};
}

TLayoutEdit change(std::string_view printable, TPrintableChange c) {
  return change(kSlip, printable, std::move(c));
}

TPrintableChange moveTo(double left, double top) {
  TPrintableChange c;
  c.left = mm(left);
  c.top = mm(top);
  return c;
}

TPrintableChange moveTo(double left, double top, double width) {
  TPrintableChange c = moveTo(left, top);
  c.width = mm(width);
  return c;
}

// A complete font in place of the inherited one.
TFontChange wholeFont(const TFontDesc &f) {
  return {f.family, f.size, f.bold, f.italic, f.underline, f.color};
}

TPrintableDesc cardBox(std::string_view name, double left, double top) {
  return shape(name, left, top, 5.3, 5.3, stRectangle);
}

std::vector<TLayoutEdit> standardEdits() {
  return {
      add(label("lblEFTPaymtInstructions", 0.0, 45.0, 35.5, 4.5, font("Arial", 9), L,
                AutoSize | WordWrap, "lblEFTPaymtInstructions")),
      add(label("Label33", 20.1, 36.5, 15.3, 4.5, font("Arial", 9, Bold), L, AutoSize,
                "Date Paid:")),
      add(shape("Shape8", 36.9, 40.8, 45.5, 2.0, stHorLine)),
  };
}

// The estimated fees become "New Charges", on the slip and above the fee grid.
std::vector<TLayoutEdit> extendEdits() {
  TPrintableChange slipLabel;
  slipLabel.caption = "New Charges";
  slipLabel.width = mm(19.8);

  TPrintableChange heading;
  heading.caption = "New Charges";
  heading.width = mm(20.4);
  heading.font = wholeFont(font("Arial", 9, Bold));

  TPrintableChange notIncluded;
  notIncluded.enabled = false;

  TPrintableChange pleasePay = moveTo(129.1, 8.2, 19.6);
  pleasePay.font = wholeFont(font("Arial", 9, Bold));

  return {
      change("lblEsrFessLabel", slipLabel),
      change("hdrEstFees", "lblEstimatedFeesLabel", heading),
      change("hdrEstFees", "lblNotIncludedLabel", notIncluded),
      TChangeBand{"ftrEstFees", mm(14.0), {}},
      change("ftrEstFees", "lblPleasePay", pleasePay),
  };
}

// The slots in one row (card, cash, cheque, EFT); the summary boxes move right and down.
void appendCreditCardMoves(std::vector<TLayoutEdit> &edits) {
  TPrintableChange amountPaid = moveTo(126.5, 16.4, 18.8);
  amountPaid.caption = "Amount Paid";
  amountPaid.font = TFontChange{.bold = false};
  TPrintableChange ruler = moveTo(149.8, 19.3, 28.0);
  ruler.height = mm(2.1);
  TPrintableChange card = moveTo(21.2, 14.6, 18.8);
  card.caption = "Credit Card";

  const std::pair<std::string_view, TPrintableChange> moves[] = {
      {"lblAmountPaidLabel", amountPaid},
      {"shpAmountPaidRuler", ruler},
      {"lblPaidByLabel", moveTo(1.1, 14.3)},
      {"lblCard", card},
      {"chkCard", moveTo(41.3, 15.1)},
      {"lblCash", moveTo(47.1, 14.6, 13.2)},
      {"chkCash", moveTo(61.4, 15.1)},
      {"lblCheq", moveTo(67.5, 14.6)},
      {"chkCheq", moveTo(81.5, 15.1)},
      {"lblEFT", moveTo(88.4, 14.6)},
      {"chkEFT", moveTo(97.9, 15.1)},
      {"shpPeriodEndingLabel", moveTo(126.5, 23.5)},
      {"shpPastDueLabel", moveTo(126.5, 29.6)},
      {"shpEstFeesLabel", moveTo(126.5, 35.7)},
      {"shpPleasePayLabel", moveTo(126.5, 41.8)},
      {"shpPeriodEndingBox", moveTo(152.7, 23.5)},
      {"shpPastDueBox", moveTo(152.7, 29.6)},
      {"shpEstFeesBox", moveTo(152.7, 35.7)},
      {"shpPleasePayBox", moveTo(152.7, 41.8)},
      {"lblPeriodEndingLabel", moveTo(128.6, 24.9)},
      {"lblPastDueLabel", moveTo(128.6, 31.0)},
      {"lblEsrFessLabel", moveTo(128.6, 37.0)},
      {"lblPleasePayLabel", moveTo(128.6, 43.1)},
      {"lblCloseDate", moveTo(155.0, 24.9)},
      {"lblPastDue", moveTo(156.1, 30.7)},
      {"lblEstFees", moveTo(156.1, 36.8)},
      {"lblPayAmt", moveTo(156.1, 42.9)},
      {"lblPaymtInstructions", moveTo(125.1, 48.7)},
  };
  for (const auto &[name, c] : moves) {
    edits.push_back(change(name, c));
  }
}

// The card-payment authority: card number in four groups of four boxes, card type, expiry,
// CVV, and the boxes for cardholder name, signature and date.
void appendCardAuthority(std::vector<TLayoutEdit> &edits) {
  // The "/" between expiry month and year takes the band's font at 10 points.
  TPrintableDesc expirySlash =
      label("Label33", 78.1, 30.7, 1.3, 5.3, kParentFont, L, AutoSize | WordWrap, "/");
  expirySlash.fontSize = 10;

  const TPrintableDesc added[] = {
      label("Label34", 0.5, 22.8, 14.3, 5.3, font("Arial", 9), L, AutoSize | WordWrap, "Card Nbr:"),
      cardBox("Shape13", 17.5, 22.8),
      cardBox("Shape14", 23.8, 22.8),
      cardBox("Shape15", 30.2, 22.8),
      cardBox("Shape16", 36.5, 22.8),
      cardBox("Shape17", 44.2, 22.8),
      cardBox("Shape18", 50.5, 22.8),
      cardBox("Shape20", 56.9, 22.8),
      cardBox("Shape21", 63.2, 22.8),
      cardBox("Shape22", 70.9, 22.8),
      cardBox("Shape23", 77.3, 22.8),
      cardBox("Shape24", 83.6, 22.8),
      cardBox("Shape25", 90.0, 22.8),
      cardBox("Shape26", 97.6, 22.8),
      cardBox("Shape27", 104.0, 22.8),
      cardBox("Shape28", 110.3, 22.8),
      cardBox("Shape29", 116.7, 22.8),
      shape("Shape8", 3.2, 31.0, 3.7, 3.7, stRectangle),
      label("Label30", 7.7, 31.0, 20.1, 4.5, font("Arial", 8, Bold), L, AutoSize, "MASTERCARD"),
      shape("Shape9", 31.8, 31.0, 3.7, 3.7, stRectangle),
      label("Label31", 37.0, 31.0, 7.1, 4.5, font("Arial", 8, Bold), L, AutoSize, "VISA"),
      label("lblExpiry", 48.4, 30.7, 17.2, 4.5, font("Arial", 9), L, AutoSize | WordWrap,
            "Expiry Date:"),
      shape("Shape11", 66.4, 33.6, 11.6, 2.1, stHorLine),
      expirySlash,
      shape("Shape12", 79.1, 33.6, 13.2, 2.1, stHorLine),
      label("lblCVV", 96.3, 30.7, 6.6, 4.5, font("Arial", 8, Bold), L, AutoSize | WordWrap, "CVV"),
      cardBox("Shape1", 104.0, 30.2),
      cardBox("Shape2", 110.3, 30.2),
      cardBox("Shape3", 116.7, 30.2),
      shape("Shape30", 0.5, 37.6, 49.5, 10.6, stRectangle),
      shape("Shape31", 49.7, 37.6, 44.2, 10.6, stRectangle),
      shape("Shape32", 93.7, 37.6, 28.6, 10.6, stRectangle),
      label("Label37", 102.1, 40.0, 2.1, 7.4, font("Arial", 18), L, AutoSize | WordWrap, "/"),
      label("Label38", 110.6, 40.0, 2.1, 7.4, font("Arial", 18), L, AutoSize | WordWrap, "/"),
      label("Label35", 1.3, 48.4, 46.8, 4.5, font("Arial", 8), L, AutoSize | WordWrap | Transparent,
            "CARDHOLDERS NAME (Please Print)"),
      label("Label36", 65.1, 48.4, 15.6, 4.5, font("Arial", 8), L,
            AutoSize | WordWrap | Transparent, "SIGNATURE"),
      label("Label39", 104.8, 48.4, 7.4, 4.5, font("Arial", 8), L,
            AutoSize | WordWrap | Transparent, "DATE"),
      // At the foot of the band; hidden together with a shorter band when not offered.
      label("lblEFTPaymtInstructions", 0.0, 52.9, 35.5, 4.5, font("Arial", 9), L,
            AutoSize | WordWrap, "lblEFTPaymtInstructions"),
  };
  for (const TPrintableDesc &p : added) {
    edits.push_back(add(p));
  }
}

std::vector<TLayoutEdit> creditCardEdits() {
  // The slip keeps the report's font rather than following its parent's.
  std::vector<TLayoutEdit> edits{TChangeBand{kSlip, mm(53.4), font("Arial", 10)}};
  appendCreditCardMoves(edits);
  appendCardAuthority(edits);
  return edits;
}

TPenDesc darkBluePen() { return {clDarkBlue, 2}; }

// The BPAY block at the left: its first five printables go directly after
// lblPaymentSlipLabel, so the white box Shape9 prints before the inherited labels on it.
void appendBpayBlock(std::vector<TLayoutEdit> &edits) {
  edits.push_back(
      addAt(1, shape("Shape8", 0.3, 13.2, 68.8, 31.5, stRectangle, kNoFill, darkBluePen())));
  edits.push_back(addAt(2, image("Image1", 2.6, 15.3, 9.0, 13.8, kPictureBpayLogo)));
  edits.push_back(
      addAt(3, shape("Shape9", 13.2, 15.6, 52.7, 13.5, stRectangle, kWhiteFill, darkBluePen())));
  edits.push_back(
      addAt(4, label("Label30", 15.6, 18.0, 18.0, 4.5, font("Arial", 10, Regular, clDarkBlue), L,
                     AutoSize | WordWrap, "Biller Code:")));
  edits.push_back(
      addAt(5, label("lblBillerCode", 34.7, 18.3, 19.1, 4.5, font("Arial", 9, Bold, clRed), L,
                     AutoSize | WordWrap, "lblBillerCode")));
  edits.push_back(add(label("lblDatePaid", 73.0, 42.3, 15.3, 4.5, font("Arial", 9, Bold), L,
                            AutoSize | WordWrap, "Date Paid:")));
  edits.push_back(add(shape("Shape21", 89.7, 45.5, 24.1, 2.1, stHorLine)));
  edits.push_back(add(image("Image2", 2.6, 29.6, 63.2, 14.0, kPictureBpayInstructions)));
  edits.push_back(add(image("Image3", 2.6, 45.2, 57.1, 3.2, kPictureBpayTrademark)));
}

// The payment slots form a column right of the BPAY block; the customer reference moves into
// the biller-code box.
void appendBpayMoves(std::vector<TLayoutEdit> &edits) {
  TPrintableChange amountPaid = moveTo(119.6, 10.3, 20.1);
  amountPaid.caption = "Amount Paid:";
  TPrintableChange ruler = moveTo(142.6, 13.2, 25.7);
  ruler.height = mm(2.1);
  TPrintableChange bpay = moveTo(88.9, 28.6, 11.6);
  bpay.caption = "BPAY";
  bpay.alignment = R;
  TPrintableChange refLabel = moveTo(15.6, 22.8, 6.3);
  refLabel.caption = "Ref:";
  refLabel.font = wholeFont(font("Arial", 10, Regular, clDarkBlue));
  TPrintableChange ref = moveTo(24.1, 23.0, 23.8);
  ref.autoSize = true;
  ref.font = TFontChange{.bold = true, .color = clRed};

  const std::pair<std::string_view, TPrintableChange> moves[] = {
      {"lblAmountPaidLabel", amountPaid},
      {"shpAmountPaidRuler", ruler},
      {"lblPaidByLabel", moveTo(73.0, 14.6)},
      {"lblCash", moveTo(87.3, 14.8, 13.2)},
      {"chkCash", moveTo(101.6, 15.3)},
      {"lblCheq", moveTo(87.6, 21.7)},
      {"chkCheq", moveTo(101.6, 22.2)},
      {"lblEFT", bpay},
      {"chkEFT", moveTo(101.6, 29.1)},
      {"lblCard", moveTo(92.1, 35.5)},
      {"chkCard", moveTo(101.6, 36.0)},
      {"lblBPAYCustRefLabel", refLabel},
      {"lblBPAYCustRef", ref},
  };
  for (const auto &[name, c] : moves) {
    edits.push_back(change(name, c));
  }
}

std::vector<TLayoutEdit> bpayEdits() {
  std::vector<TLayoutEdit> edits{TChangeBand{kSlip, mm(49.2), {}}};
  appendBpayBlock(edits);
  appendBpayMoves(edits);
  return edits;
}

// The instructions also name credit card accounts.
std::vector<TLayoutEdit> bpayCreditCardEdits() {
  TPrintableChange picture;
  picture.picture = kPictureBpayInstructionsCC;
  return {change("Image2", picture)};
}

} // namespace

std::string_view formClassName(TFormClass form) {
  switch (form) {
  case TFormClass::Base:
    return "TInvoiceReportForm";
  case TFormClass::Standard:
    return "TInvoiceReportStandard";
  case TFormClass::Extend:
    return "TInvoiceReportExtend";
  case TFormClass::CreditCard:
    return "TInvoiceReportCreditCard";
  case TFormClass::ExtendCC:
    return "TInvoiceReportExtendCC";
  case TFormClass::BPAY:
    return "TInvoiceReportBPAY";
  case TFormClass::BPAYCC:
    return "TInvoiceReportBPAYCC";
  }
  return {};
}

std::optional<TFormClass> parentFormClass(TFormClass form) {
  switch (form) {
  case TFormClass::Base:
    return std::nullopt;
  case TFormClass::Extend:
    return TFormClass::Standard;
  case TFormClass::ExtendCC:
    return TFormClass::CreditCard;
  case TFormClass::BPAYCC:
    return TFormClass::BPAY;
  case TFormClass::Standard:
  case TFormClass::CreditCard:
  case TFormClass::BPAY:
    return TFormClass::Base;
  }
  return std::nullopt;
}

const std::vector<TLayoutEdit> &layoutEdits(TFormClass form) {
  static const std::vector<TLayoutEdit> none;
  static const std::vector<TLayoutEdit> standard = standardEdits();
  static const std::vector<TLayoutEdit> extend = extendEdits();
  static const std::vector<TLayoutEdit> creditCard = creditCardEdits();
  static const std::vector<TLayoutEdit> bpay = bpayEdits();
  static const std::vector<TLayoutEdit> bpayCC = bpayCreditCardEdits();
  switch (form) {
  case TFormClass::Base:
    return none;
  case TFormClass::Standard:
    return standard;
  case TFormClass::Extend:
  case TFormClass::ExtendCC:
    return extend;
  case TFormClass::CreditCard:
    return creditCard;
  case TFormClass::BPAY:
    return bpay;
  case TFormClass::BPAYCC:
    return bpayCC;
  }
  return none;
}

TReportDesc layoutFor(TFormClass form) {
  const std::optional<TFormClass> parent = parentFormClass(form);
  TReportDesc layout = parent ? layoutFor(*parent) : baseLayout();
  layout.formClassName = formClassName(form);
  applyEdits(layout, layoutEdits(form));
  return layout;
}

} // namespace TDInvoice::Layout
