// The six payment slips as whole runs through the library's entry point: which payment slots
// print, in which order on the page, what each variant hides, and where each variant's own
// printables land on the recorded page.
#include "InvoiceTestSupport.h"

#include "invoice/layout/InvoiceStrings.h"

#include <QColor>

#include <algorithm>

namespace TDInvoice::Testing {
namespace {

using Layout::findBand;
using Layout::findPrintable;
using Layout::TFormClass;
namespace R = Report;

struct TVariant {
  const char *name;
  int PaymentType;
  bool WithCard;
  bool Extended;
  TFormClass formClass;
};

constexpr TVariant kStandard{"Standard", 1, false, false, TFormClass::Standard};
constexpr TVariant kExtend{"Extend", 1, false, true, TFormClass::Extend};
constexpr TVariant kCreditCard{"CreditCard", 2, false, false, TFormClass::CreditCard};
constexpr TVariant kExtendCC{"ExtendCC", 2, false, true, TFormClass::ExtendCC};
constexpr TVariant kBPAY{"BPAY", 3, false, false, TFormClass::BPAY};
constexpr TVariant kBPAYCC{"BPAYCC", 3, true, false, TFormClass::BPAYCC};

constexpr int kCash = 1, kCheque = 2, kEFT = 4, kCard = 8;
const QString kCustomerRef = QStringLiteral("100017");

struct TSlipData {
  int options = kCash | kCheque;
  std::optional<QString> BSB = QStringLiteral("062-000");
  std::optional<QString> AccountNo = QStringLiteral("1234 5678");
  std::optional<QString> biller = QStringLiteral("123456");
  bool withFees = false;
};

// One invoice of a variant, printed. The database lives as long as the run that reads it.
class TSlipRun {
public:
  TSlipRun(const TVariant &variant, const TSlipData &data)
      : layout(Layout::layoutFor(variant.formClass)) {
    TServiceRow service;
    service.PaymentOptions = data.options;
    service.BSB = data.BSB;
    service.AccountNo = data.AccountNo;
    service.BPAYBiller = data.biller;
    m_db.setService(service);
    m_db.addPlainInvoice(1001, 1, cents(12000), dayNumber(2009, 1, 4));
    if (data.withFees) {
      m_db.addChild(11, 1, "Amy", "Lee");
      m_db.addPendingAttendance(1001, 1);
      m_db.addCharge(1, 11, 1, dayNumber(2009, 1, 6), 1, cents(3000));
    }
    m_run = std::make_unique<TInvoiceReportRun>(variant.PaymentType, variant.WithCard,
                                                variant.Extended);
    m_run->load();
    m_run->run();
    for (const TBandPrint &print : m_run->bandPrints())
      if (print.band == QLatin1String("InvoiceFooter"))
        footers.push_back(print);
  }

  TInvoiceReportRun &run() const { return *m_run; }
  const Layout::TBandDesc &footerDesc() const { return *findBand(layout, "InvoiceFooter"); }
  const Layout::TPrintableDesc &desc(std::string_view name) const {
    const Layout::TPrintableDesc *p = findPrintable(footerDesc(), name);
    if (!p)
      throw std::runtime_error("no printable " + std::string(name) + " on the slip");
    return *p;
  }
  QRect footer() const { return footers.at(0).rect; }

  // The printable's box on page 1 in device units, from its layout values.
  QRect boxOf(std::string_view name) const {
    const Layout::TPrintableDesc &p = desc(name);
    const int left = dev(layout.page.leftMargin + p.left.native());
    const int top = footer().top() + dev(p.top.native());
    return {left, top, dev(layout.page.leftMargin + p.left.native() + p.width.native()) - left,
            dev(p.height.native())};
  }
  // Where a label's text is anchored: its box's left, right or centre by its alignment.
  QPoint anchorOf(std::string_view name) const {
    const Layout::TPrintableDesc &p = desc(name);
    double x = layout.page.leftMargin + p.left.native();
    if (p.alignment == Layout::TAlignment::taRightJustify)
      x += p.width.native();
    else if (p.alignment == Layout::TAlignment::taCenter)
      x += p.width.native() / 2;
    return {dev(x), footer().top() + dev(p.top.native())};
  }

