// Files held open by number for byte-by-byte reading.
#include <sys/stat.h>

#include <cstdio>
#include <map>

#include "runtime/internal.h"
#include "runtime/system.h"

namespace rt {

namespace {

constexpr int kHoechsteNummer = 511;

std::map<int, std::FILE*>& Offen() {
  static std::map<int, std::FILE*> offen;
  return offen;
}

std::FILE* Datei(int number) {
  auto it = Offen().find(number);
  return it == Offen().end() ? nullptr : it->second;
}

}  // namespace

int FreeFile() {
  int n = 1;
  while (Offen().count(n)) ++n;
  return n;
}

bool OpenForBinaryRead(int number, const std::string& winpath) {
  if (number < 1 || number > kHoechsteNummer || Datei(number) || winpath.empty()) return false;
  const std::string host = HostPath(winpath);
  if (host.empty()) return false;
  std::FILE* f = OpenRegularStream(host);
  if (!f) return false;
  Offen()[number] = f;
  return true;
}

long long FileLength(int number) {
  std::FILE* f = Datei(number);
  struct stat st{};
  if (!f || fstat(fileno(f), &st) != 0) return -1;
  return static_cast<long long>(st.st_size);
}

int ReadByte(int number) {
  std::FILE* f = Datei(number);
  if (!f) return -1;
  const int c = std::fgetc(f);
  return c == EOF ? -1 : c;
}

bool CloseFile(int number) {
  std::FILE* f = Datei(number);
  if (!f) return false;
  Offen().erase(number);
  std::fclose(f);
  return true;
}

}  // namespace rt
