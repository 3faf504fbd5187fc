// The forms' report components as the builder makes them from each stored layout: the
// report's page and options, every band with its class, links and options, every printable
// with its box, font and options; handlers bound by name and replaced by a subclass; faults
// of a layout; pictures from the registry.
#include "ProbeForm.h"

#include "invoice/FormLayoutBuilder.h"
#include "invoice/PictureRegistry.h"
#include "invoice/layout/InvoiceStrings.h"
#include "invoice/layout/LayoutEdits.h"
#include "invoice/variants/InvoiceReportStandard.h"
#include "library/InvoiceVariant.h"
#include "report/engine/ReportChildBand.h"
#include "report/engine/ReportGroup.h"
#include "report/engine/ReportImage.h"
#include "report/engine/ReportShape.h"
#include "report/engine/ReportSubDetail.h"

namespace TDInvoice::Testing {
namespace {

namespace L = Layout;
namespace R = Report;

using TFormPtr = std::unique_ptr<TInvoiceReportForm>;

constexpr TInvoiceVariant kVariants[] = {TInvoiceVariant::Standard,   TInvoiceVariant::Extend,
                                         TInvoiceVariant::CreditCard, TInvoiceVariant::ExtendCC,
                                         TInvoiceVariant::BPAY,       TInvoiceVariant::BPAYCC};

std::vector<TFormPtr> everyForm() {
  std::vector<TFormPtr> forms;
  forms.emplace_back(TForm::create<TProbeForm>(nullptr));
  for (TInvoiceVariant variant : kVariants)
    forms.emplace_back(createInvoiceReportForm(variant, nullptr));
  return forms;
}

QString text(std::string_view value) {
  return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

void expectFont(const R::TFontSpec &actual, const L::TFontDesc &expected,
                const std::string &where) {
  EXPECT_EQ(actual.family, text(expected.family)) << where;
  EXPECT_EQ(actual.pointSize, expected.size) << where;
  EXPECT_EQ(actual.bold, expected.bold) << where;
  EXPECT_EQ(actual.italic, expected.italic) << where;
  EXPECT_EQ(actual.underline, expected.underline) << where;
  EXPECT_EQ(actual.color, expected.color) << where;
}

void expectFrame(const R::TReportFrame &actual, const L::TFrameDesc &expected,
                 const std::string &where) {
  EXPECT_EQ(actual.DrawTop, expected.drawTop) << where;
  EXPECT_EQ(actual.DrawBottom, expected.drawBottom) << where;
  EXPECT_EQ(actual.DrawLeft, expected.drawLeft) << where;
  EXPECT_EQ(actual.DrawRight, expected.drawRight) << where;
  EXPECT_EQ(actual.Style, expected.style == L::TPenStyle::psDash ? Qt::DashLine : Qt::SolidLine)
      << where;
  EXPECT_EQ(actual.Width, expected.width) << where;
}

TEST(FormLayoutTest, ReportTakesThePageOptionsAndSettingsOfItsLayout) {
  for (const TFormPtr &form : everyForm()) {
    const L::TReportDesc layout = L::layoutFor(form->formClass());
    const R::TReport &report = *form->Report1();
    SCOPED_TRACE(layout.formClassName);
    EXPECT_EQ(report.Name(), text(layout.name));
    EXPECT_EQ(report.Page().Values(), L::pageValues(layout.page));
    EXPECT_EQ(report.Page().PaperSize(), R::TReportPaperSize::A4);
    EXPECT_EQ(report.Page().Orientation(), R::TReportOrientation::poPortrait);
    EXPECT_EQ(report.Page().Columns(), layout.page.columns);
    EXPECT_EQ(report.Units(), R::TReportUnit::MM);
    EXPECT_EQ(report.Zoom(), layout.zoom);
    expectFont(report.Font(), layout.font, "report font");
    EXPECT_EQ(report.Options(),
              R::TReportOption::FirstPageHeader | R::TReportOption::LastPageFooter);
    EXPECT_EQ(report.PrintIfEmpty(), layout.printIfEmpty);
    EXPECT_EQ(report.ReportTitle(), text(layout.reportTitle));
    EXPECT_EQ(report.PrinterSettings().Copies, layout.printerSettings.Copies);
    EXPECT_EQ(report.PrinterSettings().Duplex, layout.printerSettings.Duplex);
    EXPECT_EQ(report.PrinterSettings().FirstPage, 0);
    EXPECT_EQ(report.PrinterSettings().LastPage, 0);
    EXPECT_EQ(report.PrinterSettings().OutputBin, TReportBin::Auto);
    EXPECT_EQ(report.DataSet(), form->ADODataSet1());
    EXPECT_TRUE(static_cast<bool>(report.BeforePrint));
    for (const auto &[name, data] : layout.functions)
      EXPECT_TRUE(report.Functions().contains(text(name))) << name;
    EXPECT_EQ(form->findComponent<R::TReport>("Report1"), &report);
  }
}

void expectLinks(const TInvoiceReportForm &form, const L::TBandDesc &desc,
                 const R::TReportCustomBand &band) {
  const std::string where(desc.name);
  auto named = [&form](std::string_view name) -> QObject * {
    return name.empty() ? nullptr : form.findComponentObject(name);
  };
  EXPECT_EQ(band.LinkBand(), named(desc.linkBand)) << where;
  auto masterOf = [&](std::string_view name) -> QObject * {
    return name == "Report1" ? form.Report1() : named(name);
  };
  switch (desc.bandClass) {
  case L::TBandClass::TReportGroup: {
    const auto *group = dynamic_cast<const R::TReportGroup *>(&band);
    ASSERT_NE(group, nullptr) << where;
    EXPECT_EQ(group->Expression(), text(desc.expression)) << where;
    EXPECT_EQ(group->Master(), masterOf(desc.master)) << where;
    EXPECT_EQ(group->FooterBand(), named(desc.footerBand)) << where;
    EXPECT_EQ(group->ReprintOnNewPage(), desc.reprintOnNewPage) << where;
    break;
  }
  case L::TBandClass::TReportSubDetail: {
    const auto *sub = dynamic_cast<const R::TReportSubDetail *>(&band);
    ASSERT_NE(sub, nullptr) << where;
    EXPECT_EQ(sub->Master(), masterOf(desc.master)) << where;
    EXPECT_EQ(sub->HeaderBand(), named(desc.headerBand)) << where;
    EXPECT_EQ(sub->FooterBand(), named(desc.footerBand)) << where;
    EXPECT_EQ(sub->PrintIfEmpty(), desc.printIfEmpty) << where;
    EXPECT_EQ(sub->PrintBefore(), desc.printBefore) << where;
    EXPECT_EQ(sub->DataSet(), nullptr) << where;
    EXPECT_EQ(static_cast<bool>(sub->OnNeedData), !desc.onNeedData.empty()) << where;
    break;
  }
  case L::TBandClass::TReportChildBand: {
    const auto *child = dynamic_cast<const R::TReportChildBand *>(&band);
    ASSERT_NE(child, nullptr) << where;
    EXPECT_EQ(child->ParentBand(), named(desc.parentBand)) << where;
    break;
  }
  case L::TBandClass::TReportBand:
    EXPECT_NE(dynamic_cast<const R::TReportBand *>(&band), nullptr) << where;
    break;
  }
}

TEST(FormLayoutTest, BandsFollowTheLayoutInOrderClassLinksAndOptions) {
  for (const TFormPtr &form : everyForm()) {
    const L::TReportDesc layout = L::layoutFor(form->formClass());
    SCOPED_TRACE(layout.formClassName);
    const std::vector<R::TReportCustomBand *> bands = form->Report1()->bandList();
    ASSERT_EQ(bands.size(), layout.bands.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
      const L::TBandDesc &desc = layout.bands[i];
      const R::TReportCustomBand &band = *bands[i];
      const std::string where(desc.name);
      EXPECT_EQ(band.Name(), text(desc.name));
      EXPECT_EQ(static_cast<int>(band.BandType()), static_cast<int>(desc.bandType)) << where;
      EXPECT_DOUBLE_EQ(band.length(), desc.height.native()) << where;
      EXPECT_EQ(band.ForceNewPage(), desc.forceNewPage) << where;
      EXPECT_EQ(band.AlignToBottom(), desc.alignToBottom) << where;
      EXPECT_EQ(band.Color(), desc.color) << where;
      EXPECT_EQ(static_cast<bool>(band.BeforePrint), !desc.beforePrint.empty()) << where;
      expectFrame(band.Frame(), desc.frame, where);
      if (desc.font)
        expectFont(band.Font(), *desc.font, where);
      else
        EXPECT_TRUE(band.ParentFont()) << where;
      expectLinks(*form, desc, band);
      EXPECT_EQ(form->findComponent<R::TReportCustomBand>(desc.name), &band) << where;
    }
  }
}

void expectLabel(const L::TReportDesc &layout, const L::TBandDesc *band,
                 const L::TPrintableDesc &desc, const R::TReportCustomLabel &label) {
  const std::string where(desc.name);
  EXPECT_EQ(static_cast<int>(label.Alignment()), static_cast<int>(desc.alignment)) << where;
  EXPECT_EQ(label.AutoSize(), desc.autoSize) << where;
  EXPECT_EQ(label.WordWrap(), desc.wordWrap) << where;
  EXPECT_EQ(label.AutoStretch(), desc.autoStretch) << where;
  EXPECT_EQ(label.Transparent(), desc.transparent) << where;
  EXPECT_EQ(label.Color(), desc.color) << where;
  if (band)
    expectFont(label.Font(), L::effectiveFont(layout, *band, desc), where);
  if (const auto *caption = dynamic_cast<const R::TReportLabel *>(&label)) {
    EXPECT_EQ(caption->Caption(), text(desc.caption)) << where;
  }
  // An auto-sized label takes the width of its text and keeps the edge its alignment names.
  EXPECT_DOUBLE_EQ(label.nativeTop(), desc.top.native()) << where;
  if (!desc.autoSize) {
    EXPECT_DOUBLE_EQ(label.nativeLeft(), desc.left.native()) << where;
    EXPECT_DOUBLE_EQ(label.nativeWidth(), desc.width.native()) << where;
  } else if (desc.alignment == L::TAlignment::taLeftJustify) {
    EXPECT_DOUBLE_EQ(label.nativeLeft(), desc.left.native()) << where;
  } else if (desc.alignment == L::TAlignment::taRightJustify) {
    EXPECT_NEAR(label.nativeLeft() + label.nativeWidth(), desc.left.native() + desc.width.native(),
                R::nativeFromPixels(1))
        << where;
  }
}

void expectPrintable(const TInvoiceReportForm &form, const L::TReportDesc &layout,
                     const L::TBandDesc *band, const L::TPrintableDesc &desc) {
  const std::string where(desc.name);
  auto *printable = form.findComponent<R::TReportPrintable>(desc.name);
  ASSERT_NE(printable, nullptr) << where;
  const QObject *parent = band ? form.findComponentObject(band->name) : form.Report1();
  EXPECT_EQ(printable->parentControl(), parent) << where;
  EXPECT_EQ(printable->Enabled(), desc.enabled) << where;
  switch (desc.kind) {
  case L::TPrintableKind::Label:
  case L::TPrintableKind::Memo: {
    const auto *label = dynamic_cast<R::TReportCustomLabel *>(printable);
    ASSERT_NE(label, nullptr) << where;
    EXPECT_EQ(dynamic_cast<R::TReportMemo *>(printable) != nullptr,
              desc.kind == L::TPrintableKind::Memo)
        << where;
    expectLabel(layout, band, desc, *label);
    return;
  }
  case L::TPrintableKind::RichText: {
    const auto *rich = dynamic_cast<R::TReportRichText *>(printable);
    ASSERT_NE(rich, nullptr) << where;
    EXPECT_EQ(rich->AutoStretch(), desc.autoStretch) << where;
    EXPECT_EQ(static_cast<int>(rich->Alignment()), static_cast<int>(desc.alignment)) << where;
    if (band)
      expectFont(rich->Font(), L::effectiveFont(layout, *band, desc), where);
    break;
  }
  case L::TPrintableKind::Shape: {
    const auto *shape = dynamic_cast<R::TReportShape *>(printable);
    ASSERT_NE(shape, nullptr) << where;
    EXPECT_EQ(static_cast<int>(shape->Shape()), static_cast<int>(desc.shape)) << where;
    EXPECT_EQ(shape->Pen().color, desc.pen.color) << where;
    EXPECT_EQ(shape->Pen().width, desc.pen.width) << where;
    EXPECT_EQ(shape->Brush().color, desc.brush.color) << where;
    EXPECT_EQ(shape->Brush().solid, desc.brush.style == L::TBrushStyle::bsSolid) << where;
    break;
  }
  case L::TPrintableKind::Image: {
    const auto *image = dynamic_cast<R::TReportImage *>(printable);
    ASSERT_NE(image, nullptr) << where;
    EXPECT_EQ(image->Stretch(), desc.stretch) << where;
    break;
  }
  }
  EXPECT_DOUBLE_EQ(printable->nativeLeft(), desc.left.native()) << where;
  EXPECT_DOUBLE_EQ(printable->nativeTop(), desc.top.native()) << where;
  EXPECT_DOUBLE_EQ(printable->nativeWidth(), desc.width.native()) << where;
  EXPECT_DOUBLE_EQ(printable->nativeHeight(), desc.height.native()) << where;
}

TEST(FormLayoutTest, PrintablesSitOnTheirBandsWithTheLayoutsBoxFontAndOptions) {
  for (const TFormPtr &form : everyForm()) {
    const L::TReportDesc layout = L::layoutFor(form->formClass());
    SCOPED_TRACE(layout.formClassName);
    for (const L::TPrintableDesc &desc : layout.printables)
      expectPrintable(*form, layout, nullptr, desc);
    for (const L::TBandDesc &band : layout.bands) {
      const auto *engineBand = form->findComponent<R::TReportCustomBand>(band.name);
      ASSERT_NE(engineBand, nullptr);
      const std::vector<R::TReportPrintable *> printables = engineBand->printables();
      ASSERT_EQ(printables.size(), band.printables.size()) << band.name;
      for (std::size_t i = 0; i < printables.size(); ++i) {
        // Later printables cover earlier ones, so the order is the layout's.
        EXPECT_EQ(printables[i]->Name(), text(band.printables[i].name)) << band.name;
        expectPrintable(*form, layout, &band, band.printables[i]);
      }
    }
  }
}

// A form whose slip handler and report handler replace the base's, calling it first.
class TRenamingForm : public TInvoiceReportStandard {
public:
  explicit TRenamingForm(QObject *owner) : TInvoiceReportStandard(owner, L::TFormClass::Standard) {}
  int preparations = 0;

protected:
  void Report1BeforePrint(R::TCustomReport *Sender, bool &PrintReport) override {
    TInvoiceReportStandard::Report1BeforePrint(Sender, PrintReport);
    ++preparations;
  }
  void InvoiceFooterBeforePrint(R::TReportCustomBand *Sender, bool &PrintBand) override {
    TInvoiceReportStandard::InvoiceFooterBeforePrint(Sender, PrintBand);
    R::TReportLabel &reference = label("lblBPAYCustRef");
    reference.setCaption(QStringLiteral("Ref ") + reference.Caption());
  }
};

TEST(FormLayoutTest, AnOverrideOfAHandlersNameReplacesTheBaseHandler) {
  TInvoiceDatabase db;
  // With direct credit offered, so that the Standard slip prints the customer reference.
  db.setService({.PaymentOptions = 1 | 2 | 4});
  db.addPlainInvoice(1001, 1);
  std::unique_ptr<TRenamingForm> form(TForm::create<TRenamingForm>(nullptr));
  const Intake::THostCallbacks callbacks = Host::TestHost::callbacks();
  form->setOnGetDataPacket(callbacks.OnGetDataPacket);
  form->setOnGetLocations(callbacks.OnGetLocations);
  form->setOnGetInvoiceMessage(callbacks.OnGetInvoiceMessage);
  form->setOnGetFamilyChildren(callbacks.OnGetFamilyChildren);
  form->setOnGetInvoiceFundingKeys(callbacks.OnGetInvoiceFundingKeys);
  form->setOnFillInvoiceHistory(callbacks.OnFillInvoiceHistory);
  form->LoadDataSet(TInvoiceReportRun::kInvoicesSql);
  const std::unique_ptr<R::TReportPrinter> printer = form->Report1()->record();
  EXPECT_EQ(form->preparations, 1);
  // The data set's query, then the preparation's first.
  ASSERT_GE(db.host().sqlLog().size(), 2);
  EXPECT_EQ(db.host().sqlLog()[1], QString::fromLatin1(InvoiceStrings::SQL_ServiceDetails));
  const std::unique_ptr<TMetaPage> page = printer->getPage(1);
  ASSERT_NE(page, nullptr);
  QStringList texts;
  for (const R::TMetaElement &element : page->elements())
    if (const auto *t = std::get_if<TMetaText>(&element))
      texts << t->text;
  EXPECT_TRUE(texts.contains(QStringLiteral("Ref 100017")));
  EXPECT_TRUE(texts.contains(QStringLiteral("Nguyen: Lan Nguyen"))) << "the base handler ran";
}

// Handlers for a layout under test: every name known, or none.
class TStubHandlers : public TLayoutHandlers {
public:
  explicit TStubHandlers(bool known) : m_known(known) {}
  R::TCustomReport::TBeforePrintEvent reportBeforePrint(std::string_view) override {
    return m_known ? R::TCustomReport::TBeforePrintEvent([](R::TCustomReport *, bool &) {})
                   : nullptr;
  }
  R::TReportCustomBand::TBeforePrintEvent bandBeforePrint(std::string_view) override {
    return m_known ? R::TReportCustomBand::TBeforePrintEvent([](R::TReportCustomBand *, bool &) {})
                   : nullptr;
  }
  R::TReportSubDetail::TNeedDataEvent needData(std::string_view) override {
    return m_known ? R::TReportSubDetail::TNeedDataEvent([](QObject *, bool &) {}) : nullptr;
  }

private:
  bool m_known;
};

TEST(FormLayoutTest, LayoutFaultsAreReportedWhenTheFormIsBuilt) {
  struct TCase {
    const char *what;
    void (*edit)(L::TReportDesc &);
    bool handlersKnown;
    const char *message;
  } cases[] = {
      {"unknown handler", [](L::TReportDesc &) {}, false,
       "The form has no handler Report1BeforePrint"},
      {"link to a missing band",
       [](L::TReportDesc &r) { L::findBand(r, "subdtlInvMsg")->linkBand = "NoSuchBand"; }, true,
       "Band subdtlInvMsg links to NoSuchBand, which the layout lacks"},
      {"child of a missing band",
       [](L::TReportDesc &r) { L::findBand(r, "ChildBand1")->parentBand = "Nowhere"; }, true,
       "Band ChildBand1 links to Nowhere, which the layout lacks"},
      {"unknown paper", [](L::TReportDesc &r) { r.page.paperSize = "A7"; }, true,
       "Unknown paper size \"A7\""},
      {"unknown unit", [](L::TReportDesc &r) { r.units = "Furlongs"; }, true,
       "Unknown unit \"Furlongs\""},
      {"need data on a plain band",
       [](L::TReportDesc &r) { L::findBand(r, "DetailBand1")->onNeedData = "x"; }, true,
       "Band DetailBand1 is not a sub-detail and has no data event"},
  };
  for (const TCase &c : cases) {
    L::TReportDesc layout = L::layoutFor(L::TFormClass::Base);
    c.edit(layout);
    QObject form;
    TADODataSetComponent dataSet(&form, QStringLiteral("ADODataSet1"));
    TStubHandlers handlers(c.handlersKnown);
    try {
      buildFormLayout(form, layout, handlers, dataSet);
      ADD_FAILURE() << c.what << ": built";
    } catch (const L::ELayoutError &error) {
      EXPECT_EQ(std::string(error.what()), c.message) << c.what;
    }
  }
}

TEST(FormLayoutTest, PicturesComeFromTheRegistryAndAMissingOneLeavesItsBoxEmpty) {
  QImage logo(135, 206, QImage::Format_Mono);
  logo.fill(0);
  registerInvoicePicture(L::kPictureBpayLogo, {logo, {}});
  const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>";
  registerInvoicePicture(L::kPictureBpayInstructions, {{}, svg});
  unregisterInvoicePicture(L::kPictureBpayTrademark);
  TFormPtr form(createInvoiceReportForm(TInvoiceVariant::BPAY, nullptr));
  const auto *logoImage = form->findComponent<R::TReportImage>("Image1");
  const auto *instructions = form->findComponent<R::TReportImage>("Image2");
  const auto *trademark = form->findComponent<R::TReportImage>("Image3");
  ASSERT_TRUE(logoImage && instructions && trademark);
  EXPECT_EQ(logoImage->bitmap().size(), logo.size());
  EXPECT_EQ(instructions->svg(), svg);
  EXPECT_FALSE(trademark->hasPicture());
  unregisterInvoicePicture(L::kPictureBpayLogo);
  unregisterInvoicePicture(L::kPictureBpayInstructions);
  TFormPtr without(createInvoiceReportForm(TInvoiceVariant::BPAY, nullptr));
  EXPECT_FALSE(without->findComponent<R::TReportImage>("Image1")->hasPicture());

  // Printing the slip draws the registered pictures and nothing for the missing one.
  TInvoiceDatabase db;
  db.setService();
  db.addPlainInvoice(1001, 1);
  registerInvoicePicture(L::kPictureBpayLogo, {logo, {}});
  TInvoiceReportRun run(3);
  unregisterInvoicePicture(L::kPictureBpayLogo);
  run.load();
  run.run();
  ASSERT_EQ(run.pages().size(), 1u);
  int images = 0, pictures = 0;
  for (const R::TMetaElement &element : run.pages()[0].elements()) {
    images += std::holds_alternative<R::TMetaImage>(element);
    pictures += std::holds_alternative<R::TMetaPicture>(element);
  }
  EXPECT_EQ(images, 1);
  EXPECT_EQ(pictures, 0);
}

} // namespace
} // namespace TDInvoice::Testing
