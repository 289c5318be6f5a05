/* A hostile or careless host: every export called with bad text (blank, NUL-filled, a name ended
   by a NUL and junk, 100 KB), non-finite and absurd numbers, absurd keys and null pointers. Each
   case runs in a child process with a time limit; a crash or hang fails it, and so does a call
   that reports success (or writes no trace-log line) on plainly bad input. Buffers are allocated
   at exactly their documented length so the AddressSanitizer build sees any overrun. */
#define _POSIX_C_SOURCE 200809L
#include <math.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Basalon.h"
#include "Brevanta.h"
#include "Chronel.h"
#include "Harlo.h"
#include "Kinetra.h"
#include "Kymor.h"
#include "Lineset.h"
#include "Pelmath.h"
#include "Planix.h"
#include "Qel.h"
#include "Tarvexon.h"

/* ---- what a case may see ------------------------------------------------------------------ */

static int caseFailures = 0;
static const char* currentCall = "";

#define EXPECT(cond)                                                           \
  do {                                                                         \
    if (!(cond)) {                                                             \
      fprintf(stderr, "    %s: %s (line %d)\n", currentCall, #cond, __LINE__); \
      ++caseFailures;                                                          \
    }                                                                          \
  } while (0)

/* A sentinel error line written before a call, so "the call logged a line" can be seen. */
static void markLog(void) {
  char* msg = (char*)malloc(128);
  memset(msg, ' ', 128);
  memcpy(msg, "zk-bad-input-sentinel", 21);
  BasalonLogError(msg);
  free(msg);
}

static int loggedSinceMark(void) {
  char* msg = (char*)malloc(128);
  int logged;
  BasalonGetLastErrMsg(msg);
  logged = memcmp(msg, "zk-bad-input-sentinel", 21) != 0;
  free(msg);
  return logged;
}

/* A code-returning call on bad input must fail and write a trace-log line. */
#define REFUSED(call)          \
  do {                         \
    long long code_;           \
    currentCall = #call;       \
    markLog();                 \
    code_ = (long long)(call); \
    EXPECT(code_ != 0);        \
    EXPECT(loggedSinceMark()); \
  } while (0)

/* A key-returning call on bad input must give -1 (or 0 for a duplicate) and log. */
#define KEY_REFUSED(call)      \
  do {                         \
    int64_t key_;              \
    currentCall = #call;       \
    markLog();                 \
    key_ = (call);             \
    EXPECT(key_ <= 0);         \
    EXPECT(loggedSinceMark()); \
  } while (0)

/* A void call on bad input must not crash and must log a line. */
#define LOGGED(call)           \
  do {                         \
    currentCall = #call;       \
    markLog();                 \
    call;                      \
    EXPECT(loggedSinceMark()); \
  } while (0)

/* A void call that merely must survive (NaN in, NaN out is not a claim of success). */
#define SURVIVES(call)   \
  do {                   \
    currentCall = #call; \
    call;                \
  } while (0)

static int allNonFiniteOrLogged(const double* v, int n) {
  int k;
  if (loggedSinceMark()) return 1;
  for (k = 0; k < n; ++k)
    if (isfinite(v[k]) && v[k] != 0.0) return 0;
  return 1;
}

/* ---- bad inputs ----------------------------------------------------------------------------- */

enum { kBlank, kNuls, kNulJunk, kHuge, kBinary, kNumTextKinds };
static const char* const kTextKindNames[] = {"blank", "NUL-filled", "NUL then junk", "100 KB", "binary"};
#define kHugeSize (100 * 1024)

/* A text buffer of one bad kind, `size` characters long (at least `size`; 100 KB for kHuge). */
static char* badText(int kind, size_t size) {
  const size_t n = kind == kHuge ? kHugeSize : size;
  char* t = (char*)malloc(n);
  size_t k;
  switch (kind) {
    case kBlank:
      memset(t, ' ', n);
      break;
    case kNuls:
      memset(t, 0, n);
      break;
    case kNulJunk:
      memset(t, 0xFF, n);
      memcpy(t, "/nonexistent-zk/file", n < 21 ? n : 21); /* with its NUL when it fits */
      break;
    case kHuge:
      memset(t, 'A', n);
      break;
    default:
      for (k = 0; k < n; ++k) t[k] = (char)((k * 37 + 11) & 0xFF);
      break;
  }
  return t;
}

static const double kBadNumbers[] = {NAN, INFINITY, -INFINITY, 1e300, -1e300};
#define kNumBadNumbers ((int)(sizeof kBadNumbers / sizeof kBadNumbers[0]))

static const int64_t kBadKeys[] = {
    0, -1, 1, 7, 10, 20, 123456789012345680LL, INT64_MAX, INT64_MIN, (int64_t)0x7ffff7a01230LL * 10};
#define kNumBadKeys ((int)(sizeof kBadKeys / sizeof kBadKeys[0]))

static char* blankPadded(const char* text, size_t size) {
  char* b = (char*)malloc(size);
  memset(b, ' ', size);
  memcpy(b, text, strlen(text));
  return b;
}

/* One valid TLE added to the store and initialised; its key. */
static int64_t addGoodTle(void) {
  char* l1 = blankPadded("1 90001U 25001A   25106.50000000  .00016717  00000-0  30270-3 0  9994", 130);
  char* l2 = blankPadded("2 90001  51.6400 120.0000 0005000  75.0000  30.0000 15.50000000 12342", 130);
  int64_t key = LinesetAddSatFrLines(l1, l2);
  if (key > 0 && KinetraInitSat(key) != 0) key = -1;
  free(l1);
  free(l2);
  return key;
}

/* ---- cases -------------------------------------------------------------------------------- */

static void fileNameExports(void) {
  int kind;
  for (kind = 0; kind < kNumTextKinds; ++kind) {
    char* name = badText(kind, 512);
    int32_t* counts = (int32_t*)malloc(3 * sizeof(int32_t));
    int32_t* unit = (int32_t*)malloc(sizeof(int32_t));
    fprintf(stderr, "  file name: %s\n", kTextKindNames[kind]);
    REFUSED(BasalonOpenLogFile(name));
    REFUSED(BasalonFileOpen(41, name, 1));
    REFUSED(BasalonFileOpenMT(name, 1, unit));
    REFUSED(ChronelLoadTimeConstFile(name));
    REFUSED(LinesetLoadFile(name));
    REFUSED(LinesetLoadFileCounts(name, counts));
    REFUSED(HarloLoadFile(name));
    {
      /* The JPL file is read at the first request, which must then fail. */
      double* sun = (double*)malloc(3 * sizeof(double));
      double* moon = (double*)malloc(3 * sizeof(double));
      JplReset();
      SURVIVES(JplSetParameters(name, 18000.0, 19000.0));
      REFUSED(JplCompSunMoonPos(18500.0, sun, moon));
      free(sun);
      free(moon);
    }
    free(counts);
    free(unit);
    free(name);
  }
}

/* A name that ends at its NUL names the file before the NUL, not a file with junk in its name. */
static void nulEndedNameOpensTheFile(void) {
  char path[] = "/tmp/zk-bad-input-XXXXXX";
  char* name = (char*)malloc(512);
  int fd = mkstemp(path);
  FILE* f = fdopen(fd, "w");
  int32_t* counts = (int32_t*)malloc(3 * sizeof(int32_t));
  fprintf(f,
          "1 90002U 25001A   25106.50000000  .00016717  00000-0  30270-3 0  9995\n"
          "2 90002  51.6400 120.0000 0005000  75.0000  30.0000 15.50000000 12343\n");
  fclose(f);
  memset(name, 0xFF, 512);
  memcpy(name, path, strlen(path) + 1);
  currentCall = "LinesetLoadFileCounts(name ended by NUL and junk)";
  EXPECT(LinesetLoadFileCounts(name, counts) == 0);
  EXPECT(counts[0] == 1);
  /* Saving under such a name writes exactly that file. */
  currentCall = "LinesetSaveFile(name ended by NUL and junk)";
  EXPECT(LinesetSaveFile(name, 0, 0) == 0);
  {
    FILE* back = fopen(path, "r");
    EXPECT(back != NULL);
    if (back != NULL) fclose(back);
  }
  LinesetRemoveAllSats();
  remove(path);
  free(counts);
  free(name);
}

static void saveUnderBadNames(void) {
  int kind;
  addGoodTle();
  for (kind = 0; kind < kNumTextKinds; ++kind) {
    char* name = badText(kind, 512);
    if (kind == kNulJunk) memcpy(name, "/nonexistent-zk/out", 20);
    fprintf(stderr, "  save name: %s\n", kTextKindNames[kind]);
    REFUSED(LinesetSaveFile(name, 0, 0));
    free(name);
  }
}

static void tleLines(void) {
  int k1, k2;
  for (k1 = 0; k1 < kNumTextKinds; ++k1)
    for (k2 = 0; k2 < kNumTextKinds; ++k2) {
      char* l1 = badText(k1, 130);
      char* l2 = badText(k2, 130);
      KEY_REFUSED(LinesetAddSatFrLines(l1, l2));
      free(l1);
      free(l2);
    }
  currentCall = "LinesetGetCount after bad lines";
  EXPECT(LinesetGetCount() == 0);
}

/* Angles outside their ranges, with checksums made valid. */
static void tleAngles(void) {
  static const char* const lines2[] = {
      "2 90003 999.0000 120.0000 0005000  75.0000  30.0000 15.50000000 1234",
      "2 90003 180.0001 120.0000 0005000  75.0000  30.0000 15.50000000 1234",
      "2 90003 -10.0000 120.0000 0005000  75.0000  30.0000 15.50000000 1234",
      "2 90003  51.6400 400.0000 0005000  75.0000  30.0000 15.50000000 1234",
      "2 90003  51.6400 120.0000 0005000 999.0000  30.0000 15.50000000 1234",
      "2 90003  51.6400 120.0000 0005000  75.0000 999.0000 15.50000000 1234",
  };
  const char* l1text = "1 90003U 25001A   25106.50000000  .00016717  00000-0  30270-3 0  9996";
  size_t i;
  for (i = 0; i < sizeof lines2 / sizeof lines2[0]; ++i) {
    char* l1 = blankPadded(l1text, 130);
    char* l2 = blankPadded(lines2[i], 130);
    int sum = 0, c;
    for (c = 0; c < 68; ++c) {
      if (l2[c] >= '0' && l2[c] <= '9') sum += l2[c] - '0';
      if (l2[c] == '-') sum += 1;
    }
    l2[68] = (char)('0' + sum % 10);
    KEY_REFUSED(LinesetAddSatFrLines(l1, l2));
    free(l1);
    free(l2);
  }
  currentCall = "LinesetGetCount after bad angles";
  EXPECT(LinesetGetCount() == 0);
}

static void absurdKeys(void) {
  int mode, k;
  for (mode = 0; mode < 2; ++mode) {
    BasalonSetElsetKeyMode(mode);
    for (k = 0; k < kNumBadKeys; ++k) {
      const int64_t key = kBadKeys[k];
      char* l1 = (char*)malloc(130);
      char* l2 = (char*)malloc(130);
      double t, pos[3], vel[3];
      REFUSED(LinesetGetLines(key, l1, l2));
      REFUSED(LinesetRemoveSat(key));
      REFUSED(HarloRemoveSat(key));
      REFUSED(KinetraInitSat(key));
      REFUSED(KinetraPropMse(key, 10.0, &t, pos, vel));
      REFUSED(KinetraPropDs50UTC(key, 27000.0, &t, pos, vel));
      REFUSED(KinetraRemoveSat(key));
      free(l1);
      free(l2);
    }
  }
  BasalonSetElsetKeyMode(0);
}

static void nonFiniteTimes(void) {
  const int64_t key = addGoodTle();
  int k;
  currentCall = "addGoodTle";
  EXPECT(key > 0);
  for (k = 0; k < kNumBadNumbers; ++k) {
    const double x = kBadNumbers[k];
    double t, pos[3], vel[3], tconst[6], out;
    fprintf(stderr, "  number: %g\n", x);
    REFUSED(KinetraPropMse(key, x, &t, pos, vel));
    REFUSED(KinetraPropDs50UTC(key, x, &t, pos, vel));
    currentCall = "ChronelThetaGrnwch";
    markLog();
    out = ChronelThetaGrnwch(x, 5);
    EXPECT(allNonFiniteOrLogged(&out, 1));
    currentCall = "ChronelGetTimeConsts";
    markLog();
    ChronelGetTimeConsts(x, tconst);
    EXPECT(allNonFiniteOrLogged(tconst, 6));
    currentCall = "ChronelUTCToTAI";
    markLog();
    out = ChronelUTCToTAI(x);
    EXPECT(allNonFiniteOrLogged(&out, 1));
    currentCall = "ChronelUTCToUT1";
    markLog();
    out = ChronelUTCToUT1(x);
    EXPECT(allNonFiniteOrLogged(&out, 1));
    {
      char* dtg = (char*)malloc(20);
      SURVIVES(ChronelUTCToDTG20(x, dtg));
      SURVIVES(ChronelUTCToDTG17(x, dtg));
      SURVIVES(ChronelUTCToDTG15(x, dtg));
      free(dtg);
    }
  }
}

static void pelmathNonFinite(void) {
  int k;
  for (k = 0; k < kNumBadNumbers; ++k) {
    const double x = kBadNumbers[k];
    double ra, dec, raOut, decOut, sun[3], moon[3], sunMag, moonMag, delay, deriv, xa[5];
    double pos[3] = {7000.0, 0.0, 0.0}, vel[3] = {0.0, 7.5, 0.0}, o1[3], o2[3];
    double kep[6] = {7000.0, 0.001, 51.6, 10.0, 20.0, 30.0}, eq[6];
    fprintf(stderr, "  number: %g\n", x);
    ra = x;
    dec = 10.0;
    if (!isfinite(x)) { /* a huge finite angle is still an angle */
      REFUSED(RotRADec_DateToEqnx(106, 2, 27000.0, ra, dec, &raOut, &decOut));
      REFUSED(RotRADec_EqnxToDate(106, 2, 27000.0, ra, dec, &raOut, &decOut));
    }
    REFUSED(RotRADec_DateToEqnx(106, 2, x, 10.0, 10.0, &raOut, &decOut));
    REFUSED(RotRADec_EqnxToDate(106, 2, x, 10.0, 10.0, &raOut, &decOut));
    REFUSED(JplCompSunMoonPos(x, sun, moon));
    /* The tropospheric tables are indexed by latitude and day: a crash before this was mended. */
    SURVIVES(SlantDelayUnb3(x, 100.0, 100.0, 30.0, &delay, &deriv));
    SURVIVES(SlantDelayUnb3(45.0, x, 100.0, 30.0, &delay, &deriv));
    SURVIVES(SlantDelayUnb3(45.0, 100.0, x, 30.0, &delay, &deriv));
    SURVIVES(SlantDelayUnb3(45.0, 100.0, 100.0, x, &delay, &deriv));
    SURVIVES(Unb3mDelays(x, 100.0, 100.0, 30.0, xa));
    SURVIVES(Unb3mDelays(45.0, 100.0, x, 30.0, xa));
    if (!isfinite(x)) {
      /* Exports that return no code still refuse a time that is no time, with a line, and leave
         NaN outputs rather than values that could pass for a result. */
      double ra2, dec2;
      LOGGED(CompSunMoonPos(x, sun, &sunMag, moon, &moonMag));
      EXPECT(isnan(sun[0]) && isnan(moonMag));
      LOGGED(ECIToEFGTime(x, pos, vel, o1, o2));
      EXPECT(isnan(o1[0]) && isnan(o2[2]));
      LOGGED(EFGToECRTime(x, pos, vel, o1, o2));
      LOGGED(RotDateToJ2K(2, 106, x, pos, vel, o1, o2));
      LOGGED(TemeEpochToDate(106, x, 27000.0, pos, vel, o1, o2));
      LOGGED(AzElToRaDecTime(x, 0.5, 0.5, 10.0, 20.0, &ra2, &dec2));
      LOGGED(AberrationAnnual(10.0, 20.0, x, &ra2, &dec2));
      LOGGED(CompSunPos(x, sun, &sunMag));
      LOGGED((void)IsPointSunlit(x, pos));
    } else {
      SURVIVES(CompSunMoonPos(x, sun, &sunMag, moon, &moonMag));
      SURVIVES(ECIToEFGTime(x, pos, vel, o1, o2));
      SURVIVES(RotDateToJ2K(2, 106, x, pos, vel, o1, o2));
      SURVIVES(TemeEpochToDate(106, x, x, pos, vel, o1, o2));
    }
    kep[1] = x;
    SURVIVES(KepToPosVel(kep, o1, o2));
    SURVIVES(KepToEqnx(kep, eq));
    SURVIVES(KepOscToMean(kep, eq));
    pos[0] = x;
    SURVIVES(PosVelToKep(pos, vel, kep));
    SURVIVES(PosVelToEqnx(pos, vel, eq));
  }
}

static void basalonNumbersAndUnits(void) {
  char* field = (char*)malloc(256);
  char* line = (char*)malloc(512);
  char* huge = badText(kHuge, 0);
  double value;
  static const int32_t badWidths[] = {0, -1, 257, 100000, INT32_MAX, INT32_MIN};
  static const int32_t badUnits[] = {0, -1, 1000, 55, INT32_MAX, INT32_MIN};
  size_t i;
  for (i = 0; i < sizeof badWidths / sizeof badWidths[0]; ++i) {
    fprintf(stderr, "  width %d\n", badWidths[i]);
    REFUSED(BasalonFormatF(1.5, badWidths[i], 2, field));
    REFUSED(BasalonFormatE(1.5, badWidths[i], 2, field));
  }
  REFUSED(BasalonFormatF(1.5, 10, -1, field));
  REFUSED(BasalonFormatE(1.5, 10, INT32_MAX, field));
  REFUSED(BasalonFormatF(NAN, 10, 2, field));
  REFUSED(BasalonFormatE(INFINITY, 12, 4, field));
  REFUSED(BasalonReadReal(huge, -1, &value));
  REFUSED(BasalonReadReal(huge, kHugeSize, &value));
  memset(line, 0x01, 512);
  REFUSED(BasalonReadReal(line, 512, &value));
  for (i = 0; i < sizeof badUnits / sizeof badUnits[0]; ++i) {
    const int32_t u = badUnits[i];
    fprintf(stderr, "  unit %d\n", u);
    REFUSED(BasalonFileClose(u));
    REFUSED(BasalonFileRewind(u));
    REFUSED(BasalonFileBackspace(u));
    REFUSED(BasalonFileReadLine(u, line, 512));
    REFUSED(BasalonFileWriteLine(u, line, 512));
  }
  {
    char* name = blankPadded("/tmp/zk-bad-input-unit.txt", 512);
    int32_t unit = 0;
    currentCall = "BasalonFileOpenMT(write)";
    EXPECT(BasalonFileOpenMT(name, 0, &unit) == 0);
    REFUSED(BasalonFileWriteLine(unit, line, -1));
    REFUSED(BasalonFileWriteLine(unit, huge, kHugeSize));
    REFUSED(BasalonFileReadLine(unit, line, 512)); /* a write unit */
    REFUSED(BasalonFileReadLine(unit, line, 0));
    REFUSED(BasalonFileOpen(41, name, 9));
    BasalonFileClose(unit);
    remove("/tmp/zk-bad-input-unit.txt");
    free(name);
  }
  {
    char* dtg;
    int kind;
    for (kind = 0; kind < kNumTextKinds; ++kind) {
      double t;
      dtg = badText(kind, 20);
      currentCall = "ChronelDTGToUTC";
      markLog();
      t = ChronelDTGToUTC(dtg);
      EXPECT(loggedSinceMark());
      (void)t;
      free(dtg);
    }
  }
  free(huge);
  free(line);
  free(field);
}

/* A time-constant file with absurd values is refused whole and leaves the loaded table as it was. */
static void absurdTimeConstants(void) {
  static const char* const bodies[] = {"60000 1e300 1e300 1e300\n", "1e300 0.1 0.1 0.1\n",
                                       "60000 nan 0.1 0.1\n", "60000 0.1 inf 0.1\n"};
  size_t i;
  for (i = 0; i < sizeof bodies / sizeof bodies[0]; ++i) {
    char path[] = "/tmp/zk-bad-tconst-XXXXXX";
    int fd = mkstemp(path);
    FILE* f = fdopen(fd, "w");
    char* name = blankPadded(path, 512);
    double before[6], after[6];
    fprintf(f, "%s", bodies[i]);
    fclose(f);
    ChronelGetTimeConsts(22000.0, before);
    REFUSED(ChronelLoadTimeConstFile(name));
    ChronelGetTimeConsts(22000.0, after);
    currentCall = "time constants unchanged";
    EXPECT(memcmp(before, after, sizeof before) == 0);
    remove(path);
    free(name);
  }
}

/* Null pointers where an export takes an address: a code and a line, or a line for a void export. */
static void nullPointers(void) {
  const int64_t key = addGoodTle();
  double pos[3] = {7000.0, 0.0, 0.0}, vel[3] = {0.0, 7.5, 0.0}, t;
  char* name = blankPadded("/tmp/zk-bad-input-null.txt", 512);
  REFUSED(BasalonOpenLogFile(NULL));
  REFUSED(BasalonFileOpen(41, NULL, 1));
  REFUSED(BasalonFileOpenMT(name, 0, NULL));
  REFUSED(BasalonFormatF(1.0, 10, 2, NULL));
  REFUSED(BasalonFormatE(1.0, 10, 2, NULL));
  REFUSED(BasalonReadReal(NULL, 10, &t));
  REFUSED(BasalonReadReal("1.0", 3, NULL));
  LOGGED(BasalonGetLastErrMsg(NULL));
  LOGGED(BasalonGetInputStr(NULL, NULL));
  REFUSED(ChronelLoadTimeConstFile(NULL));
  LOGGED(ChronelGetTimeConsts(20000.0, NULL));
  LOGGED(ChronelUTCToDTG20(20000.0, NULL));
  LOGGED(ChronelGetInfo(NULL));
  LOGGED(PlanixGetGeoConst(NULL));
  REFUSED(LinesetLoadFile(NULL));
  KEY_REFUSED(LinesetAddSatFrLines(NULL, NULL));
  REFUSED(LinesetGetLines(key, NULL, NULL));
  REFUSED(LinesetSaveFile(NULL, 0, 0));
  REFUSED(HarloLoadFile(NULL));
  REFUSED(KinetraPropMse(key, 10.0, NULL, NULL, NULL));
  REFUSED(KinetraPropDs50UTC(key, 27000.0, &t, NULL, vel));
  REFUSED(RotRADec_DateToEqnx(106, 2, 27000.0, 10.0, 10.0, NULL, NULL));
  REFUSED(JplCompSunMoonPos(27000.0, NULL, NULL));
  LOGGED(JplSetParameters(NULL, 18000.0, 19000.0));
  LOGGED(JplGetParameters(NULL, NULL, NULL));
  LOGGED(KepToPosVel(NULL, pos, vel));
  LOGGED(PosVelToKep(pos, vel, NULL));
  LOGGED(CovMtxUVWToECI(pos, vel, NULL, NULL));
  LOGGED(ECIToEFG(1.0, pos, vel, NULL, NULL));
  LOGGED(Unb3mDelays(45.0, 100.0, 100.0, 30.0, NULL));
  LOGGED(CompSunPos(20000.0, NULL, NULL));
  LOGGED(AzElToRaDec(1.0, 0.5, 0.5, 10.0, 20.0, NULL, NULL));
  LOGGED(PelmathGetInfo(NULL));
  LOGGED(QelGetInfo(NULL));
  LOGGED(TarvexGetInfo(NULL));
  LOGGED(KymorGetInfo(NULL));
  LOGGED(BrevantaGetInfo(NULL));
  LOGGED(LinesetGetInfo(NULL));
  LOGGED(HarloGetInfo(NULL));
  LOGGED(KinetraGetInfo(NULL));
  free(name);
}

/* ---- Qel ---------------------------------------------------------------------------------- */

/* The array form of one valid message: satellite 12345 at DS50 26000.5 UTC, ECI state only. */
static void goodQelArrays(double* xa, char* xs) {
  memset(xa, 0, 512 * sizeof(double));
  memset(xs, ' ', 512);
  xa[0] = 12345;
  xa[1] = 26000.5;
  xa[9] = 7000.0;
  xa[13] = 7.5;
  xa[38] = 26000.0;
}

static int32_t qelAllFields(int64_t key) {
  int32_t i32[8];
  double d[13], pos[3], vel[3];
  char* t = (char*)malloc(128);
  int32_t code;
  /* every text output is its own exact-length buffer inside t: 8+17+6+12+3*4+17+6+8+4+3+6 = 96 */
  code = QelGetAllFields(key, &i32[0], t, t + 8, &i32[1], pos, vel, t + 25, &i32[2], &i32[3], t + 31, t + 43,
                         t + 46, t + 49, t + 52, &d[0], &d[1], &d[2], &d[3], &i32[4], &i32[5], &d[4], &d[5], &d[6],
                         &d[7], &d[8], &d[9], &i32[6], t + 55, t + 72, t + 78, t + 86, t + 90, t + 93, &d[10],
                         &d[11], &d[12]);
  free(t);
  return code;
}

static void qelExports(void) {
  double* xa = (double*)malloc(512 * sizeof(double));
  double* xa2 = (double*)malloc(512 * sizeof(double));
  char* xs = (char*)malloc(512);
  char* lines = (char*)malloc(4000);
  char* one = (char*)malloc(1500);
  char* value = blankPadded("5", 512);
  char* out = (char*)malloc(512);
  char* epoch = blankPadded("2021067120000.000", 20);
  int64_t* keys = (int64_t*)malloc(4 * sizeof(int64_t));
  int64_t good, removed, key = 0;
  int kind, k, mode;
  static const size_t badSlots[] = {0, 1, 9, 12, 38, 47};
  goodQelArrays(xa, xs);
  good = QelAddSatFrFields(xs, xa);
  xa[0] = 23456;
  removed = QelAddSatFrFields(xs, xa);
  currentCall = "QelAddSatFrFields(good arrays)";
  EXPECT(good > 0 && removed > 0);
  EXPECT(QelRemoveSat(removed) == 0);

  for (kind = 0; kind < kNumTextKinds; ++kind) {
    char* name = badText(kind, 512);
    char* text = badText(kind, 4000);
    char* oneText = badText(kind, 1500);
    char* field = badText(kind, 512);
    char* dtg = badText(kind, 20);
    fprintf(stderr, "  Qel text: %s\n", kTextKindNames[kind]);
    REFUSED(QelLoadFile(name));
    if (kind == kNulJunk) memcpy(name, "/nonexistent-zk/out", 20);
    REFUSED(QelSaveFile(name, 0));
    REFUSED(QelSaveFile(name, 1));
    KEY_REFUSED(QelAddSatFrLines(text));
    key = 5;
    LOGGED(QelAddSatFrLinesML(text, &key));
    EXPECT(key <= 0);
    REFUSED(QelStringToArray(text, xa2, xs));
    REFUSED(QelMultiLineTo1Line(text, one));
    LOGGED((void)Qel1LineToMultiLine(oneText, lines)); /* 0 by design, lines blank */
    EXPECT(lines[0] == ' ' && lines[3999] == ' ');
    REFUSED(QelSetField(good, 4, field));
    REFUSED(QelSetField(good, 32, field));
    KEY_REFUSED(QelFieldsToSatKey(12345, dtg));
    key = 5;
    LOGGED(QelFieldsToSatKeyML(12345, dtg, &key));
    EXPECT(key == -1);
    /* Text fields of the array form are opaque text: whatever they hold, nothing breaks. */
    goodQelArrays(xa, xs);
    SURVIVES(QelArrayToQel1Line(xa, field, one));
    SURVIVES(QelArrayToQelLines(xa, field, lines));
    SURVIVES((void)QelUpdateSatFrFields(good, field, xa));
    free(name);
    free(text);
    free(oneText);
    free(field);
    free(dtg);
  }

  for (k = 0; k < kNumBadNumbers; ++k) {
    size_t s;
    for (s = 0; s < sizeof badSlots / sizeof badSlots[0]; ++s) {
      goodQelArrays(xa, xs);
      xa[badSlots[s]] = kBadNumbers[k];
      fprintf(stderr, "  Qel array slot %d: %g\n", (int)badSlots[s], kBadNumbers[k]);
      KEY_REFUSED(QelAddSatFrFields(xs, xa));
      key = 5;
      LOGGED(QelAddSatFrFieldsML(xs, xa, &key));
      EXPECT(key <= 0);
      REFUSED(QelUpdateSatFrFields(good, xs, xa));
      LOGGED(QelArrayToQel1Line(xa, xs, one));
      LOGGED(QelArrayToQelLines(xa, xs, lines));
    }
    if (!isfinite(kBadNumbers[k])) {
      goodQelArrays(xa, xs);
      xa[130] = kBadNumbers[k]; /* a covariance slot */
      KEY_REFUSED(QelAddSatFrFields(xs, xa));
      REFUSED(QelUpdateSatFrFields(good, xs, xa));
    }
  }

  for (mode = 0; mode < 2; ++mode) {
    BasalonSetElsetKeyMode(mode);
    for (k = -1; k < kNumBadKeys; ++k) {
      const int64_t bad = k < 0 ? removed : kBadKeys[k];
      fprintf(stderr, "  Qel key %lld\n", (long long)bad);
      goodQelArrays(xa, xs);
      REFUSED(QelRemoveSat(bad));
      REFUSED(QelGetLines(bad, lines));
      REFUSED(QelRetrieveAllData(bad, xs, xa));
      REFUSED(QelGetField(bad, 1, out));
      REFUSED(QelSetField(bad, 4, value));
      goodQelArrays(xa, xs);
      REFUSED(QelUpdateSatFrFields(bad, xs, xa));
      REFUSED(qelAllFields(bad));
    }
  }
  BasalonSetElsetKeyMode(0);
  KEY_REFUSED(QelGetSatKey(0));
  KEY_REFUSED(QelGetSatKey(-7));
  KEY_REFUSED(QelGetSatKey(INT32_MAX));
  KEY_REFUSED(QelFieldsToSatKey(INT32_MIN, epoch));
  KEY_REFUSED(QelFieldsToSatKey(-1, epoch));
  SURVIVES(QelGetLoaded(INT32_MIN, keys));
  currentCall = "QelGetKeys with no room";
  EXPECT(QelGetKeys(0, 0, keys) == 0 && QelGetKeys(0, INT32_MIN, keys) == 0);

  /* Null pointers. */
  goodQelArrays(xa, xs);
  REFUSED(QelLoadFile(NULL));
  REFUSED(QelSaveFile(NULL, 0));
  LOGGED(QelGetLoaded(0, NULL));
  LOGGED((void)QelGetKeys(0, 4, NULL));
  KEY_REFUSED(QelAddSatFrLines(NULL));
  LOGGED(QelAddSatFrLinesML(NULL, &key));
  LOGGED(QelAddSatFrLinesML(lines, NULL));
  KEY_REFUSED(QelAddSatFrFields(NULL, xa));
  KEY_REFUSED(QelAddSatFrFields(xs, NULL));
  LOGGED(QelAddSatFrFieldsML(xs, xa, NULL));
  REFUSED(QelUpdateSatFrFields(good, NULL, xa));
  REFUSED(QelRetrieveAllData(good, xs, NULL));
  REFUSED(QelGetField(good, 1, NULL));
  REFUSED(QelSetField(good, 4, NULL));
  REFUSED(QelGetAllFields(good, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
                          NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
                          NULL, NULL, NULL, NULL, NULL, NULL, NULL));
  REFUSED(QelGetLines(good, NULL));
  KEY_REFUSED(QelGetSatKeyML(12345, NULL));
  KEY_REFUSED(QelFieldsToSatKey(12345, NULL));
  LOGGED(QelFieldsToSatKeyML(12345, epoch, NULL));
  REFUSED(QelStringToArray(NULL, xa2, xs));
  REFUSED(QelStringToArray(lines, xa2, NULL));
  LOGGED(QelArrayToQel1Line(xa, NULL, one));
  LOGGED(QelArrayToQelLines(NULL, xs, lines));
  REFUSED(QelMultiLineTo1Line(NULL, one));
  REFUSED(Qel1LineToMultiLine(one, NULL));
  currentCall = "the good record after all of it";
  EXPECT(QelGetCount() == 1 && QelGetSatKey(12345) == good);
  QelRemoveAllSats();
  free(xa);
  free(xa2);
  free(xs);
  free(lines);
  free(one);
  free(value);
  free(out);
  free(epoch);
  free(keys);
}

/* Every Tarvexon export that needs no file: bad text, numbers, keys, indices and null pointers. */
static int32_t tarvexAllFields(int64_t key) {
  int32_t satNum, coordSys, numPts;
  double epoch, radius, ke, pos[3], vel[3];
  char* t = (char*)malloc(8 + 128 + 512); /* satName, cardLabel, fileName laid end to end */
  const int32_t code =
      TarvexGetAllFields(key, &satNum, t, t + 8, &epoch, &radius, &ke, pos, vel, &coordSys, &numPts, t + 136);
  free(t);
  return code;
}

static void tarvexExports(void) {
  double* pos = (double*)malloc(3 * sizeof(double));
  double* vel = (double*)malloc(3 * sizeof(double));
  double* cov = (double*)calloc(21, sizeof(double));
  double* cov36 = (double*)malloc(36 * sizeof(double));
  double* xten = (double*)malloc(128 * sizeof(double));
  char* out = (char*)malloc(512);
  char* value = blankPadded("SAT", 512);
  int64_t* keys = (int64_t*)malloc(4 * sizeof(int64_t));
  double t, mse;
  int32_t rev, n;
  int64_t good, removed, empty;
  int kind, k, mode;
  static const int32_t badIndices[] = {0, -1, 7, INT32_MAX, INT32_MIN};
  static const int32_t badTypes[] = {0, 4, -1, INT32_MAX, INT32_MIN};
  pos[0] = 7000.0, pos[1] = 0.0, pos[2] = 0.0;
  vel[0] = 0.0, vel[1] = 7.5, vel[2] = 0.0;
  good = TarvexAddSat(34567, 26000.5, 6378.135, 0.07436691613317341, 1);
  for (k = 0; k < 6; ++k) {
    pos[1] = 450.0 * k;
    TarvexAddSatEphem(good, 26000.5 + k / 1440.0, pos, vel, k);
  }
  removed = TarvexAddSat(34568, 26000.5, 6378.135, 0.07436691613317341, 1);
  empty = TarvexAddSat(34569, 26000.5, 6378.135, 0.07436691613317341, 1);
  currentCall = "TarvexAddSat(good)";
  EXPECT(good > 0 && removed > 0 && empty > 0);
  EXPECT(TarvexRemoveSat(removed) == 0);

  for (kind = 0; kind < kNumTextKinds; ++kind) {
    char* field = badText(kind, 512);
    char* dtg = badText(kind, 20);
    char* name = badText(kind, 512);
    fprintf(stderr, "  Tarvexon text: %s\n", kTextKindNames[kind]);
    REFUSED(TarvexLoadFile(name));
    KEY_REFUSED(TarvexAddSatFrFile(name));
    if (kind == kNulJunk) memcpy(name, "/nonexistent-zk/out", 20);
    REFUSED(TarvexSaveFile(name, 0));
    REFUSED(TarvexSaveFile(name, 1));
    free(name);
    REFUSED(TarvexSetField(good, 11, field));
    KEY_REFUSED(TarvexFieldsToSatKey(34567, dtg));
    /* Names and labels are opaque text: whatever they hold, nothing breaks. */
    SURVIVES((void)TarvexSetField(good, 14, field));
    SURVIVES((void)TarvexSetField(good, 15, field));
    SURVIVES((void)TarvexGetField(good, 15, out));
    free(field);
    free(dtg);
  }

  for (k = 0; k < kNumBadNumbers; ++k) {
    const double bad = kBadNumbers[k];
    fprintf(stderr, "  Tarvexon number: %g\n", bad);
    KEY_REFUSED(TarvexAddSat(34570, bad, 6378.135, 0.07, 1)); /* +-1e300: no key can be made */
    if (!isfinite(bad)) { /* a huge but finite radius or point is the host's to judge */
      KEY_REFUSED(TarvexAddSat(34570, 26000.5, bad, 0.07, 1));
      KEY_REFUSED(TarvexAddSat(34570, 26000.5, 6378.135, bad, 1));
      REFUSED(TarvexAddSatEphem(good, bad, pos, vel, 0));
      pos[2] = bad;
      REFUSED(TarvexAddSatEphem(good, 26001.0, pos, vel, 0));
      pos[2] = 0.0;
      cov[20] = bad;
      REFUSED(TarvexAddSatEphemCovMtx(good, 26001.0, pos, vel, 0, cov));
      REFUSED(TarvexAddSatEphemExt(good, 26001.0, pos, vel, 0, cov));
      cov[20] = 0.0;
    }
    REFUSED(TarvexDs50UTC(good, bad, &mse, pos, vel, &rev));
    REFUSED(TarvexMse(good, bad, &t, pos, vel, &rev));
    REFUSED(TarvexDs50UTCCovMtx(good, bad, &mse, pos, vel, &rev, cov36));
    REFUSED(TarvexMseCovMtx(good, bad, &t, pos, vel, &rev, cov36));
    REFUSED(TarvexXten(good, 1, bad, xten));
    REFUSED(TarvexXten(good, 2, bad, xten));
    REFUSED(TarvexXten(good, 3, bad, xten));
  }
  currentCall = "TarvexGetNumPts after the bad numbers";
  EXPECT(TarvexGetNumPts(good, &n) == 0 && n == 6);

  for (k = 0; k < (int)(sizeof badIndices / sizeof badIndices[0]); ++k) {
    REFUSED(TarvexGetEphemeris(good, badIndices[k], &t, pos, vel, &rev));
    REFUSED(TarvexGetCovMtx(good, badIndices[k], &t, pos, vel, &rev, cov36));
    REFUSED(TarvexXten(good, 3, (double)badIndices[k], xten));
    REFUSED(TarvexXten(good, badTypes[k], 1.0, xten));
    currentCall = "TarvexGetField with an index without a field";
    EXPECT(TarvexGetField(good, badIndices[k] == 7 ? 16 : badIndices[k], out) == 0 && out[0] == ' ');
  }
  REFUSED(TarvexXten(good, 3, 1e300, xten));
  REFUSED(TarvexDs50UTC(good, 3e6, &mse, pos, vel, &rev));
  REFUSED(TarvexMse(good, -1e6, &t, pos, vel, &rev));

  for (mode = 0; mode < 2; ++mode) {
    BasalonSetElsetKeyMode(mode);
    for (k = -2; k < kNumBadKeys; ++k) {
      const int64_t bad = k == -2 ? removed : k == -1 ? empty : kBadKeys[k];
      fprintf(stderr, "  Tarvexon key %lld\n", (long long)bad);
      REFUSED(TarvexGetField(bad, 1, out));
      REFUSED(TarvexStartEndTime(bad, &t, &mse));
      REFUSED(TarvexDs50UTC(bad, 26000.5, &mse, pos, vel, &rev));
      REFUSED(TarvexMse(bad, 0.0, &t, pos, vel, &rev));
      REFUSED(TarvexGetEphemeris(bad, 1, &t, pos, vel, &rev));
      REFUSED(TarvexDs50UTCCovMtx(bad, 26000.5, &mse, pos, vel, &rev, cov36));
      REFUSED(TarvexMseCovMtx(bad, 0.0, &t, pos, vel, &rev, cov36));
      REFUSED(TarvexGetCovMtx(bad, 1, &t, pos, vel, &rev, cov36));
      REFUSED(TarvexXten(bad, 2, 26000.5, xten));
      if (bad == empty) continue; /* the rest answer an ephemeris without points */
      REFUSED(TarvexRemoveSat(bad));
      REFUSED(TarvexAddSatEphem(bad, 26001.0, pos, vel, 0));
      REFUSED(TarvexAddSatEphemCovMtx(bad, 26001.0, pos, vel, 0, cov));
      REFUSED(TarvexAddSatEphemExt(bad, 26001.0, pos, vel, 0, cov));
      REFUSED(TarvexGetNumPts(bad, &n));
      REFUSED(TarvexGetLine(bad, out));
      REFUSED(TarvexSetField(bad, 14, value));
      REFUSED(tarvexAllFields(bad));
    }
  }
  BasalonSetElsetKeyMode(0);
  KEY_REFUSED(TarvexGetSatKey(0));
  KEY_REFUSED(TarvexGetSatKey(INT32_MIN));
  KEY_REFUSED(TarvexAddSat(34571, 26000.5, 6378.135, 0.07, 5));
  KEY_REFUSED(TarvexAddSat(34571, 26000.5, 6378.135, 0.07, INT32_MIN));
  SURVIVES(TarvexGetLoaded(INT32_MIN, keys));
  currentCall = "TarvexGetKeys with no room";
  EXPECT(TarvexGetKeys(0, 0, keys) == 0 && TarvexGetKeys(0, INT32_MIN, keys) == 0);

  /* Null pointers. */
  REFUSED(TarvexLoadFile(NULL));
  KEY_REFUSED(TarvexAddSatFrFile(NULL));
  REFUSED(TarvexSaveFile(NULL, 0));
  LOGGED(TarvexGetLoaded(0, NULL));
  LOGGED((void)TarvexGetKeys(0, 4, NULL));
  REFUSED(TarvexAddSatEphem(good, 26001.0, NULL, vel, 0));
  REFUSED(TarvexAddSatEphemCovMtx(good, 26001.0, pos, vel, 0, NULL));
  REFUSED(TarvexAddSatEphemExt(good, 26001.0, pos, NULL, 0, cov));
  KEY_REFUSED(TarvexFieldsToSatKey(34567, NULL));
  REFUSED(TarvexGetNumPts(good, NULL));
  REFUSED(TarvexStartEndTime(good, &t, NULL));
  REFUSED(TarvexGetLine(good, NULL));
  REFUSED(TarvexDs50UTC(good, 26000.5, NULL, pos, vel, &rev));
  REFUSED(TarvexMse(good, 0.0, &t, pos, NULL, &rev));
  REFUSED(TarvexGetEphemeris(good, 1, &t, pos, vel, NULL));
  REFUSED(TarvexDs50UTCCovMtx(good, 26000.5, &mse, pos, vel, &rev, NULL));
  REFUSED(TarvexMseCovMtx(good, 0.0, &t, NULL, vel, &rev, cov36));
  REFUSED(TarvexGetCovMtx(good, 1, &t, pos, vel, &rev, NULL));
  REFUSED(TarvexXten(good, 1, 0.0, NULL));
  REFUSED(TarvexGetField(good, 1, NULL));
  REFUSED(TarvexSetField(good, 14, NULL));
  REFUSED(TarvexGetAllFields(good, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
  currentCall = "the good ephemeris after all of it";
  EXPECT(TarvexGetCount() == 2 && TarvexGetSatKey(34567) == good);
  EXPECT(TarvexGetNumPts(good, &n) == 0 && n == 6);
  TarvexRemoveAllSats();
  free(pos);
  free(vel);
  free(cov);
  free(cov36);
  free(xten);
  free(out);
  free(value);
  free(keys);
}

/* Messages with raw bytes come back as one printable line of at most 128 characters. */
static void printableLog(void) {
  char* msg = badText(kBinary, 128);
  char* back = (char*)malloc(128);
  int k;
  msg[10] = '\n';
  BasalonLogError(msg);
  BasalonGetLastErrMsg(back);
  currentCall = "BasalonGetLastErrMsg after a binary message";
  for (k = 0; k < 128; ++k) EXPECT(back[k] >= 0x20 && back[k] < 0x7F);
  free(back);
  free(msg);
}

/* ---- runner --------------------------------------------------------------------------------- */

/* ---- Kymor exports: absurd keys in both key modes give -1 without a message (the satellite-
   number look-up is silent), and a loaded TLE's number comes back. */
static void kymorExports(void) {
  int mode, k;
  for (mode = 0; mode < 2; ++mode) {
    BasalonSetElsetKeyMode(mode);
    for (k = 0; k < kNumBadKeys; ++k) {
      currentCall = "SatNumOf(bad key)";
      markLog();
      EXPECT(SatNumOf(kBadKeys[k]) == -1);
      EXPECT(!loggedSinceMark());
    }
  }
  BasalonSetElsetKeyMode(0);
  {
    const int64_t key = addGoodTle();
    currentCall = "SatNumOf(good key)";
    EXPECT(key > 0);
    EXPECT(SatNumOf(key) == 90001);
    EXPECT(LinesetRemoveSat(key) == 0);
    EXPECT(SatNumOf(key) == -1);
  }
}

/* ---- Kymor GEO exports: absurd keys and a null array refused with a line, non-finite numbers
   answered with NaN or 0 and a line, huge ones survived with a longitude in range. */
static void kymorGeoExports(void) {
  int mode, k;
  double* parms = (double*)malloc(32 * sizeof(double));
  for (mode = 0; mode < 2; ++mode) {
    BasalonSetElsetKeyMode(mode);
    for (k = 0; k < kNumBadKeys; ++k) REFUSED(GetSatParameters(kBadKeys[k], parms));
  }
  BasalonSetElsetKeyMode(0);
  {
    const int64_t key = addGoodTle();
    EXPECT(key > 0);
    REFUSED(GetSatParameters(key, NULL));
    currentCall = "GetSatParameters(good key)";
    EXPECT(GetSatParameters(key, parms) == 0);
    EXPECT(parms[24] == 90001.0);
    EXPECT(LinesetRemoveSat(key) == 0);
  }
  for (k = 0; k < kNumBadNumbers; ++k) {
    const double x = kBadNumbers[k];
    double lon;
    currentCall = "CompLonEastSubPt(bad number)";
    markLog();
    lon = CompLonEastSubPt(27000.0, x, 10.0, 20.0);
    if (isfinite(x)) {
      EXPECT(isnan(lon) || (lon >= 0.0 && lon <= 360.0));
    } else {
      EXPECT(isnan(lon));
      EXPECT(loggedSinceMark());
    }
    markLog();
    lon = CompLonEastSubPt(x, 0.0, 10.0, 20.0);
    EXPECT(isnan(lon) || (lon >= 0.0 && lon <= 360.0));
    if (!isfinite(x)) EXPECT(loggedSinceMark());
    currentCall = "IsGeoOrbit(bad number)";
    markLog();
    if (isfinite(x)) {
      SURVIVES(IsGeoOrbit(x, 1436.0));
    } else {
      EXPECT(IsGeoOrbit(x, 1436.0) == 0);
      EXPECT(loggedSinceMark());
    }
    EXPECT(IsGeoOrbit(0.0, x) == 0);
  }
  free(parms);
}

/* ---- Brevanta ----------------------------------------------------------------------------- */

/* Keys of no satellite in both key modes, times that are no time and null outputs: code 2 and a
   log line from every state, preparation and removal export. */
static void brevantaExports(void) {
  int mode, k;
  double t, pos[3], vel[3], llh[3];
  int32_t rev;
  int64_t key;
  for (mode = 0; mode < 2; ++mode) {
    BasalonSetElsetKeyMode(mode);
    for (k = 0; k < kNumBadKeys; ++k) {
      REFUSED(BrevantaInitSat(kBadKeys[k]));
      REFUSED(BrevantaDs50UTC(kBadKeys[k], 27000.0, &t, &rev, pos, vel, llh));
      REFUSED(BrevantaMse(kBadKeys[k], 10.0, &t, &rev, pos, vel, llh));
      REFUSED(BrevantaRemoveSat(kBadKeys[k]));
      REFUSED(BrevantaRemoveSatAll(kBadKeys[k]));
    }
  }
  BasalonSetElsetKeyMode(0);
  key = addGoodTle();
  currentCall = "addGoodTle";
  EXPECT(key > 0);
  for (k = 0; k < kNumBadNumbers; ++k) {
    if (isfinite(kBadNumbers[k])) continue; /* a far time is a time; SGP4 decides */
    REFUSED(BrevantaDs50UTC(key, kBadNumbers[k], &t, &rev, pos, vel, llh));
    REFUSED(BrevantaMse(key, kBadNumbers[k], &t, &rev, pos, vel, llh));
  }
  REFUSED(BrevantaDs50UTC(key, 27000.0, NULL, &rev, pos, vel, llh));
  REFUSED(BrevantaMse(key, 0.0, &t, &rev, pos, NULL, llh));
}

typedef void (*CaseFn)(void);
struct Case {
  const char* name;
  CaseFn fn;
};

static const struct Case kCases[] = {
    {"file names", fileNameExports},
    {"name ended by NUL and junk", nulEndedNameOpensTheFile},
    {"save under bad names", saveUnderBadNames},
    {"TLE lines", tleLines},
    {"TLE angles out of range", tleAngles},
    {"absurd keys in both key modes", absurdKeys},
    {"non-finite times", nonFiniteTimes},
    {"Pelmath non-finite numbers", pelmathNonFinite},
    {"Basalon numbers and units", basalonNumbersAndUnits},
    {"absurd time constants", absurdTimeConstants},
    {"null pointers", nullPointers},
    {"Qel exports", qelExports},
    {"Tarvexon exports", tarvexExports},
    {"printable log", printableLog},
    {"Kymor exports", kymorExports},
    {"Kymor GEO exports", kymorGeoExports},
    {"Brevanta exports", brevantaExports},
};

#define kCaseSeconds 60

/* With an argument N, case N alone runs in this process (for a debugger). */
int main(int argc, char** argv) {
  const size_t numCases = sizeof kCases / sizeof kCases[0];
  size_t i;
  int passed = 0, failed = 0;
  if (argc > 1) {
    const size_t only = (size_t)strtoul(argv[1], NULL, 10);
    if (only >= numCases) return EXIT_FAILURE;
    kCases[only].fn();
    return caseFailures == 0 ? 0 : 1;
  }
  for (i = 0; i < numCases; ++i) {
    pid_t pid;
    int status = 0;
    fflush(stdout);
    fflush(stderr);
    pid = fork();
    if (pid == 0) {
      alarm(kCaseSeconds); /* a hang ends the child with SIGALRM */
      kCases[i].fn();
      _exit(caseFailures == 0 ? 0 : 1);
    }
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      ++passed;
      printf("ok    %s\n", kCases[i].name);
    } else {
      ++failed;
      if (WIFSIGNALED(status))
        printf("FAIL  %s: %s\n", kCases[i].name, WTERMSIG(status) == SIGALRM ? "hung" : "crashed");
      else
        printf("FAIL  %s: success or no log line on bad input (exit %d)\n", kCases[i].name,
               WEXITSTATUS(status));
    }
  }
  printf("bad input: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
