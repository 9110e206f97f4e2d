// The card operations built on the reader library: load a key into the
// reader, give the listed sectors or all sectors of the card on the reader a
// new key, each key plain or diversified with the card's serial number.
//
// Open: the wrapper opens the port itself and closes it before it returns;
// otherwise the caller has opened it and closes it afterwards. Inside a
// wrapper every library call uses the already open port. The wrappers show
// nothing: every failure is the result false, and the caller reports it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Common.h"

// The library's flag value for true (all bits set).
constexpr int32_t kLibTrue = -1;
constexpr int32_t kBaud = 9600;

inline int32_t LibFlag(bool value) { return value ? kLibTrue : 0; }

// Loads Key (diversified when PerCard) into the reader.
bool SetReaderKey(bool open, int port, int baud, bool perCard, const std::string& key);

// Gives every sector of Sectors ("/"-separated decimal numbers 0..15, in
// list order) the new key, after loading the old key into the reader; on
// success loads the factory key back into the reader and beeps once.
bool InitCardSectors(bool open, int port, int baud, const std::string& sectors, bool oldPerCard,
                     bool newPerCard, const std::string& oldKey, const std::string& newKey);

// As InitCardSectors for all 16 sectors.
bool InitCardAllSectors(bool open, int port, int baud, bool oldPerCard, bool newPerCard,
                        const std::string& oldKey, const std::string& newKey);

// The sector numbers of a "/"-separated list, in list order. False when a
// field is not a decimal number in 0..15.
bool ParseSectorList(const std::string& sectors, std::vector<int>& out);
