// The functions of the card reader library that the program imports by name
// at load time (stdcall; decorated as _Name@bytes). Each returns 1 for success
// and 0 for failure; the program takes any nonzero value as success.
//
// The wrapper tests supply these functions themselves (a scripted reader,
// TAVRIN_SCRIPTED_READER), so the wrappers can be tested without a device.
#pragma once
#include <cstdint>

#if defined(_WIN32) && !defined(TAVRIN_SCRIPTED_READER)
#define DORVEX_API __declspec(dllimport) __stdcall
#elif defined(_WIN32)
#define DORVEX_API __stdcall
#else
#define DORVEX_API
#endif

extern "C" {
int32_t DORVEX_API OpenComPort(int32_t port, int32_t baud);
int32_t DORVEX_API CloseComPort();
int32_t DORVEX_API ReadCardSerNum(int32_t open, int32_t port, int32_t baud, char* serial);
int32_t DORVEX_API SetDevPassWord(int32_t open, int32_t port, int32_t baud, const char* key);
int32_t DORVEX_API ChangeCardPassWord(const char* key, const char* value, char* out);
int32_t DORVEX_API SendBeep(int32_t open, int32_t port, int32_t baud, int32_t value);
int32_t DORVEX_API SetOneCardPassWord(int32_t open, int32_t port, int32_t baud, int32_t sector,
                                      const char* key);
int32_t DORVEX_API SetAllCardPassWord(int32_t open, int32_t port, int32_t baud, const char* key);
int32_t DORVEX_API WriteCardBlock(int32_t open, int32_t port, int32_t baud, int32_t block,
                                  int32_t count, const uint8_t* data);
int32_t DORVEX_API SetAutoEditPW(int32_t open, int32_t port, int32_t baud, int32_t allSectors,
                                 int32_t sector, const char* oldKey, int32_t oldPerCard,
                                 const char* newKey, int32_t newPerCard);
int32_t DORVEX_API CancelAutoEditPW(int32_t open, int32_t port, int32_t baud);
}
