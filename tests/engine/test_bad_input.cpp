// Room and script files that are too large for memory: the load fails with its message.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "engine/interpreter.h"
#include "engine/rooms.h"
#include "runtime/system.h"
#include "scratch.h"
#include "speicher_grenze.h"

namespace {

class GrosseDateien : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing_support::MakeScratchFolder("bad-input");
    ASSERT_FALSE(dir.empty());
  }
  void TearDown() override { testing_support::RemoveScratchFolder(dir); }
  // A file that claims size bytes and holds text at its start (the rest reads as zeros).
  std::string Datei(const std::string& name, const std::string& text, long long size) {
    const std::string host = dir + "/" + name;
    std::ofstream(host, std::ios::binary) << text;
    EXPECT_EQ(::truncate(host.c_str(), size), 0);
    return rt::WinPath(host);
  }
  std::string dir;
};

}  // namespace

TEST_F(GrosseDateien, UeberGrosseDateienWerdenNichtGelesen) {
  Raum r;
  r.HotspotMax = 3;
  std::string fehler;
  EXPECT_FALSE(LeseRaumDatei(Datei("Riesig.lsd", "a.bmp,-1,-1,-1\r\n", 100LL << 30), r, fehler));
  EXPECT_EQ(fehler, "Die Datei kann nicht gelesen werden.");
  EXPECT_EQ(r.HotspotMax, 3);

  // A script file like that counts as missing: kind 2 answers with the error voice.
  Skript s = LadeSkript(Datei("schwert2.skp", "0,3,\"X\"", 100LL << 30));
  ASSERT_EQ(s.Letzter, 0);
  EXPECT_EQ(s.Befehle[0], Befehl::Fehlerton);
  EXPECT_EQ(LadeSkript(Datei("schwert1.skp", "0,3,\"X\"", 100LL << 30)).Letzter, -1);
}

// With the memory nearly used up, a room whose picture name alone takes 48 MB cannot be copied
// into its record: the load reports the file as unreadable instead of ending the process.
TEST_F(GrosseDateien, KeinSpeicherMehrIstEinFehlgeschlagenesLaden) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  const std::string name = "\"" + std::string(48 << 20, 'b') + "\",-1,-1,-1";
  const std::string pfad = Datei("Voll.lsd", name, static_cast<long long>(name.size()));
  // Room for the file's bytes, not for a second copy of them.
  const int status = testing_support::InChildWithMemoryToSpare(80u << 20, [&] {
    Raum r;
    std::string fehler;
    const bool ok = LeseRaumDatei(pfad, r, fehler);
    return !ok && fehler == "Die Datei kann nicht gelesen werden." ? 0 : 1;
  });
  ASSERT_NE(status, -1);
  EXPECT_TRUE(WIFEXITED(status)) << "the load ended the process with signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}
