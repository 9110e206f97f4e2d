/* A host program built the way a makefile would build it: the header and
 * "-lDorvex" from the library folder, nothing of CMake's targets. It must
 * bind to the decorated export names and run. */
#include "Dorvex.h"

#include <stdio.h>
#include <string.h>

int main(void) {
  char out[DORVEX_KEY_BUFFER];
  /* Port 0 is refused before any device is touched. */
  if (OpenComPort(0, 9600) != 0) {
    puts("OpenComPort(0) was not refused");
    return 1;
  }
  if (ChangeCardPassWord("000000000000", "00000000", out) != 1 || strlen(out) != 12) {
    puts("ChangeCardPassWord did not answer");
    return 1;
  }
  puts("linked by name");
  return 0;
}
