// The inspection commands pages and render, run as a user runs them on a saved page store.
#include "report/output/RecordingCanvas.h"
#include "report/output/ReportPageList.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace TDInvoice::Report;

struct TRun {
  int exitCode;
  std::string output;
};

TRun runHost(const std::string &arguments) {
  const std::string command = std::string("'") + TDI_HOST_PROGRAM + "' " + arguments + " 2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe)
    return {-1, {}};
  std::string output;
  char chunk[4096];
  while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
    output.append(chunk, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class ToolCommandsTest : public ::testing::Test {
protected:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "tool_tests";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance())
      new QGuiApplication(argc, argv);
    FDir = fs::temp_directory_path() / ("tdinvoice-tools-" + std::to_string(getpid()));
    fs::create_directories(FDir);
    // Two A4 pages at 96 dpi, each with one text run 20 mm from the left and top edges.
    TReportPageList store;
    for (int n = 1; n <= 2; ++n) {
      TRecordingCanvas canvas(QSize(794, 1123), 96, 96);
      canvas.textOut(76, 76, QStringLiteral("Invoice page %1").arg(n));
      store.addPage(canvas.takePage());
    }
    store.finish();
    FStore = (FDir / "run.qrp").string();
    store.saveToFile(QString::fromStdString(FStore));
  }
  void TearDown() override { fs::remove_all(FDir); }

  fs::path FDir;
  std::string FStore;
};

TEST_F(ToolCommandsTest, PagesListsEveryPageWithItsTexts) {
  const TRun run = runHost("pages '" + FStore + "'");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto begin = run.output.find('{');
  ASSERT_NE(begin, std::string::npos) << run.output;
  const QJsonDocument json = QJsonDocument::fromJson(
      QByteArray::fromStdString(run.output.substr(begin, run.output.rfind('}') - begin + 1)));
  ASSERT_TRUE(json.isObject()) << run.output;
  EXPECT_EQ(json["pageCount"].toInt(), 2);
  const QJsonArray pages = json["pages"].toArray();
  ASSERT_EQ(pages.size(), 2);
  for (int n = 0; n < 2; ++n) {
    EXPECT_EQ(pages[n]["number"].toInt(), n + 1);
    EXPECT_NE(QJsonDocument(pages[n].toObject())
                  .toJson()
                  .indexOf(QStringLiteral("Invoice page %1").arg(n + 1).toUtf8()),
              -1);
  }
}

TEST_F(ToolCommandsTest, RenderWritesAPdfWithThePages) {
  const std::string pdf = (FDir / "out.pdf").string();
  const TRun run = runHost("render '" + FStore + "' --pdf '" + pdf + "'");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("rendered 2 page(s)"), std::string::npos) << run.output;
  ASSERT_TRUE(fs::exists(pdf));
  FILE *text = popen(("pdftotext '" + pdf + "' - 2>/dev/null").c_str(), "r");
  ASSERT_NE(text, nullptr);
  std::string words;
  char chunk[4096];
  while (std::size_t n = std::fread(chunk, 1, sizeof chunk, text))
    words.append(chunk, n);
  pclose(text);
  EXPECT_NE(words.find("Invoice page 1"), std::string::npos) << words;
  EXPECT_NE(words.find("Invoice page 2"), std::string::npos) << words;
}

TEST_F(ToolCommandsTest, RenderWritesOnePngPerPage) {
  const fs::path folder = FDir / "png";
  const TRun run = runHost("render '" + FStore + "' --png '" + folder.string() + "' --dpi 50");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  int files = 0;
  for (const auto &entry : fs::directory_iterator(folder))
    files += entry.path().extension() == ".png";
  EXPECT_EQ(files, 2);
}

struct TBadCase {
  const char *name;
  std::string arguments;
  int exitCode;
  const char *message;
};

TEST_F(ToolCommandsTest, BadInputGivesAClearMessageAndExitCode) {
  const std::string garbage = (FDir / "garbage.qrp").string();
  std::FILE *f = std::fopen(garbage.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("not a page store", f);
  std::fclose(f);
  const TBadCase cases[] = {
      {"no file", "pages", 2, "usage: tdinvoice pages FILE"},
      {"missing file", "pages '" + (FDir / "none.qrp").string() + "'", 1, "tdinvoice pages:"},
      {"not a store", "pages '" + garbage + "'", 1, "tdinvoice pages:"},
      {"render without target", "render '" + FStore + "'", 2, "usage: tdinvoice render"},
      {"render both targets", "render '" + FStore + "' --pdf a.pdf --png b", 2,
       "usage: tdinvoice render"},
      {"render a broken store", "render '" + garbage + "' --pdf x.pdf", 1, "tdinvoice render:"},
  };
  for (const TBadCase &c : cases) {
    const TRun run = runHost(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.name << ": " << run.output;
  }
}

} // namespace
