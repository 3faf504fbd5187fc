#include "LayoutWalk.h"

#include "invoice/layout/InvoiceLayouts.h"
#include "invoice/layout/InvoiceStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace TDInvoice::Layout {
namespace {

using Names = std::set<std::string>;

std::vector<std::string_view> namesOf(const TBandDesc &band) {
  std::vector<std::string_view> names;
  for (const TPrintableDesc &p : band.printables) {
    names.push_back(p.name);
  }
  return names;
}

// Printables added, removed or changed, and bands whose own properties changed, from one
// layout to another.
Names differences(const TReportDesc &from, const TReportDesc &to) {
  Names changed;
  for (const TBandDesc &band : to.bands) {
    const TBandDesc *old = findBand(from, band.name);
    if (old == nullptr) {
      changed.insert(std::string(band.name));
      continue;
    }
    TBandDesc a = *old, b = band;
    a.printables.clear();
    b.printables.clear();
    if (!(a == b)) {
      changed.insert(std::string(band.name));
    }
    for (const TPrintableDesc &p : band.printables) {
      const TPrintableDesc *before = findPrintable(*old, p.name);
      if (before == nullptr || !(*before == p)) {
        changed.insert(std::string(p.name));
      }
    }
    for (const TPrintableDesc &p : old->printables) {
      if (findPrintable(band, p.name) == nullptr) {
        changed.insert(std::string(p.name));
      }
    }
  }
  return changed;
}

TEST(VariantLayoutTest, FormsInheritAlongTheClassTree) {
  EXPECT_FALSE(parentFormClass(TFormClass::Base).has_value());
  const std::pair<TFormClass, TFormClass> parents[] = {
      {TFormClass::Standard, TFormClass::Base},   {TFormClass::Extend, TFormClass::Standard},
      {TFormClass::CreditCard, TFormClass::Base}, {TFormClass::ExtendCC, TFormClass::CreditCard},
      {TFormClass::BPAY, TFormClass::Base},       {TFormClass::BPAYCC, TFormClass::BPAY}};
  for (const auto &[form, parent] : parents) {
    EXPECT_EQ(parentFormClass(form), parent) << formClassName(form);
    EXPECT_EQ(layoutFor(form).formClassName, formClassName(form));
  }
  EXPECT_EQ(layoutFor(TFormClass::Base), baseLayout());
}

// The variants differ only in the payment slip, and Extend also in the estimated fees.
TEST(VariantLayoutTest, VariantsChangeOnlyWhatTheyState) {
  const TReportDesc base = layoutFor(TFormClass::Base);
  const TReportDesc standard = layoutFor(TFormClass::Standard);
  const TReportDesc creditCard = layoutFor(TFormClass::CreditCard);
  const TReportDesc bpay = layoutFor(TFormClass::BPAY);

  EXPECT_EQ(differences(base, standard), (Names{"lblEFTPaymtInstructions", "Label33", "Shape8"}));

  const Names extendChanges{"lblEsrFessLabel", "lblEstimatedFeesLabel", "lblNotIncludedLabel",
                            "ftrEstFees", "lblPleasePay"};
  EXPECT_EQ(differences(standard, layoutFor(TFormClass::Extend)), extendChanges);
  EXPECT_EQ(differences(creditCard, layoutFor(TFormClass::ExtendCC)), extendChanges);

  EXPECT_EQ(differences(bpay, layoutFor(TFormClass::BPAYCC)), (Names{"Image2"}));

  for (const TReportDesc *variant : {&creditCard, &bpay}) {
    for (const std::string &name : differences(base, *variant)) {
      const TBandDesc *band = nullptr;
      if (findPrintable(*variant, name, &band) != nullptr) {
        EXPECT_EQ(band->name, "InvoiceFooter") << variant->formClassName << " " << name;
      } else {
        EXPECT_EQ(name, "InvoiceFooter") << variant->formClassName;
      }
    }
  }
}

TEST(VariantLayoutTest, ExtendRenamesTheEstimatedFees) {
  for (TFormClass form : {TFormClass::Extend, TFormClass::ExtendCC}) {
    const TReportDesc layout = layoutFor(form);
    SCOPED_TRACE(std::string(layout.formClassName));
    EXPECT_EQ(findPrintable(layout, "lblEstimatedFeesLabel")->caption, "New Charges");
    EXPECT_EQ(findPrintable(layout, "lblEsrFessLabel")->caption, "New Charges");
    EXPECT_FALSE(findPrintable(layout, "lblNotIncludedLabel")->enabled);
    EXPECT_EQ(findBand(layout, "ftrEstFees")->height.mm10, 140);
    // The moved please-pay line stays on its taller band.
    const TPrintableDesc &pleasePay = *findPrintable(layout, "lblPleasePay");
    EXPECT_LE(pleasePay.top.px + pleasePay.height.px, findBand(layout, "ftrEstFees")->height.px);
  }
}

TEST(VariantLayoutTest, BpayInsertsItsBlockAfterThePaymentSlipLabel) {
  for (TFormClass form : {TFormClass::BPAY, TFormClass::BPAYCC}) {
    const TReportDesc layout = layoutFor(form);
    SCOPED_TRACE(std::string(layout.formClassName));
    const TBandDesc &slip = *findBand(layout, "InvoiceFooter");
    const std::vector<std::string_view> names = namesOf(slip);
    ASSERT_GE(names.size(), 10u);
    const std::vector<std::string_view> head(names.begin(), names.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::string_view>{"lblPaymentSlipLabel", "Shape8", "Image1",
                                                   "Shape9", "Label30", "lblBillerCode"}));
    const std::vector<std::string_view> tail(names.end() - 4, names.end());
    EXPECT_EQ(tail, (std::vector<std::string_view>{"lblDatePaid", "Shape21", "Image2", "Image3"}));
    // Between them, the inherited printables in their inherited order.
    std::vector<std::string_view> inherited = namesOf(*findBand(baseLayout(), "InvoiceFooter"));
    inherited.erase(inherited.begin());
    EXPECT_EQ(std::vector<std::string_view>(names.begin() + 6, names.end() - 4), inherited);
    EXPECT_EQ(slip.height.mm10, 492);
  }
}