  // The texts printed inside the slip on page 1.
  std::vector<TMetaText> slipTexts() const {
    std::vector<TMetaText> result;
    for (const TMetaText &text : m_run->texts(1))
      if (footer().contains(text.anchor))
        result.push_back(text);
    return result;
  }
  std::optional<TMetaText> slipText(const QString &text) const {
    for (const TMetaText &found : slipTexts())
      if (found.text == text)
        return found;
    return std::nullopt;
  }
  bool printsInSlip(const QString &text) const { return slipText(text).has_value(); }
  // Whether text printed at the label's layout position (a device unit of rounding in y).
  bool printedAt(const QString &text, std::string_view label) const {
    const QPoint at = anchorOf(label);
    for (const TMetaText &found : slipTexts())
      if (found.text == text && found.anchor.x() == at.x() && std::abs(found.anchor.y() - at.y()) <= 1)
        return true;
    return false;
  }
  template <class T> std::vector<T> elements() const {
    std::vector<T> result;
    for (const R::TMetaElement &element : m_run->pages().at(0).elements())
      if (const T *e = std::get_if<T>(&element))
        result.push_back(*e);
    return result;
  }
  // The rectangle drawn for a rectangle shape, if any was drawn at its layout box.
  std::optional<R::TMetaRectangle> rectangleAt(std::string_view name) const {
    const QRect box = boxOf(name);
    for (const R::TMetaRectangle &r : elements<R::TMetaRectangle>())
      if (std::abs(r.rect.left() - box.left()) <= 1 && std::abs(r.rect.top() - box.top()) <= 1 &&
          std::abs(r.rect.width() - box.width()) <= 1 &&
          std::abs(r.rect.height() - box.height()) <= 1)
        return r;
    return std::nullopt;
  }

