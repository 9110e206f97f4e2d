// The functions of the card reader library that the program imports by name
// at load time (stdcall, decorated _Name@bytes; Dorvex.h and its import
// library). Each returns 1 for success and 0 for failure; the program takes
// any nonzero value as success.
//
// The wrapper tests supply these functions themselves (a scripted reader),
// so the wrappers can also be tested natively, where there is no stdcall.
#pragma once

#if defined(_WIN32)
#include "Dorvex.h"
#define DORVEX_API __stdcall
#else
#define DORVEX_API
extern "C" {
int OpenComPort(int port, int baud);
int CloseComPort(void);
int ReadCardSerNum(int flag, int port, int baud, char* out);
int SetDevPassWord(int flag, int port, int baud, const char* key);
int ChangeCardPassWord(const char* key, const char* value, char* out);
int SendBeep(int flag, int port, int baud, int value);
int SetOneCardPassWord(int flag, int port, int baud, int sector, const char* key);
int SetAllCardPassWord(int flag, int port, int baud, const char* key);
int WriteCardBlock(int flag, int port, int baud, int block, int count, const unsigned char* data);
int SetAutoEditPW(int flag, int port, int baud, int mode, int sector, const char* oldKey,
                  int oldKeyFlag, const char* newKey, int newKeyFlag);
int CancelAutoEditPW(int flag, int port, int baud);
}
#endif
