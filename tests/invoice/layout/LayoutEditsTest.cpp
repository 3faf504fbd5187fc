#include "invoice/layout/LayoutEdits.h"
#include "invoice/layout/InvoiceLayouts.h"

#include <gtest/gtest.h>

#include <string>

namespace TDInvoice::Layout {
namespace {

TPrintableDesc labelAt(std::string_view name, double left) {
  TPrintableDesc p;
  p.name = name;
  p.left = mm(left);
  p.top = mm(1.0);
  p.width = mm(10.0);
  p.height = mm(4.5);
  return p;
}

class LayoutEditsTest : public ::testing::Test {
protected:
  LayoutEditsTest() {
    report.formClassName = "TFixture";
    report.name = "Report1";
    report.dataSet = "ADODataSet1";
    report.font = {"Arial", 10};
    TBandDesc a;
    a.name = "A";
    a.height = mm(10.0);
    a.printables = {labelAt("p1", 1.0), labelAt("p2", 20.0)};
    a.printables[1].font = TFontDesc{"Arial", 9, true};
    TBandDesc b;
    b.name = "B";
    b.height = mm(5.0);
    b.font = TFontDesc{"Times New Roman", 8, true, true};
    b.printables = {labelAt("q1", 1.0)};
    report.bands = {a, b};
  }

  std::string failure(const TLayoutEdit &edit) {
    try {
      applyEdits(report, std::span(&edit, 1));
    } catch (const ELayoutError &error) {
      return error.what();
    }
    ADD_FAILURE() << "the edit was accepted";
    return {};
  }

  std::vector<std::string_view> names(std::string_view band) {
    std::vector<std::string_view> list;
    for (const TPrintableDesc &p : findBand(report, band)->printables) {
      list.push_back(p.name);
    }
    return list;
  }

