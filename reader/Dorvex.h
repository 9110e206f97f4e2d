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

/* Key scrambling, no I/O: key (12 hex digits) with value (8 hex digits). */
int __stdcall ChangeCardPassWord(const char* key, const char* value, char* out);

#ifdef __cplusplus
}
#endif

#endif /* DORVEX_H */
