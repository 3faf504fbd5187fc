#include "framework/Form.h"

#include "TDInvoice/Application.h"
#include "TDInvoice/SharedAllocator.h"
#include "framework/ApplicationObjects.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace TDInvoice {
namespace {

// What a probe form's destruction hook saw.
struct TDestroyLog {
  int hookRuns = 0;
  int baseHookRuns = 0;
  bool memberDestroyed = false;
  bool memberAliveInHook = false;
};

// Marks in the log when the most derived class's members are torn down.
struct TMemberProbe {
  TDestroyLog *log;
  ~TMemberProbe() { log->memberDestroyed = true; }
};

class TProbeBase : public TForm {
protected:
  TProbeBase(QObject *owner, TDestroyLog *log) : TForm(owner), FBaseLog(log) {}
  void FormDestroy() override { ++FBaseLog->baseHookRuns; }

private:
  TDestroyLog *FBaseLog;
};

class TProbeForm : public TProbeBase {
public:
  const char *formClassName() const override { return "TProbeForm"; }
  // Runs from inside one of the form's own events.
  std::function<void(TProbeForm &)> onEvent;
  int eventsAfterRelease = 0;

protected:
  TProbeForm(QObject *owner, TDestroyLog *log) : TProbeBase(owner, log), FMember{log} {}
  // The most derived override runs, while the most derived members still exist.
  void FormDestroy() override {
    ++FMember.log->hookRuns;
    FMember.log->memberAliveInHook = !FMember.log->memberDestroyed;
  }

private:
  TMemberProbe FMember;
};

// Runs the event loop as the host's GUI loop would: a release made while one turn handles
// an event takes effect in the next turn, so two turns see it through.
void processDeferredDeletes() {
  for (int turn = 0; turn < 2; ++turn) {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

TEST(FormOwnership, OwnerIsTheParentAndDestroysTheForm) {
  TDestroyLog log;
  auto owner = std::make_unique<QObject>();
  QPointer<TProbeForm> form = TForm::create<TProbeForm>(owner.get(), &log);
  EXPECT_EQ(form->owner(), owner.get());
  EXPECT_EQ(form->parent(), owner.get());
  EXPECT_STREQ(form->formClassName(), "TProbeForm");
  owner.reset();
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(log.hookRuns, 1);
  EXPECT_EQ(log.baseHookRuns, 0) << "only the most derived FormDestroy runs";
  EXPECT_TRUE(log.memberAliveInHook);
}

TEST(FormOwnership, FormWithoutOwnerLivesUntilReleased) {
  TDestroyLog log;
  QPointer<TProbeForm> form = TForm::create<TProbeForm>(nullptr, &log);
  EXPECT_EQ(form->owner(), nullptr);
  processDeferredDeletes();
  ASSERT_FALSE(form.isNull());
  form->release();
  EXPECT_FALSE(form.isNull()) << "release is deferred";
  EXPECT_EQ(log.hookRuns, 0);
  processDeferredDeletes();
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(log.hookRuns, 1);
  EXPECT_TRUE(log.memberAliveInHook);
}

// The form releases itself from inside its own queued event and goes on using itself
// afterwards; it must survive until the event has finished.
TEST(FormRelease, ReleaseFromInsideTheFormsOwnEventIsSafe) {
  TDestroyLog log;
  QPointer<TProbeForm> form = TForm::create<TProbeForm>(nullptr, &log);
  bool aliveAfterRelease = false;
  form->onEvent = [&](TProbeForm &self) {
    self.release();
    ++self.eventsAfterRelease; // touches the form after the release call
    aliveAfterRelease = !form.isNull() && log.hookRuns == 0 && self.eventsAfterRelease == 1;
  };
  QMetaObject::invokeMethod(
      form.data(), [f = form.data()] { f->onEvent(*f); }, Qt::QueuedConnection);
  EXPECT_FALSE(aliveAfterRelease) << "queued, not yet run";
  processDeferredDeletes();
  EXPECT_TRUE(aliveAfterRelease);
  EXPECT_TRUE(form.isNull()) << "gone once the loop has run";
  EXPECT_EQ(log.hookRuns, 1);
}

// The owner goes first while a release is pending: one destruction, and the pending one is
// dropped with the form.
TEST(FormRelease, OwnerDestroyedWhileReleasePendingDestroysOnce) {
  TDestroyLog log;
  auto owner = std::make_unique<QObject>();
  QPointer<TProbeForm> form = TForm::create<TProbeForm>(owner.get(), &log);
  form->release();
  form->release();
  owner.reset();
  EXPECT_TRUE(form.isNull());
  processDeferredDeletes();
  EXPECT_EQ(log.hookRuns, 1);
}

TEST(FormHeap, FormsLiveInTheSharedHeap) {
  TDestroyLog log;
  const std::int64_t before = sharedBlockCount();
  auto owner = std::make_unique<QObject>();
  TForm::create<TProbeForm>(owner.get(), &log);
  EXPECT_EQ(sharedBlockCount(), before + 1);
  owner.reset();
  EXPECT_EQ(sharedBlockCount(), before);
}

class FormApplicationTest : public ::testing::Test {
protected:
  void TearDown() override { restoreSavedApplicationObjects(); }
  TApplication FHostApplication{QCoreApplication::instance()};
  TScreen FHostScreen{};
  TDestroyLog FLog;
};

TEST_F(FormApplicationTest, FormBelongsToTheApplicationCurrentAtItsCreation) {
  auto owner = std::make_unique<QObject>();
  TProbeForm *before = TForm::create<TProbeForm>(owner.get(), &FLog);
  installHostApplicationObjects(&FHostApplication, &FHostScreen);
  TProbeForm *during = TForm::create<TProbeForm>(owner.get(), &FLog);
  restoreSavedApplicationObjects();
  TProbeForm *after = TForm::create<TProbeForm>(owner.get(), &FLog);

  ASSERT_NE(ownApplication(), nullptr);
  EXPECT_EQ(before->application(), ownApplication());
  EXPECT_EQ(during->application(), &FHostApplication);
  EXPECT_EQ(during->application()->qtApplication(), QCoreApplication::instance());
  EXPECT_EQ(after->application(), ownApplication());
}

} // namespace
} // namespace TDInvoice