  TReportDesc report;
};

TPrintableChange widthTo(double width) {
  TPrintableChange c;
  c.width = mm(width);
  return c;
}

TEST_F(LayoutEditsTest, RejectsEditsOfMissingComponents) {
  EXPECT_EQ(failure(TChangePrintable{"A", "nope", widthTo(5.0)}),
            "Band \"A\" of layout \"TFixture\" has no printable \"nope\"");
  // A printable of another band is not found either.
  EXPECT_EQ(failure(TChangePrintable{"A", "q1", widthTo(5.0)}),
            "Band \"A\" of layout \"TFixture\" has no printable \"q1\"");
  EXPECT_EQ(failure(TChangePrintable{"C", "p1", widthTo(5.0)}),
            "Layout \"TFixture\" has no band \"C\"");
  EXPECT_EQ(failure(TChangeBand{"C", mm(3.0), {}}), "Layout \"TFixture\" has no band \"C\"");
  EXPECT_EQ(failure(TAddPrintable{"C", labelAt("new", 1.0), {}}),
            "Layout \"TFixture\" has no band \"C\"");
}

TEST_F(LayoutEditsTest, RejectsNamesTheFormAlreadyHas) {
  for (std::string_view taken : {"p1", "q1", "B", "Report1", "ADODataSet1"}) {
    EXPECT_EQ(failure(TAddPrintable{"A", labelAt(taken, 1.0), {}}),
              "Layout \"TFixture\" already has a component \"" + std::string(taken) + "\"");
  }
  EXPECT_EQ(names("A"), (std::vector<std::string_view>{"p1", "p2"}));
}

TEST_F(LayoutEditsTest, InsertsAtListPositionsOrAppends) {
  const TLayoutEdit edits[] = {
      TAddPrintable{"A", labelAt("x", 1.0), 1},    TAddPrintable{"A", labelAt("y", 1.0), 2},
      TAddPrintable{"A", labelAt("z", 1.0), {}},   TAddPrintable{"A", labelAt("first", 1.0), 0},
      TAddPrintable{"A", labelAt("last", 1.0), 6},
  };
  applyEdits(report, edits);
  EXPECT_EQ(names("A"),
            (std::vector<std::string_view>{"first", "p1", "x", "y", "p2", "z", "last"}));
  EXPECT_EQ(failure(TAddPrintable{"B", labelAt("far", 1.0), 2}),
            "Position 2 of \"far\" is outside the list of band \"B\" (1 printables)");
  EXPECT_EQ(failure(TAddPrintable{"B", labelAt("before", 1.0), -1}),
            "Position -1 of \"before\" is outside the list of band \"B\" (1 printables)");
  EXPECT_EQ(names("B"), (std::vector<std::string_view>{"q1"}));
}

TEST_F(LayoutEditsTest, RejectsEditsThatChangeNothing) {
  EXPECT_EQ(failure(TChangePrintable{"A", "p1", {}}), "The change of \"p1\" changes nothing");
  EXPECT_EQ(failure(TChangeBand{"A", {}, {}}), "The change of band \"A\" changes nothing");
}

TEST_F(LayoutEditsTest, ChangesOnlyTheGivenProperties) {
  TPrintableChange c;
  c.left = mm(5.0);
  c.caption = "New";
  c.enabled = false;
  const TLayoutEdit edits[] = {TChangePrintable{"A", "p1", c}, TChangeBand{"B", mm(7.0), {}}};
  applyEdits(report, edits);
  TPrintableDesc expected = labelAt("p1", 5.0);
  expected.caption = "New";
  expected.enabled = false;
  EXPECT_EQ(report.bands[0].printables[0], expected);
  EXPECT_EQ(report.bands[0].printables[1].left, mm(20.0));
  EXPECT_EQ(report.bands[1].height, mm(7.0));
  EXPECT_EQ(report.bands[1].font, (TFontDesc{"Times New Roman", 8, true, true}));
}

// A font change keeps the attributes it does not name, starting from the font the printable
// prints with, which then becomes its own.
TEST_F(LayoutEditsTest, FontChangesMergeIntoTheInheritedFont) {
  TPrintableChange notBold;
  notBold.font = TFontChange{.bold = false};
  TPrintableChange redOnBandFont;
  redOnBandFont.font = TFontChange{.color = clRed};
  TPrintableChange sized;
  sized.font = TFontChange{.size = 12};
  report.bands[0].printables[0].fontSize = 14;
  const TLayoutEdit edits[] = {TChangePrintable{"A", "p2", notBold},
                               TChangePrintable{"B", "q1", redOnBandFont},
                               TChangePrintable{"A", "p1", sized}};
  applyEdits(report, edits);
  EXPECT_EQ(report.bands[0].printables[1].font, (TFontDesc{"Arial", 9, false}));
  EXPECT_EQ(report.bands[1].printables[0].font,
            (TFontDesc{"Times New Roman", 8, true, true, false, clRed}));
  EXPECT_EQ(report.bands[0].printables[0].font, (TFontDesc{"Arial", 12}));
  EXPECT_EQ(report.bands[0].printables[0].fontSize, 0);
}

TEST(VariantEditsTest, EditsOnlyFitTheirOwnParent) {
  TReportDesc base = baseLayout();
  EXPECT_THROW(applyEdits(base, layoutEdits(TFormClass::BPAYCC)), ELayoutError);
  TReportDesc standard = layoutFor(TFormClass::Standard);
  EXPECT_THROW(applyEdits(standard, layoutEdits(TFormClass::CreditCard)), ELayoutError);
}

// A change that restates its parent's value is a slip: the edits state only what differs.
void expectEveryColumnDiffers(const TReportDesc &layout, const TChangePrintable &edit) {
  const TBandDesc &band = *findBand(layout, edit.band);
  const TPrintableDesc &p = *findPrintable(band, edit.printable);
  const TPrintableChange &c = edit.change;
  const std::string where = std::string(layout.formClassName) + " " + std::string(p.name);
  EXPECT_TRUE(!c.left || *c.left != p.left) << where << " left";
  EXPECT_TRUE(!c.top || *c.top != p.top) << where << " top";
  EXPECT_TRUE(!c.width || *c.width != p.width) << where << " width";
  EXPECT_TRUE(!c.height || *c.height != p.height) << where << " height";
  EXPECT_TRUE(!c.caption || *c.caption != p.caption) << where << " caption";
  EXPECT_TRUE(!c.alignment || *c.alignment != p.alignment) << where << " alignment";
  EXPECT_TRUE(!c.autoSize || *c.autoSize != p.autoSize) << where << " autosize";
  EXPECT_TRUE(!c.enabled || *c.enabled != p.enabled) << where << " enabled";
  EXPECT_TRUE(!c.picture || *c.picture != p.picture) << where << " picture";
  if (c.font) {
    TReportDesc changed = layout;
    const TLayoutEdit single = edit;
    applyEdits(changed, std::span(&single, 1));
    const TBandDesc &changedBand = *findBand(changed, edit.band);
    EXPECT_NE(effectiveFont(changed, changedBand, *findPrintable(changedBand, p.name)),
              effectiveFont(layout, band, p))
        << where << " font";
  }
}

TEST(VariantEditsTest, EveryChangeChangesWhatItNames) {
  for (TFormClass form : kAllFormClasses) {
    const std::optional<TFormClass> parent = parentFormClass(form);
    if (!parent) {
      continue;
    }
    TReportDesc layout = layoutFor(*parent);
    layout.formClassName = formClassName(form);
    for (const TLayoutEdit &edit : layoutEdits(form)) {
      if (const auto *change = std::get_if<TChangePrintable>(&edit)) {
        expectEveryColumnDiffers(layout, *change);
      } else if (const auto *bandChange = std::get_if<TChangeBand>(&edit)) {
        const TBandDesc &band = *findBand(layout, bandChange->band);
        EXPECT_TRUE(!bandChange->height || *bandChange->height != band.height) << band.name;
        EXPECT_TRUE(!bandChange->font || bandChange->font != band.font) << band.name;
      }
      applyEdits(layout, std::span(&edit, 1));
    }
  }
}

} // namespace
} // namespace TDInvoice::Layout
