// System paths (Windows form, Windows-1252) on the host's file system: drive letters, case-blind
// names, and whole-file reads and writes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <map>
#include <new>

#include "runtime/internal.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace rt {

namespace {

// ---- Drives ------------------------------------------------------------------------------

// Host folder without a trailing slash ("/" stays), made absolute and lexically tidied.
std::string TidyHost(const std::string& path);

void AddMountedMedia(const std::string& parent, int depth, std::vector<std::string>& out) {
  DIR* d = opendir(parent.c_str());
  if (!d) return;
  std::vector<std::string> names;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    // The parent's own entry tells a folder without touching the medium behind it (a stale
    // network mount must not stall every file access).
    if (e->d_type != DT_DIR && e->d_type != DT_UNKNOWN && e->d_type != DT_LNK) continue;
    if (e->d_type != DT_DIR) {
      struct stat st{};
      if (stat((parent + "/" + n).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    }
    names.push_back(n);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) {
    std::string p = parent + "/" + n;
    if (depth > 1) AddMountedMedia(p, depth - 1, out);
    else out.push_back(p);
  }
}

// Letter (lower case) -> host root. C: is the root folder; mounted media take the free letters
// from D: on; NORVALDE_DRIVES sets letters of its own choosing first.
std::map<char, std::string> DriveTable() {
  std::map<char, std::string> drives;
  drives.emplace('c', "/");
  if (const char* env = std::getenv("NORVALDE_DRIVES")) {
    std::string setting = env;
    size_t start = 0;
    while (start <= setting.size()) {
      size_t end = setting.find(';', start);
      if (end == std::string::npos) end = setting.size();
      std::string item = setting.substr(start, end - start);
      size_t eq = item.find('=');
      if (eq != std::string::npos) {
        std::string letter = Trim(item.substr(0, eq));
        std::string root = item.substr(eq + 1);
        if (letter.size() == 2 && letter[1] == ':') letter.resize(1);
        if (letter.size() == 1 && std::isalpha(static_cast<unsigned char>(letter[0])) && !root.empty())
          drives[static_cast<char>(std::tolower(static_cast<unsigned char>(letter[0])))] = TidyHost(root);
      }
      start = end + 1;
    }
  }
  std::vector<std::string> media;
  AddMountedMedia("/media", 2, media);
  AddMountedMedia("/run/media", 2, media);
  AddMountedMedia("/mnt", 1, media);
  char next = 'd';
  for (const std::string& m : media) {
    bool taken = false;
    for (auto& [l, r] : drives) taken = taken || r == m;
    if (taken) continue;
    while (next <= 'z' && drives.count(next)) ++next;
    if (next > 'z') break;
    drives[next++] = m;
  }
  return drives;
}

// Whether host path p lies in folder root (component-wise).
bool Under(const std::string& p, const std::string& root) {
  if (root == "/") return !p.empty() && p[0] == '/';
  return p.compare(0, root.size(), root) == 0 && (p.size() == root.size() || p[root.size()] == '/');
}

// ---- Host paths --------------------------------------------------------------------------

std::string HostCwd() {
  char buf[4096];
  if (getcwd(buf, sizeof buf)) return buf;
  return "/";
}

std::vector<std::string> SplitHost(const std::string& p) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < p.size()) {
    size_t j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    std::string c = p.substr(i, j - i);
    if (c == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!c.empty() && c != ".") {
      parts.push_back(c);
    }
    i = j + 1;
  }
  return parts;
}

std::string TidyHost(const std::string& path) {
  std::string abs = !path.empty() && path[0] == '/' ? path : HostCwd() + "/" + path;
  std::string out;
  for (const std::string& c : SplitHost(abs)) out += "/" + c;
  return out.empty() ? "/" : out;
}

// A system location: drive letter and the components below its root, in Windows-1252.
struct Location {
  char drive = 'c';
  std::vector<std::string> parts;
  bool folder = false;  // written with a trailing separator
};

// Drive and components of a host path (absolute, tidied).
Location LocateHost(const std::string& host, const std::map<char, std::string>& drives) {
  std::string tidy = TidyHost(host);
  Location loc;
  // The drive with the longest root holding the path; the lower letter on equal roots.
  std::string best;
  for (auto& [letter, root] : drives) {
    if (Under(tidy, root) && (best.empty() || root.size() > best.size())) {
      best = root;
      loc.drive = letter;
    }
  }
  std::string rest = best.empty() || best == "/" ? tidy : tidy.substr(best.size());
  for (const std::string& c : SplitHost(rest)) loc.parts.push_back(FromUtf8(c));
  return loc;
}

