#include "framework/ApplicationObjects.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace TDInvoice {
namespace {

// Each test starts with the module's own objects current and nothing of a host installed.
class ApplicationObjectsTest : public ::testing::Test {
protected:
  void TearDown() override {
    destroyOwnApplicationObjects();
    createOwnApplicationObjects();
  }

  TApplication FHostApplication{QCoreApplication::instance()};
  TScreen FHostScreen{nullptr, 120};
};

TEST_F(ApplicationObjectsTest, OwnObjectsAreCurrentAfterLoadAndCarryNoQtApplication) {
  ASSERT_NE(ownApplication(), nullptr);
  ASSERT_NE(ownScreen(), nullptr);
  EXPECT_EQ(currentApplication(), ownApplication());
  EXPECT_EQ(currentScreen(), ownScreen());
  EXPECT_EQ(ownApplication()->qtApplication(), nullptr);
  EXPECT_EQ(ownScreen()->pixelsPerInch(), 96);
  EXPECT_EQ(ownScreen()->qtScreen(), nullptr);
}

TEST_F(ApplicationObjectsTest, InstallingTheHostsSavesOursAndRestoringBringsThemBack) {
  TApplication *own = currentApplication();
  TScreen *ownScr = currentScreen();
  installHostApplicationObjects(&FHostApplication, &FHostScreen);
  EXPECT_EQ(currentApplication(), &FHostApplication);
  EXPECT_EQ(currentScreen(), &FHostScreen);
  EXPECT_EQ(savedApplication(), own);
  EXPECT_EQ(savedScreen(), ownScr);
  EXPECT_EQ(currentApplication()->qtApplication(), QCoreApplication::instance());
  EXPECT_EQ(currentScreen()->pixelsPerInch(), 120);

  restoreSavedApplicationObjects();
  EXPECT_EQ(currentApplication(), own);
  EXPECT_EQ(currentScreen(), ownScr);
}

// Installing twice saves whatever is current, which is then the host's pair: the host must
// pair each install with one restore.
TEST_F(ApplicationObjectsTest, InstallingTwiceSavesTheHostsObjects) {
  TApplication secondApplication(nullptr);
  TScreen secondScreen(nullptr, 72);
  installHostApplicationObjects(&FHostApplication, &FHostScreen);
  installHostApplicationObjects(&secondApplication, &secondScreen);
  EXPECT_EQ(savedApplication(), &FHostApplication);
  EXPECT_EQ(savedScreen(), &FHostScreen);
  restoreSavedApplicationObjects();
  EXPECT_EQ(currentApplication(), &FHostApplication);
  EXPECT_EQ(currentScreen(), &FHostScreen);
}

// Unloading while the host's objects are still installed must not destroy them (they are
// the host's, here on the stack) nor leave our destroyed ones behind as "saved".
TEST_F(ApplicationObjectsTest, UnloadWithTheHostsObjectsInstalledLeavesThemAlone) {
  installHostApplicationObjects(&FHostApplication, &FHostScreen);
  destroyOwnApplicationObjects();
  EXPECT_EQ(ownApplication(), nullptr);
  EXPECT_EQ(ownScreen(), nullptr);
  EXPECT_EQ(savedApplication(), nullptr);
  EXPECT_EQ(savedScreen(), nullptr);
  EXPECT_EQ(currentApplication(), &FHostApplication);
  EXPECT_EQ(currentScreen(), &FHostScreen);
}

TEST_F(ApplicationObjectsTest, UnloadWithOurObjectsCurrentLeavesNothingCurrent) {
  destroyOwnApplicationObjects();
  EXPECT_EQ(currentApplication(), nullptr);
  EXPECT_EQ(currentScreen(), nullptr);
}

} // namespace
} // namespace TDInvoice
