/*
 * Dorvex.dll: the card reader library.
 *
 * Every function is stdcall and returns 1 for success or 0 for failure; there
 * are no error codes. The card and reader functions take the same three
 * arguments first:
 *   flag  nonzero: open COM<port> at <baud> for this call and close it again;
 *         0: use the port opened before with OpenComPort (port, baud ignored).
 *   port  the number n of the serial port COMn, 1-99.
 *   baud  the line speed, for example 9600.
 * Keys are texts of 12 hexadecimal digits; input texts shorter than their
 * format needs, and null pointers, are refused before any I/O. Outputs are
 * written only when the call succeeds, never past the sizes below.
 *
 * Link against libDorvex.a, which binds these declarations to the library's
 * decorated export names (_OpenComPort@8 and so on).
 */
#ifndef DORVEX_H
#define DORVEX_H

#ifdef __cplusplus
extern "C" {
#endif

/* Sizes of the caller's buffers, terminating NUL included. */
#define DORVEX_KEY_CHARS 12           /* a key text: 12 hex digits           */
#define DORVEX_SCRAMBLE_CHARS 8       /* a scrambling value: 8 hex digits     */
#define DORVEX_KEY_BUFFER 13          /* ChangeCardPassWord output            */
#define DORVEX_SERIAL_BUFFER 9        /* ReadCardSerNum output: 8 hex digits  */
#define DORVEX_BLOCK_BYTES 16         /* one card block                       */
#define DORVEX_MAX_BLOCKS 3           /* blocks per read or write             */
/* ReadCardBlock output for `count` blocks: the data and a 0 byte after it. */
#define DORVEX_BLOCK_BUFFER(count) ((count) * DORVEX_BLOCK_BYTES + 1)
/* Card records. */
#define DORVEX_TEXT_CHARS 8           /* the caller's text on the card        */
#define DORVEX_TEXT_BUFFER 9          /* ReadCard text output: 8 bytes + NUL  */
#define DORVEX_DATE_CHARS 6           /* a date: 6 digits                     */
#define DORVEX_DATE_BUFFER 7          /* ReadCard date outputs                */
#define DORVEX_DIGITS_CHARS 12        /* a 12-digit field                     */
#define DORVEX_DIGITS_BUFFER 13       /* ReadCard 12-digit outputs            */

/* The serial link. */
int __stdcall OpenComPort(int port, int baud);
int __stdcall CloseComPort(void);

/* Reader commands. */
int __stdcall SetDevPassWord(int flag, int port, int baud, const char* key);
int __stdcall SetOneCardPassWord(int flag, int port, int baud, int sector, const char* key);
int __stdcall SetAllCardPassWord(int flag, int port, int baud, const char* key);
int __stdcall WriteCardBlock(int flag, int port, int baud, int block, int count,
                             const unsigned char* data);
int __stdcall ReadCardBlock(int flag, int port, int baud, int block, int count,
                            unsigned char* out);
int __stdcall ReadCardSerNum(int flag, int port, int baud, char* out);
int __stdcall SendBeep(int flag, int port, int baud, int value);
int __stdcall SetAutoEditPW(int flag, int port, int baud, int mode, int sector,
                            const char* oldKey, int oldKeyFlag,
                            const char* newKey, int newKeyFlag);
int __stdcall CancelAutoEditPW(int flag, int port, int baud);

/*
 * Card records in the three sectors s, s+1, s+2 (s = 1-13): a header that
 * marks the card opened, and an account record kept as main and backup copy.
 * Texts: `text` is read up to its NUL, at most 8 bytes; dates are 6 digits,
 * the long digit fields 12 digits (shorter texts are refused).
 */
int __stdcall OpenCard(int flag, int port, int baud, int sector, int cardNumber, const char* text,
                       int byte4, int byte13, const char* date, const char* limitDate,
                       int cash, int subsidy, int count, int counter,
                       int value22, int value24, int value27, int value29,
                       const char* subsidyDate, const char* digits32, int byte38,
                       const char* digits16, int value14);
int __stdcall ReadCard(int flag, int port, int baud, int sector, int* opened, int* cardNumber,
                       char* text, int* byte4, int* byte13, char* date, char* limitDate,
                       int* cash, int* subsidy, int* count, int* counter,
                       int* value22, int* value24, int* value27, int* value29,
                       char* subsidyDate, char* digits32, int* byte38, char* digits16, int* value14);
int __stdcall EditCard(int flag, int port, int baud, int sector, const char* text, int byte4,
                       int byte13, const char* date, const char* limitDate);
int __stdcall EditELimitDate(int flag, int port, int baud, int sector, const char* limitDate);
int __stdcall ReviseCardInfo(int flag, int port, int baud, int sector);
int __stdcall AddMoney(int flag, int port, int baud, int sector, int subtract, int amount, int counter);
int __stdcall AddSubsidy(int flag, int port, int baud, int sector, int subtract, int amount, int counter);
int __stdcall AddCount(int flag, int port, int baud, int sector, int subtract, int amount, int counter);
int __stdcall AddSubsidy_ClearSubTime(int flag, int port, int baud, int sector, int subtract,
                                      int amount, int counter, const char* subsidyDate);
int __stdcall LogoutCard(int flag, int port, int baud, int sector);
int __stdcall ClearAllCardInfo(int flag, int port, int baud);

/* Key scrambling, no I/O: key (12 hex digits) with value (8 hex digits). */
int __stdcall ChangeCardPassWord(const char* key, const char* value, char* out);

#ifdef __cplusplus
}
#endif

#endif /* DORVEX_H */
