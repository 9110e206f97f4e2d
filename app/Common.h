// General routines of the program: the program folder, folders beside it,
// the serial port list, "/"-separated lists, the two forms of a card key and
// the greying out of a window's buttons while a card operation runs.
//
// The text routines touch no Win32 and build natively as well; the rest is
// in CommonWindows.cpp.
#pragma once
#include <string>
#include <vector>

// The folder of the program file, with its trailing backslash. Set once at
// start-up before anything else, read only afterwards.
extern std::string AppPath;

using TStringVector = std::vector<std::string>;

// The cards' factory default key, 12 hexadecimal digits.
extern const char* const kFactoryKey;

// --- Text routines (no Win32) ---

// Number of fields of `text` split at `delim`: 0 for an empty or all-blank
// text; otherwise every field counts, empty ones included ("08//10" has 3).
int GetFieldCount(const std::string& text, char delim);
// Field `n` (1-based) without its delimiter; for n below 1 or beyond the last
// field, the last field. Empty for an empty or all-blank text.
std::string GetField(const std::string& text, int n, char delim);

// "ABCDEF" -> "AB CD EF": pairs joined by one blank, a trailing odd
// character dropped, the result trimmed.
std::string HexSpaced(const std::string& text);
// The text with every blank removed: "AB CD EF" -> "ABCDEF".
std::string HexCompact(const std::string& text);

// True for a character a key edit takes when typed: a hexadecimal digit
// (either case) or Backspace.
bool IsKeyChar(char c);

// True when `key` is exactly 12 hexadecimal digits, the only key form the
// reader takes. Anything else is refused before the card is touched.
bool IsCardKey(const std::string& key);

// Strict decimal number: optional blanks around, digits only, no sign, at
// most 9 digits. False (and `value` untouched) for anything else.
bool ParseDecimal(const std::string& text, int& value);
// The port number n of a port name "COMn" (the number after the first three
// characters, blanks trimmed), or -1 when that is not a number in 1..99.
int PortNumberOf(const std::string& portName);
// Sorts port names as text without regard to letter case (COM10 before COM2).
void SortPortNames(TStringVector& names);

// --- Windows routines (CommonWindows.cpp) ---

// The folder of the running program file, with a trailing backslash.
std::string ProgramFolder();
// Ensures the folder AppPath + name (one level; a trailing backslash of the
// name is ignored). A failed creation is silently ignored.
void ForceAppSubDir(std::string name);
// The serial ports that HKLM\HARDWARE\DEVICEMAP\SERIALCOMM lists, sorted as
// text. A value that is not a port name is skipped; the others still count.
void GetComPortList(TStringVector& list);
#if defined(_WIN32)
namespace fw { class TWinControl; }
// Hourglass (false) or default cursor (true); every button inside
// `container`, through its group boxes and panels, enabled or disabled;
// then one pass of the pending messages, so that the change shows before a
// long operation starts.
void SetButtonsEnabled(fw::TWinControl* container, bool enabled);
// GetComPortList's worker: the port names that the values under `path` of
// `root` hold.
void ReadPortNames(struct HKEY__* root, const char* path, TStringVector& list);
#endif
