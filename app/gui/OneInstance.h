// OneInstance — one running copy of the program per user and program file.
//
// The first instance listens on a local socket whose name is derived from
// "OneInstUtilWnd:" and the full path of the program file. A later start
// connects to it and sends its raw command line; the first instance hands
// the text to a callback that decides whether it takes the command line
// over (reply ONEINST_TAKEN_OVER: the sender ends) or not (reply
// ONEINST_GO_ON: the sender opens its own window).
//
// Message from the sender (all integers little-endian, 32-bit unsigned):
//   process id of the sender, byte count n (at most ONEINST_MAX_TEXT_BYTES),
//   then n bytes of command-line text.
// Reply: one 32-bit code. Anything else on the socket — oversized, short,
// garbage, a peer of another user, a peer that does not finish within
// ONEINST_TIMEOUT_MS — is dropped without a reply and without side effects.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>

namespace nodalis {

constexpr std::uint32_t ONEINST_TAKEN_OVER = 0xDA860081u;
constexpr std::uint32_t ONEINST_GO_ON = 0xDA860080u;
constexpr std::uint32_t ONEINST_MAX_TEXT_BYTES = 32768;  // bytes of command line
constexpr int ONEINST_TIMEOUT_MS = 2000;                  // per connection, both sides

// (Length in bytes, Text, Answer): Answer starts at 0 (taken over); set it
// to 1 to let the sender go on. Runs on the user-interface thread between
// other events, possibly while the program dispatches events inside a long
// computation: it must not start such a computation itself.
using OneInstanceCallback =
    std::function<void(std::int32_t Length, const std::string& Text, std::uint8_t& Answer)>;

// Name of the local socket for a program file. The environment variable
// NODALIS_INSTANCE_TAG, when set, is mixed in, so that test runs stay apart
// from each other and from a copy the user has running.
QString OneInstanceServerName(const QString& ProgramPath);

// The program's raw command line in the classic form: the program path in
// double quotes, then each argument after a blank (in double quotes when it
// contains a blank).
QByteArray OneInstanceCommandLine(const QStringList& Arguments);

// The check at program start (needs the application object). Sends
// CommandLine to a running instance; returns true when that instance took it
// over, so the caller ends at once. Otherwise false is returned, and when no
// instance listens, this process becomes the listening one (a socket left
// behind by a crashed instance is replaced). A start that a running instance
// lets go on does not listen: the socket stays with the first instance.
bool OneInstanceStart(const QString& ProgramPath, const QByteArray& CommandLine);

// Register the callback. Until then every message is answered "taken over".
void OneInstanceSetCallback(OneInstanceCallback Callback);

// Close the listening socket (program end).
void OneInstanceStop();

// True while this process listens as the first instance.
bool OneInstanceListening();

}  // namespace nodalis