char CurrentDrive(const std::map<char, std::string>& drives) { return LocateHost(HostCwd(), drives).drive; }

// Windows path text -> location, against the current folder for relative forms.
Location LocateWin(const std::string& winpath, const std::map<char, std::string>& drives) {
  std::string p = winpath;
  std::replace(p.begin(), p.end(), '/', '\\');
  Location loc;
  bool absolute = false;
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
    loc.drive = static_cast<char>(std::tolower(static_cast<unsigned char>(p[0])));
    p.erase(0, 2);
    absolute = !p.empty() && p[0] == '\\';
    if (!absolute) {
      Location cwd = LocateHost(HostCwd(), drives);
      if (cwd.drive == loc.drive) loc.parts = cwd.parts;
    }
  } else if (!p.empty() && p[0] == '\\') {
    loc.drive = CurrentDrive(drives);
  } else {
    loc = LocateHost(HostCwd(), drives);
  }
  loc.folder = !p.empty() && p.back() == '\\';
  size_t i = 0;
  while (i <= p.size()) {
    size_t j = p.find('\\', i);
    if (j == std::string::npos) j = p.size();
    std::string c = p.substr(i, j - i);
    if (c == "..") {
      if (!loc.parts.empty()) loc.parts.pop_back();  // never above the drive's root
    } else {
      // Names end before trailing blanks and dots, as they do on Windows ("Haus.lsd " opens
      // "Haus.lsd"); what is left of "." or "..." is nothing.
      size_t end = c.find_last_not_of(" .");
      if (end != std::string::npos) loc.parts.push_back(c.substr(0, end + 1));
    }
    i = j + 1;
  }
  return loc;
}

bool Exists(const std::string& host) {
  struct stat st{};
  return lstat(host.c_str(), &st) == 0;
}

// The entry of folder dir whose name equals want ignoring case; "" when there is none.
std::string FindCaseBlind(const std::string& dir, const std::string& want) {
  DIR* d = opendir(dir.c_str());
  if (!d) return {};
  std::string key = UCase(want), best;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (UCase(FromUtf8(n)) == key && (best.empty() || n < best)) best = n;
  }
  closedir(d);
  return best;
}

std::string HostOf(const Location& loc, const std::map<char, std::string>& drives) {
  auto it = drives.find(loc.drive);
  if (it == drives.end()) return {};
  std::string path = it->second;
  bool found = true;
  for (const std::string& part : loc.parts) {
    std::string name = ToUtf8(part);
    std::string base = path == "/" ? "" : path;
    if (found && !Exists(base + "/" + name)) {
      std::string other = FindCaseBlind(path, part);
      if (other.empty()) found = false;
      else name = other;
    }
    path = base + "/" + name;
  }
  if (loc.folder && path != "/") path += "/";
  return path;
}

bool StatHost(const std::string& winpath, struct stat& st) {
  if (winpath.empty()) return false;
  std::string host = HostPath(winpath);
  return !host.empty() && stat(host.c_str(), &st) == 0;
}

// Wildcard match with * and ?, case-blind on Windows-1252 texts.
bool Match(const std::string& name, const std::string& pat) {
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pat.size() && (pat[p] == '?' || pat[p] == name[n])) {
      ++n, ++p;
    } else if (p < pat.size() && pat[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pat.size() && pat[p] == '*') ++p;
  return p == pat.size();
}

bool MatchAny(const std::string& name, const std::string& patterns) {
  std::string key = UCase(name);
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string pat = UCase(Trim(patterns.substr(start, end - start)));
    start = end + 1;
    if (pat.empty()) continue;
    // "name.*" also matches a name without any extension, so "*.*" matches everything.
    if (Match(key, pat)) return true;
    if (pat.size() >= 2 && pat.compare(pat.size() - 2, 2, ".*") == 0 &&
        Match(key, pat.substr(0, pat.size() - 2)))
      return true;
  }
  return false;
}

// ---- Temporary files of writes ---------------------------------------------------------------

// Short, so that a target name as long as the host allows still has its temporary beside it.
constexpr char kTemporaryPattern[] = ".~norvalde.XXXXXX";

