// The component model: visual lists, links, attached bands and inherited fonts.
#include "EngineTestSupport.h"

#include "TDInvoice/Exceptions.h"

namespace TDInvoice::Testing {
namespace {

class ModelTest : public EngineTest {};

TEST_F(ModelTest, LinksThatCloseALoopAreRefused) {
  TReportBand *a = addBand(*report, {.name = "a", .height = 100});
  TReportBand *b = addBand(*report, {.name = "b", .height = 100});
  TReportBand *c = addBand(*report, {.name = "c", .height = 100});
  a->setLinkBand(b);
  b->setLinkBand(c);
  for (TReportBand *closing : {a, b, c}) {
    EXPECT_EQ(thrownMessage<EReportError>([&] { c->setLinkBand(closing); }),
              "Circular linking not allowed")
        << closing->Name().toStdString();
  }
  EXPECT_EQ(c->LinkBand(), nullptr);
  EXPECT_EQ(b->LinkBand(), c);
}

TEST_F(ModelTest, MastersThatCloseALoopAreRefused) {
  TReportSubDetail *outer = addSubDetail(*report, {.band = {.name = "outer", .height = 50}});
  TReportSubDetail *inner =
      addSubDetail(*report, {.band = {.name = "inner", .height = 50}, .master = outer});
  EXPECT_EQ(inner->Master(), outer);
  EXPECT_EQ(outer->Master(), report);
  for (TReportSubDetail *closing : {inner, outer})
    EXPECT_EQ(thrownMessage<EReportError>([&] { outer->setMaster(closing); }),
              "Circular linking not allowed");
  EXPECT_EQ(outer->Master(), report);
  TReportBand *plain = addBand(*report, {.name = "plain", .height = 50});
  EXPECT_THROW(inner->setMaster(plain), EReportError);
}

TEST_F(ModelTest, AttachedBandsTakeTheirTypes) {
  TReportBand *groupFooter = addBand(*report, {.name = "gf", .type = TReportBandType::rbDetail});
  TReportBand *subFooter = addBand(*report, {.name = "sf", .type = TReportBandType::rbTitle});
  TReportBand *subHeader = addBand(*report, {.name = "sh", .type = TReportBandType::rbSummary});
  TReportGroup *group = addGroup(*report, {.band = {.name = "g"}, .footer = groupFooter});
  TReportSubDetail *sub =
      addSubDetail(*report, {.band = {.name = "s"}, .header = subHeader, .footer = subFooter});
  EXPECT_EQ(group->BandType(), TReportBandType::rbGroupHeader);
  EXPECT_EQ(sub->BandType(), TReportBandType::rbSubDetail);
  EXPECT_EQ(groupFooter->BandType(), TReportBandType::rbGroupFooter);
  EXPECT_EQ(subFooter->BandType(), TReportBandType::rbGroupFooter);
  EXPECT_EQ(subHeader->BandType(), TReportBandType::rbGroupHeader);
  EXPECT_TRUE(sub->Bands().HasHeader());
  EXPECT_TRUE(sub->Bands().HasFooter());
}

TEST_F(ModelTest, SubDetailCreatesAndDropsItsHeaderAndFooter) {
  TReportSubDetail *sub = addSubDetail(*report, {.band = {.name = "s", .height = 50}});
  sub->Bands().setHasHeader(true);
  sub->Bands().setHasFooter(true);
  const auto bands = report->bandList();
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(bands[0], sub->HeaderBand());
  EXPECT_EQ(bands[1], sub);
  EXPECT_EQ(bands[2], sub->FooterBand());
  EXPECT_EQ(sub->HeaderBand()->BandType(), TReportBandType::rbGroupHeader);
  sub->Bands().setHasHeader(false);
  EXPECT_EQ(sub->HeaderBand(), nullptr);
  EXPECT_EQ(report->bandList().size(), 2u);
}

TEST_F(ModelTest, HasChildCreatesTheFirstChildAfterItsParent) {
  TReportBand *a = addBand(*report, {.name = "a", .height = 50});
  TReportBand *b = addBand(*report, {.name = "b", .height = 50});
  EXPECT_FALSE(a->HasChild());
  a->setHasChild(true);
  ASSERT_TRUE(a->HasChild());
  const auto bands = report->bandList();
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(bands[1], a->ChildBand());
  EXPECT_EQ(bands[2], b);
  EXPECT_EQ(a->ChildBand()->BandType(), TReportBandType::rbChild);
  EXPECT_EQ(a->ChildBand()->ParentBand(), a);
  a->setHasChild(false);
  EXPECT_FALSE(a->HasChild());
  EXPECT_EQ(report->bandList().size(), 2u);
}

TEST_F(ModelTest, ChildChainsCannotLoop) {
  TReportBand *a = addBand(*report, {.name = "a", .height = 50});
  TReportChildBand *c1 = addChildBand(*report, *a, {.name = "c1"});
  TReportChildBand *c2 = addChildBand(*report, *c1, {.name = "c2"});
  EXPECT_EQ(thrownMessage<EReportError>([&] { c1->setParentBand(c2); }),
            "Circular linking not allowed");
  EXPECT_EQ(c2->ruleType(), TReportBandType::rbDetail);
}

TEST_F(ModelTest, PrintablesKeepTheirListOrderAndInsertAtPositions) {
  TReportBand *b = addBand(*report, {.name = "b", .height = 50});
  std::vector<TReportLabel *> labels;
  for (const char *name : {"first", "second", "third"})
    labels.push_back(addLabel(*b, {.name = name}));
  TReportLabel *inserted = addLabel(*b, {.name = "inserted", .position = 1});
  const std::vector<TReportPrintable *> expected{labels[0], inserted, labels[1], labels[2]};
  EXPECT_EQ(b->printables(), expected);
  // Every component belongs to the form, in creation order.
  EXPECT_EQ(inserted->parent(), &form);
  EXPECT_EQ(findComponent<TReportLabel>(*report, "second"), labels[1]);
  EXPECT_EQ(findComponent<TReportShape>(*report, "second"), nullptr);
}

TEST_F(ModelTest, DestroyingComponentsInAnyOrderLeavesNoDanglingEntries) {
  TReportBand *b = addBand(*report, {.name = "b", .height = 50});
  TReportLabel *label = addLabel(*b, {.name = "l"});
  TReportBand *other = addBand(*report, {.name = "o", .height = 50});
  other->setLinkBand(b);
  delete label;
  EXPECT_TRUE(b->printables().empty());
  delete b;
  EXPECT_EQ(other->LinkBand(), nullptr);
  EXPECT_EQ(report->bandList().size(), 1u);
}

TEST_F(ModelTest, FontsComeFromTheParentUntilSetOwn) {
  TReportBand *b = addBand(*report, {.name = "b", .height = 50});
  TReportLabel *inherits = addLabel(*b, {.name = "inherits"});
  TReportLabel *own = addLabel(*b, {.name = "own", .font = makeFont("Courier New", 9)});
  const TFontSpec bandFont = makeFont("Times New Roman", 8, TFontStyle::Bold | TFontStyle::Italic);
  b->setFont(bandFont);
  EXPECT_EQ(inherits->Font(), bandFont);
  EXPECT_EQ(own->Font().family, QStringLiteral("Courier New"));
  b->setParentFont(true);
  EXPECT_EQ(inherits->Font(), report->Font());
  // A positive FontSize replaces the point size.
  own->setFontSize(14);
  EXPECT_DOUBLE_EQ(own->Font().pointSize, 14.0);
  own->setFontSize(0);
  EXPECT_DOUBLE_EQ(own->Font().pointSize, 14.0);
}

TEST_F(ModelTest, SpecialBandsAreTheFirstOfTheirType) {
  TReportBand *detail1 = addBand(*report, {.name = "d1", .type = TReportBandType::rbDetail});
  addBand(*report, {.name = "d2", .type = TReportBandType::rbDetail});
  TReportBand *summary = addBand(*report, {.name = "s", .type = TReportBandType::rbSummary});
  EXPECT_EQ(report->Bands().DetailBand(), detail1);
  EXPECT_EQ(report->Bands().SummaryBand(), summary);
  EXPECT_EQ(report->Bands().TitleBand(), nullptr);
}

TEST_F(ModelTest, ReportUnitsApplyToEverySize) {
  TReportBand *b = addBand(*report, {.name = "b", .height = 254});
  TReportLabel *label = addLabel(*b, {.name = "l", .box = {127, 0, 254, 45}});
  report->setUnits(TReportUnit::Inches);
  EXPECT_DOUBLE_EQ(b->Size().Height(), 1.0);
  EXPECT_DOUBLE_EQ(label->Size().Left(), 0.5);
  EXPECT_DOUBLE_EQ(report->Page().Width(), 2100.0 / 254.0);
}

} // namespace
} // namespace TDInvoice::Testing