TEST(VariantLayoutTest, BpayBoxesUseTheDarkBluePen) {
  const TReportDesc layout = layoutFor(TFormClass::BPAY);
  const TPrintableDesc &frame = *findPrintable(layout, "Shape8");
  const TPrintableDesc &billerBox = *findPrintable(layout, "Shape9");
  const TPenDesc darkBlue{rgb(0, 43, 105), 2};
  EXPECT_EQ(frame.pen, darkBlue);
  EXPECT_EQ(billerBox.pen, darkBlue);
  EXPECT_EQ(frame.brush.style, TBrushStyle::bsClear);
  EXPECT_EQ(billerBox.brush, (TBrushDesc{TBrushStyle::bsSolid, clWhite}));
  // The biller code and the moved customer reference lie inside the white box.
  for (std::string_view name :
       {"Label30", "lblBillerCode", "lblBPAYCustRefLabel", "lblBPAYCustRef"}) {
    const TPrintableDesc &p = *findPrintable(layout, name);
    EXPECT_GE(p.left.px, billerBox.left.px) << name;
    EXPECT_GE(p.top.px, billerBox.top.px) << name;
    EXPECT_LE(p.left.px + p.width.px, billerBox.left.px + billerBox.width.px) << name;
    EXPECT_LE(p.top.px + p.height.px, billerBox.top.px + billerBox.height.px) << name;
  }
}

TEST(VariantLayoutTest, BpayPicturesByResourceName) {
  const std::map<TFormClass, std::map<std::string_view, std::string_view>> expected = {
      {TFormClass::BPAY,
       {{"Image1", "bpay-logo"}, {"Image2", "bpay-instructions"}, {"Image3", "bpay-trademark"}}},
      {TFormClass::BPAYCC,
       {{"Image1", "bpay-logo"}, {"Image2", "bpay-instructions-cc"}, {"Image3", "bpay-trademark"}}},
  };
  for (TFormClass form : kAllFormClasses) {
    const TReportDesc layout = layoutFor(form);
    std::map<std::string_view, std::string_view> pictures;
    Testing::forEachPrintable(layout, [&](const Testing::TPlacedPrintable &placed) {
      if (placed.printable->kind == TPrintableKind::Image) {
        pictures[placed.printable->name] = placed.printable->picture;
        EXPECT_TRUE(placed.printable->stretch) << placed.printable->name;
      }
    });
    const auto found = expected.find(form);
    EXPECT_EQ(pictures, found == expected.end() ? decltype(pictures){} : found->second)
        << layout.formClassName;
  }
}

