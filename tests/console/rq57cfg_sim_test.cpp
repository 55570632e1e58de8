// rq57cfg-sim.exe started as a front-end starts it: write with verification,
// read, a planted misread, Ctrl+C in the middle of a transfer, and a second
// transfer while one runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "io/file_write.h"
#include "io/system_text.h"
#include "model/config.h"
#include "sim/sample_image.h"
#include "win32/transfer_mutex.h"

namespace {

constexpr DWORD kRunLimitMs = 60000;
constexpr DWORD kTransferStartLimitMs = 20000;

std::string selfPath;

std::string Folder() { return selfPath.substr(0, selfPath.find_last_of('\\') + 1); }
std::string Program() { return Folder() + "..\\rq57cfg-sim.exe"; }
std::string SeamsProgram() { return Folder() + "rq57cfg-sim-seams.exe"; }

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Child {
  PROCESS_INFORMATION process{};
  std::string out, err;
};

// Starts a program with its standard output and error in files; a new console
// when it is to receive Ctrl+C.
bool Start(const std::string& commandLine, Child& child, bool ownConsole = false) {
  static int serial = 0;
  ++serial;
  child.out = Folder() + "rq57cfg_out" + std::to_string(serial) + ".txt";
  child.err = Folder() + "rq57cfg_err" + std::to_string(serial) + ".txt";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(child.out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileA(child.err.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = out;
  startup.hStdError = err;
  std::string line = commandLine;
  const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE,
                                      ownConsole ? CREATE_NEW_CONSOLE : 0, nullptr, nullptr, &startup,
                                      &child.process);
  CloseHandle(out);
  CloseHandle(err);
  return started != FALSE;
}

// Exit code, or -1 when it did not end in time (then it is ended).
int Finish(Child& child) {
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(child.process.hProcess, kRunLimitMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(child.process.hProcess, &code);
  } else {
    TerminateProcess(child.process.hProcess, 1);
  }
  CloseHandle(child.process.hProcess);
  CloseHandle(child.process.hThread);
  return static_cast<int>(code);
}

int RunProgram(const std::string& commandLine, Child& child) {
  return Start(commandLine, child) ? Finish(child) : -1;
}

bool WaitForTransfer() {
  for (DWORD waited = 0; waited < kTransferStartLimitMs; waited += 10) {
    if (AnyTransferRunning()) return true;
    Sleep(10);
  }
  return false;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A 12 x 12 configuration unlike the sample the simulated encoder starts with.
std::string WriteTestConfiguration() {
  ConfigModel model;
  ResetModel(model);
  for (int r = 0; r < model.rows; ++r) {
    for (int c = 0; c < model.columns; ++c) model.keys[r * kMatrixStride + c] = static_cast<KeyCode>(4 + r * 12 + c);
  }
  ConfigImage image{};
  EncodeImage(model, image, nullptr);
  const std::string path = Folder() + "rq57cfg_panel.img";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), kImageSize);
  return path;
}

// The desktop's settings as a fresh process finds them (a process keeps the
// values it has read once).
std::string DesktopKeyboard() {
  Child child;
  RunProgram(Quoted(selfPath) + " --keyboard", child);
  return Slurp(child.out);
}

TEST(Rq57cfgSim, WriteVerifiesAndReadGivesTheSample) {
  const std::string panel = WriteTestConfiguration();
  Child write;
  EXPECT_EQ(RunProgram(Quoted(Program()) + " write " + Quoted(panel) + " --verify", write), 0) << Slurp(write.err);
  EXPECT_EQ(Slurp(write.out), "verified\r\n");
  EXPECT_EQ(Slurp(write.err).rfind("rq57cfg: simulated RQ57\r\n", 0), 0u) << "said first";
  EXPECT_NE(Slurp(write.err).find("Writing data - 100%"), std::string::npos);

  Child read;
  const std::string output = Folder() + "rq57cfg_read.img";
  EXPECT_EQ(RunProgram(Quoted(Program()) + " read -o " + Quoted(output), read), 0) << Slurp(read.err);
  const ConfigImage sample = SampleConfigImage();
  EXPECT_EQ(Slurp(output), std::string(sample.begin(), sample.end()));
}

TEST(Rq57cfgSim, MisreadOfTheSameParityFailsVerification) {
  const std::string panel = WriteTestConfiguration();
  SetEnvironmentVariableA("RQ57_SIM_MISREAD", "200,1");  // a data byte's nibble
  Child write;
  const int code = RunProgram(Quoted(SeamsProgram()) + " write " + Quoted(panel) + " --verify", write);
  SetEnvironmentVariableA("RQ57_SIM_MISREAD", nullptr);
  EXPECT_EQ(code, 13) << Slurp(write.err);
  EXPECT_NE(Slurp(write.err).find("Verification failed: 1 bytes differ"), std::string::npos) << Slurp(write.err);
}

TEST(Rq57cfgSim, CtrlCStopsAndPutsTheKeyboardBack) {
  SystemParametersInfoA(SPI_SETKEYBOARDDELAY, 2, nullptr, 0);
  SystemParametersInfoA(SPI_SETKEYBOARDSPEED, 17, nullptr, 0);
  ASSERT_EQ(DesktopKeyboard(), "2 17\r\n");
  Child write;
  // With --verify two transfers follow each other: Ctrl+C, once the data is on its
  // way, lands in one of them however fast the machine is.
  ASSERT_TRUE(Start(Quoted(Program()) + " write " + Quoted(WriteTestConfiguration()) + " --verify", write, true));
  ASSERT_TRUE(WaitForTransfer());
  for (DWORD waited = 0; waited < kTransferStartLimitMs && Slurp(write.err).find("Writing data") == std::string::npos;
       waited += 10) {
    Sleep(10);
  }
  EXPECT_NE(DesktopKeyboard(), "2 17\r\n") << "link values while the transfer runs";
  Child ctrlC;
  RunProgram(Quoted(selfPath) + " --ctrl-c " + std::to_string(write.process.dwProcessId), ctrlC);
  EXPECT_EQ(Finish(write), 130) << Slurp(write.err);
  EXPECT_EQ(DesktopKeyboard(), "2 17\r\n");
}

// An output that could not be written is refused before the transfer starts.
TEST(Rq57cfgSim, ReadRefusesAnUnwritableOutputBeforeItStarts) {
  const std::string readOnly = Folder() + "rq57cfg_read_only.img";
  std::ofstream(readOnly) << "kept";
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  for (const std::string& output : {Folder(), Folder() + "no such folder\\x.img", readOnly, std::string("NUL")}) {
    Child read;
    EXPECT_EQ(RunProgram(Quoted(Program()) + " read -o " + Quoted(output), read), 2) << output;
    EXPECT_NE(Slurp(read.err).find("Error saving the file"), std::string::npos) << Slurp(read.err);
    EXPECT_EQ(Slurp(read.err).find("Initializing"), std::string::npos) << "a transfer started for " << output;
  }
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Rq57cfgSim, ASecondTransferIsRefused) {
  Child first;
  ASSERT_TRUE(Start(Quoted(Program()) + " write " + Quoted(WriteTestConfiguration()), first));
  ASSERT_TRUE(WaitForTransfer());
  Child second;
  EXPECT_EQ(RunProgram(Quoted(Program()) + " read -o " + Quoted(Folder() + "rq57cfg_never.img"), second), 11);
  EXPECT_NE(Slurp(second.err).find("another transfer with the RQ57 is running"), std::string::npos);
  EXPECT_EQ(Finish(first), 0) << Slurp(first.err);
}

// Helper modes, run as processes of their own.
int PrintKeyboard() {
  int delay = -1;
  int speed = -1;
  SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
  SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
  std::printf("%d %d\n", delay, speed);
  return 0;
}

// Ctrl+C reaches the processes of a console: join the child's and send it.
int SendCtrlC(DWORD processId) {
  FreeConsole();
  if (!AttachConsole(processId)) return 1;
  SetConsoleCtrlHandler(nullptr, TRUE);
  return GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) ? 0 : 1;
}

