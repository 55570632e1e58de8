// The commands end to end on files: golden outputs of two sample panels, exit
// codes, and outputs that are written whole or not at all.
#include <expat.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/config.h"
#include "model/config_json.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = RQ57_CLI_DATA;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The first line where text and the golden file part, or "" when they are equal.
std::string FirstDifference(const std::string& text, const fs::path& golden) {
  const std::string expected = Slurp(golden);
  if (text == expected) return "";
  std::size_t line = 1, at = 0;
  while (at < text.size() && at < expected.size() && text[at] == expected[at]) line += text[at++] == '\n';
  const std::size_t start = text.rfind('\n', at == 0 ? 0 : at - 1);
  const std::size_t from = start == std::string::npos ? 0 : start + 1;
  return golden.filename().string() + " line " + std::to_string(line) + ": " +
         text.substr(from, text.find('\n', from) - from);
}

void Spill(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("rq57cfg_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    a_ = Import("panel_a");
    b_ = Import("panel_b");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Import(const std::string& name) {
    const std::string image = (dir_ / (name + ".img")).string();
    CommandOutput io;
    EXPECT_EQ(ImportCommand((kData / (name + ".json")).string(), image, io), kExitOk) << io.err;
    return image;
  }

  // Files in the work folder, to see that nothing stray was left.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  std::string a_, b_;
};

TEST_F(CliTest, ShowDiffAndChartMatchTheGoldenOutputs) {
  CommandOutput io;
  EXPECT_EQ(ShowCommand(a_, io), kExitOk);
  EXPECT_EQ(FirstDifference(io.out, kData / "panel_a.show"), "");
  io = {};
  EXPECT_EQ(ShowCommand(b_, io), kExitOk);
  EXPECT_EQ(FirstDifference(io.out, kData / "panel_b.show"), "");
  io = {};
  EXPECT_EQ(DiffCommand(a_, b_, io), kExitFindings);
  EXPECT_EQ(FirstDifference(io.out, kData / "panel_a_b.diff"), "");
  io = {};
  EXPECT_EQ(DiffCommand(a_, a_, io), kExitOk);
  EXPECT_EQ(io.out, "");
  for (const std::string name : {"panel_a", "panel_b"}) {
    const fs::path svg = dir_ / (name + ".svg");
    io = {};
    EXPECT_EQ(ChartCommand((dir_ / (name + ".img")).string(), svg.string(), io), kExitOk);
    EXPECT_EQ(FirstDifference(Slurp(svg), kData / (name + ".svg")), "");
  }
  EXPECT_EQ(io.err, "");
}

TEST_F(CliTest, ExportThenImportGivesTheSameFile) {
  CommandOutput io;
  const std::string json = (dir_ / "b.json").string();
  const std::string again = (dir_ / "again.img").string();
  ASSERT_EQ(ExportCommand(b_, json, io), kExitOk);
  ASSERT_EQ(ImportCommand(json, again, io), kExitOk) << io.err;
  EXPECT_EQ(Slurp(again), Slurp(b_));
  EXPECT_EQ(Files(), (std::vector<std::string>{"again.img", "b.json", "panel_a.img", "panel_b.img"}));
}

TEST_F(CliTest, CheckReportsPerFileAndExitsByTheWorstResult) {
  const fs::path set = dir_ / "set";
  fs::create_directories(set / "sub");
  fs::copy_file(a_, set / "1.img");
  fs::copy_file(b_, set / "2.img");
  Spill(set / "3.img", std::string(100, '\0'));
  CommandOutput io;
  EXPECT_EQ(CheckCommand({a_}, io), kExitOk);
  EXPECT_EQ(io.out, a_ + ": ok\n");
  io = {};
  EXPECT_EQ(CheckCommand({set.string()}, io), kExitFindings);
  const std::string s = set.string() + "/";
  EXPECT_EQ(io.out, s + "1.img: ok\n" + s + "2.img: key Shift+A in Row 6 Col 2 and Row 6 Col 12\n" + s +
                        "2.img: key number without a name #94 in Row 3 Col 5\n" + "note: " + s +
                        "2.img: key Alt+Shift+Ctrl+Left Shift in Row 2 Col 4: the button shows only Alt and Shift\n" +
                        "note: " + s + "2.img: key P [0x801A] in Row 4 Col 6: the button does not show bits 11 to 15\n" + s +
                        "3.img: not a configuration: too short, 100 of 512 bytes\n");
  io = {};
  const std::string missing = (dir_ / "missing.img").string();
  EXPECT_EQ(CheckCommand({missing, a_}, io), kExitError);
  EXPECT_EQ(io.out, a_ + ": ok\n");
  EXPECT_EQ(io.err, missing + ": cannot open: No such file or directory\n");
}

TEST_F(CliTest, BadInputsAreErrorsAndLeaveTheOutputAlone) {
  const std::string target = (dir_ / "target.img").string();
  Spill(target, "old");
  const std::string json = (dir_ / "bad.json").string();
  Spill(json, R"({"format": "rq57-config"})");
  CommandOutput io;
  EXPECT_EQ(ImportCommand(json, target, io), kExitError);
  EXPECT_NE(io.err.find(json + ": rows: missing\n"), std::string::npos) << io.err;
  EXPECT_EQ(Slurp(target), "old");

  Spill(json, std::string(kJsonMaxSize + 1, ' '));
  io = {};
  EXPECT_EQ(ImportCommand(json, target, io), kExitError);
  EXPECT_EQ(io.err, json + ": larger than 1048576 bytes\n");

  // Not a configuration: the editor would refuse to open it.
  io = {};
  EXPECT_EQ(ShowCommand(json, io), kExitError);
  EXPECT_EQ(io.err, json + ": not a configuration: rows 32, not 1 to 23\n");
  io = {};
  EXPECT_EQ(DiffCommand(a_, (dir_ / "none").string(), io), kExitError);
  EXPECT_EQ(io.out, "");

  // An output that cannot be written: no temporary file stays behind.
  io = {};
  EXPECT_EQ(ExportCommand(a_, (dir_ / "no" / "such.json").string(), io), kExitError);
  EXPECT_EQ(Files(), (std::vector<std::string>{"bad.json", "panel_a.img", "panel_b.img", "target.img"}));
}

// The download's samples: each is the configuration its JSON makes, and passes check.
TEST_F(CliTest, TheSamplesAreTheirJsonAndPassCheck) {
  int samples = 0;
  for (const fs::directory_entry& json : fs::directory_iterator(fs::path(RQ57_SAMPLES) / "json")) {
    const fs::path image = fs::path(RQ57_SAMPLES) / json.path().filename().replace_extension(".rq57");
    const std::string made = (dir_ / image.filename()).string();
    CommandOutput io;
    ASSERT_EQ(ImportCommand(json.path().string(), made, io), kExitOk) << io.err;
    EXPECT_EQ(Slurp(made), Slurp(image)) << image;
    io = {};
    EXPECT_EQ(CheckCommand({image.string()}, io), kExitOk);
    EXPECT_EQ(io.out, image.string() + ": ok\n");
    ++samples;
  }
  EXPECT_GE(samples, 3);

  // A code that a button cannot show whole is a note: the file stays ok, the exit code too.
  std::string bytes = Slurp(fs::path(RQ57_SAMPLES) / "keypad-4x4.rq57");
  bytes[0] = static_cast<char>(bytes[0] | 0x80);   // bit 15 of Row 1 Col 1
  const std::string noted = (dir_ / "noted.rq57").string();
  Spill(noted, bytes);
  CommandOutput io;
  EXPECT_EQ(CheckCommand({noted}, io), kExitOk);
  EXPECT_EQ(io.out, noted + ": ok\nnote: " + noted +
                        ": key 7 (Num) [0x805B] in Row 1 Col 1: the button does not show bits 11 to 15\n");
}

// Odd targets and inputs: each refused with exit 2 and its reason, and left as
// it was; links and permissions kept; nothing stray left behind.
TEST_F(CliTest, OddTargetsAndInputsAreRefusedWithTheirReason) {
  const auto at = [&](const std::string& name) { return (dir_ / name).string(); };
  fs::copy_file(b_, at("real.img"));
  chmod(at("real.img").c_str(), 0600);
  fs::create_symlink("real.img", at("link.img"));
  ASSERT_EQ(mkfifo(at("fifo").c_str(), 0600), 0);
  fs::create_directories(at("empty"));
  fs::create_directories(at("broken"));
  fs::create_symlink("nothing", at("broken/x.img"));
  Spill(at("huge.json"), R"({"code": -1e400})");
  std::string shared = Slurp(a_);
  shared[kImagePinArea + 2] = shared[kImagePinArea];  // columns 1 and 3 on one pin
  Spill(at("shared.img"), shared);
  const std::string json = (kData / "panel_a.json").string();
  const std::string longName = at(std::string(250, 'n'));
  std::string named = Slurp(kData / "panel_a.json");  // members whose names would forge a line
  named.insert(named.find('{') + 1, R"("\u001b[31mRED\u001b[0m\nfake.json: ok": 1, "a\u0000b": 2, )");
  Spill(at("named.json"), named);

  const struct {
    const char* name;
    std::function<int(CommandOutput&)> run;
    int code;
    std::string err;
  } cases[] = {
      {"device", [&](auto& io) { return ExportCommand(a_, "/dev/null", io); }, kExitError,
       "/dev/null: cannot write: a device, not a regular file\n"},
      {"FIFO out", [&](auto& io) { return ExportCommand(a_, at("fifo"), io); }, kExitError,
       at("fifo") + ": cannot write: a FIFO, not a regular file\n"},
      {"folder out", [&](auto& io) { return ChartCommand(a_, at("empty"), io); }, kExitError,
       at("empty") + ": cannot write: a folder, not a regular file\n"},
      {"onto input", [&](auto& io) { return ExportCommand(a_, a_, io); }, kExitError,
       a_ + ": cannot write: it is the input file\n"},
      {"onto input by link", [&](auto& io) { return ChartCommand(at("real.img"), at("link.img"), io); }, kExitError,
       at("link.img") + ": cannot write: it is the input file\n"},
      {"empty name", [&](auto& io) { return ImportCommand(json, "", io); }, kExitError,
       "output: cannot write: the name is empty\n"},
      {"FIFO in", [&](auto& io) { return ShowCommand(at("fifo"), io); }, kExitError,
       at("fifo") + ": cannot open: a FIFO, not a regular file\n"},
      {"empty folder", [&](auto& io) { return CheckCommand({at("empty")}, io); }, kExitError,
       at("empty") + ": no files in this folder\n"},
      {"broken link only", [&](auto& io) { return CheckCommand({at("broken")}, io); }, kExitError,
       at("broken") + ": no files in this folder\n"},
      {"number out of range", [&](auto& io) { return ImportCommand(at("huge.json"), at("x.img"), io); }, kExitError,
       at("huge.json") + ": document: number overflow parsing '-1e400' at line 1, column 16\n"},
      {"through a link", [&](auto& io) { return ImportCommand(json, at("link.img"), io); }, kExitOk, ""},
      {"standard output", [&](auto& io) { return ImportCommand(json, "-", io); }, kExitOk, ""},
      {"long name", [&](auto& io) { return ExportCommand(a_, longName, io); }, kExitOk, ""},
      {"forged lines", [&](auto& io) { return ImportCommand(at("named.json"), at("x.img"), io); }, kExitError,
       at("named.json") + ": \\x1b[31mRED\\x1b[0m\\x0afake.json: ok: unknown member\n" + at("named.json") +
           ": a\\x00b: unknown member\n"},
      {"name not UTF-8", [&](auto& io) { return ShowCommand(at("\xff\x1b.img"), io); }, kExitError,
       at("\\xff\\x1b.img") + ": cannot open: No such file or directory\n"},
      {"shared pin export", [&](auto& io) { return ExportCommand(at("shared.img"), at("shared.json"), io); }, kExitOk,
       ""},
      {"shared pin import", [&](auto& io) { return ImportCommand(at("shared.json"), at("x.img"), io); }, kExitError,
       at("shared.json") + ": columnPins[0], columnPins[2]: pin A is used by Column 1 and Column 3\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CommandOutput io;
    EXPECT_EQ(c.run(io), c.code);
    EXPECT_EQ(io.err, c.err);
  }
  struct stat info = {};
  ASSERT_EQ(stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  EXPECT_TRUE(fs::is_symlink(at("link.img")));
  EXPECT_EQ(Slurp(at("real.img")), Slurp(a_));
  EXPECT_EQ(fs::status(at("real.img")).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Slurp(longName).substr(0, 1), "{");
  EXPECT_EQ(Files(), (std::vector<std::string>{"broken", "empty", "fifo", "huge.json", "link.img", "named.json",
                                               std::string(250, 'n'), "panel_a.img", "panel_b.img", "real.img", "shared.img", "shared.json"}));

  // What show cannot put in its table of the shared pin, it says.
  CommandOutput io;
  EXPECT_EQ(ShowCommand(at("shared.img"), io), kExitOk);
  EXPECT_NE(io.out.find("not shown: Column 3 is on pin A like Column 1;"), std::string::npos) << io.out;
  EXPECT_NE(io.out.find("not shown: key data that no pin takes:\n  entry 132 (bytes 264-265): "), std::string::npos);
}

// The chart of a file of any name is well-formed XML, the name in its title
// quoted as in messages.
TEST_F(CliTest, ChartsOfAnyNameAreWellFormedXml) {
  const std::pair<std::string, std::string> cases[] = {{"bad\xff\xc0", "bad\\xff\\xc0"}, {"ctl\x1b\x01", "ctl\\x1b\\x01"},
                                                       {"<&\"'>", "<&\"'>"}, {"no\xef\xbf\xbf", "no\\uffff"}};
  for (const auto& [name, title] : cases) {
    fs::copy_file(a_, dir_ / name);
    CommandOutput io;
    ASSERT_EQ(ChartCommand((dir_ / name).string(), "-", io), kExitOk) << io.err;
    std::string text;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &text);
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* s, int length) {
      static_cast<std::string*>(data)->append(s, static_cast<std::size_t>(length));
    });
    EXPECT_EQ(XML_Parse(parser, io.out.data(), static_cast<int>(io.out.size()), XML_TRUE), XML_STATUS_OK) << title;
    XML_ParserFree(parser);
    EXPECT_NE(text.find("Wiring chart: " + title), std::string::npos);
  }
}

}  // namespace