// Card number: 16 boxes in four groups of four, 6.35 mm apart within a group and 7.7 mm
// between groups.
TEST(VariantLayoutTest, CreditCardNumberBoxes) {
  for (TFormClass form : {TFormClass::CreditCard, TFormClass::ExtendCC}) {
    const TReportDesc layout = layoutFor(form);
    SCOPED_TRACE(std::string(layout.formClassName));
    const TBandDesc &slip = *findBand(layout, "InvoiceFooter");
    const TPrintableDesc &caption = *findPrintable(slip, "Label34");
    EXPECT_EQ(caption.caption, "Card Nbr:");
    std::vector<const TPrintableDesc *> boxes;
    for (const TPrintableDesc &p : slip.printables) {
      if (p.kind == TPrintableKind::Shape && p.shape == TShapeKind::stRectangle &&
          p.top == caption.top && p.left.px > caption.left.px) {
        boxes.push_back(&p);
      }
    }
    ASSERT_EQ(boxes.size(), 16u);
    std::sort(boxes.begin(), boxes.end(), [](auto *a, auto *b) { return a->left.px < b->left.px; });
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i]->width.mm10, 53) << boxes[i]->name;
      EXPECT_EQ(boxes[i]->height.mm10, 53) << boxes[i]->name;
      if (i == 0) {
        continue;
      }
      const int stepMM10 = boxes[i]->left.mm10 - boxes[i - 1]->left.mm10;
      const double stepMM = (boxes[i]->left.px - boxes[i - 1]->left.px) * 25.4 / 96.0;
      if (i % 4 != 0) {
        EXPECT_NEAR(stepMM, 6.35, 1e-9) << boxes[i]->name;
        EXPECT_TRUE(stepMM10 == 63 || stepMM10 == 64) << boxes[i]->name;
      } else {
        EXPECT_NEAR(std::round(stepMM * 10) / 10, 7.7, 1e-9) << boxes[i]->name;
      }
    }
  }
}

struct SlotNames {
  std::string_view label, box;
};
const SlotNames kSlots[] = {
    {"lblCash", "chkCash"}, {"lblCheq", "chkCheq"}, {"lblEFT", "chkEFT"}, {"lblCard", "chkCard"}};

// The slots stand in one row, card first, each caption left of its box.
TEST(VariantLayoutTest, CreditCardSlotsInOneRowCardFirst) {
  const TReportDesc layout = layoutFor(TFormClass::CreditCard);
  const TBandDesc &slip = *findBand(layout, "InvoiceFooter");
  const std::string_view leftToRight[] = {"chkCard", "chkCash", "chkCheq", "chkEFT"};
  for (std::size_t i = 1; i < std::size(leftToRight); ++i) {
    const TPrintableDesc &before = *findPrintable(slip, leftToRight[i - 1]);
    const TPrintableDesc &box = *findPrintable(slip, leftToRight[i]);
    EXPECT_EQ(box.top, before.top) << box.name;
    EXPECT_GT(box.left.px, before.left.px) << box.name;
  }
  for (const SlotNames &slot : kSlots) {
    const TPrintableDesc &label = *findPrintable(slip, slot.label);
    const TPrintableDesc &box = *findPrintable(slip, slot.box);
    EXPECT_LE(label.left.px + label.width.px, box.left.px) << slot.label;
    EXPECT_LT(std::abs(label.top.px - box.top.px), label.height.px) << slot.label;
  }
}

// The slots form a column right of the BPAY block, in slot order.
TEST(VariantLayoutTest, BpaySlotsInOneColumn) {
  const TReportDesc layout = layoutFor(TFormClass::BPAY);
  const TBandDesc &slip = *findBand(layout, "InvoiceFooter");
  const TPrintableDesc &block = *findPrintable(slip, "Shape8");
  int previousTop = -1;
  for (const SlotNames &slot : kSlots) {
    const TPrintableDesc &label = *findPrintable(slip, slot.label);
    const TPrintableDesc &box = *findPrintable(slip, slot.box);
    EXPECT_EQ(box.left, findPrintable(slip, "chkCash")->left) << slot.box;
    EXPECT_GT(box.top.px, previousTop) << slot.box;
    previousTop = box.top.px;
    EXPECT_LE(label.left.px + label.width.px, box.left.px) << slot.label;
    EXPECT_GT(label.left.px, block.left.px + block.width.px) << slot.label;
  }
}

// A placed method keeps the design caption of the slot that already names it, so the slot
// captions must be the very texts the handlers place.
TEST(VariantLayoutTest, SlotDesignCaptionsAreThePlacedMethodTexts) {
  using namespace InvoiceStrings;
  for (TFormClass form : kAllFormClasses) {
    const TReportDesc layout = layoutFor(form);
    SCOPED_TRACE(std::string(layout.formClassName));
    const bool bpay = form == TFormClass::BPAY || form == TFormClass::BPAYCC;
    const bool creditCard = form == TFormClass::CreditCard || form == TFormClass::ExtendCC;
    EXPECT_EQ(findPrintable(layout, "lblCash")->caption, CAP_Cash);
    EXPECT_EQ(findPrintable(layout, "lblCheq")->caption, CAP_Cheque);
    EXPECT_EQ(findPrintable(layout, "lblEFT")->caption, bpay ? CAP_BPAY : CAP_EFT);
    EXPECT_EQ(findPrintable(layout, "lblCard")->caption, creditCard ? CAP_CreditCard : CAP_Card);
  }
}

