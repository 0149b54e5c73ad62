// The CSV files open in a real spreadsheet as numbers: LibreOffice converts
// them (soffice --headless --convert-to ods) with the import settings of a
// locale that writes numbers with '.' and of one that writes them with ',',
// and the value and seconds columns come out as numbers. Skipped where
// LibreOffice is not installed (scripts/install-deps does not install it).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "journal/journal_writer.h"
#include "support/python_csv.h"
#include "support/reading_lines.h"

namespace ql::test_support {
namespace {

class Spreadsheet : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "soffice (LibreOffice) is not installed";
  }

  // The numbers of `column` (from 0) of the CSV at `csv`, as LibreOffice
  // reads it with field separator `separator` and the number format of
  // language `language` (1033: English, '.'; 1031: German, ','): one
  // "float:VALUE" or "text:TEXT" a row below the header, ';'-separated.
  std::string Cells(const std::string& csv, char separator, int language, int column) {
    const std::string filter = "CSV:" + std::to_string(static_cast<int>(separator)) + ",34,76,1,," +
                               std::to_string(language);
    const std::string command =
        "soffice -env:UserInstallation=file://" + PathOf("profile") + " --headless --infilter='" +
        filter + "' --convert-to ods --outdir '" + PathOf("ods") + "' '" + csv + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return "soffice failed";
    const std::string stem = csv.substr(csv.rfind('/') + 1, csv.rfind('.') - csv.rfind('/') - 1);
    // content.xml: each row's cells; a number cell carries office:value.
    const std::string script =
        "import re,sys,zipfile\n"
        "x=zipfile.ZipFile(sys.argv[1]).read('content.xml').decode()\n"
        "rows=re.findall(r'<table:table-row[^>]*>(.*?)</table:table-row>',x)\n"
        "out=[]\n"
        "for r in rows[1:]:\n"
        "  cells=re.findall(r'<table:table-cell([^>]*?)(?:/>|>(.*?)</table:table-cell>)',r)\n"
        "  if len(cells)<=int(sys.argv[2]): continue\n"
        "  a,body=cells[int(sys.argv[2])]\n"
        "  v=re.search(r'office:value=\"([^\"]*)\"',a)\n"
        "  out.append('float:'+v.group(1) if v and 'float' in a else "
        "'text:'+re.sub('<[^>]*>','',body))\n"
        "print(';'.join(out))\n";
    std::ofstream(PathOf("cells.py")) << script;
    return CommandOutput("python3 '" + PathOf("cells.py") + "' '" + PathOf("ods/" + stem + ".ods") + "' " +
                  std::to_string(column));
  }
};

TEST_F(Spreadsheet, ExportedNumbersAreNumbersInEitherKindOfLocale) {
  WriteReadingFile(PathOf("run.rdg"), {ReadingLine(" 1.500", " Vdc", "DCV", "10:00:00"),
                                     ReadingLine("-0.250", " Vdc", "DCV", "10:00:01")});
  {
    journal::JournalWriter writer(PathOf("journal.sqlite3"), nullptr);
    writer.BeginRun(RunInfo{"1.0", "cli", "/dev/pts/9", "COM1", 500, 600},
                    {1'765'375'357'000'000, 0});
    for (double value : {1.5, -0.25}) {
      JournalSample sample;
      sample.time = {1'765'375'357'000'000 + (value < 0 ? 1'000'000 : 0), 0};
      sample.value = value;
      sample.function = "DCV";
      sample.unit = "Vdc";
      sample.list_line = ReadingLine(" 1.500", " Vdc", "DCV", "10:00:00");
      writer.Record(sample);
    }
    writer.Event({RunEventKind::kStop, {1'765'375'358'000'000, 0}, ""});
  }
  struct Case {
    std::vector<std::string> command;
    const char* locale;
    char separator;
    int language;
    int valueColumn;
  };
  for (const Case& c :
       {Case{{"export", PathOf("run.rdg"), "--csv"}, "C", ',', 1033, 2},
        Case{
            {"export", PathOf("run.rdg"), "--locale", "--bom", "--csv"}, "de_DE.UTF-8", ';', 1031, 2},
        Case{{"journal", "export", "last", "--csv"}, "C", ',', 1033, 2},
        Case{{"journal", "export", "last", "--locale", "--csv"}, "de_DE.UTF-8", ';', 1031, 2}}) {
    SCOPED_TRACE(c.command[0] + " " + c.locale);
    const std::string csv = PathOf("run.csv");
    std::vector<std::string> args = c.command;
    args.push_back(csv);
    setenv("LC_ALL", c.locale, 1);
    const CliResult result = RunCli(args);
    unsetenv("LC_ALL");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Cells(csv, c.separator, c.language, c.valueColumn), "float:1.5;float:-0.25\n");
    EXPECT_EQ(Cells(csv, c.separator, c.language, 1), "float:0;float:1\n") << "seconds";
  }
}

}  // namespace
}  // namespace ql::test_support
