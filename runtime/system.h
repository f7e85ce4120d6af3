// Clock, randomness, keyboard table, files, drives, programs: the runtime's view of the host.
// Paths handed to these functions are the system's Windows-style texts (backslashes, optional
// drive letter "C:", folders ending in a backslash), in Windows-1252.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rt {

// ---- Clock -------------------------------------------------------------------------------
// Monotonic milliseconds, 64 bits. Real clock by default.
uint64_t timeGetTime();
// Tests: a virtual clock that only moves when AdvanceClock is called or when an event wait
// sleeps (the wait jumps the clock to its deadline or the next timer tick instead of sleeping).
void UseVirtualClock(uint64_t start_ms = 1000);
void UseRealClock();
bool IsVirtualClock();
void AdvanceClock(uint64_t ms);
// Seconds since midnight, local time (the classic "Timer" function).
double SecondsSinceMidnight();

// ---- Random numbers ----------------------------------------------------------------------
// Uniform single-precision numbers in [0, 1).
void Randomize(double seed);
float Rnd();

// ---- Keyboard ----------------------------------------------------------------------------
// Windows virtual key codes.
enum : int {
  vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyShift = 16, vbKeyControl = 17, vbKeyMenu = 18,
  vbKeyPause = 19, vbKeyEscape = 27, vbKeySpace = 32, vbKeyPageUp = 33, vbKeyPageDown = 34,
  vbKeyEnd = 35, vbKeyHome = 36, vbKeyLeft = 37, vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40,
  vbKeyInsert = 45, vbKeyDelete = 46, vbKey0 = 48, vbKeyA = 65, vbKeyNumpad0 = 96,
  vbKeyF1 = 112, vbKeyF2 = 113, vbKeyF5 = 116, vbKeyF7 = 118, vbKeyF12 = 123
};
// The 256-byte key table kept by the runtime from the events it has delivered (held keys have
// their high bit set: a byte above 126).
void GetKeyboardState(uint8_t table[256]);

// ---- Files and folders -------------------------------------------------------------------
// The host path for a system path: drive letters map to drive roots, backslashes become
// slashes, each existing component is found case-insensitively; components that do not exist
// are kept as given. Relative paths are taken against the current folder; ".." stops at the
// drive's root; a path on an unknown drive gives "".
std::string HostPath(const std::string& winpath);
// The system path (Windows form, "C:\...") for a host path.
std::string WinPath(const std::string& hostpath);

bool FileExists(const std::string& winpath);    // an ordinary file
bool FolderExists(const std::string& winpath);
bool MkDir(const std::string& winpath);         // true when it exists afterwards
// Names (not paths) in a folder matching a pattern with * and ? (case-insensitive), sorted
// case-insensitively. Several patterns may be given separated by ';'; "x.*" also matches "x", so
// "*.*" matches every name. files: ordinary files; folders: subfolders. Names starting with '.'
// are the host's hidden entries, listed only with dotNames (never "." and "..", nor the
// temporary files of writes). Names no system path can reach are never listed.
std::vector<std::string> ListFolder(const std::string& winfolder, const std::string& pattern = "*",
                                    bool files = true, bool folders = false, bool dotNames = false);
// Whole-file reads and writes, bytes unchanged. false on any failure (nothing is written
// partially: a write goes to a temporary file first and is renamed over the target). A read
// takes ordinary files only and refuses one larger than kLargestFileRead, far above any room,
// script, picture or save file, and fails rather than throws when memory runs out. A write
// first removes the temporary files that earlier writes into the same folder left behind when
// they died; so does RemoveWriteLeftovers. A write beyond the file-size limit fails.
constexpr size_t kLargestFileRead = size_t(64) << 20;
bool ReadFileBytes(const std::string& winpath, std::string& out);
bool WriteFileBytes(const std::string& winpath, const std::string& data);
void RemoveWriteLeftovers(const std::string& winfolder);
// Tests: called by every WriteFileBytes once its temporary file is written and synced, just
// before the rename (given the temporary's host path); nullptr removes it.
using WriteRenameHook = void (*)(const std::string& hostTemporary);
void SetWriteRenameHook(WriteRenameHook hook);

// Files opened by number and read one byte at a time (the classic file numbers). Opening is
// read-only and never creates a file.
int FreeFile();  // the lowest number from 1 that is not in use
// false when the file is missing or unreadable, or the number is out of range or in use.
bool OpenForBinaryRead(int number, const std::string& winpath);
long long FileLength(int number);  // bytes; -1 when the number is not open
int ReadByte(int number);          // the next byte, 0..255; -1 at the end or when not open
bool CloseFile(int number);        // false when the number was not open

std::string AppPath();        // the executable's folder, no trailing backslash ("App.Path")
std::string AppExeName();     // the executable's system path
std::string CurDir();
bool ChDir(const std::string& winpath);
// The command line after the program name, as one text (arguments joined by blanks).
std::string Command();
void SetCommandLine(int argc, char** argv);  // main() hands its arguments over
std::string GetWindowsDirectory();           // "C:\Windows"

// ---- Drives ------------------------------------------------------------------------------
// Drive letters in letter order from the current drive ("c:", "d:", ...). C: is the host's
// root folder; further letters are mounted media (/media/*/*, /run/media/*/*, /mnt/*).
// The environment setting NORVALDE_DRIVES ("d=/some/folder;e=/other") adds or overrides roots.
std::vector<std::string> DriveList();
std::string DriveRoot(char letter);          // host folder of a drive, "" when unknown

// ---- Programs ----------------------------------------------------------------------------
// Starts a program by argument vector (never a shell) and returns at once; false when it
// could not be started. The arguments reach the host unchanged (give host paths from HostPath).
// The program runs in a session of its own and is never left as a zombie.
bool StartProgram(const std::vector<std::string>& argv);
// Opens a folder, file or web address with the desktop's opener (xdg-open).
bool OpenWithDesktop(const std::string& target);
// Starts this program's own executable again, without arguments.
bool RestartSelf();
// Flushes the standard streams and ends the process at once (no destructors, no exit handlers).
[[noreturn]] void EndProcess(int code = 0);

}  // namespace rt