// Exactly the pattern with its X's filled from mkstemp's letters and digits. Anything else in
// the folder may be the player's own, and only our own temporaries are cleared away or hidden.
bool IsWriteTemporary(const std::string& name) {
  constexpr size_t kFixed = sizeof kTemporaryPattern - 1 - 6;
  if (name.size() != kFixed + 6 || name.compare(0, kFixed, kTemporaryPattern, kFixed) != 0) return false;
  return std::all_of(name.begin() + kFixed, name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  });
}

// A write holds an exclusive lock on its temporary file until the file is renamed or removed,
// so one nobody holds was left by a write that died. Taking the lock before the unlink keeps a
// write that is just starting from losing its file (it checks, once it holds the lock, that its
// file still has a name).
void RemoveLeftovers(const std::string& dir) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (!IsWriteTemporary(name)) continue;
    const std::string path = dir + name;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) continue;
    struct stat held{}, named{};
    if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == geteuid() &&
        flock(fd, LOCK_EX | LOCK_NB) == 0 && lstat(path.c_str(), &named) == 0 &&
        named.st_dev == held.st_dev && named.st_ino == held.st_ino)
      unlink(path.c_str());
    close(fd);
  }
  closedir(d);
}

// A fresh temporary file in dir, locked; -1 on failure.
int MakeTemporary(const std::string& dir, std::string& path) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    path = dir + kTemporaryPattern;
    const int fd = mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    // Without lock support nobody else gets the lock either, so nobody removes the file.
    flock(fd, LOCK_EX);
    struct stat st{};
    if (fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
    close(fd);  // taken for a leftover in the moment before the lock
  }
  return -1;
}

}  // namespace

int OpenRegularFile(const std::string& host) {
  if (host.empty()) return -1;
  const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  // Reads of an ordinary file do not wait anyway; without the flag no reader meets EAGAIN.
  const int flags = fcntl(fd, F_GETFL);
  if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

std::FILE* OpenRegularStream(const std::string& host) {
  const int fd = OpenRegularFile(host);
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "rb");
  if (!f) close(fd);
  return f;
}

bool IsRegularFile(const std::string& host) {
  struct stat st{};
  return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string HostExePath() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string p(buf, static_cast<size_t>(n));
  // A rebuilt executable leaves the running one marked as deleted; the new file has its name.
  const std::string deleted = " (deleted)";
  if (p.size() > deleted.size() && p.compare(p.size() - deleted.size(), deleted.size(), deleted) == 0)
    p.resize(p.size() - deleted.size());
  return p;
}

std::string HostPath(const std::string& winpath) {
  auto drives = DriveTable();
  return HostOf(LocateWin(winpath, drives), drives);
}

std::string WinPath(const std::string& hostpath) {
  bool folder = !hostpath.empty() && hostpath.back() == '/';
  Location loc = LocateHost(hostpath, DriveTable());
  std::string out(1, static_cast<char>(std::toupper(static_cast<unsigned char>(loc.drive))));
  out += ":";
  for (const std::string& p : loc.parts) out += "\\" + p;
  if (loc.parts.empty() || folder) out += "\\";
  return out;
}

bool FileExists(const std::string& winpath) {
  struct stat st{};
  return StatHost(winpath, st) && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& winpath) {
  struct stat st{};
  return StatHost(winpath, st) && S_ISDIR(st.st_mode);
}

bool MkDir(const std::string& winpath) {
  if (winpath.empty()) return false;
  std::string host = HostPath(winpath);
  if (!host.empty()) mkdir(host.c_str(), 0777);
  return FolderExists(winpath);
}

std::vector<std::string> ListFolder(const std::string& winfolder, const std::string& pattern, bool files,
                                    bool folders, bool dotNames) {
  std::vector<std::string> out;
  std::string dir = winfolder.empty() ? HostCwd() : HostPath(winfolder);
  if (dir.empty()) return out;
  DIR* d = opendir(dir.c_str());
  if (!d) return out;
  std::string pat = Trim(pattern).empty() ? "*" : pattern;
  std::string base = dir.back() == '/' ? dir : dir + "/";
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n.empty() || n == "." || n == ".." || (n[0] == '.' && (!dotNames || IsWriteTemporary(n)))) continue;
    // A name no system path can reach (bytes that are not UTF-8, characters outside
    // Windows-1252, a backslash) would be listed only to open nothing.
    const std::string name = FromUtf8(n);
    if (ToUtf8(name) != n || n.find('\\') != std::string::npos) continue;
    struct stat st{};
    if (stat((base + n).c_str(), &st) != 0) continue;
    bool want = (files && S_ISREG(st.st_mode)) || (folders && S_ISDIR(st.st_mode));
    if (want && MatchAny(name, pat)) out.push_back(name);
  }
  closedir(d);
  std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
    std::string ua = UCase(a), ub = UCase(b);
    return ua != ub ? ua < ub : a < b;
  });
  return out;
}

