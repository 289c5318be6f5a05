/* Links the installed libraries and checks one export of Pelmath and one of Brevanta. */
#include <stdio.h>
#include <string.h>

#include "Brevanta.h"
#include "Pelmath.h"

int main(void) {
  char info[128];
  if (PelmathInit(0) != 0 || BrevantaInit(0) != 0) return 1;
  PelmathGetInfo(info);
  if (memcmp(info, "Pelmath", 7) != 0) return 1;
  printf("installed package: ok\n");
  return 0;
}