// Paths past 260 characters: the file layer writes a new file and replaces it, and
// rq57cfg exports it as JSON and imports that back.
TEST(Rq57cfgSim, LongPathsGoThroughTheFileLayerAndRq57cfg) {
  std::string path = Folder() + "long";
  for (char letter : {'a', 'b', 'c'}) {
    CreateDirectoryW(WideText(path).c_str(), nullptr);
    path += "\\" + std::string(100, letter);
  }
  const std::string content = Slurp(WriteTestConfiguration());
  std::string reason;
  ASSERT_TRUE(WriteFileWhole(path + ".img", "old", reason) && WriteFileWhole(path + ".img", content, reason)) << reason;
  Child json, back;
  EXPECT_EQ(RunProgram(Quoted(Program()) + " export " + Quoted(path + ".img") + " -o " + Quoted(path + ".json"), json), 0);
  EXPECT_EQ(RunProgram(Quoted(Program()) + " import " + Quoted(path + ".json") + " -o " + Quoted(path + "2.img"), back), 0);
  EXPECT_EQ(Slurp(path + "2.img"), content) << path.size() << Slurp(json.err) << Slurp(back.err);
}

}  // namespace

int main(int argc, char** argv) {
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  selfPath = self;
  if (argc > 1 && std::string(argv[1]) == "--keyboard") return PrintKeyboard();
  if (argc > 2 && std::string(argv[1]) == "--ctrl-c") return SendCtrlC(std::strtoul(argv[2], nullptr, 10));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