bool ReadFileBytes(const std::string& winpath, std::string& out) {
  out.clear();
  if (winpath.empty()) return false;
  const int fd = OpenRegularFile(HostPath(winpath));
  if (fd < 0) return false;
  struct stat st{};
  bool ok = fstat(fd, &st) == 0 && uint64_t(st.st_size) <= kLargestFileRead;
  std::string data;
  try {
    if (ok) data.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    while (ok) {
      ssize_t n = read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ok = n == 0;
        break;
      }
      ok = data.size() + static_cast<size_t>(n) <= kLargestFileRead;  // it may grow meanwhile
      if (ok) data.append(buf, static_cast<size_t>(n));
    }
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  close(fd);
  if (ok) out.swap(data);
  return ok;
}


namespace {
WriteRenameHook writeRenameHook = nullptr;
}  // namespace

void SetWriteRenameHook(WriteRenameHook hook) { writeRenameHook = hook; }

bool WriteFileBytes(const std::string& winpath, const std::string& data) {
  // Beyond the file-size limit a write fails like any other, rather than the signal ending the
  // process with the old file's replacement half-written.
  static const bool quietLimit = signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
  (void)quietLimit;
  if (winpath.empty()) return false;
  std::string host = HostPath(winpath);
  if (host.empty() || host.back() == '/') return false;
  size_t slash = host.rfind('/');
  std::string dir = host.substr(0, slash + 1);
  RemoveLeftovers(dir);
  std::string tmp;
  const int fd = MakeTemporary(dir, tmp);
  if (fd < 0) return false;
  // The new file gets the old one's permissions, or the usual ones for a new file.
  struct stat old{};
  mode_t mode;
  if (stat(host.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = fchmod(fd, mode) == 0;
  size_t done = 0;
  while (ok && done < data.size()) {
    ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  ok = ok && fsync(fd) == 0;
  if (ok && writeRenameHook) writeRenameHook(tmp);
  ok = ok && rename(tmp.c_str(), host.c_str()) == 0;
  if (!ok) unlink(tmp.c_str());
  close(fd);  // the lock goes with it; what close could report, fsync has
  return ok;
}

void RemoveWriteLeftovers(const std::string& winfolder) {
  std::string dir = winfolder.empty() ? HostCwd() : HostPath(winfolder);
  if (dir.empty()) return;
  if (dir.back() != '/') dir += '/';
  RemoveLeftovers(dir);
}

std::string AppExeName() {
  std::string exe = HostExePath();
  return exe.empty() ? std::string() : WinPath(exe);
}

std::string AppPath() {
  std::string exe = HostExePath();
  if (exe.empty()) return CurDir();
  size_t slash = exe.rfind('/');
  std::string folder = WinPath(slash == 0 ? "/" : exe.substr(0, slash));
  // "C:\" keeps its backslash: a drive root is written that way.
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string CurDir() {
  std::string cur = WinPath(HostCwd());
  if (cur.size() > 3 && cur.back() == '\\') cur.pop_back();
  return cur;
}

bool ChDir(const std::string& winpath) {
  if (winpath.empty()) return false;
  std::string host = HostPath(winpath);
  return !host.empty() && chdir(host.c_str()) == 0;
}

std::vector<std::string> DriveList() {
  auto drives = DriveTable();
  char current = CurrentDrive(drives);
  std::vector<std::string> out;
  for (auto& [letter, root] : drives)
    if (letter >= current) out.push_back(std::string(1, letter) + ":");
  return out;
}

std::string DriveRoot(char letter) {
  auto drives = DriveTable();
  auto it = drives.find(static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
  return it == drives.end() ? std::string() : it->second;
}

}  // namespace rt