  Layout::TReportDesc layout;
  std::vector<TBandPrint> footers;

private:
  TInvoiceDatabase m_db;
  std::unique_ptr<TInvoiceReportRun> m_run;
};

const QStringList kSlotCaptions = {"Cash", "Cheque", "EFT", "BPAY", "Card", "Credit Card"};

// The slot captions of the slip in reading order: top to bottom, and left to right within a
// row (texts less than a line apart in y share a row).
QStringList slotsInPageOrder(const TSlipRun &slip) {
  std::vector<TMetaText> slots;
  for (const TMetaText &text : slip.slipTexts())
    if (kSlotCaptions.contains(text.text))
      slots.push_back(text);
  std::sort(slots.begin(), slots.end(), [](const TMetaText &a, const TMetaText &b) {
    if (std::abs(a.anchor.y() - b.anchor.y()) > 8)
      return a.anchor.y() < b.anchor.y();
    return a.anchor.x() < b.anchor.x();
  });
  QStringList captions;
  for (const TMetaText &text : slots)
    captions << text.text;
  return captions;
}

TEST(VariantSlipTest, PaymentSlotsFollowTheOptionsOfEachVariant) {
  const QString directCredit =
      QStringLiteral("Direct Credit payments may be made to BSB 062-000 A/C 1234 5678");
  struct TCase {
    const TVariant &variant;
    TSlipData data;
    QStringList slots; // in page order
    int boxes;         // tick boxes drawn (slots 1.. used)
    bool directCreditLine;
    bool customerRef;
  } cases[] = {
      {kStandard, {.options = kCash | kCheque | kEFT | kCard}, {"Cash", "Cheque", "EFT", "Card"}, 4, true, true},
      {kStandard, {.options = kCheque | kCard}, {"Cheque", "Card"}, 2, false, false},
      {kStandard, {.options = kEFT, .AccountNo = QString()}, {"EFT"}, 1, false, true},
      {kStandard, {.options = kEFT, .BSB = std::nullopt}, {"EFT"}, 1, false, true},
      {kStandard, {.options = 0}, {}, 0, false, false},
      {kExtend, {.options = kCash | kCheque | kEFT | kCard}, {"Cash", "Cheque", "EFT", "Card"}, 4, true, true},
      {kExtend, {.options = kCash | kCard}, {"Cash", "Card"}, 2, false, false},
      // The card slot stands leftmost in the CreditCard layouts but fills last.
      {kCreditCard, {.options = 0}, {}, 0, false, false},
      {kCreditCard, {.options = kCash | kCheque | kEFT | kCard}, {"Credit Card", "Cash", "Cheque", "EFT"}, 4, true, true},
      {kCreditCard, {.options = kCard}, {"Card"}, 1, false, false},
      {kCreditCard, {.options = kEFT | kCard}, {"EFT", "Card"}, 2, true, true},
      {kCreditCard, {.options = kCash | kCheque | kCard}, {"Cash", "Cheque", "Card"}, 3, false, false},
      {kExtendCC, {.options = kCash | kCheque | kEFT | kCard}, {"Credit Card", "Cash", "Cheque", "EFT"}, 4, true, true},
      {kExtendCC, {.options = kCheque}, {"Cheque"}, 1, false, false},
      // BPAY is always offered and takes the place of EFT; the EFT option is not read.
      {kBPAY, {.options = 0}, {"BPAY"}, 1, false, true},
      {kBPAY, {.options = kCash | kCheque | kCard}, {"Cash", "Cheque", "BPAY", "Card"}, 4, false, true},
      {kBPAY, {.options = kEFT}, {"BPAY"}, 1, false, true},
      {kBPAY, {.options = kCard}, {"BPAY", "Card"}, 2, false, true},
      {kBPAYCC, {.options = kCash | kCheque}, {"Cash", "Cheque", "BPAY"}, 3, false, true},
      {kBPAYCC, {.options = kCash | kCheque | kEFT | kCard}, {"Cash", "Cheque", "BPAY", "Card"}, 4, false, true},
  };
  static constexpr const char *boxes[] = {"chkCash", "chkCheq", "chkEFT", "chkCard"};
  for (const TCase &c : cases) {
    SCOPED_TRACE(std::string(c.variant.name) + " options " + std::to_string(c.data.options));
    const TSlipRun slip(c.variant, c.data);
    ASSERT_EQ(slip.footers.size(), 1u);
    EXPECT_EQ(slotsInPageOrder(slip), c.slots);
    for (int slot = 1; slot <= 4; ++slot)
      EXPECT_EQ(slip.rectangleAt(boxes[slot - 1]).has_value(), slot <= c.boxes) << boxes[slot - 1];
    EXPECT_EQ(slip.printsInSlip(directCredit), c.directCreditLine);
    EXPECT_FALSE(slip.printsInSlip(QStringLiteral("lblEFTPaymtInstructions")))
        << "the design text never prints";
    EXPECT_EQ(slip.printsInSlip(kCustomerRef), c.customerRef);
    if (c.directCreditLine) {
      EXPECT_TRUE(slip.printedAt(directCredit, "lblEFTPaymtInstructions"));
    }
  }
}

TEST(VariantSlipTest, CreditCardSlipEndsWhereTheHiddenDirectCreditLineWouldBegin) {
  struct TCase {
    TSlipData data;
    double lengthMM10; // the slip's printed length, tenths of a millimetre
  } cases[] = {
      {{.options = kEFT}, 534},
      {{.options = kEFT, .AccountNo = std::nullopt}, 529},
      {{.options = kCash}, 529},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.lengthMM10);
    const TSlipRun slip(kCreditCard, c.data);
    ASSERT_EQ(slip.footers.size(), 1u);
    EXPECT_EQ(slip.footer().height(), dev(c.lengthMM10));
    // The slip still stands on the foot of the page, whatever its length.
    const double pageFoot = slip.layout.page.length - slip.layout.page.bottomMargin;
    EXPECT_NEAR(slip.footer().bottom() + 1, dev(pageFoot), 1);
  }
  // The base slip and the BPAY slip keep their own lengths.
  EXPECT_EQ(TSlipRun(kStandard, {.options = 0}).footer().height(), dev(500));
  EXPECT_EQ(TSlipRun(kBPAY, {.options = 0}).footer().height(), dev(492));
}

TEST(VariantSlipTest, EachVariantsOwnPrintablesLandAtTheirLayoutPositions) {
  struct TCase {
    const TVariant &variant;
    std::vector<std::pair<const char *, QString>> labels; // printable, text it prints
    std::vector<const char *> rectangles;
  } cases[] = {
      {kStandard, {{"Label33", "Date Paid:"}, {"lblCash", "Cash"}}, {"chkCash"}},
      {kExtend, {{"Label33", "Date Paid:"}, {"lblEsrFessLabel", "New Charges"}}, {"chkCash"}},
      {kCreditCard,
       {{"Label34", "Card Nbr:"},
        {"Label30", "MASTERCARD"},
        {"Label31", "VISA"},
        {"lblExpiry", "Expiry Date:"},
        {"Label33", "/"},
        {"lblCVV", "CVV"},
        {"Label37", "/"},
        {"Label38", "/"},
        {"Label35", "CARDHOLDERS NAME (Please Print)"},
        {"Label36", "SIGNATURE"},
        {"Label39", "DATE"},
        {"lblCash", "Cash"},
        {"lblAmountPaidLabel", "Amount Paid"},
        {"lblPastDue", "$120.00"}},
       {"Shape13", "Shape14", "Shape15", "Shape16", "Shape17", "Shape18", "Shape20", "Shape21",
        "Shape22", "Shape23", "Shape24", "Shape25", "Shape26", "Shape27", "Shape28", "Shape29",
        "Shape8", "Shape9", "Shape1", "Shape2", "Shape3", "Shape30", "Shape31", "Shape32",
        "chkCash", "chkCheq", "shpPastDueBox"}},
      {kExtendCC, {{"Label34", "Card Nbr:"}, {"lblEsrFessLabel", "New Charges"}}, {"Shape29"}},
      {kBPAY,
       {{"Label30", "Biller Code:"},
        {"lblBillerCode", "123456"},
        {"lblBPAYCustRefLabel", "Ref:"},
        {"lblBPAYCustRef", kCustomerRef},
        {"lblDatePaid", "Date Paid:"},
        {"lblEFT", "BPAY"},
        {"lblAmountPaidLabel", "Amount Paid:"}},
       {"Shape8", "Shape9", "chkCash", "chkEFT"}},
      {kBPAYCC, {{"Label30", "Biller Code:"}, {"lblBillerCode", "123456"}}, {"Shape9"}},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.variant.name);
    const TSlipRun slip(c.variant, {});
    ASSERT_EQ(slip.footers.size(), 1u);
    for (const auto &[name, text] : c.labels)
      EXPECT_TRUE(slip.printedAt(text, name)) << name << " \"" << text.toStdString() << '"';
    for (const char *name : c.rectangles)
      EXPECT_TRUE(slip.rectangleAt(name).has_value()) << name;
  }
}

