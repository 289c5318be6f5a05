/* Example host: loads the libraries, prints their information strings and the constants in
   force, the way a flight-dynamics host program would start up. */
#include <stdio.h>
#include <string.h>

#include "Basalon.h"
#include "Brevanta.h"
#include "Kymor.h"
#include "Pelmath.h"
#include "Planix.h"
#include "Qel.h"
#include "Tarvexon.h"

/* Prints a blank-padded buffer without its trailing blanks. */
static void printField(const char* label, const char* buf, int len) {
  while (len > 0 && (buf[len - 1] == ' ' || buf[len - 1] == '\0')) --len;
  printf("%-10s %.*s\n", label, len, buf);
}

int main(void) {
  char info[128];
  double geo[9];
  static const char* names[9] = {"flattening (LLH)", "flattening (geodesy)", "J2", "ke (er^1.5/min)",
                                 "R (km)", "J2/2", "km/s to er/kemin", "rotation (rad/kemin)",
                                 "mu (km^3/s^2)"};
  int i;

  if (PelmathInit(0) != 0 || QelInit(0) != 0 || TarvexInit(0) != 0 || KymorInit(0) != 0 ||
      BrevantaInit(0) != 0) {
    fprintf(stderr, "a library failed to initialise\n");
    return 1;
  }
  PelmathGetInfo(info);
  printField("Pelmath", info, 128);
  QelGetInfo(info);
  printField("Qel", info, 128);
  TarvexGetInfo(info);
  printField("Tarvexon", info, 128);
  KymorGetInfo(info);
  printField("Kymor", info, 128);
  BrevantaGetInfo(info);
  printField("Brevanta", info, 128);

  printf("\nEarth constants in force (set %d):\n", PlanixGetGeoModel());
  PlanixGetGeoConst(geo);
  for (i = 0; i < 9; ++i) printf("  %-22s %.15g\n", names[i], geo[i]);
  return 0;
}
