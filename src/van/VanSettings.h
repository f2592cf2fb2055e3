#pragma once
#include <QString>

// The VAN settings kept in the registry: the operator's server
// (Communication) and the daily receive counters (RecvFile).
namespace VanSettings {

extern const char* const DefaultAddress;
extern const char* const DefaultPort;

struct Server {
    QString address;
    QString portNo; // as stored, unchecked
};

// Reads Address and PortNo without creating the key.
Server readServer();
void writeServer(const Server& s);
// Creates the key with the defaults when it is missing; true when it did.
bool ensureServerDefaults();

// Port text read as a decimal number; false when it is not one (or not a
// TCP port).
bool parsePort(const QString& text, quint16* port);

// The receive counters of RecvFile start from "0" on each new day.
void resetRecvCounters(const QString& todayYmd);

// The counter value a file type counts under: the type itself for "000" to
// "800" and "R00"; any other type shares the counter of its first
// character, since the received file's name carries only that character.
QString recvCounterName(const QString& fileType);
// Counts one more received file of the type today (the day's reset first)
// and returns the new value.
int takeRecvCounter(const QString& fileType, const QString& todayYmd);
// The two digits of a counter value in a file name: zero-padded, or of a
// value of 100 or more its first two digits.
QString recvCounterDigits(int value);

} // namespace VanSettings
