// The commands as a new user meets them: help, the first run that builds the demo database,
// demo-db, and the clear message and exit status for every mistake.
#include "DemoTestSupport.h"
#include "ProgramRunner.h"

#include "host/demo/DemoDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace TDInvoice::Testing {
namespace {

class CommandLine : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(FDir.isValid()); }
  std::string path(const char *name) const {
    return FDir.filePath(QString::fromLatin1(name)).toStdString();
  }
  TProgramRun run(const std::vector<std::string> &arguments) const {
    return runTdinvoice(arguments, FDir.path().toStdString());
  }
  // A database of a few families, written by the program itself.
  std::string smallDatabase(int families) const {
    const std::string file = path("small.sqlite");
    const TProgramRun made =
        run({"demo-db", "--families", std::to_string(families), "--out", file});
    EXPECT_EQ(made.exitCode, 0) << made.all();
    return file;
  }

  QTemporaryDir FDir;
};

struct TMistake {
  const char *what;
  std::vector<std::string> arguments;
  int exitCode;
  std::string message;
};

TEST_F(CommandLine, MistakesGiveAClearMessageAndAnExitStatus) {
  const std::string database = smallDatabase(3);
  QFile text(QString::fromStdString(path("notes.txt")));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not a database, just words\n");
  text.close();
  const std::string pdf = path("out.pdf");
  const TMistake mistakes[] = {
      {"missing database",
       {"pdf", pdf, "--db", path("nowhere.sqlite")},
       1,
       "tdinvoice pdf: database not found: " + path("nowhere.sqlite")},
      {"not a database",
       {"png", path("pages"), "--db", path("notes.txt")},
       1,
       "tdinvoice png: cannot read the database " + path("notes.txt") + ": file is not a database"},
      {"bad clause",
       {"pdf", pdf, "--db", database, "--invoices", "WHERE Nonsense > 0"},
       1,
       "tdinvoice pdf: the --invoices clause does not work: "},
      {"bad clause names the column",
       {"pdf", pdf, "--db", database, "--invoices", "WHERE Nonsense > 0"},
       1,
       "no such column: Nonsense"},
      {"clause without WHERE",
       {"pdf", pdf, "--db", database, "--invoices", "InvoiceNo = 40001"},
       1,
       "(the clause follows \"FROM Invoices\", so it usually starts with WHERE)"},
      {"nothing selected",
       {"pdf", pdf, "--db", database, "--invoices", "WHERE InvoiceNo < 0"},
       1,
       "tdinvoice pdf: no invoices match: SELECT InvoiceNo, IssueDT, CloseBal, CloseDate, "
       "ParentID FROM Invoices WHERE InvoiceNo < 0"},
      {"bad sort",
       {"pdf", pdf, "--db", database, "--sort", "Amount DESC"},
       1,
       "tdinvoice pdf: --sort: unknown field \"Amount\""},
      {"unknown variant",
       {"pdf", pdf, "--variant", "gold"},
       2,
       "tdinvoice pdf: unknown variant \"gold\""},
      {"no file",
       {"pdf"},
       2,
       "tdinvoice pdf: the PDF file to write is missing (see: tdinvoice pdf --help)"},
      {"unknown printer",
       {"print", "--db", database, "--printer", "No Such Printer"},
       1,
       "tdinvoice print: no printer"},
      {"demo-db without size",
       {"demo-db", "--out", path("x.sqlite")},
       2,
       "tdinvoice demo-db: --families N is missing"},
      {"demo-db size out of range",
       {"demo-db", "--families", "0"},
       2,
       "tdinvoice demo-db: --families needs a number from 1 to 100000, not \"0\""},
  };
  for (const TMistake &m : mistakes) {
    SCOPED_TRACE(m.what);
    const TProgramRun result = run(m.arguments);
    EXPECT_EQ(result.exitCode, m.exitCode) << result.all();
    EXPECT_NE(result.err.find(m.message), std::string::npos) << result.err;
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

TEST_F(CommandLine, HelpLeadsANewUser) {
  const TProgramRun overview = run({"--help"});
  EXPECT_EQ(overview.exitCode, 0);
  for (const char *command : {"pdf", "png", "preview", "print", "demo-db"})
    EXPECT_NE(overview.out.find(std::string("  ") + command + " "), std::string::npos) << command;

  const TProgramRun pdf = run({"pdf", "--help"});
  EXPECT_EQ(pdf.exitCode, 0) << pdf.all();
  setenv("TDINVOICE_DEMO_DIR", FDir.path().toLocal8Bit().constData(), 1);
  const std::string defaultPath = Demo::defaultDemoDatabasePath().toStdString();
  unsetenv("TDINVOICE_DEMO_DIR");
  for (const std::string &expected :
       {std::string("Usage: tdinvoice pdf OUT.pdf [OPTIONS]"), defaultPath, std::string("standard"),
        std::string("extendcc"), std::string("bpaycc"), std::string("--invoices CLAUSE"),
        std::string("tdinvoice demo-db --families 500")})
    EXPECT_NE(pdf.out.find(expected), std::string::npos) << expected;

  const TProgramRun demoDb = run({"demo-db", "--help"});
  EXPECT_EQ(demoDb.exitCode, 0);
  EXPECT_NE(demoDb.out.find("Usage: tdinvoice demo-db --families N"), std::string::npos);
}

TEST_F(CommandLine, FirstRunBuildsTheDemoDatabaseOnce) {
  const std::vector<std::string> one = {"pdf", path("one.pdf"), "--invoices",
                                        "WHERE InvoiceNo = 40001"};
  const TProgramRun first = run(one);
  ASSERT_EQ(first.exitCode, 0) << first.all();
  EXPECT_NE(first.out.find("built the demo database (first run): " + FDir.path().toStdString() +
                           "/demo-"),
            std::string::npos)
      << first.out;
  EXPECT_NE(first.out.find("1 invoice(s), variant standard"), std::string::npos);
  const TProgramRun second = run(one);
  ASSERT_EQ(second.exitCode, 0) << second.all();
  EXPECT_EQ(second.out.find("built the demo database"), std::string::npos);
  EXPECT_NE(second.out.find("database: " + FDir.path().toStdString() + "/demo-"),
            std::string::npos);
}

TEST_F(CommandLine, DemoDbWritesTheGeneratorsData) {
  const std::string sql = path("four.sql");
  const TProgramRun written =
      run({"demo-db", "--families", "4", "--sql", sql, "--out", path("four.sqlite")});
  ASSERT_EQ(written.exitCode, 0) << written.all();
  QFile file(QString::fromStdString(sql));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll() == Demo::generateDemoSql(4));
  Host::TestHost host(QString::fromStdString(path("four.sqlite")));
  EXPECT_EQ(rowCount(host, "Invoices"), 4);

  const TProgramRun reported =
      run({"pdf", path("four.pdf"), "--db", path("four.sqlite"), "--sort", "CloseBal DESC"});
  ASSERT_EQ(reported.exitCode, 0) << reported.all();
  EXPECT_NE(reported.out.find("4 invoice(s)"), std::string::npos);
}

TEST_F(CommandLine, PngWritesOneFilePerPage) {
  const std::string database = smallDatabase(2);
  const std::string folder = path("pages/new");
  const TProgramRun result = run({"png", folder, "--db", database});
  ASSERT_EQ(result.exitCode, 0) << result.all();
  const QStringList files =
      QDir(QString::fromStdString(folder)).entryList({QStringLiteral("page-*.png")}, QDir::Files);
  EXPECT_GE(files.size(), 2);
  EXPECT_NE(result.out.find("wrote " + std::to_string(files.size()) + " page(s) into " + folder),
            std::string::npos)
      << result.out;
}

TEST_F(CommandLine, PreviewClosesByItself) {
  const std::string database = smallDatabase(1);
  const TProgramRun result = run({"preview", "--db", database, "--close-after", "300"});
  EXPECT_EQ(result.exitCode, 0) << result.all();
  EXPECT_NE(result.out.find("preview closed"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("shared allocator blocks beyond the baseline: 0"), std::string::npos);
}

} // namespace
} // namespace TDInvoice::Testing
