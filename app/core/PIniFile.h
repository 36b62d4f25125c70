// PIniFile — the program's settings file (profile/INI file semantics).
//
// A settings file is a plain text file of "[Section]" headers and
// "Key=Value" lines. Reading follows the rules of classic profile files:
// a missing file, section or key yields the given default; section and key
// names compare without regard to letter case; the value is trimmed, and a
// value enclosed in double quotes loses them. Writing changes (or adds) the
// one line of that key and keeps every other line of the file byte for byte,
// including comments, blank lines and the file's line-end style; the file,
// the section and the key are created when missing.
//
// Only a file that does not exist counts as missing. A file that exists but
// is not a regular file (a FIFO, a device), cannot be read, is larger than
// 1 MB or has no write permission bit is read as all defaults (FIFOs and
// devices are never opened) and is never written: the writer then returns
// false and leaves it exactly as it was. Writing goes through a temporary
// file created exclusively beside the target and renamed over it, so a
// failed write (a full disk) keeps the old file and a link planted under a
// temporary name is never followed. A settings file that is a link is
// written through to its target, unless the link belongs to someone else
// in a shared sticky directory (such as /tmp).
//
// The unit holds one current settings file, chosen once per run by
// SetIniFile. Texts are passed through as 8-bit strings (Windows-1252 in the
// program's own values, file-system bytes for paths).
#pragma once

#include <string>

namespace nodalis {

// Locate the settings file and make it current. Name is "Nodalis.ini" for
// the program. Resolution:
//   1. Path := Name when it is absolute (starts with "/"), else current
//      directory + "/" + Name when that exists there (in any form; portable
//      use), else the program's configuration folder IniConfigDir() + "/" +
//      Name. That folder is created, mode 0700, when the file is first
//      written (IniWriteString).
//   2. That file's [Ini] IniFile (trimmed) names another file: absolute
//      names are taken as they are; plain names resolve against the folder
//      of the file of step 1, or against the user's configuration directory
//      when [Ini] UseWinDir reads true. A Windows name with a drive letter
//      ("C:\foo.ini") means its file name in the configuration directory.
//   3. Without IniFile but with UseWinDir true, Name itself resolves
//      against the user's configuration directory.
void SetIniFile(const std::string& Name);

// Path of the current settings file (empty before SetIniFile).
const std::string& IniFilePath();

// The user's configuration directory ($XDG_CONFIG_HOME, else $HOME/.config,
// the home directory taken from the user database when $HOME is not set),
// without a trailing "/". The counterpart of the system directory that the
// UseWinDir key selects.
std::string IniSystemDir();

// The program's own configuration folder: IniSystemDir() + "/nodalis".
std::string IniConfigDir();

// Value of Key in Section of the current file, or Default.
std::string IniReadString(const std::string& Section, const std::string& Key,
                          const std::string& Default);

// "TRUE"/"1" -> true, "FALSE"/"0" -> false (any letter case); a missing key
// or any other text -> Default.
bool IniReadBool(const std::string& Section, const std::string& Key, bool Default);

// Set Key in Section to Value. Returns false when the file could not be
// written (it is then left as it was).
bool IniWriteString(const std::string& Section, const std::string& Key,
                    const std::string& Value);

// The same operations on an explicit file, for the routines above and tests.
std::string IniFileReadString(const std::string& Path, const std::string& Section,
                              const std::string& Key, const std::string& Default);
bool IniFileWriteString(const std::string& Path, const std::string& Section,
                        const std::string& Key, const std::string& Value);

// True when Name is an absolute path (starts with "/").
bool IniPathIsAbsolute(const std::string& Name);
// True when Name is a Windows name with a drive: its second character is ":".
bool IniPathHasDrive(const std::string& Name);
// The file Name means, seen from the directory Dir: absolute names as they
// are; drive names as their file name (after the last "\" or "/") in the
// configuration directory, or "" when they have none ("C:\"); other names
// Dir + "/" + Name.
std::string IniResolveName(const std::string& Name, const std::string& Dir);

}  // namespace nodalis
