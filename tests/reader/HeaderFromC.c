/* Dorvex.h as a C host program sees it: the declarations compile as C and
 * bind through the import library to the decorated names. */
#include "Dorvex.h"

#include <string.h>

/* Scrambles the zero key with the zero value into `out`
 * (DORVEX_KEY_BUFFER characters); returns the call's result. */
int ScrambleZeroKeyFromC(char out[DORVEX_KEY_BUFFER]) {
  char key[DORVEX_KEY_CHARS + 1], value[DORVEX_SCRAMBLE_CHARS + 1];
  memset(key, '0', DORVEX_KEY_CHARS);
  key[DORVEX_KEY_CHARS] = '\0';
  memset(value, '0', DORVEX_SCRAMBLE_CHARS);
  value[DORVEX_SCRAMBLE_CHARS] = '\0';
  return ChangeCardPassWord(key, value, out);
}
