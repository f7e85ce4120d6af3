#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "runtime/audio.h"
#include "runtime/system.h"
#include "scratch.h"

using namespace rt;

namespace {

// A scratch folder that is also the current folder while the test runs.
class Scratch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing_support::MakeScratchFolder("files");
    ASSERT_FALSE(dir.empty());
    char buf[4096];
    ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
    oldCwd = buf;
    ASSERT_EQ(chdir(dir.c_str()), 0);
    const char* drives = std::getenv("NORVALDE_DRIVES");
    oldDrives = drives ? drives : "";
    hadDrives = drives != nullptr;
    unsetenv("NORVALDE_DRIVES");
  }
  void TearDown() override {
    if (hadDrives) setenv("NORVALDE_DRIVES", oldDrives.c_str(), 1);
    else unsetenv("NORVALDE_DRIVES");
    EXPECT_EQ(chdir(oldCwd.c_str()), 0);
    testing_support::RemoveScratchFolder(dir);
  }
  void Touch(const std::string& rel, const std::string& text = "x") {
    std::ofstream(dir + "/" + rel, std::ios::binary) << text;
  }
  void Folder(const std::string& rel) { ASSERT_EQ(mkdir((dir + "/" + rel).c_str(), 0755), 0); }
  // The scratch folder as the system sees it.
  std::string Win() { return WinPath(dir); }
  // Every host entry of the scratch folder, hidden ones included, sorted.
  std::vector<std::string> Entries() {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

  std::string dir, oldCwd, oldDrives;
  bool hadDrives = false;
};

}  // namespace

TEST_F(Scratch, PathsMapBothWaysWithCaseBlindLookup) {
  Folder("rooms");
  Touch("rooms/Start.lsd");
  Folder("M\xC3\xBChle");  // UTF-8 on the host
  Touch("M\xC3\xBChle/Raum.lsd");

  EXPECT_EQ(Win().substr(0, 3), "C:\\");
  EXPECT_EQ(WinPath("/"), "C:\\");
  EXPECT_EQ(WinPath("/usr/lib/"), "C:\\usr\\lib\\");
  EXPECT_EQ(HostPath("C:\\usr\\lib"), "/usr/lib");
  EXPECT_EQ(HostPath("C:\\"), "/");

  EXPECT_EQ(HostPath("ROOMS\\start.LSD"), dir + "/rooms/Start.lsd");
  EXPECT_EQ(HostPath(Win() + "\\Rooms\\START.lsd"), dir + "/rooms/Start.lsd");
  EXPECT_EQ(HostPath("rooms/Start.lsd"), dir + "/rooms/Start.lsd");  // forward slashes too
  EXPECT_EQ(HostPath("M\xDCHLE\\raum.lsd"), dir + "/M\xC3\xBChle/Raum.lsd");
  EXPECT_EQ(WinPath(dir + "/M\xC3\xBChle"), Win() + "\\M\xFChle");
  // Missing parts are kept as given, in the host's encoding.
  EXPECT_EQ(HostPath("rooms\\Neu\\B\xE4r.lsd"), dir + "/rooms/Neu/B\xC3\xA4r.lsd");
  // Folders keep their trailing separator.
  EXPECT_EQ(HostPath("ROOMS\\"), dir + "/rooms/");
  // ".." and "." are resolved, and never climb above the drive root.
  EXPECT_EQ(HostPath("rooms\\..\\rooms\\.\\start.lsd"), dir + "/rooms/Start.lsd");
  // Trailing blanks and dots are not part of a name.
  EXPECT_EQ(HostPath("rooms. \\Start.lsd  "), dir + "/rooms/Start.lsd");
  EXPECT_EQ(HostPath("C:\\..\\..\\usr"), "/usr");
  // "\x" is on the current drive; "C:x" is relative to the current folder on C:.
  EXPECT_EQ(HostPath("\\usr"), "/usr");
  EXPECT_EQ(HostPath("C:rooms"), dir + "/rooms");
  // Unknown drive letters map nowhere.
  EXPECT_EQ(HostPath("Q:\\x"), "");
  EXPECT_FALSE(FileExists("Q:\\x"));
}