// The printables that the band and variant handlers address, with the kind they expect.
TEST(VariantLayoutTest, HandlersFindTheirPrintables) {
  using K = TPrintableKind;
  const std::pair<std::string_view, K> common[] = {
      {"lblServiceName", K::Label},
      {"lblAddress", K::Label},
      {"lblPhone", K::Label},
      {"lblABN", K::Label},
      {"lblEmail", K::Label},
      {"lblPaymtSlipServiceName", K::Label},
      {"lblInvoiceNo", K::Label},
      {"lblIssueDate", K::Label},
      {"lblApprovalIDsLabel", K::Label},
      {"lblApprovalIDs", K::Label},
      {"lblAccountName", K::Label},
      {"lblHAddress1", K::Label},
      {"lblHAddress2", K::Label},
      {"lblDistribChild", K::Label},
      {"lblNetLabel", K::Label},
      {"lblDescription", K::Label},
      {"lblBalance", K::Label},
      {"RichText1", K::RichText},
      {"lblAmtDue", K::Label},
      {"lblOutstandingDebt", K::Label},
      {"lblWeekComm", K::Label},
      {"lblFirstName", K::Label},
      {"lblAbbrev", K::Label},
      {"lblChgDesc", K::Label},
      {"lblRowTotal", K::Label},
      {"lblWklyChgTotal", K::Label},
      {"lblEstFeesTotal", K::Label},
      {"lblPleasePay", K::Label},
      {"richtxtInvoiceMessage", K::RichText},
      {"mmoYTDAbsences", K::Memo},
      {"lblYTDAbsencesLabel", K::Label},
      {"mmoCustInvNote", K::Memo},
      {"lblAccountHolder", K::Label},
      {"lblBPAYCustRef", K::Label},
      {"lblBPAYCustRefLabel", K::Label},
      {"lblCloseDate", K::Label},
      {"lblPastDueLabel", K::Label},
      {"lblPastDue", K::Label},
      {"lblEstFees", K::Label},
      {"lblPayAmt", K::Label},
      {"lblPleasePayLabel", K::Label},
      {"lblPaymtInstructions", K::Label},
      {"chkCash", K::Shape},
      {"chkCheq", K::Shape},
      {"chkEFT", K::Shape},
      {"chkCard", K::Shape},
  };
  for (TFormClass form : kAllFormClasses) {
    const TReportDesc layout = layoutFor(form);
    for (const auto &[name, kind] : common) {
      const TPrintableDesc *p = findPrintable(layout, name);
      ASSERT_NE(p, nullptr) << layout.formClassName << " " << name;
      EXPECT_EQ(p->kind, kind) << layout.formClassName << " " << name;
    }
    const bool directCredit = form == TFormClass::Standard || form == TFormClass::Extend ||
                              form == TFormClass::CreditCard || form == TFormClass::ExtendCC;
    const bool bpay = form == TFormClass::BPAY || form == TFormClass::BPAYCC;
    EXPECT_EQ(findPrintable(layout, "lblEFTPaymtInstructions") != nullptr, directCredit)
        << layout.formClassName;
    EXPECT_EQ(findPrintable(layout, "lblBillerCode") != nullptr, bpay) << layout.formClassName;
  }
}

// The Credit Card handler cuts the slip back to the top of the direct-credit line when it
// hides it: 52.9 mm instead of 53.4 mm.
TEST(VariantLayoutTest, CreditCardDirectCreditLineAtTheFootOfTheSlip) {
  for (TFormClass form : {TFormClass::CreditCard, TFormClass::ExtendCC}) {
    const TReportDesc layout = layoutFor(form);
    const TBandDesc &slip = *findBand(layout, "InvoiceFooter");
    const TPrintableDesc &line = *findPrintable(slip, "lblEFTPaymtInstructions");
    EXPECT_EQ(slip.height.mm10, 534);
    EXPECT_EQ(line.top.mm10, 529);
    EXPECT_LT(line.top.px, slip.height.px);
    EXPECT_EQ(slip.printables.back().name, "lblEFTPaymtInstructions");
    // The slip prints in the report's font rather than the band's parent's.
    EXPECT_EQ(slip.font, layout.font);
  }
}

} // namespace
} // namespace TDInvoice::Layout