TEST(VariantSlipTest, BpayBillerCodeIsBoldRedInTheWhiteBoxWithTheReferenceBelow) {
  const QRgb darkBlue = qRgb(0, 43, 105);
  for (const TVariant *variant : {&kBPAY, &kBPAYCC}) {
    SCOPED_TRACE(variant->name);
    const TSlipRun slip(*variant, {.biller = QStringLiteral("  0042 77 ")});
    const auto box = slip.rectangleAt("Shape9");
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->brush.color, qRgb(255, 255, 255));
    EXPECT_TRUE(box->brush.solid);
    EXPECT_EQ(box->pen.color, darkBlue);
    EXPECT_EQ(box->pen.width, 2);
    const auto frame = slip.rectangleAt("Shape8");
    ASSERT_TRUE(frame.has_value());
    EXPECT_FALSE(frame->brush.solid);
    EXPECT_EQ(frame->pen.color, darkBlue);

    // Printed exactly as stored, blanks included.
    const auto biller = slip.slipText(QStringLiteral("  0042 77 "));
    ASSERT_TRUE(biller.has_value());
    EXPECT_TRUE(biller->font.bold);
    EXPECT_EQ(biller->font.color, qRgb(255, 0, 0));
    EXPECT_TRUE(box->rect.contains(biller->anchor));
    const auto ref = slip.slipText(QStringLiteral("Ref:"));
    const auto customer = slip.slipText(kCustomerRef);
    ASSERT_TRUE(ref && customer);
    EXPECT_GT(ref->anchor.y(), biller->anchor.y());
    EXPECT_TRUE(box->rect.contains(ref->anchor));
    EXPECT_TRUE(box->rect.contains(customer->anchor));
    EXPECT_EQ(ref->font.color, darkBlue);
    EXPECT_FALSE(ref->font.bold);
    EXPECT_TRUE(customer->font.bold);
    EXPECT_EQ(customer->font.color, qRgb(255, 0, 0));
    EXPECT_FALSE(slip.printsInSlip(QStringLiteral("lblBillerCode")));
  }
  // An empty biller code prints nothing where the design text was.
  const TSlipRun empty(kBPAY, {.biller = QString()});
  EXPECT_FALSE(empty.printsInSlip(QStringLiteral("lblBillerCode")));
  EXPECT_TRUE(empty.printsInSlip(QStringLiteral("Biller Code:")));
}

