/* Example host: loads the libraries, prints their information strings and the constants in
   force, the way a flight-dynamics host program would start up. */
#include <stdio.h>
#include <string.h>

#include "Basalon.h"
#include "Brevanta.h"
#include "Kinetra.h"
#include "Kymor.h"
#include "Lineset.h"
#include "Pelmath.h"
#include "Planix.h"
#include "Qel.h"
#include "Tarvexon.h"

/* Prints a blank-padded buffer without its trailing blanks. */
static void printField(const char* label, const char* buf, int len) {
  while (len > 0 && (buf[len - 1] == ' ' || buf[len - 1] == '\0')) --len;
  printf("%-10s %.*s\n", label, len, buf);
}

/* Loads a TLE file, initialises SGP4 for every set and prints each satellite's state and
   sub-satellite point every six hours over a day from its epoch. Returns non-zero on failure. */
static int propagateFile(const char* path) {
  char name[512];
  int64_t keys[64];
  int32_t counts[3], n, k, step;
  size_t len = strlen(path);
  if (len > sizeof name) return 1;
  memset(name, ' ', sizeof name);
  memcpy(name, path, len);
  if (LinesetLoadFileCounts(name, counts) != 0) {
    fprintf(stderr, "cannot read %s\n", path);
    return 1;
  }
  printf("\n%s: %d element sets loaded, %d duplicates, %d refused\n", path, counts[0], counts[1], counts[2]);
  n = LinesetGetKeys(2, 64, keys);
  for (k = 0; k < n; ++k) {
    char line1[130], line2[130];
    LinesetGetLines(keys[k], line1, line2);
    printf("\n%.69s\n%.69s\n", line1, line2);
    if (KinetraInitSat(keys[k]) != 0) {
      printf("  SGP4 initialisation failed\n");
      continue;
    }
    printf("  %8s %14s %12s %12s %12s %10s %10s %9s\n", "min", "DS50 UTC", "x km", "y km", "z km", "lat deg",
           "lon deg", "h km");
    for (step = 0; step <= 4; ++step) {
      double mse = 360.0 * step, ds50, pos[3], vel[3], posEfg[3], velEfg[3], llh[3];
      if (KinetraPropMse(keys[k], mse, &ds50, pos, vel) != 0) {
        printf("  %8.1f propagation stopped\n", mse);
        break;
      }
      ECIToEFGTime(ds50, pos, vel, posEfg, velEfg);
      EFGPosToLLH(posEfg, llh);
      printf("  %8.1f %14.6f %12.3f %12.3f %12.3f %10.4f %10.4f %9.3f\n", mse, ds50, pos[0], pos[1], pos[2], llh[0],
             llh[1], llh[2]);
    }
  }
  return 0;
}

int main(int argc, char** argv) {
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

  /* A low-Earth orbit: Keplerian elements to state, to Earth-fixed and geodetic coordinates. */
  {
    const double kep[6] = {6780.0, 0.0005, 51.64, 30.0, 120.0, 75.0}; /* km, -, deg x4 */
    const double ds50 = 27500.5;                                       /* 2025-04-16 12:00 UTC */
    double pos[3], vel[3], posEfg[3], velEfg[3], llh[3], back[6], sun[3], moon[3], sunMag, moonMag;
    KepToPosVel(kep, pos, vel);
    printf("\nKeplerian a=%.1f km e=%.4f i=%.2f M=%.1f node=%.1f perigee=%.1f deg\n", kep[0], kep[1], kep[2],
           kep[3], kep[4], kep[5]);
    printf("  ECI position %12.4f %12.4f %12.4f km\n", pos[0], pos[1], pos[2]);
    printf("  ECI velocity %12.7f %12.7f %12.7f km/s\n", vel[0], vel[1], vel[2]);
    PosVelToKep(pos, vel, back);
    printf("  back to elements: a=%.6f km e=%.7f i=%.6f deg\n", back[0], back[1], back[2]);
    ECIToEFGTime(ds50, pos, vel, posEfg, velEfg);
    EFGPosToLLH(posEfg, llh);
    printf("  at DS50 %.1f UTC: latitude %.4f deg, longitude %.4f deg, height %.3f km\n", ds50, llh[0], llh[1],
           llh[2]);
    CompSunMoonPos(ds50, sun, &sunMag, moon, &moonMag);
    printf("  Sun  unit vector %9.6f %9.6f %9.6f, distance %.6e km\n", sun[0], sun[1], sun[2], sunMag);
    printf("  Moon unit vector %9.6f %9.6f %9.6f, distance %.6e km\n", moon[0], moon[1], moon[2], moonMag);
  }
  return propagateFile(argc > 1 ? argv[1] : ZK_EXAMPLE_TLE);
}
