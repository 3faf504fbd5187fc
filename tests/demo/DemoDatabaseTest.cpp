// The demo database on disk: the default one built once from the shipped SQL, databases
// written whole or not at all, and the checks a report run makes before opening one.
#include "DemoTestSupport.h"

#include "host/demo/DemoDatabase.h"
#include "host/demo/DemoReportRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <sqlite3.h>
#include <sys/stat.h>

namespace TDInvoice::Testing {
namespace {

class DemoDatabaseTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    setenv("TDINVOICE_DEMO_DIR", FDir.path().toLocal8Bit().constData(), 1);
  }
  void TearDown() override { unsetenv("TDINVOICE_DEMO_DIR"); }
  QString path(const char *name) const { return FDir.filePath(QString::fromLatin1(name)); }
  QStringList leftovers() const {
    return QDir(FDir.path()).entryList({QStringLiteral("*.building-*")}, QDir::Files);
  }

  QTemporaryDir FDir;
};

// An SQLite file of some other program.
void makeForeignDatabase(const QString &path) {
  sqlite3 *db = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "CREATE TABLE Recipes (Name TEXT)", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
}

ino_t inodeOf(const QString &path) {
  struct stat status {};
  return ::stat(path.toLocal8Bit().constData(), &status) == 0 ? status.st_ino : 0;
}

TEST_F(DemoDatabaseTest, DefaultIsBuiltOnceFromTheShippedSql) {
  const QString expected = Demo::defaultDemoDatabasePath();
  EXPECT_TRUE(expected.startsWith(FDir.path() + "/demo-"));
  EXPECT_FALSE(QFileInfo::exists(expected));

  bool built = false;
  EXPECT_EQ(Demo::ensureDefaultDemoDatabase(&built), expected);
  EXPECT_TRUE(built);
  const ino_t first = inodeOf(expected);
  {
    Host::TestHost host(expected);
    EXPECT_EQ(rowCount(host, "Parents"), Demo::kDefaultDemoFamilies);
    EXPECT_EQ(rowCount(host, "Invoices"), Demo::kDefaultDemoFamilies);
  }
  EXPECT_EQ(Demo::ensureDefaultDemoDatabase(&built), expected);
  EXPECT_FALSE(built);
  EXPECT_EQ(inodeOf(expected), first) << "the second run rebuilt the database";
  EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(DemoDatabaseTest, WritingReplacesAWholeFile) {
  const QString target = path("sub/folder/demo.sqlite");
  Demo::writeDemoDatabase(target, Demo::generateDemoSql(3));
  Demo::writeDemoDatabase(target, Demo::generateDemoSql(5));
  Host::TestHost host(target);
  EXPECT_EQ(rowCount(host, "Parents"), 5);
  EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(DemoDatabaseTest, FailedSqlLeavesNoFileBehind) {
  const QString target = path("broken.sqlite");
  EXPECT_THROW(Demo::writeDemoDatabase(target, "INSERT INTO NoSuchTable VALUES (1);"), Exception);
  EXPECT_FALSE(QFileInfo::exists(target));
  EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(DemoDatabaseTest, ReportRunRefusesFilesThatAreNoDemoDatabase) {
  QFile text(path("notes.txt"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write(QByteArray(4096, 'x'));
  text.close();
  makeForeignDatabase(path("other.sqlite"));
  struct TCase {
    QString file;
    std::string message;
  };
  const TCase cases[] = {
      {path("missing.sqlite"), "database not found: " + path("missing.sqlite").toStdString()},
      {FDir.path(), "database not found: " + FDir.path().toStdString()},
      {path("notes.txt"),
       "cannot read the database " + path("notes.txt").toStdString() + ": file is not a database"},
      {path("other.sqlite"), path("other.sqlite").toStdString() +
                                 " has no Invoices table; make a demo database with tdinvoice "
                                 "demo-db"},
  };
  for (const TCase &c : cases) {
    try {
      Demo::checkDemoDatabase(c.file);
      ADD_FAILURE() << "accepted " << c.file.toStdString();
    } catch (const Demo::EDemoError &error) {
      EXPECT_EQ(error.what(), c.message);
    }
  }
  Demo::writeDemoDatabase(path("good.sqlite"), Demo::generateDemoSql(1));
  EXPECT_NO_THROW(Demo::checkDemoDatabase(path("good.sqlite")));
}

} // namespace
} // namespace TDInvoice::Testing