TEST(VariantSlipTest, BpaySlipCarriesItsPicturesInTheirBoxes) {
  for (const TVariant *variant : {&kBPAY, &kBPAYCC}) {
    SCOPED_TRACE(variant->name);
    const TSlipRun slip(*variant, {});
    const auto images = slip.elements<R::TMetaImage>();
    ASSERT_EQ(images.size(), 1u) << "the logo";
    EXPECT_EQ(images[0].rect, slip.boxOf("Image1"));
    EXPECT_EQ(images[0].image.size(), QSize(135, 206));
    const auto pictures = slip.elements<R::TMetaPicture>();
    ASSERT_EQ(pictures.size(), 2u) << "instructions and trademark notice";
    EXPECT_EQ(pictures[0].rect, slip.boxOf("Image2"));
    EXPECT_EQ(pictures[1].rect, slip.boxOf("Image3"));
    const bool cardWording = pictures[0].svg.contains("credit card");
    EXPECT_EQ(cardWording, variant == &kBPAYCC);
    EXPECT_TRUE(pictures[1].svg.contains("BPAY Pty Ltd"));
  }
  // The other slips have no pictures.
  const TSlipRun standard(kStandard, {});
  EXPECT_TRUE(standard.elements<R::TMetaImage>().empty());
  EXPECT_TRUE(standard.elements<R::TMetaPicture>().empty());
}

// How often text printed, over all pages.
int timesPrinted(const TInvoiceReportRun &run, const QString &text) {
  const QStringList texts = run.textStrings();
  return static_cast<int>(texts.count(text));
}

TEST(VariantSlipTest, ExtendSlipsNameTheFeesNewChargesAndNeverSayNotIncluded) {
  const QString notIncluded = QStringLiteral("(not included in balance to be carried forward)");
  struct TCase {
    const TVariant &variant;
    bool extended;
  } cases[] = {{kStandard, false}, {kExtend, true}, {kCreditCard, false}, {kExtendCC, true}};
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.variant.name);
    const TSlipRun slip(c.variant, {.withFees = true});
    const TInvoiceReportRun &run = slip.run();
    // The fees section's heading and the slip's summary box.
    EXPECT_EQ(timesPrinted(run, QStringLiteral("New Charges")), c.extended ? 2 : 0);
    EXPECT_EQ(timesPrinted(run, QStringLiteral("Estimated Fees")), c.extended ? 0 : 2);
    EXPECT_EQ(timesPrinted(run, notIncluded), c.extended ? 0 : 1);
  }
}

} // namespace
} // namespace TDInvoice::Testing