TEST_F(Scratch, ExistenceChecksAndFolders) {
  Folder("saves");
  Touch("saves/a.xtc");
  EXPECT_TRUE(FileExists("SAVES\\A.XTC"));
  EXPECT_FALSE(FileExists("saves"));
  EXPECT_FALSE(FileExists("saves\\b.xtc"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(FolderExists("Saves\\"));
  EXPECT_TRUE(FolderExists("saves"));
  EXPECT_FALSE(FolderExists("saves\\a.xtc"));
  EXPECT_FALSE(FolderExists(""));

  EXPECT_TRUE(MkDir("neu\\"));
  EXPECT_TRUE(MkDir("NEU"));  // already there: still true, and no second folder
  EXPECT_EQ(ListFolder(".", "*", false, true), (std::vector<std::string>{"neu", "saves"}));
  EXPECT_FALSE(MkDir("fehlt\\unter"));  // one level at a time
  EXPECT_FALSE(MkDir("saves\\a.xtc"));

  EXPECT_EQ(CurDir(), Win());
  EXPECT_TRUE(ChDir("SAVES"));
  EXPECT_EQ(CurDir(), Win() + "\\saves");
  EXPECT_TRUE(ChDir(".."));
  EXPECT_EQ(CurDir(), Win());
  EXPECT_FALSE(ChDir("fehlt"));
  EXPECT_EQ(CurDir(), Win());
}

TEST_F(Scratch, ListFolderPatterns) {
  Folder("sounds");
  Touch("sounds/b.WAV");
  Touch("sounds/a.wav");
  Touch("sounds/Musik.mid");
  Touch("sounds/README");
  Touch("sounds/.hidden");
  Folder("sounds/Sub.wav");
  Touch("sounds/K\xC3\xA4se.wav");

  using V = std::vector<std::string>;
  EXPECT_EQ(ListFolder("sounds\\", "*.wav"), (V{"a.wav", "b.WAV", "K\xE4se.wav"}));
  EXPECT_EQ(ListFolder("SOUNDS", "*.*"), (V{"a.wav", "b.WAV", "K\xE4se.wav", "Musik.mid", "README"}));
  EXPECT_EQ(ListFolder("sounds", ""), ListFolder("sounds", "*"));
  EXPECT_EQ(ListFolder("sounds", "*.mid; *.WAV"), (V{"a.wav", "b.WAV", "K\xE4se.wav", "Musik.mid"}));
  EXPECT_EQ(ListFolder("sounds", "?.wav"), (V{"a.wav", "b.WAV"}));
  EXPECT_EQ(ListFolder("sounds", "k*"), (V{"K\xE4se.wav"}));
  EXPECT_EQ(ListFolder("sounds", "README.*"), (V{"README"}));
  EXPECT_EQ(ListFolder("sounds", "*a*e*"), (V{"README"}));  // needs backtracking
  EXPECT_EQ(ListFolder("sounds", "*\xC4SE*"), (V{"K\xE4se.wav"}));
  EXPECT_EQ(ListFolder("sounds", "*.wav", false, true), (V{"Sub.wav"}));
  EXPECT_EQ(ListFolder("sounds", "*.wav", true, true), (V{"a.wav", "b.WAV", "K\xE4se.wav", "Sub.wav"}));
  EXPECT_TRUE(ListFolder("sounds", "*.mp3").empty());
  EXPECT_TRUE(ListFolder("fehlt", "*").empty());
  EXPECT_TRUE(ListFolder("sounds\\a.wav", "*").empty());
}

TEST_F(Scratch, WholeFileReadsAndAtomicWrites) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += std::string(200000, 'z');
  ASSERT_TRUE(WriteFileBytes("data.bin", bytes));
  std::string back;
  ASSERT_TRUE(ReadFileBytes("DATA.BIN", back));
  EXPECT_EQ(back, bytes);

  // Rewriting replaces the whole content, keeps the permissions and leaves no temporary file.
  ASSERT_EQ(chmod((dir + "/data.bin").c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileBytes("Data.bin", "short"));
  ASSERT_TRUE(ReadFileBytes("data.bin", back));
  EXPECT_EQ(back, "short");
  struct stat st{};
  ASSERT_EQ(stat((dir + "/data.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"data.bin"}));

  ASSERT_TRUE(WriteFileBytes("leer.txt", ""));
  ASSERT_TRUE(ReadFileBytes("leer.txt", back));
  EXPECT_EQ(back, "");

  // Failures report false and leave nothing half-written.
  back = "stale";
  EXPECT_FALSE(ReadFileBytes("fehlt.txt", back));
  EXPECT_EQ(back, "");
  EXPECT_FALSE(ReadFileBytes(".", back));
  EXPECT_FALSE(WriteFileBytes("fehlt\\x.txt", "x"));
  Folder("ordner");
  EXPECT_FALSE(WriteFileBytes("ordner", "x"));
  EXPECT_FALSE(WriteFileBytes("ordner\\", "x"));
  EXPECT_TRUE(ListFolder("ordner", "*").empty());
  EXPECT_EQ(Entries(), (std::vector<std::string>{"data.bin", "leer.txt", "ordner"}));
  ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
  if (geteuid() != 0) {  // root writes anyway
    EXPECT_FALSE(WriteFileBytes("data.bin", "other"));
    ASSERT_TRUE(ReadFileBytes("data.bin", back));
    EXPECT_EQ(back, "short");
  }
  ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
}

TEST_F(Scratch, ReadsRefuseFilesBeyondTheLimit) {
  // Sparse files: no disk space, but a read of them would want all their bytes in memory.
  Touch("gross.lsd", "");
  ASSERT_EQ(::truncate((dir + "/gross.lsd").c_str(), 100LL << 30), 0);
  std::string back = "alt";
  EXPECT_FALSE(ReadFileBytes("gross.lsd", back));
  EXPECT_EQ(back, "");
  ASSERT_EQ(::truncate((dir + "/gross.lsd").c_str(), off_t(kLargestFileRead) + 1), 0);
  EXPECT_FALSE(ReadFileBytes("gross.lsd", back));
  ASSERT_EQ(::truncate((dir + "/gross.lsd").c_str(), off_t(kLargestFileRead)), 0);
  EXPECT_TRUE(ReadFileBytes("gross.lsd", back));
  EXPECT_EQ(back.size(), kLargestFileRead);
}

TEST_F(Scratch, AWriteRemovesWhatKilledWritesLeftBehind) {
  // Temporary files of killed writes, however fresh; one a write elsewhere still holds; the
  // player's own files, though named alike (an older form named after the target is not
  // recognisably ours); another folder's.
  for (const char* rest : {".~norvalde.Ab12Cd", ".~Start.lsd.zZ9yY8", ".~norvalde.Qq1Ww2", ".~notiz.txt",
                           ".~kurz.A1b2C", "~spiel2.xtc.Ab12Cd", ".~notes.backup"})
    Touch(rest);
  Folder("saves");
  Touch("saves/.~norvalde.Ab12Cd");
  const int gehalten = open((dir + "/.~norvalde.Qq1Ww2").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(gehalten, 0);
  ASSERT_EQ(flock(gehalten, LOCK_EX), 0);
  auto da = [&](const std::string& rel) { return access((dir + "/" + rel).c_str(), F_OK) == 0; };

  ASSERT_TRUE(WriteFileBytes("spiel1.xtc", "neu"));
  EXPECT_FALSE(da(".~norvalde.Ab12Cd"));
  for (const char* bleibt : {".~norvalde.Qq1Ww2", ".~Start.lsd.zZ9yY8", ".~notiz.txt", ".~kurz.A1b2C",
                             "~spiel2.xtc.Ab12Cd", ".~notes.backup", "saves/.~norvalde.Ab12Cd", "spiel1.xtc"})
    EXPECT_TRUE(da(bleibt)) << bleibt;
  // Once its write has died, the held one goes too.
  close(gehalten);
  RemoveWriteLeftovers(".");
  EXPECT_FALSE(da(".~norvalde.Qq1Ww2"));
  for (const char* bleibt : {".~Start.lsd.zZ9yY8", ".~notes.backup", "saves/.~norvalde.Ab12Cd"})
    EXPECT_TRUE(da(bleibt)) << bleibt;
}

// A FIFO in a content file's place would block its open until something writes to it: the
// reads refuse it at once. Should one block, a watchman opens the FIFOs' other ends after a
// while, so that the test fails instead of hanging.
TEST_F(Scratch, FifosInPlaceOfContentFilesAreRefusedAtOnce) {
  const std::vector<std::string> fifos = {"HDW.txt", "Pi10000.txt", "wodds.wav"};
  for (const std::string& f : fifos) ASSERT_EQ(mkfifo((dir + "/" + f).c_str(), 0644), 0);
  std::mutex mu;
  std::condition_variable cv;
  bool fertig = false, geweckt = false;
  std::thread waechter([&] {
    std::unique_lock<std::mutex> l(mu);
    if (cv.wait_for(l, std::chrono::seconds(3), [&] { return fertig; })) return;
    geweckt = true;
    while (!cv.wait_for(l, std::chrono::milliseconds(10), [&] { return fertig; }))
      for (const std::string& f : fifos) {
        const int fd = open((dir + "/" + f).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) close(fd);
      }
  });

  std::string inhalt = "alt";
  EXPECT_FALSE(ReadFileBytes(Win() + "\\HDW.txt", inhalt));
  EXPECT_EQ(inhalt, "");
  EXPECT_FALSE(OpenForBinaryRead(FreeFile(), Win() + "\\Pi10000.txt"));
  PlayWaveEffect(Win() + "\\wodds.wav");
  EXPECT_FALSE(WaveEffectPlaying());
  {
    std::lock_guard<std::mutex> l(mu);
    fertig = true;
  }
  cv.notify_all();
  waechter.join();
  EXPECT_FALSE(geweckt) << "a read waited for the FIFO";
  AudioClose();
}

TEST_F(Scratch, DrivesFromTheEnvironment) {
  Folder("cd");
  Folder("cd/Spiel");
  Touch("cd/Norvalde");
  Folder("other");
  setenv("NORVALDE_DRIVES", ("e=" + dir + "/other; D:=" + dir + "/cd/;zz=/x;q=").c_str(), 1);

  std::vector<std::string> list = DriveList();
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front(), "c:");
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
  EXPECT_NE(std::find(list.begin(), list.end(), "d:"), list.end());
  EXPECT_NE(std::find(list.begin(), list.end(), "e:"), list.end());
  EXPECT_EQ(std::find(list.begin(), list.end(), "q:"), list.end());
  EXPECT_EQ(DriveRoot('d'), dir + "/cd");
  EXPECT_EQ(DriveRoot('D'), dir + "/cd");
  EXPECT_EQ(DriveRoot('c'), "/");
  EXPECT_EQ(DriveRoot('q'), "");

  EXPECT_TRUE(FileExists("d:\\NORVALDE"));
  EXPECT_EQ(HostPath("D:\\spiel\\Rooms\\"), dir + "/cd/Spiel/Rooms/");
  EXPECT_EQ(WinPath(dir + "/cd/Spiel"), "D:\\Spiel");
  EXPECT_EQ(WinPath(dir + "/cd"), "D:\\");
  EXPECT_EQ(WinPath(dir + "/other/x"), "E:\\x");
  EXPECT_EQ(HostPath("D:\\..\\.."), dir + "/cd");

  // With the current folder on D:, the list starts there and "\" means D:'s root.
  ASSERT_TRUE(ChDir("D:\\Spiel"));
  EXPECT_EQ(CurDir(), "D:\\Spiel");
  list = DriveList();
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front(), "d:");
  EXPECT_EQ(HostPath("\\Norvalde"), dir + "/cd/Norvalde");
  EXPECT_EQ(HostPath("C:\\usr"), "/usr");
}

TEST(Programs, StartReturnsAtOnceWithoutZombies) {
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_TRUE(StartProgram({"/bin/true"}));
  EXPECT_TRUE(StartProgram({"sleep", "10"}));  // found on PATH, not waited for
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0);
  EXPECT_LT(ms.count(), 5000);
  EXPECT_FALSE(StartProgram({"/nonexistent/program"}));
  EXPECT_FALSE(StartProgram({"no-such-program-norvalde"}));
  EXPECT_FALSE(StartProgram({}));
  // Nothing is left for this process to reap.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(Scratch, DesktopOpenerGetsHostPathsAndAddressesUnchanged) {
  // A stand-in opener on PATH records what it is given.
  Folder("bin");
  Folder("Videos");
  std::string log = dir + "/opened.txt";
  Touch("bin/xdg-open", "#!/bin/sh\necho \"$1\" >> '" + log + "'\n");
  ASSERT_EQ(chmod((dir + "/bin/xdg-open").c_str(), 0755), 0);
  std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (dir + "/bin:" + oldPath).c_str(), 1);
  bool a = OpenWithDesktop("VIDEOS");
  bool b = OpenWithDesktop("http://example.org/Seite?a=1");
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_TRUE(a);
  EXPECT_TRUE(b);
  EXPECT_FALSE(OpenWithDesktop(""));

  std::string seen;
  for (int i = 0; i < 200; ++i) {
    ReadFileBytes(log, seen);
    if (std::count(seen.begin(), seen.end(), '\n') >= 2) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_NE(seen.find(dir + "/Videos\n"), std::string::npos) << seen;
  EXPECT_NE(seen.find("http://example.org/Seite?a=1\n"), std::string::npos) << seen;
}

TEST(Programs, OwnExecutable) {
  std::string exe = AppExeName();
  std::string folder = AppPath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.substr(0, 2), "C:");
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(exe.substr(0, folder.size() + 1), folder + "\\");
  EXPECT_TRUE(FileExists(exe));
  EXPECT_TRUE(FolderExists(folder));
}
